#include "addon/page/layout_failure.h"

#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/text/utf.h"

namespace addon {

std::wstring layoutFailureMessage(const platform::dom::Document& page) {
    const std::wstring failure = platform::text::fromUtf8(page.layout().failure());
    if (failure.empty())
        return {};
    const std::wstring opening = kLayoutFailureOpening;
    if (!failure.starts_with(opening))
        return failure;
    return common::languageTable().translate(L"Message", L"The page cannot be laid out:") +
           failure.substr(opening.size());
}

bool reportLayoutFailure(const platform::dom::Document& page) {
    const std::wstring message = layoutFailureMessage(page);
    if (message.empty())
        return false;
    common::errorBox(message);
    return true;
}

}  // namespace addon
