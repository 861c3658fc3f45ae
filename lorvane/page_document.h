// The document a side page's browser shows, as the browser hands it out: the page model
// (platform::dom) behind a dispatch object, with the script side that the plug-in calls.
//
// The script stand-in knows the functions that the page's SCRIPT elements declare
// ("function name(...) { ... }") and runs the one statement that pane pages use in them:
// "location.reload()" (also written "window.location.reload()"), which loads the page's
// address again into the same document, so event connections stay. A function holding
// any other statement fails with DISP_E_EXCEPTION and runs nothing.
//
// Contract: reference-counted; the page model belongs to the user-interface thread.
// Reloading never throws: a page that cannot be fetched again stays as it is.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/browser/dispatch.h"
#include "platform/dom/document.h"
#include "plugin/module/script_interfaces.h"

namespace lorvane {

using PageFetcher = std::function<std::optional<std::string>(const std::wstring& address)>;

struct IPageDocument : platform::browser::IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("9C3D2E51-7A41-4B8E-A0B6-5E1F0C7D4A11");
    virtual const std::shared_ptr<platform::dom::Document>& page() const = 0;
};

class PageDocument
    : public platform::com::ComObject<PageDocument, IPageDocument, plugin::IScriptDocument> {
  public:
    PageDocument(std::shared_ptr<platform::dom::Document> page, PageFetcher fetcher,
                 std::function<void()> reloaded)
        : page_(std::move(page)), fetcher_(std::move(fetcher)), reloaded_(std::move(reloaded)) {}

    platform::com::HRESULT Invoke(std::int32_t, platform::browser::DispParams*) override {
        return platform::com::E_NOTIMPL;
    }
    const std::shared_ptr<platform::dom::Document>& page() const override { return page_; }
    platform::com::HRESULT get_Script(
        platform::com::ComPtr<plugin::IScriptObject>* script) override;

    // Loads the page's address again into the same document, then tells the `reloaded`
    // callback (so the page's window is painted again); false when it cannot.
    bool reload();
    // The number of completed reloads.
    int reloadCount() const { return reloads_; }

  private:
    std::shared_ptr<platform::dom::Document> page_;
    PageFetcher fetcher_;
    std::function<void()> reloaded_;
    int reloads_ = 0;
};

// The page model behind a browser's document object; null for another kind of document.
std::shared_ptr<platform::dom::Document> pageOf(
    const platform::com::ComPtr<platform::browser::IDispatch>& document);

// A document of the page model from UTF-8 markup, shown at `address`; `reloaded` (may be
// empty) runs after each reload.
platform::com::ComPtr<PageDocument> makePageDocument(const std::string& markup,
                                                     const std::wstring& address,
                                                     PageFetcher fetcher,
                                                     std::function<void()> reloaded = {});

}  // namespace lorvane
