#include "addon/readable/readable_commands.h"

#include "addon/commands/page_styles.h"
#include "addon/commands/saved_values.h"
#include "addon/page/dom_helpers.h"
#include "addon/page/page_clean.h"
#include "addon/page/text_case.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/readable_body.h"
#include "addon/readable/readable_markup.h"
#include "platform/dom/window.h"

namespace addon {
namespace {

// A stand-alone copy of a selected block with the look it has on the page.
ElementPtr isolatedCopy(const ElementPtr& element, const ElementPtr& body) {
    ElementPtr copy = element->cloneElement(true);
    ElementPtr standAlone = wrapTablePart(copy);
    body->appendChild(standAlone);
    copyComputedStyle(element, copy);
    standAlone->removeNode(true);
    const std::wstring background = getElementValue(element, L"backgroundColor", 0);
    if (background != L"undefined" && !background.empty()) {
        setInlineStyleValue(copy, L"backgroundColor", background);
    }
    return standAlone;
}

void scrollToTop(ICommandContext& context) {
    context.document->parentWindow().scrollTo(0, 0);
}

}  // namespace

void IsolateCommand::execute() {
    ICommandContext& context = this->context();
    if (!context.document) {
        return;
    }
    if (!context.readableBody) {
        const ElementPtr shell = cloneBodyShell(*context.document);
        const ElementPtr body = context.document->body();
        if (!shell || context.elements.empty()) {
            return;
        }
        for (const auto& element : context.elements) {
            if (element) {
                shell->appendChild(isolatedCopy(element, body));
            }
        }
        storeReadableBody(context, shell, isolateMarkup(shell->innerHTML()));
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
    // The article the page selected itself, untouched by the person, is grabbed as the
    // article: cleaned as with nothing selected, not kept whole as a person's pick is.
    const auto& selection = context.savedSelection;
    if (selection.size() == 1 && selection.front().foundArticle()) {
        std::wstring article = articleMarkupOf(selection.front().foundArticle());
        if (!article.empty()) {
            return {std::move(article)};
        }
    }
    std::vector<std::wstring> items;
    for (const auto& element : context.elements) {
        if (element) {
            items.push_back(standaloneOuterHtml(element));
        }
    }
    if (!context.elements.empty()) {
        return items;
    }
    if (context.document->selection().type() == L"Text") {
        const std::wstring selected = context.document->selection().createRange()->htmlText();
        if (!selected.empty()) {
            return {selected};
        }
    }
    std::wstring article = articleMarkup(context.document->body());
    if (!article.empty()) {
        items.push_back(std::move(article));
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
        const ElementPtr shell = cloneBodyShell(*context.document);
        if (!shell) {
            return;
        }
        storeReadableBody(
            context, shell,
            grabMarkup(context.document->title(), context.document->URL(), contentItems()));
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
        if (const ElementPtr shell = cloneBodyShell(*context.document)) {
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
        const ElementPtr shell = cloneBodyShell(*context.document);
        if (!shell) {
            return;
        }
        storeReadableBody(context, shell, context.document->body()->innerHTML());
        removeElementsByMask(shell, kRemoveIframes | kRemoveScripts | kRemoveStyles | kUnwrapForms |
                                        kRemoveComments);
        removeEventAttributes(shell);
        cleanAttributes(shell, kCleanScriptUses);
        for (const auto& element : shell->all()) {
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
