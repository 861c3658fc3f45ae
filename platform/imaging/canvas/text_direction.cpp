#include "platform/imaging/canvas/text_direction.h"

#include <fribidi.h>

#include <algorithm>

namespace platform::imaging {

StrongDirection firstStrongDirection(std::wstring_view text) {
    for (wchar_t c : text) {
        const FriBidiCharType type = fribidi_get_bidi_type(static_cast<FriBidiChar>(c));
        if (!FRIBIDI_IS_STRONG(type))
            continue;
        return FRIBIDI_IS_RTL(type) ? StrongDirection::rightToLeft : StrongDirection::leftToRight;
    }
    return StrongDirection::none;
}

bool holdsRightToLeft(std::wstring_view text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) {
        return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
               (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
               (c >= 0x1E800 && c <= 0x1EFFF) || c == 0x200F || c == 0x202B || c == 0x202E ||
               c == 0x2067;
    });
}

std::vector<unsigned char> embeddingLevels(std::wstring_view text, bool rightToLeft) {
    const auto length = static_cast<FriBidiStrIndex>(text.size());
    const std::vector<FriBidiChar> characters(text.begin(), text.end());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size());
    fribidi_get_bidi_types(characters.data(), length, types.data());
    fribidi_get_bracket_types(characters.data(), length, types.data(), brackets.data());
    FriBidiParType base = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &base,
                                            levels.data()) == 0)
        return std::vector<unsigned char>(text.size(), rightToLeft ? 1 : 0);
    return std::vector<unsigned char>(levels.begin(), levels.end());
}

}  // namespace platform::imaging
