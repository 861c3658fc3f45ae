// StackTabCtrlBase: the layout and behaviour of the stacked-button tab control. One page
// window at a time fills the upper part; below it the items show as full-width large
// buttons and as a row of small icon buttons; a splitter between page and buttons moves
// items between the two forms; a settings button sits at the right end of the icon row;
// an optional caption shows the active item's title. Four arrangements (`layout` 0..3)
// put the buttons at the bottom or at the top.
//
// Derived layers customise through the virtual metrics, colours and drawing operations
// (StackTabCtrl draws, CustomStackTabCtrl adds colour schemes, the side pane reacts to
// the settings button and to selections).
//
// Contract: the control owns its items, not their windows. Items are referenced by the
// pointers AddItem returns until RemoveAllItems. Input arrives as window messages (mouse
// positions in client coordinates, non-client ones in screen coordinates); the pointer
// position for the hover check comes from platform::ui::cursorPosition. User-interface
// thread only.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lorvane/image_list.h"
#include "lorvane/window_codes.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/ui/message.h"
#include "platform/ui/types.h"

namespace lorvane {

using platform::ui::HWND;
using platform::ui::LRESULT;
using platform::ui::Message;
using platform::ui::Point;
using platform::ui::Rect;

struct StackTabItem {
    HWND window;
    int image = -1;
    int data = -1;
    std::wstring caption;
    Rect rect{};
    bool collapsed = false;
    bool visible = true;
    bool disabled = false;
};

// What the mouse is over or pressed on: an item, the splitter or the settings button.
struct HitTarget {
    enum Area { none = 0, splitter = 1, settings = 2 };
    StackTabItem* item = nullptr;
    int area = none;

    bool empty() const { return !item && area == none; }
    friend bool operator==(const HitTarget&, const HitTarget&) = default;
};

// One tool of the tooltip: the caption of a collapsed item over its rectangle.
struct ToolTipTool {
    int id = 0;
    std::wstring text;
    Rect rect{};
};

struct ItemLook {
    bool highlighted = false;
    bool hot = false;
};

class StackTabCtrlBase {
  public:
    static constexpr std::uintptr_t kHoverTimer = 1;
    static constexpr std::chrono::milliseconds kHoverPeriod{10};
    static constexpr int kDefaultStyle = 0x56000000;
    static constexpr int WS_BORDER = 0x00800000;

    virtual ~StackTabCtrlBase();

    // Creates the control window; WS_BORDER in `style` is taken away and remembered as
    // `ownBorder` (the control then draws a one-pixel border).
    HWND Create(HWND parent, Rect rect, const std::wstring& text, int style = 0, int id = 0);
    HWND window() const { return window_; }

    StackTabItem* AddItem(HWND window, const std::wstring& caption, int image, int data);
    void RemoveAllItems();
    void SetImageLists(const ImageList* large, const ImageList* small,
                       const ImageList* disabledLarge, const ImageList* disabledSmall);
    void SetLargeCount(int count);
    void Select(StackTabItem* item);
    void UpdateLayout();

    const std::vector<std::unique_ptr<StackTabItem>>& items() const { return items_; }
    StackTabItem* active() const { return active_; }
    const HitTarget& hot() const { return hot_; }
    const HitTarget& pressed() const { return pressed_; }
    HitTarget HitTest(Point client) const;
    // The number of large buttons (visible items before the first collapsed one).
    int largeCount() const;

    Rect captionRect() const { return captionRect_; }
    Rect pageRect() const { return pageRect_; }
    Rect splitterRect() const { return splitterRect_; }
    Rect buttonsRect() const { return buttonsRect_; }
    Rect iconRowRect() const { return iconRowRect_; }
    Rect settingsRect() const { return settingsRect_; }
    bool iconRowShown() const { return iconRowShown_; }
    const std::vector<ToolTipTool>& toolTips() const { return toolTips_; }
    bool hasCapture() const { return capture_; }
    CursorShape cursor() const { return cursor_; }

    // Switches (see the class comment for their meaning).
    int layout = 0;
    bool iconsFromLeft = false;
    bool captionAtBottom = false;
    bool showCaption = true;
    bool splitterEnabled = true;
    bool showSettingsButton = true;
    bool hideEmptyIconRow = false;
    bool ownBorder = false;

    // Metrics.
    virtual int captionHeight() const { return 6; }
    virtual int splitterHeight() const { return splitterEnabled ? 7 : 5; }
    virtual int largeButtonHeight() const { return cyLarge() + 6; }
    virtual int iconRowHeight() const;
    virtual int iconButtonWidth() const { return cxSmall() + 6; }
    virtual int captionTextInset() const { return 7; }
    virtual int iconMargin() const { return 5; }
    virtual ItemLook itemLook(bool active, bool hot, bool pressed) const;

    int cxLarge() const { return large_ ? large_->width() : 0; }
    int cyLarge() const { return large_ ? large_->height() : 0; }
    int cxSmall() const { return small_ ? small_->width() : 0; }
    int cySmall() const { return small_ ? small_->height() : 0; }

  protected:
    StackTabCtrlBase() = default;

    // The message handler; derived layers handle their messages and pass the rest on.
    virtual LRESULT handleMessage(const Message& message);
    virtual void onCreate() {}
    // Paints the whole control.
    virtual void paint() {}
    // The settings button was clicked; `button` in client coordinates.
    virtual int OnSettings(Rect /*button*/) { return 0; }
    virtual bool maySelectItem(StackTabItem* /*item*/) { return true; }
    virtual void itemSelected(StackTabItem* /*item*/) {}

    void invalidate();
    bool isLargeHot(const StackTabItem& item) const;
    ItemLook lookOf(const StackTabItem* item, int area = HitTarget::none) const;

    std::optional<ImageList> large_, small_, disabledLarge_, disabledSmall_;

  private:
    void onLeftButtonDown(Point client);
    void onLeftButtonUp(Point client);
    void onMouseMove(Point client);
    void onHoverTimer();
    void onSplitterDoubleClick();
    void clearHotAndPressed();
    Point toClient(Point screen) const;
    int visibleCount() const;
    void layoutItems(int rowsHeight);
    void showActiveWindow();

    HWND window_;
    std::vector<std::unique_ptr<StackTabItem>> items_;
    StackTabItem* active_ = nullptr;
    HWND shownWindow_;
    HitTarget hot_;
    HitTarget pressed_;
    bool capture_ = false;
    bool hoverTimer_ = false;
    int anchorY_ = 0;
    int largeAtPress_ = 0;
    CursorShape cursor_ = CursorShape::arrow;
    Rect captionRect_{}, pageRect_{}, splitterRect_{}, buttonsRect_{}, iconRowRect_{},
        settingsRect_{};
    bool iconRowShown_ = true;
    std::vector<ToolTipTool> toolTips_;
};

}  // namespace lorvane
