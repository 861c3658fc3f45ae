#include "lorvane/stack_tab_ctrl.h"

#include <algorithm>

#include "platform/ui/window_system.h"

namespace lorvane {

using platform::imaging::DT_END_ELLIPSIS;
using platform::imaging::DT_SINGLELINE;
using platform::imaging::DT_VCENTER;
using platform::imaging::TextFont;
using platform::ui::systemColor;
using platform::ui::toArgb;
namespace colors = platform::ui;

StackTabCtrl::StackTabCtrl()
    : captionFont_(std::make_unique<TextFont>("DejaVu Sans", kFontPixels, 700, false)),
      buttonFont_(std::make_unique<TextFont>("DejaVu Sans", kFontPixels, 700, false)) {
    computeHotColors();
}

void StackTabCtrl::onCreate() {
    computeHotColors();
}

void StackTabCtrl::computeHotColors() {
    const COLORREF window = systemColor(colors::COLOR_WINDOW);
    const COLORREF face = systemColor(colors::COLOR_BTNFACE);
    const COLORREF highlight = systemColor(colors::COLOR_HIGHLIGHT);
    const auto channel = [](int win, int btn, int hi) {
        const int mix = ((win * 219 + btn * 36) / 255 * 178 + hi * 77) / 255;
        const int hot = std::min(mix * 102 / 100, 255);
        return std::pair{hot, std::min(hot * 87 / 100, 255)};
    };
    const auto [red, redDark] =
        channel(colors::redOf(window), colors::redOf(face), colors::redOf(highlight));
    const auto [green, greenDark] =
        channel(colors::greenOf(window), colors::greenOf(face), colors::greenOf(highlight));
    const auto [blue, blueDark] =
        channel(colors::blueOf(window), colors::blueOf(face), colors::blueOf(highlight));
    hot_ = colors::rgb(red, green, blue);
    hotDark_ = colors::rgb(redDark, greenDark, blueDark);
}

int StackTabCtrl::captionHeight() const {
    return captionFont_->capHeight() + 6;
}

COLORREF StackTabCtrl::borderColor() const {
    return systemColor(colors::COLOR_BTNSHADOW);
}
COLORREF StackTabCtrl::captionBackgroundColor() const {
    return systemColor(colors::COLOR_BTNSHADOW);
}
COLORREF StackTabCtrl::captionTextColor() const {
    return systemColor(colors::COLOR_CAPTIONTEXT);
}
COLORREF StackTabCtrl::separatorColor() const {
    return systemColor(colors::COLOR_BTNSHADOW);
}
COLORREF StackTabCtrl::iconShadowColor() const {
    return systemColor(colors::COLOR_BTNSHADOW);
}
COLORREF StackTabCtrl::settingsGlyphColor() const {
    return systemColor(colors::COLOR_WINDOWTEXT);
}
COLORREF StackTabCtrl::itemTextColor(const ItemLook& look) const {
    return systemColor(look.hot ? colors::COLOR_HIGHLIGHTTEXT : colors::COLOR_WINDOWTEXT);
}
COLORREF StackTabCtrl::disabledTextColor() const {
    return systemColor(colors::COLOR_GRAYTEXT);
}

LRESULT StackTabCtrl::handleMessage(const Message& message) {
    if (message.id == WM_SETTINGCHANGE) {
        computeHotColors();
        invalidate();
        return 0;
    }
    return StackTabCtrlBase::handleMessage(message);
}

const Canvas& StackTabCtrl::render() {
    paint();
    return *surface_;
}

void StackTabCtrl::paint() {
    const Rect client = platform::ui::windows().clientRect(window());
    Canvas canvas(std::max(client.width(), 1), std::max(client.height(), 1),
                  toArgb(systemColor(colors::COLOR_WINDOW)));
    if (showCaption)
        drawCaption(canvas);
    drawSplitter(canvas);
    if (showSettingsButton)
        drawSettingsButton(canvas);
    if (iconRowShown())
        drawItemBackground(canvas, iconRowRect(), ItemLook{});
    if (active()) {
        std::vector<const StackTabItem*> large;
        for (const auto& item : items())
            if (item->visible && !item->collapsed)
                large.push_back(item.get());
        for (const auto& item : items()) {
            if (!item->visible)
                continue;
            canvas.setClip(px(item->rect));
            if (item->collapsed)
                drawIconItem(canvas, *item);
            else
                drawLargeButton(canvas, *item, item.get() == large.front(),
                                item.get() == large.back());
            canvas.resetClip();
        }
    } else {
        canvas.fillRect(px(pageRect()), toArgb(systemColor(colors::COLOR_WINDOW)));
    }
    if (ownBorder)
        drawBorder(canvas);
    platform::ui::windows().setImage(window(), canvas.bitmap());
    surface_ = std::move(canvas);
}

void StackTabCtrl::drawItemBackground(Canvas& canvas, Rect rect, const ItemLook& look) {
    const COLORREF color = look.hot           ? hotDark_
                           : look.highlighted ? hot_
                                              : systemColor(colors::COLOR_BTNFACE);
    canvas.fillRect(px(rect), toArgb(color));
}

void StackTabCtrl::drawCaption(Canvas& canvas) {
    const Rect rect = captionRect();
    canvas.fillRect(px(rect), toArgb(captionBackgroundColor()));
    if (active())
        canvas.drawText(active()->caption,
                        px({rect.left + captionTextInset(), rect.top, rect.right, rect.bottom}),
                        *captionFont_, toArgb(captionTextColor()),
                        DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
}

void StackTabCtrl::drawBorder(Canvas& canvas) {
    canvas.frameRect(px({0, 0, canvas.width(), canvas.height()}), toArgb(borderColor()));
}

void StackTabCtrl::drawSplitter(Canvas& canvas) {
    const Rect rect = splitterRect();
    canvas.fillRect(px(rect), toArgb(systemColor(colors::COLOR_BTNFACE)));
    if (splitterEnabled) {
        const Rect frame{rect.left, rect.top + 1, rect.right + 1, rect.bottom};
        const auto light = toArgb(systemColor(colors::COLOR_BTNHIGHLIGHT));
        const auto face = toArgb(systemColor(colors::COLOR_BTNFACE));
        canvas.horizontalLine(frame.left, frame.right, frame.top, light);
        canvas.verticalLine(frame.left, frame.top, frame.bottom, light);
        canvas.horizontalLine(frame.left, frame.right, frame.bottom - 1, face);
        canvas.verticalLine(frame.right - 1, frame.top, frame.bottom, face);
        drawGripDots(canvas, 10, systemColor(colors::COLOR_3DDKSHADOW),
                     systemColor(colors::COLOR_BTNHIGHLIGHT));
    }
    canvas.horizontalLine(rect.left, rect.right, rect.top, toArgb(separatorColor()));
    canvas.horizontalLine(rect.left, rect.right, rect.bottom - 1, toArgb(separatorColor()));
}

void StackTabCtrl::drawGripDots(Canvas& canvas, int count, COLORREF dark, COLORREF light) {
    const Rect rect = splitterRect();
    const int distance = splitterHeight() - 3;
    const int size = distance / 2;
    int x = rect.left + (rect.width() - count * distance) / 2;
    for (int i = 0; i < count; ++i, x += distance) {
        canvas.fillRect(px({x + 1, rect.top + 3, x + 1 + size, rect.top + 3 + size}),
                        toArgb(light));
        canvas.fillRect(px({x, rect.top + 2, x + size, rect.top + 2 + size}), toArgb(dark));
    }
}

void StackTabCtrl::drawSettingsButton(Canvas& canvas) {
    const Rect rect = settingsRect();
    drawItemBackground(canvas, rect, lookOf(nullptr, HitTarget::settings));
    const int x = rect.left + (rect.width() - 8) / 2;
    const int y = rect.top + (rect.height() - 13) / 2;
    canvas.drawPattern(kSettingsGlyph, 8, 13, x, y, false, toArgb(settingsGlyphColor()));
}

void StackTabCtrl::drawIcon(Canvas& canvas, const StackTabItem& item, bool largeIcon, int x,
                            int y) {
    const auto& normal = largeIcon ? large_ : small_;
    const auto& disabled = largeIcon ? disabledLarge_ : disabledSmall_;
    const ImageList* list = item.disabled && disabled ? &*disabled : normal ? &*normal : nullptr;
    const platform::imaging::Bitmap* picture = list ? list->image(item.image) : nullptr;
    if (!picture)
        return;
    if (isLargeHot(item)) {
        canvas.drawSilhouette(*picture, x, y, toArgb(iconShadowColor()));
        canvas.drawPicture(*picture, x - 2, y - 2);
    } else {
        canvas.drawPicture(*picture, x, y);
    }
}

void StackTabCtrl::drawLargeButton(Canvas& canvas, const StackTabItem& item, bool first,
                                   bool last) {
    Rect rect = item.rect;
    const bool separatorOnTop = layout == 1 || layout == 2;
    const bool separator = iconRowShown() || (separatorOnTop ? !first : !last);
    if (separator) {
        const int y = separatorOnTop ? rect.top : rect.bottom - 1;
        canvas.horizontalLine(rect.left, rect.right, y, toArgb(separatorColor()));
    }
    if (separator && separatorOnTop)
        rect.top += 1;
    else if (separator)
        rect.bottom -= 1;
    const ItemLook look = lookOf(&item);
    drawItemBackground(canvas, rect, look);
    const bool hasIcon = large_ && large_->image(item.image);
    if (hasIcon)
        drawIcon(canvas, item, true, rect.left + iconMargin(),
                 rect.top + (rect.height() - cyLarge()) / 2);
    const int textLeft = rect.left + (hasIcon ? cxLarge() + 2 * iconMargin() : iconMargin());
    canvas.drawText(item.caption, px({textLeft, rect.top, rect.right - 2, rect.bottom}),
                    *buttonFont_, toArgb(item.disabled ? disabledTextColor() : itemTextColor(look)),
                    DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
}

void StackTabCtrl::drawIconItem(Canvas& canvas, const StackTabItem& item) {
    drawItemBackground(canvas, item.rect, lookOf(&item));
    drawIcon(canvas, item, false, item.rect.left + (item.rect.width() - cxSmall()) / 2,
             item.rect.top + (item.rect.height() - cySmall()) / 2);
}

}  // namespace lorvane
