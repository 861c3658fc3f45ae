#include "platform/imaging/text_direction.h"

#include <fribidi.h>

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

}  // namespace platform::imaging
