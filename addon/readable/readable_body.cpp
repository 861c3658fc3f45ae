#include "addon/readable/readable_body.h"

#include "addon/commands/page_styles.h"
#include "addon/commands/saved_values.h"
#include "addon/commands/style_sheets.h"
#include "addon/readable/active_content.h"
#include "common/util/registry_string.h"
#include "platform/dom/window.h"

namespace addon {
namespace {

// The element the page's title is read from (the first TITLE in the page), when it lies in
// the body: markup in the head that the parser did not expect there ends the head early,
// and what follows, the title too, goes into the body. The readable body takes a copy, or
// the page would have no title while it is shown, and the export and save dialogs would
// offer none.
void keepBodyTitle(const dom::Document& document, const ElementPtr& body, const ElementPtr& shell) {
    const auto titles = document.getElementsByTagName(L"TITLE");
    if (titles.empty() || !body || !body->contains(*titles.front()) ||
        !shell->getElementsByTagName(L"TITLE").empty()) {
        return;
    }
    shell->insertBefore(titles.front()->cloneNode(true), shell->firstChild());
}

}  // namespace

ElementPtr cloneBodyShell(const dom::Document& document) {
    const ElementPtr body = document.body();
    return body ? body->cloneElement(false) : nullptr;
}

void storeReadableBody(ICommandContext& context, const ElementPtr& shell,
                       const std::wstring& markup) {
    shell->setInnerHTML(markup);
    stripActiveContent(shell);
    keepBodyTitle(*context.document, context.document->body(), shell);
    shell->setAttribute(L"id", L"readable_body");
    context.savedBody = context.document->body();
    context.readableBody = shell;
}

void showBody(dom::Document& document, const ElementPtr& body) {
    const ElementPtr current = document.body();
    if (!current || !body || current == body) {
        return;
    }
    if (!current->parentNode()) {
        return;
    }
    body->removeNode(true);
    current->replaceNode(body);
}

void applyPageStyle(ICommandContext& context, const std::wstring& styleName) {
    if (context.pageStyleText.empty() || !context.document) {
        return;
    }
    disableStyleSheets(context);
    if (const ElementPtr head = context.document->head()) {
        ElementPtr style = context.document->createElement(L"style");
        style->setAttribute(L"id", styleName);
        style->setAttribute(L"type", L"text/css");
        style->appendChild(context.document->createTextNode(context.pageStyleText));
        head->appendChild(style);
        context.styleElement = style;
    }
    if (context.readableBody) {
        context.readableBody->setAttribute(L"class", getStyleClasses(styleName));
    }
}

void undoRebuild(ICommandContext& context, bool scroll) {
    if (!context.document || !context.savedBody) {
        return;
    }
    showBody(*context.document, context.savedBody);
    if (context.styleElement) {
        context.styleElement->removeNode(true);
        context.styleElement.reset();
    }
    undoRecordedWrites(context);
    if (scroll) {
        context.document->parentWindow().scrollTo(0, 0);
    }
}

std::wstring configuredPageStyle(const std::wstring& setting) {
    const common::registry_string<std::wstring> style(L"Software\\Olvan\\Tamrix\\" + setting,
                                                      platform::registry::HKEY_CURRENT_USER,
                                                      L"Novel", common::kRegistryNoWriteBack);
    return style.value;
}

}  // namespace addon
