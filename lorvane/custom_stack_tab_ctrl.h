// CustomStackTabCtrl: the tab control with a fixed colour scheme laid over the system
// colours: 0 keeps the system colours, 1 a green-grey palette with gradient buttons,
// 2 a blue-brown palette. A set scheme also drops the icon row's 6-pixel padding and
// gives the tooltip its own colours.
//
// Contract: as StackTabCtrl.
#pragma once

#include "lorvane/stack_tab_ctrl.h"

namespace lorvane {

struct ToolTipColors {
    COLORREF background = 0;
    COLORREF text = 0;
};

class CustomStackTabCtrl : public StackTabCtrl {
  public:
    int scheme() const { return scheme_; }
    void setScheme(int scheme);
    const ToolTipColors& toolTipColors() const { return toolTipColors_; }
    void setToolTipColors(ToolTipColors colors) { toolTipColors_ = colors; }

    int iconRowHeight() const override;
    COLORREF borderColor() const override;
    COLORREF captionBackgroundColor() const override;
    COLORREF captionTextColor() const override;
    COLORREF separatorColor() const override;
    COLORREF iconShadowColor() const override;
    COLORREF settingsGlyphColor() const override;
    COLORREF itemTextColor(const ItemLook& look) const override;
    COLORREF disabledTextColor() const override;

  protected:
    CustomStackTabCtrl();

    void drawItemBackground(Canvas& canvas, Rect rect, const ItemLook& look) override;
    void drawSplitter(Canvas& canvas) override;

  private:
    // The colour of this scheme from a table of {scheme 1, scheme 2}; scheme 0 asks the
    // system layer.
    COLORREF pick(COLORREF system, COLORREF first, COLORREF second) const;

    int scheme_ = 0;
    ToolTipColors toolTipColors_;
};

}  // namespace lorvane
