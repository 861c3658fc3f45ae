#include "addon/controller/readable_body.h"

#include "addon/controller/page_styles.h"
#include "addon/controller/saved_values.h"
#include "common/util/registry_string.h"

namespace addon {

page::NodePtr cloneBodyShell(const page::Document& document) {
    const page::NodePtr body = document.body();
    return body ? body->cloneShallow() : nullptr;
}

void storeReadableBody(ICommandContext& context, const page::NodePtr& shell,
                       const std::wstring& markup) {
    // Detach the old content while it is still held here, so no child is freed inside
    // its own removal.
    const std::vector<page::NodePtr> old = shell->children();
    for (const auto& child : old) {
        child->remove();
    }
    shell->setInnerHtml(markup);
    shell->setAttribute(L"id", L"readable_body");
    context.savedBody = context.document->body();
    context.readableBody = shell;
}

void showBody(page::Document& document, const page::NodePtr& body) {
    const page::NodePtr current = document.body();
    if (!current || !body || current == body) {
        return;
    }
    const page::NodePtr parent = current->parent();
    if (!parent) {
        return;
    }
    const auto& siblings = parent->children();
    std::size_t position = 0;
    while (position < siblings.size() && siblings[position] != current) {
        ++position;
    }
    body->remove();
    parent->insertChild(position, body);
    current->remove();
}

void applyPageStyle(ICommandContext& context, const std::wstring& styleName) {
    if (context.pageStyleText.empty() || !context.document) {
        return;
    }
    disableStyleSheets(context);
    if (const page::NodePtr head = context.document->head()) {
        page::NodePtr style = page::Node::element(L"style");
        style->setAttribute(L"id", styleName);
        style->setAttribute(L"type", L"text/css");
        style->appendChild(page::Node::text(context.pageStyleText));
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
        context.styleElement->remove();
        context.styleElement.reset();
    }
    undoRecordedWrites(context);
    if (scroll) {
        context.document->scrollTo(0, 0);
    }
}

std::wstring configuredPageStyle(const std::wstring& setting) {
    const common::registry_string<std::wstring> style(L"Software\\Olvan\\Tamrix\\" + setting,
                                                      platform::registry::HKEY_CURRENT_USER,
                                                      L"Novel", common::kRegistryNoWriteBack);
    return style.value;
}

}  // namespace addon
