#include "addon/selection/body_cursor.h"

namespace addon {

void BodyCursor::show(const ElementPtr& body, const std::wstring& cursor) {
    if (!body)
        return;
    if (body_ != body) {
        restore();
        body_ = body;
        formerStyle_ = body->getAttribute(L"style");
        formerCursor_ = inlineStyleValue(body, L"cursor").value_or(L"");
    }
    setInlineStyleValue(body, L"cursor", cursor);
    shownStyle_ = body->getAttribute(L"style");
}

void BodyCursor::restore() {
    if (!body_)
        return;
    const ElementPtr body = std::move(body_);
    body_.reset();
    if (body->getAttribute(L"style") == shownStyle_) {
        if (formerStyle_)
            body->setAttribute(L"style", *formerStyle_);
        else
            body->removeAttribute(L"style");
        return;
    }
    setInlineStyleValue(body, L"cursor", formerCursor_);
    if (!formerStyle_ && body->getAttribute(L"style") == L"")
        body->removeAttribute(L"style");
}

}  // namespace addon
