#include "common/util/parse_pairs.h"

namespace common {

std::vector<StringPair> parsePairs(std::wstring_view text, wchar_t pairSeparator,
                                   wchar_t nameSeparator) {
    constexpr std::wstring_view kWhiteSpace = L" \t\r\n";
    std::vector<StringPair> pairs;
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::wstring_view::npos) {
        return pairs;
    }
    text = text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);

    std::size_t position = 0;
    while (position < text.size()) {
        while (position < text.size() && text[position] == pairSeparator) {
            ++position;
        }
        const auto nameEnd = text.find(nameSeparator, position);
        if (nameEnd == std::wstring_view::npos) {
            break;
        }
        auto pairEnd = text.find(pairSeparator, nameEnd + 1);
        if (pairEnd == std::wstring_view::npos) {
            pairEnd = text.size();
        }
        if (nameEnd > position) {
            pairs.push_back({std::wstring(text.substr(position, nameEnd - position)),
                             std::wstring(text.substr(nameEnd + 1, pairEnd - nameEnd - 1))});
        }
        position = pairEnd + 1;
    }
    return pairs;
}

}  // namespace common
