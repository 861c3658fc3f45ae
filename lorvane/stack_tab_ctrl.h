// StackTabCtrl: the tab control drawn in the system colours. Every paint draws the whole
// control into an off-screen canvas of the client size (the control's surface), in this
// order: caption, splitter, settings button, icon-row background, then every visible item
// (or, without items, the page area in the window colour); the picture also becomes the
// window's own in the window system, under the shown page's window. The colours and the drawing
// steps are virtual so that CustomStackTabCtrl can lay its schemes over them.
//
// Contract: as StackTabCtrlBase. Text uses bold DejaVu Sans at 12 pixels (through Pango, with
// fallback for scripts it lacks) for the caption and the buttons. surface() is empty before the
// first WM_PAINT.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "lorvane/stack_tab_ctrl_base.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/canvas/text_font.h"
#include "platform/ui/system_colors.h"

namespace lorvane {

using platform::imaging::Canvas;
using platform::ui::COLORREF;

// A window-system rectangle as the canvas takes it.
constexpr platform::imaging::Rect px(const Rect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The settings button's glyph: 8 x 13 pixels, 0 bits drawn (a double chevron over a small
// downward triangle).
inline constexpr std::uint8_t kSettingsGlyph[13] = {0x33, 0x99, 0xCC, 0x99, 0x33, 0xFF, 0xFF,
                                                    0xFF, 0xFF, 0xFF, 0xC1, 0xE3, 0xF7};

class StackTabCtrl : public StackTabCtrlBase {
  public:
    static constexpr int kFontPixels = 12;

    // The last painted picture of the control.
    const std::optional<Canvas>& surface() const { return surface_; }
    // Paints now (as WM_PAINT does) and returns the picture.
    const Canvas& render();

    COLORREF hotColor() const { return hot_; }
    COLORREF hotDarkColor() const { return hotDark_; }

    int captionHeight() const override;

    // Colours (COLORREF).
    virtual COLORREF borderColor() const;
    virtual COLORREF captionBackgroundColor() const;
    virtual COLORREF captionTextColor() const;
    virtual COLORREF separatorColor() const;
    virtual COLORREF iconShadowColor() const;
    virtual COLORREF settingsGlyphColor() const;
    virtual COLORREF itemTextColor(const ItemLook& look) const;
    virtual COLORREF disabledTextColor() const;

  protected:
    StackTabCtrl();

    LRESULT handleMessage(const Message& message) override;
    void onCreate() override;
    void paint() override;

    virtual void drawItemBackground(Canvas& canvas, Rect rect, const ItemLook& look);
    virtual void drawCaption(Canvas& canvas);
    virtual void drawBorder(Canvas& canvas);
    virtual void drawSplitter(Canvas& canvas);
    virtual void drawSettingsButton(Canvas& canvas);
    virtual void drawLargeButton(Canvas& canvas, const StackTabItem& item, bool first, bool last);
    virtual void drawIconItem(Canvas& canvas, const StackTabItem& item);
    virtual void drawGripDots(Canvas& canvas, int count, COLORREF dark, COLORREF light);

    void drawIcon(Canvas& canvas, const StackTabItem& item, bool largeIcon, int x, int y);
    // The scheme-0 hot colours, from the window, face and highlight colours.
    void computeHotColors();

    std::unique_ptr<platform::imaging::TextFont> captionFont_;
    std::unique_ptr<platform::imaging::TextFont> buttonFont_;

  private:
    std::optional<Canvas> surface_;
    COLORREF hot_ = 0;
    COLORREF hotDark_ = 0;
};

}  // namespace lorvane
