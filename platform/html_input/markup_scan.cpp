#include "platform/html_input/markup_scan.h"

#include <array>
#include <cctype>

namespace platform::html_input {

bool equalsLower(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != lower[i])
            return false;
    return true;
}

// Elements whose content is text up to their own end tag.
bool isRawTextElement(std::string_view name) {
    static constexpr std::array<std::string_view, 9> kRaw = {"script",  "style",    "textarea",
                                                             "title",   "xmp",      "iframe",
                                                             "noembed", "noframes", "plaintext"};
    for (std::string_view raw : kRaw)
        if (equalsLower(name, raw))
            return true;
    return false;
}

std::size_t findEndTag(std::string_view markup, std::size_t from, std::string_view name) {
    for (std::size_t i = markup.find("</", from); i != std::string_view::npos;
         i = markup.find("</", i + 2)) {
        std::string_view candidate = markup.substr(i + 2, name.size());
        if (candidate.size() == name.size()) {
            bool same = true;
            for (std::size_t k = 0; k < name.size() && same; ++k)
                same = std::tolower(static_cast<unsigned char>(candidate[k])) ==
                       std::tolower(static_cast<unsigned char>(name[k]));
            if (same)
                return i;
        }
    }
    return markup.size();
}

std::size_t afterComment(std::string_view markup, std::size_t start) {
    const std::size_t body = start + 4;
    if (markup.compare(body, 1, ">") == 0)
        return body + 1;
    if (markup.compare(body, 2, "->") == 0)
        return body + 2;
    for (std::size_t dashes = markup.find("--", body); dashes != std::string_view::npos;
         dashes = markup.find("--", dashes + 1)) {
        if (markup.compare(dashes + 2, 1, ">") == 0)
            return dashes + 3;
        if (markup.compare(dashes + 2, 2, "!>") == 0)
            return dashes + 4;
    }
    return markup.size();
}

}  // namespace platform::html_input
