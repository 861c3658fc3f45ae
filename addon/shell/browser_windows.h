// The browser's own windows, found through their window classes, which differ between
// browser major versions: the document window ("Internet Explorer_Server") of the visible
// tab and the explorer-bar window ("BaseBar") that holds bands such as the side pane.
//
//   version 5, 6: frame > "Shell DocObject View" > "Internet Explorer_Server"; frame > "BaseBar"
//   version 7:    frame > first visible "TabWindowClass" > (as 5/6)
//   version 8:    frame > first visible "Frame Tab" > first visible "TabWindowClass" > (as 5/6)
//
// Contract: called on the browser window's user-interface thread. Every lookup gives no
// window as soon as one step finds none; callers treat that as "not available".
#pragma once

#include <string>

#include "platform/ui/types.h"

namespace platform::browser {
class WebBrowser;
}

namespace addon {

// The major version of the browser: the first character of HKLM "Software\Microsoft\Internet
// Explorer" value "Version" as a number. Read once per process; while the value is empty
// the result is 0 and the value is read again at the next call.
int getIEMajorVersion();

struct BrowserServerWindows {
    platform::ui::HWND tab{};            // the tab's window (versions 7 and 8)
    platform::ui::HWND docObjectView{};  // "Shell DocObject View"
    platform::ui::HWND server{};         // "Internet Explorer_Server"
};

// The lookups for a given browser major version.
BrowserServerWindows findServerWindows(platform::ui::HWND frame, int version);
platform::ui::HWND findBrowserBarWindow(platform::ui::HWND frame, int version);

// The current document window of the browser's frame, with the windows on the way.
BrowserServerWindows getBrowserServerWindows(const platform::browser::WebBrowser& browser);
platform::ui::HWND getBrowserServerWindow(const platform::browser::WebBrowser& browser);

// The explorer-bar window of the frame's visible tab.
platform::ui::HWND getBrowserBarWindow(platform::ui::HWND frame);

// True when the frame's explorer bar holds, in its "ReBarWindow32", a visible window of
// class `windowClass`.
bool isBandWindowVisible(const platform::browser::WebBrowser& browser,
                         const std::wstring& windowClass);

}  // namespace addon
