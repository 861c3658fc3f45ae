#include "platform/html_input/bounded_html.h"

#include "platform/html_input/attribute_limit.h"
#include "platform/html_input/nesting_limit.h"

namespace platform::html_input {

namespace {

// The length of the longest prefix of at most `limit` bytes that ends between characters.
std::size_t characterBoundary(std::string_view utf8, std::size_t limit) {
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return end;
}

}  // namespace

BoundedHtml::BoundedHtml(std::string_view utf8, int maxDepth) : text_(utf8) {
    if (text_.size() > kMaxBytes) {
        keep(std::string(text_.substr(0, characterBoundary(text_, kMaxBytes))));
        add("The markup is larger than " + std::to_string(kMaxBytes >> 20) +
            " MB: what follows its first " + std::to_string(kMaxBytes >> 20) + " MB was left out.");
    }
    AttributeCut attributes = limitAttributes(text_, kMaxAttributes);
    if (attributes.markup) {
        keep(std::move(*attributes.markup));
        add(std::to_string(attributes.tags) + (attributes.tags == 1 ? " tag has" : " tags have") +
            " more than " + std::to_string(kMaxAttributes) + " attributes (up to " +
            std::to_string(attributes.most) + "): those after the first " +
            std::to_string(kMaxAttributes) + " were left out.");
    }
    if (auto limited = limitNesting(text_, maxDepth)) {
        keep(std::move(*limited));
        add("Elements are nested more than " + std::to_string(maxDepth) +
            " deep: the tags of the deeper ones were left out, their content kept.");
    }
}

void BoundedHtml::keep(std::string markup) {
    storage_ = std::move(markup);
    text_ = storage_;
}

void BoundedHtml::add(const std::string& sentence) {
    note_ += note_.empty() ? sentence : " " + sentence;
}

}  // namespace platform::html_input
