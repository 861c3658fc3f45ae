// The documents the browser window shows: a page from a file or an http(s) address (see
// host/page_loader.h), parsed into the page model the add-on clips from.
//
// Contract: the user-interface thread. A page that cannot be loaded gives a null document
// and says why in `error`.
#pragma once

#include <string>

#include "platform/browser/web_browser.h"

namespace host::browser {

platform::browser::LoadedDocument loadBrowserDocument(const std::wstring& address,
                                                      std::wstring& error);

// The address a person typed, as the browser goes to it: an existing file's absolute
// address, else the text with "http://" put before a bare host name.
std::wstring typedAddress(const std::wstring& text);

}  // namespace host::browser
