#include "host/words.h"

#include <cwctype>

namespace host {

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

std::vector<std::wstring> wordsOf(const std::wstring& text) {
    std::vector<std::wstring> words;
    std::size_t at = 0;
    while (true) {
        const auto start = text.find_first_not_of(L" \t", at);
        if (start == std::wstring::npos) {
            return words;
        }
        const auto end = text.find_first_of(L" \t", start);
        words.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) {
            return words;
        }
        at = end;
    }
}

std::optional<int> wholeNumber(const std::wstring& word) {
    const std::size_t start = !word.empty() && word[0] == L'-' ? 1 : 0;
    if (word.size() <= start || word.size() > start + 9) {
        return std::nullopt;
    }
    for (std::size_t at = start; at < word.size(); ++at) {
        if (!std::iswdigit(word[at])) {
            return std::nullopt;
        }
    }
    return std::stoi(word);
}

}  // namespace host
