#include "addon/readable/blocks/title_heading.h"

#include <algorithm>
#include <cwctype>
#include <set>
#include <string_view>
#include <vector>

namespace addon {
namespace {

// Letters and digits of any script. The C library knows those of the current locale only,
// and the program may run in the plain one, so beyond ASCII every character is taken for a
// letter but the spaces and punctuation of the Latin-1, general-punctuation and CJK
// symbol blocks.
bool isWordCharacter(wchar_t c) {
    if (c < 0x80) {
        return std::iswalnum(c) != 0;
    }
    const bool punctuation = c <= 0xBF || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) ||
                             (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF0F);
    return !punctuation;
}

std::set<std::wstring> wordsOf(const std::wstring& text) {
    std::set<std::wstring> words;
    std::wstring word;
    for (const wchar_t c : text + L' ') {
        if (isWordCharacter(c)) {
            word += static_cast<wchar_t>(std::towlower(c));
        } else if (!word.empty()) {
            words.insert(word);
            word.clear();
        }
    }
    return words;
}

bool repeatsWords(const std::set<std::wstring>& headingWords, const std::wstring& title) {
    const std::set<std::wstring> titleWords = wordsOf(title);
    if (headingWords.empty() || titleWords.empty()) {
        return false;
    }
    std::size_t shared = 0;
    for (const std::wstring& word : headingWords) {
        shared += titleWords.count(word);
    }
    return static_cast<double>(shared) >=
               kTitleWordShare * static_cast<double>(headingWords.size()) &&
           static_cast<double>(shared) >= kTitleCoverShare * static_cast<double>(titleWords.size());
}

// The parts of a title that separators set apart ("Headline | Site", "Site - Section -
// Headline"): a separator stands between spaces, or is a colon before one.
std::vector<std::wstring> partsOf(const std::wstring& title) {
    static constexpr std::wstring_view kSeparators = L"|-\u2013\u2014:\u00B7\u00BB/";
    std::vector<std::wstring> parts(1);
    for (std::size_t i = 0; i < title.size(); ++i) {
        const bool spaceBefore = i > 0 && std::iswspace(title[i - 1]);
        const bool spaceAfter = i + 1 < title.size() && std::iswspace(title[i + 1]);
        const bool separates = kSeparators.find(title[i]) != std::wstring_view::npos &&
                               spaceAfter && (spaceBefore || title[i] == L':');
        if (separates) {
            parts.emplace_back();
        } else {
            parts.back() += title[i];
        }
    }
    return parts;
}

}  // namespace

bool repeatsTitle(const std::wstring& heading, const std::wstring& title) {
    const std::set<std::wstring> headingWords = wordsOf(heading);
    if (repeatsWords(headingWords, title)) {
        return true;
    }
    const std::vector<std::wstring> parts = partsOf(title);
    return parts.size() > 1 &&
           std::any_of(parts.begin(), parts.end(),
                       [&](const std::wstring& part) { return repeatsWords(headingWords, part); });
}

}  // namespace addon
