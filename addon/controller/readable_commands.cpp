#include "addon/controller/readable_commands.h"

#include "addon/controller/dom_helpers.h"
#include "addon/controller/layout_finder.h"
#include "addon/controller/page_clean.h"
#include "addon/controller/page_styles.h"
#include "addon/controller/readable_body.h"
#include "addon/controller/readable_markup.h"
#include "addon/controller/readable_scorer.h"
#include "addon/controller/saved_values.h"
#include "addon/controller/text_case.h"

namespace addon {
namespace {

// A stand-alone copy of a selected block with the look it has on the page.
page::NodePtr isolatedCopy(const page::NodePtr& element, const page::NodePtr& body) {
    page::NodePtr copy = element->cloneDeep();
    page::NodePtr standAlone = wrapTablePart(copy);
    body->appendChild(standAlone);
    copyComputedStyle(element, copy);
    standAlone->remove();
    const std::wstring background = getElementValue(element, L"backgroundColor", 0);
    if (background != L"undefined" && !background.empty()) {
        copy->setInlineStyle(L"backgroundColor", background);
    }
    return standAlone;
}

void scrollToTop(ICommandContext& context) {
    context.document->scrollTo(0, 0);
}

}  // namespace

void IsolateCommand::execute() {
    ICommandContext& context = this->context();
    if (!context.document) {
        return;
    }
    if (!context.readableBody) {
        const page::NodePtr shell = cloneBodyShell(*context.document);
        const page::NodePtr body = context.document->body();
        if (!shell || context.elements.empty()) {
            return;
        }
        for (const auto& element : context.elements) {
            if (element) {
                shell->appendChild(isolatedCopy(element, body));
            }
        }
        storeReadableBody(context, shell, isolateMarkup(shell->innerHtml()));
    }
    showBody(*context.document, context.readableBody);
    recordedWrite(context, context.savedBody, L"width", L"100%", 0);
    recordedWrite(context, context.savedBody, L"margin", L"0px", 0);
    recordedWrite(context, context.savedBody, L"left", L"0px", 0);
    scrollToTop(context);
}

void IsolateCommand::undo() {
    undoRebuild(context(), true);
}

std::vector<std::wstring> GrabCommand::contentItems() const {
    const ICommandContext& context = this->context();
    std::vector<std::wstring> items;
    for (const auto& element : context.elements) {
        if (element) {
            items.push_back(element->outerHtml());
        }
    }
    if (!context.elements.empty()) {
        return items;
    }
    const page::TextRangePtr range = context.document->selectionRange();
    if (range && !range->htmlText.empty()) {
        return {range->htmlText};
    }
    const page::NodePtr body = context.document->body();
    page::NodePtr main = findMainElement(body);
    if (!main) {
        main = scoreByTags(body);
    }
    if (main) {
        items.push_back(main->outerHtml());
    }
    return items;
}

void GrabCommand::execute() {
    ICommandContext& context = this->context();
    if (!context.document) {
        return;
    }
    const std::wstring style = styleName_.empty() || lowerText(styleName_) == L"default"
                                   ? configuredPageStyle(L"PageStyle\\Grab")
                                   : styleName_;
    if (!context.readableBody) {
        const page::NodePtr shell = cloneBodyShell(*context.document);
        if (!shell) {
            return;
        }
        storeReadableBody(
            context, shell,
            grabMarkup(context.document->title(), context.document->url(), contentItems()));
    }
    context.pageStyleText = getStyleCss(style);
    applyPageStyle(context, style);
    showBody(*context.document, context.readableBody);
    scrollToTop(context);
}

void GrabCommand::undo() {
    undoRebuild(context(), true);
}

void GrabLinksCommand::execute() {
    ICommandContext& context = this->context();
    context.worker.reset();
    if (!context.document) {
        return;
    }
    if (!context.readableBody && !links_.empty()) {
        if (const page::NodePtr shell = cloneBodyShell(*context.document)) {
            storeReadableBody(context, shell, grabLinksMarkup(links_));
        }
    }
    if (!context.readableBody) {
        return;
    }
    const std::wstring style = configuredPageStyle(L"PageStyle\\GrabLinks");
    context.pageStyleText = getStyleCss(style);
    applyPageStyle(context, style);
    showBody(*context.document, context.readableBody);
    scrollToTop(context);
    if (startWorker_) {
        context.worker = startWorker_(context.document, links_);
    }
}

void GrabLinksCommand::undo() {
    context().worker.reset();
    undoRebuild(context(), true);
}

void FormatCommand::execute() {
    ICommandContext& context = this->context();
    if (!context.document) {
        return;
    }
    if (!context.readableBody) {
        const page::NodePtr shell = cloneBodyShell(*context.document);
        if (!shell) {
            return;
        }
        storeReadableBody(context, shell, context.document->body()->innerHtml());
        removeElementsByMask(shell, kRemoveIframes | kRemoveScripts | kRemoveStyles | kUnwrapForms |
                                        kRemoveComments);
        cleanAttributes(shell, kCleanScriptUses);
        for (const auto& element : shell->descendantElements()) {
            element->removeAttribute(L"style");
        }
        shell->removeAttribute(L"style");
    }
    context.pageStyleText = styleText_;
    applyPageStyle(context, styleName_);
    showBody(*context.document, context.readableBody);
}

void FormatCommand::undo() {
    undoRebuild(context(), false);
}

}  // namespace addon
