#include "host/browser/page_source.h"

#include <filesystem>

#include "addon/page/html_document.h"
#include "host/page_loader.h"
#include "platform/text/utf.h"

namespace host::browser {

platform::browser::LoadedDocument loadBrowserDocument(const std::wstring& address,
                                                      std::wstring& error) {
    platform::browser::LoadedDocument loaded;
    if (const auto page = host::loadPage(address, error)) {
        loaded.document = addon::makeHtmlDocument(page->markup, page->url);
        loaded.url = page->url;
    }
    return loaded;
}

std::wstring typedAddress(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) {
        return {};
    }
    const std::wstring trimmed = text.substr(first, text.find_last_not_of(L" \t") - first + 1);
    if (trimmed.find(L"://") != std::wstring::npos || trimmed.starts_with(L"about:")) {
        return trimmed;
    }
    std::error_code failure;
    const std::filesystem::path path(platform::text::toUtf8(trimmed));
    if (std::filesystem::exists(path, failure)) {
        return L"file://" +
               platform::text::fromUtf8(std::filesystem::absolute(path, failure).string());
    }
    return L"http://" + trimmed;
}

}  // namespace host::browser
