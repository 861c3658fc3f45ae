#include "addon/readable/blocks/page_controls.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>
#include <vector>

#include "addon/page/text_case.h"
#include "addon/readable/blocks/running_text.h"

namespace addon {
namespace {

bool isLink(const dom::Element& element) {
    return lowerText(element.tagName()) == L"a";
}

std::wstring targetOf(const dom::Element& element) {
    return lowerText(trimSpace(element.getAttribute(L"href").value_or(L"")));
}

bool holdsPicture(const dom::Element& element) {
    return !element.getElementsByTagName(L"IMG").empty() ||
           !element.getElementsByTagName(L"PICTURE").empty() ||
           !element.getElementsByTagName(L"VIDEO").empty();
}

// Whether the link leads to a social network's sharing address or an empty e-mail.
bool sharesThePage(const dom::Element& link) {
    static constexpr std::array<std::wstring_view, 17> kShareTargets = {L"facebook.com/sharer",
                                                                        L"facebook.com/share.php",
                                                                        L"twitter.com/intent/",
                                                                        L"twitter.com/share",
                                                                        L"x.com/intent/",
                                                                        L"linkedin.com/share",
                                                                        L"pinterest.com/pin/create",
                                                                        L"reddit.com/submit",
                                                                        L"tumblr.com/share",
                                                                        L"t.me/share",
                                                                        L"telegram.me/share",
                                                                        L"wa.me/",
                                                                        L"whatsapp.com/send",
                                                                        L"whatsapp://send",
                                                                        L"vk.com/share.php",
                                                                        L"getpocket.com/save",
                                                                        L"mailto:?"};
    const std::wstring target = targetOf(link);
    // The address starts the target or follows its scheme or a host's dot: "wa.me/" is no
    // part of "iowa.me/".
    return std::any_of(kShareTargets.begin(), kShareTargets.end(), [&](std::wstring_view share) {
        const std::size_t at = target.find(share);
        return at != std::wstring::npos &&
               (at == 0 || target[at - 1] == L'/' || target[at - 1] == L'.');
    });
}

// Whether `text` reads "<word> <number> of <number>" or "<number> of <number>".
bool readsAsCounter(const std::wstring& text) {
    std::vector<std::wstring> words;
    std::wstring word;
    for (const wchar_t c : text + L' ') {
        if (std::iswspace(c)) {
            if (!word.empty()) {
                words.push_back(lowerText(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    const auto isNumber = [](const std::wstring& w) {
        return !w.empty() &&
               std::all_of(w.begin(), w.end(), [](wchar_t c) { return std::iswdigit(c); });
    };
    if (words.size() == 4) {
        words.erase(words.begin());
    }
    return words.size() == 3 && isNumber(words[0]) && words[1] == L"of" && isNumber(words[2]);
}

}  // namespace

bool isScriptLink(const dom::Element& element) {
    if (!isLink(element) || !element.getAttribute(L"href")) {
        return false;
    }
    const std::wstring target = targetOf(element);
    const bool leadsNowhere =
        target.empty() || target == L"#" || target.rfind(L"javascript:", 0) == 0;
    // A heading made a link by the page's scripts (a section that opens when clicked) is
    // still the section's heading.
    return leadsNowhere && !element.innerTextReaches(kControlText) && !inRunningText(element) &&
           !holdsPicture(element) &&
           !insideTagged(element, {L"h1", L"h2", L"h3", L"h4", L"h5", L"h6"});
}

bool isSlideCounter(const dom::Element& element) {
    // "Part 2 of 3" set as a heading, or a count in a table, is the story's own.
    const bool countsAPart =
        lowerText(element.tagName()) == L"table" || isHeadingTag(element) ||
        insideTagged(element, {L"table", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6"});
    return !element.innerTextReaches(kControlText) && !countsAPart &&
           readsAsCounter(element.innerText());
}

bool isShareBar(const dom::Element& element) {
    if (isLink(element) || element.innerTextReaches(kShareBarText)) {
        return false;
    }
    const auto links = element.getElementsByTagName(L"A");
    return links.size() >= 2 && std::all_of(links.begin(), links.end(), [](const ElementPtr& link) {
               return sharesThePage(*link);
           });
}

}  // namespace addon
