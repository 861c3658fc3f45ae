#include "platform/dom/document.h"

#include <stdexcept>

#include "platform/dom/layout_engine.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/dom/task_queue.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"

#include "platform/dom/html_parser.h"
#include "platform/dom/html_serializer.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/tag_names.h"
#include "platform/text/utf.h"

namespace platform::dom {

Document::Document(Private)
    : Node(NodeType::Document, {}),
      window_(std::make_unique<Window>(*this)),
      selection_(std::make_unique<Selection>(*this)),
      tasks_(std::make_shared<TaskQueue>()),
      layout_(makePageLayout()) {
    loader_ = loadLinkedStyleSheet;
}

Document::~Document() {
    tasks_->close();
}

DocumentProxy Document::proxy() const {
    return DocumentProxy(self_, tasks_);
}

std::size_t Document::pumpTasks() {
    if (!isOwnerThread())
        throw std::logic_error("dom: a document's tasks run only on the thread that owns it");
    return tasks_->runPending();
}

std::shared_ptr<Document> Document::makeEmpty(std::wstring url) {
    auto document = std::make_shared<Document>(Private{});
    document->self_ = document;
    document->setDocumentRecursive(document);
    document->url_ = std::move(url);
    return document;
}

std::shared_ptr<Document> Document::create(std::wstring url) {
    return parse(std::string_view("<html><head></head><body></body></html>"), std::move(url));
}

std::shared_ptr<Document> Document::parse(std::string_view utf8, std::wstring url) {
    auto document = makeEmpty(std::move(url));
    HtmlTreeBuilder::buildDocument(*document, utf8);
    return document;
}

std::shared_ptr<Document> Document::parse(std::wstring_view html, std::wstring url) {
    return parse(std::string_view(platform::text::toUtf8(html)), std::move(url));
}

void Document::write(std::wstring_view html) {
    HtmlTreeBuilder::buildDocument(*this, platform::text::toUtf8(html));
}

std::shared_ptr<Node> Document::cloneNode(bool deep) const {
    auto copy = makeEmpty(url_);
    copy->doctype_ = doctype_;
    copy->keepsQuirks_ = keepsQuirks_;
    if (deep) {
        cloneChildrenInto(*copy);
        copy->setDocumentRecursive(copy);
    }
    return copy;
}

Selection& Document::selection() const {
    return *selection_;
}

std::shared_ptr<Element> Document::documentElement() const {
    for (const auto& child : childNodes())
        if (child->nodeType() == NodeType::Element)
            return std::static_pointer_cast<Element>(child);
    return nullptr;
}

namespace {

std::shared_ptr<Element> childWithTag(const std::shared_ptr<Element>& parent,
                                      std::wstring_view tag) {
    if (!parent)
        return nullptr;
    for (const auto& child : parent->childNodes())
        if (child->nodeType() == NodeType::Element && child->nodeName() == tag)
            return std::static_pointer_cast<Element>(child);
    return nullptr;
}

}  // namespace

std::shared_ptr<Element> Document::head() const {
    return childWithTag(documentElement(), L"HEAD");
}

std::shared_ptr<Element> Document::body() const {
    auto root = documentElement();
    if (auto body = childWithTag(root, L"BODY"))
        return body;
    return childWithTag(root, L"FRAMESET");
}

std::shared_ptr<const Document::ElementList> Document::all() const {
    if (allVersion_ != treeVersion_ || !all_) {
        auto list = std::make_shared<ElementList>();
        appendElementsBelow(*this, *list);
        for (std::size_t i = 0; i < list->size(); ++i) {
            (*list)[i]->sourceIndex_ = static_cast<int>(i);
            (*list)[i]->sourceIndexVersion_ = treeVersion_;
        }
        all_ = std::move(list);
        allVersion_ = treeVersion_;
    }
    return all_;
}

std::shared_ptr<Element> Document::getElementById(std::wstring_view id) const {
    for (const auto& element : *all())
        if (element->getAttribute(L"id") == id)
            return element;
    return nullptr;
}

std::vector<std::shared_ptr<Element>> Document::getElementsByTagName(std::wstring_view name) const {
    std::wstring upper = asciiUpper(name);
    std::vector<std::shared_ptr<Element>> found;
    for (const auto& element : *all())
        if (upper == L"*" || element->tagName() == upper)
            found.push_back(element);
    return found;
}

// As the browser the page code was written for answers it: an element counts when its
// name or its id is the given text, so a page that marks a block with id="readable" is
// found as well as one that uses name="readable".
std::vector<std::shared_ptr<Element>> Document::getElementsByName(std::wstring_view name) const {
    std::vector<std::shared_ptr<Element>> found;
    for (const auto& element : *all())
        if (element->getAttribute(L"name") == name || element->getAttribute(L"id") == name)
            found.push_back(element);
    return found;
}

std::shared_ptr<Element> Document::createElement(std::wstring_view tagName) {
    return std::make_shared<Element>(self_, internTagName(tagName));
}

std::shared_ptr<Text> Document::createTextNode(std::wstring data) {
    return std::make_shared<Text>(self_, std::move(data));
}

std::shared_ptr<Comment> Document::createComment(std::wstring data) {
    return std::make_shared<Comment>(self_, std::move(data));
}

std::wstring Document::title() const {
    for (const auto& element : *all())
        if (element->hasTag(L"TITLE"))
            return collapseWhiteSpace(textContent(*element));
    return {};
}

void Document::setTitle(std::wstring title) {
    for (const auto& element : *all()) {
        if (element->hasTag(L"TITLE")) {
            element->setInnerText(std::move(title));
            return;
        }
    }
    auto headElement = head();
    if (!headElement)
        return;
    auto titleElement = createElement(L"TITLE");
    titleElement->setInnerText(std::move(title));
    headElement->appendChild(titleElement);
}

std::optional<std::vector<const Element*>> Document::attributeChangesSince(
    std::uint64_t since) const {
    if (since < attributeChangesFrom_)
        return std::nullopt;
    std::vector<const Element*> changed;
    for (const auto& [version, element] : attributeChanges_)
        if (version > since)
            changed.push_back(element);
    return changed;
}

void Document::forgetAttributeChanges() {
    attributeChanges_.clear();
    attributeChangesFrom_ = version_;
}

std::wstring Document::markup() const {
    std::wstring out;
    if (!doctype_.empty())
        out += L"<!DOCTYPE " + doctype_ + L">";
    for (const auto& child : childNodes())
        writeOuterHtml(out, *child);
    return out;
}

}  // namespace platform::dom
