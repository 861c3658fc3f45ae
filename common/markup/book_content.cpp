#include "common/markup/book_content.h"

namespace common::markup {

namespace {

// The element that loose content gets in each context ("" where it stands as it is).
std::string_view wrapperOf(BookContext context) {
    switch (context) {
        case BookContext::Blocks:
            return "p";
        case BookContext::Items:
            return "li";
        case BookContext::Definitions:
            return "dd";
        default:
            return {};
    }
}

}  // namespace

std::string wrappedIn(std::string_view name, std::string_view attributes, std::string_view body) {
    std::string out = "<";
    out += name;
    out += attributes;
    out += '>';
    out += body;
    out += "</";
    out += name;
    out += '>';
    return out;
}

void BookContent::addInline(std::string_view markup, bool visible) {
    if (wrapperOf(context_).empty()) {
        out_ += markup;
        visible_ = visible_ || visible;
        return;
    }
    pending_ += markup;
    pendingVisible_ = pendingVisible_ || visible;
}

void BookContent::addBlock(std::string_view markup) {
    if (context_ == BookContext::Blocks || wrapperOf(context_).empty()) {
        wrapPending();
        out_ += markup;
        visible_ = true;
        return;
    }
    // Items and definitions hold blocks: the block joins the loose content.
    pending_ += markup;
    pendingVisible_ = true;
}

void BookContent::addItem(std::string_view markup) {
    wrapPending();
    out_ += markup;
    visible_ = true;
}

void BookContent::wrapPending() {
    if (pendingVisible_) {
        out_ += wrappedIn(wrapperOf(context_), "", pending_);
        visible_ = true;
    }
    pending_.clear();
    pendingVisible_ = false;
}

std::string BookContent::take() {
    wrapPending();
    return std::move(out_);
}

}  // namespace common::markup
