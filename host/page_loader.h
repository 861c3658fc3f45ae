// Loading the page a host action names: a local file (a path or a "file://" address) or an
// http(s) address (fetched with a time limit, redirects followed, decoded by its charset).
// What is not a page (a picture, an archive, binary data) is refused, saying what it is.
//
// Contract: synchronous, thread-safe; never throws. Failure gives nothing and says why in
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
