// TarnApplication: the engine's front door. It keeps the registry of page files bound to
// URL patterns and the pages loaded so far; a request picks the first registered pattern
// that matches the URL (its query cut off), loads or recompiles that page, runs it and
// hands back the UTF-8 bytes and the content type.
//
//   TarnApplication::init(repositoryFolder);
//   TarnApplication::reg(L"/…/plugins/tamrix/pages/item.xsl", L"//tamrix/item", 0);
//   TarnApplication::reg(L"/…/plugins/tamrix/pages/list.xsl", L"//tamrix/list/.*", 1);
//   TarnResponse response;
//   if (TarnApplication::request(L"//tamrix/item?id=7", response) == 0) {
//       serve(response.content, response.contentType);
//   }
//   TarnApplication::term();
//
// Kind 0: the URL must equal the pattern; any other kind: the pattern is a regular
// expression that must match the whole URL (case-sensitive).
//
// Contract: all members static. The registry, the page list and the repository folder
// are guarded by one lock and each page by its own, so several threads may call request
// at once (requests of one page run one after another). The response form copies the
// bytes while the page is locked; the pointer form hands out the page itself, whose
// content is only stable while no other thread requests the same page. Pages live until
// term. Nothing throws.
#pragma once

#include <memory>
#include <string>

namespace common {
template <class CharT>
class CPatternT;
}

namespace tarn {

class TarnPage;

struct TarnPageItem {
    std::wstring pagePath;
    std::wstring pattern;
    int kind = 0;
    // The compiled pattern of a kind other than 0.
    std::shared_ptr<const common::CPatternT<wchar_t>> expression;
};

struct TarnResponse {
    std::string content;       // UTF-8 bytes
    std::wstring contentType;  // the page's "content_type", "text/html" by default
};

class TarnApplication {
  public:
    TarnApplication() = delete;

    // Sets the repository folder against which relative page databases resolve.
    static void init(const std::wstring& folder);
    static void setRepositoryFilePath(const std::wstring& folder);
    static std::wstring getRepositoryFilePath();

    // Appends {page, pattern, kind}; false when that pattern is registered with that kind.
    static bool reg(const std::wstring& pagePath, const std::wstring& pattern, int kind);
    // Removes the first item with that pattern and kind; false when there is none.
    static bool unreg(const std::wstring& pattern, int kind);

    // Runs the page for `url` and copies its output; 0, or -1 when no pattern matches, the
    // page does not compile or the page fails. The page's own copy of the content is
    // dropped unless the page supports its cache.
    static int request(const std::wstring& url, TarnResponse& response);
    // Loads (recompiling when changed) the page for `url` and, with `run`, runs it; the
    // page, or null for the same failures.
    static TarnPage* request(const std::wstring& url, bool run);

    // Deletes every page and empties the registry and the repository folder.
    static void term();

  protected:
    // The page path of the first item that matches `url`, "".
    static std::wstring resolve(const std::wstring& url);
    // The page for the path, compiled when its file changed; null when it does not compile.
    static TarnPage* load(const std::wstring& pagePath);

  private:
    static TarnPage* findOrAddPage(const std::wstring& pagePath);
};

}  // namespace tarn
