#include "addon/controller/html_document.h"

namespace addon {
namespace {

void fireTo(EventSource& source, page::Event& event) {
    auto object = EventObject::create(event);
    DispParams params;
    params.arguments.push_back(
        {platform::com::Variant::fromUnknown(platform::com::ComPtr<platform::com::IUnknown>(
                                                 static_cast<IHTMLEventObj*>(object.get())),
                                             platform::com::VT_DISPATCH),
         nullptr});
    source.fire(0, params);
}

}  // namespace

void HtmlWindow::fireEvent(page::Event& event) {
    fireTo(events_, event);
}

void HtmlDocument::fireEvent(page::Event& event) {
    fireTo(events_, event);
}

platform::com::ComPtr<HtmlDocument> makeHtmlDocument(const std::wstring& markup,
                                                     const std::wstring& url) {
    return HtmlDocument::create(std::make_shared<page::Document>(markup, url));
}

platform::com::ComPtr<HtmlDocument> asHtmlDocument(
    const platform::com::ComPtr<IDispatch>& document) {
    auto typed = document.as<IHTMLDocument2>();
    return platform::com::ComPtr<HtmlDocument>(static_cast<HtmlDocument*>(typed.get()));
}

}  // namespace addon
