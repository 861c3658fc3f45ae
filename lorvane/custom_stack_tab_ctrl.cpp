#include "lorvane/custom_stack_tab_ctrl.h"

namespace lorvane {

using platform::ui::systemColor;
using platform::ui::toArgb;
namespace colors = platform::ui;

namespace {

constexpr ToolTipColors kSchemeToolTip{0xDCE1E4, 0x323232};

}  // namespace

CustomStackTabCtrl::CustomStackTabCtrl() {
    setScheme(0);
}

void CustomStackTabCtrl::setScheme(int scheme) {
    scheme_ = scheme;
    toolTipColors_ = scheme != 0 ? kSchemeToolTip
                                 : ToolTipColors{systemColor(colors::COLOR_INFOBK),
                                                 systemColor(colors::COLOR_INFOTEXT)};
}

COLORREF CustomStackTabCtrl::pick(COLORREF system, COLORREF first, COLORREF second) const {
    return scheme_ == 1 ? first : scheme_ == 2 ? second : system;
}

int CustomStackTabCtrl::iconRowHeight() const {
    return StackTabCtrl::iconRowHeight() - (scheme_ != 0 ? 6 : 0);
}

COLORREF CustomStackTabCtrl::borderColor() const {
    return pick(StackTabCtrl::borderColor(), 0x3D734D, 0xE0701D);
}
COLORREF CustomStackTabCtrl::captionBackgroundColor() const {
    return pick(StackTabCtrl::captionBackgroundColor(), systemColor(colors::COLOR_BTNSHADOW),
                0x485079);
}
COLORREF CustomStackTabCtrl::captionTextColor() const {
    return pick(StackTabCtrl::captionTextColor(), 0xFFFFFF, 0xB3B7D0);
}
COLORREF CustomStackTabCtrl::separatorColor() const {
    return pick(StackTabCtrl::separatorColor(), 0x3D734D, 0xE0701D);
}
COLORREF CustomStackTabCtrl::iconShadowColor() const {
    return pick(StackTabCtrl::iconShadowColor(), 0x3D734D, 0xE0701D);
}
COLORREF CustomStackTabCtrl::settingsGlyphColor() const {
    return pick(StackTabCtrl::settingsGlyphColor(), 0x3D734D, 0x002448);
}
COLORREF CustomStackTabCtrl::itemTextColor(const ItemLook& look) const {
    return pick(StackTabCtrl::itemTextColor(look), look.hot ? 0x000000 : 0x3C3C3C, 0x002448);
}
COLORREF CustomStackTabCtrl::disabledTextColor() const {
    return pick(StackTabCtrl::disabledTextColor(), 0x808080, 0x753A0F);
}

void CustomStackTabCtrl::drawItemBackground(Canvas& canvas, Rect rect, const ItemLook& look) {
    if (scheme_ == 0) {
        StackTabCtrl::drawItemBackground(canvas, rect, look);
        return;
    }
    struct Gradient {
        COLORREF top, bottom;
    };
    Gradient gradient;
    if (look.hot)
        gradient = scheme_ == 1 ? Gradient{0xABE3F7, 0x188EE1} : Gradient{0xF8C7A7, 0xE09761};
    else if (look.highlighted)
        gradient = scheme_ == 1 ? Gradient{0xB6E6F8, 0x6FBDF1} : Gradient{0xFBE1CF, 0xE4A374};
    else if (scheme_ == 1)
        gradient = {0xFFFFFF, 0xC9D1D5};
    else
        return;
    canvas.fillGradientVertical(px(rect), toArgb(gradient.top), toArgb(gradient.bottom));
}

void CustomStackTabCtrl::drawSplitter(Canvas& canvas) {
    if (scheme_ == 0) {
        StackTabCtrl::drawSplitter(canvas);
        return;
    }
    const bool first = scheme_ == 1;
    canvas.fillGradientVertical(px(splitterRect()), toArgb(first ? 0x7F7F7F : 0x576091),
                                toArgb(first ? 0x474747 : 0x485079));
    if (splitterEnabled)
        drawGripDots(canvas, 7, first ? 0x0A0A0A : 0x1E2133, first ? 0xE6E6E6 : 0xB3B7D0);
}

}  // namespace lorvane
