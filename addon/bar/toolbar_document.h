// The toolbar view's page as its browser hands it out: an automation object over the page
// model (platform::dom) that the toolbar reads, translates and advises its event sink on.
//
// Contract: reference-counted; shares the page. The page's thread only.
#pragma once

#include <memory>

#include "platform/browser/dispatch.h"
#include "platform/dom/document.h"

namespace addon {

struct IToolbarDocument : platform::browser::IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("E55E1F27-11DA-0002-0001-00AA00000010");
    virtual std::shared_ptr<platform::dom::Document> page() const = 0;
};

class ToolbarDocument : public platform::com::ComObject<ToolbarDocument, IToolbarDocument> {
  public:
    explicit ToolbarDocument(std::shared_ptr<platform::dom::Document> page)
        : page_(std::move(page)) {}
    platform::com::HRESULT Invoke(std::int32_t, platform::browser::DispParams*) override {
        return platform::com::DISP_E_MEMBERNOTFOUND;
    }
    std::shared_ptr<platform::dom::Document> page() const override { return page_; }

  private:
    std::shared_ptr<platform::dom::Document> page_;
};

// The page behind a browser's document; null when the document is not a toolbar page.
std::shared_ptr<platform::dom::Document> toolbarPageOf(
    const platform::com::ComPtr<platform::browser::IDispatch>& document);

}  // namespace addon
