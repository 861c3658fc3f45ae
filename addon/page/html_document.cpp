#include "addon/page/html_document.h"

#include "platform/dom/events/event_sink.h"
#include "platform/dom/window.h"

namespace addon {
namespace {

void fireTo(EventSource& source, platform::dom::Event& event) {
    auto object = EventObject::create(event);
    DispParams params;
    params.arguments.push_back(
        {platform::com::Variant::fromUnknown(platform::com::ComPtr<platform::com::IUnknown>(
                                                 static_cast<IHTMLEventObj*>(object.get())),
                                             platform::com::VT_DISPATCH),
         nullptr});
    source.fire(0, params);
}

// Hands the page's own events to the browser-level sinks of a document or window object.
template <class Target>
class Forwarder : public platform::dom::EventSink {
  public:
    explicit Forwarder(Target& target) : target_(target) {}
    HRESULT Invoke(platform::dom::Event& event) override {
        // A sink may close the page's tab; the object stays alive until its event is out.
        const platform::com::ComPtr<Target> keep(&target_);
        target_.fireEvent(event);
        return platform::com::S_OK;
    }

  private:
    Target& target_;
};

}  // namespace

HtmlDocument::HtmlDocument(std::shared_ptr<platform::dom::Document> page)
    : page_(std::move(page)), window_(HtmlWindow::create()) {
    pageCookie_ = page_->advise(std::make_shared<Forwarder<HtmlDocument>>(*this));
    windowCookie_ = page_->parentWindow().advise(std::make_shared<Forwarder<HtmlWindow>>(*window_));
}

HtmlDocument::~HtmlDocument() {
    page_->unadvise(pageCookie_);
    page_->parentWindow().unadvise(windowCookie_);
}

void HtmlWindow::fireEvent(platform::dom::Event& event) {
    fireTo(events_, event);
}

void HtmlDocument::fireEvent(platform::dom::Event& event) {
    fireTo(events_, event);
}

platform::com::ComPtr<HtmlDocument> makeHtmlDocument(const std::wstring& markup,
                                                     const std::wstring& url) {
    return HtmlDocument::create(platform::dom::Document::parse(std::wstring_view(markup), url));
}

platform::com::ComPtr<HtmlDocument> asHtmlDocument(
    const platform::com::ComPtr<IDispatch>& document) {
    auto typed = document.as<IHTMLDocument2>();
    return platform::com::ComPtr<HtmlDocument>(static_cast<HtmlDocument*>(typed.get()));
}

}  // namespace addon
