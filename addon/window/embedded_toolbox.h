// The embedded toolbox: a band window of the class "EmbeddedToolbox" (control id 2010) across
// the top of a tab's content window ("Shell DocObject View"), beside it under the same
// parent, holding the toolbox web view of the current theme. The content window is moved
// down by the band's height and its procedure is put behind hostWindowProc, which keeps the
// band at the top of the content window's area whenever that window is placed again.
//
// The web view lives in a library above the controller: it registers a factory here at
// start-up (registerToolboxViewFactory); without one the band is made empty.
//
// Contract: the browser's user-interface thread only. The window entry owns the band
// (WindowEntry::toolbox); removing it puts the content window's own procedure back and
// moves the window up over the band's area. One band per frame: a second is refused with
// an error box.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "addon/window/window_table.h"
#include "platform/ui/message.h"

namespace addon {

// The web view shown in a band; destroyed with the band, before its window.
class ToolboxView {
  public:
    virtual ~ToolboxView() = default;
};

struct ToolboxViewRequest {
    BrowserRef pageBrowser;
    std::wstring theme;
    std::wstring pageAddress;
    platform::ui::HWND band;
    // The band's client area.
    platform::ui::Rect rect;
};

// Makes the view inside `request.band`; null when it cannot.
using ToolboxViewFactory =
    std::function<std::unique_ptr<ToolboxView>(const ToolboxViewRequest& request)>;

// Replaces the factory (empty: none).
void registerToolboxViewFactory(ToolboxViewFactory factory);

inline constexpr wchar_t kEmbeddedToolboxClass[] = L"EmbeddedToolbox";
inline constexpr int kToolboxControlId = 2010;

// The band window with its view; destroying it destroys both.
class EmbeddedToolbox {
  public:
    EmbeddedToolbox(platform::ui::HWND band, int height, int extendedStyle,
                    std::unique_ptr<ToolboxView> view);
    ~EmbeddedToolbox();
    EmbeddedToolbox(const EmbeddedToolbox&) = delete;
    EmbeddedToolbox& operator=(const EmbeddedToolbox&) = delete;

    platform::ui::HWND window() const { return band_; }
    int height() const { return height_; }
    int extendedStyle() const { return extendedStyle_; }
    const ToolboxView* view() const { return view_.get(); }

  private:
    platform::ui::HWND band_;
    int height_;
    int extendedStyle_;
    std::unique_ptr<ToolboxView> view_;
};

enum class ToolboxPlacement {
    shown,     // the band is there (made now or shown again)
    refused,   // another band holds the frame; the error box was shown
    noWindow,  // the tab has no content window to hold a band
};

// Makes or shows the band of the window entry's tab and subclasses its content window.
ToolboxPlacement createToolbox(int windowIndex);
// Takes the band away (nothing when the entry has none).
void removeToolbox(WindowEntry& entry);
// Stores `theme` with the height and style its page names and, when the band was shown,
// makes it again from them. 1 for a window without a browser or a name that is no shipped
// theme (an error box says so), else 2.
int reloadToolbox(int windowIndex, const std::wstring& theme);

// The procedure of a subclassed content window: the window's own procedure first, then
// for WM_NCCALCSIZE (wParam TRUE, window shown) the band goes to the top of the proposed
// rectangle, which then starts below it. 1 for a window no entry has subclassed. A
// window that had no procedure of its own is treated as one that answers 0.
platform::ui::LRESULT hostWindowProc(const platform::ui::Message& message);

}  // namespace addon
