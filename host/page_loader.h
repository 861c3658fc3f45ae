// Loading the page a host action names: a local file (a path or a "file://" address), an
// http(s) address (fetched with a time limit, redirects followed, decoded by its charset), or
// a "tarn:" or "tamrix:" address served by the protocols the browser would use (url_fetch.h).
// What is not a page (a picture, an archive, binary data) is refused, saying what it is.
//
// Contract: synchronous; the user-interface thread (the protocols are single-threaded);
// never throws. Failure gives nothing and says why in
// `error`.
#pragma once

#include <optional>
#include <string>

namespace host {

struct PageSource {
    std::wstring markup;
    // "file://" + the absolute path, or the address after redirects.
    std::wstring url;
};

std::optional<PageSource> loadPage(const std::wstring& address, std::wstring& error);

}  // namespace host
