#include "platform/dom/layout/text_runs.h"

#include <algorithm>
#include <functional>

namespace platform::dom {

void TextRuns::reset(std::size_t expected) {
    runs_.clear();
    nodes_.clear();
    sorted_.clear();
    runs_.reserve(expected);
}

void TextRuns::add(const Text* text, const TextRun& run) {
    if (nodes_.empty() || nodes_.back().first != text) {
        nodes_.emplace_back(text, static_cast<std::uint32_t>(runs_.size()));
        sorted_.clear();
    }
    runs_.push_back(run);
}

std::span<const TextRun> TextRuns::of(const Text& text) const {
    if (sorted_.size() != nodes_.size()) {
        sorted_.resize(nodes_.size());
        for (std::uint32_t i = 0; i < sorted_.size(); ++i)
            sorted_[i] = i;
        std::sort(sorted_.begin(), sorted_.end(), [this](std::uint32_t a, std::uint32_t b) {
            return std::less<const Text*>()(nodes_[a].first, nodes_[b].first);
        });
    }
    const auto found = std::lower_bound(
        sorted_.begin(), sorted_.end(), &text, [this](std::uint32_t at, const Text* wanted) {
            return std::less<const Text*>()(nodes_[at].first, wanted);
        });
    if (found == sorted_.end() || nodes_[*found].first != &text)
        return {};
    const std::uint32_t first = nodes_[*found].second;
    const std::uint32_t last = *found + 1 < nodes_.size()
                                   ? nodes_[*found + 1].second
                                   : static_cast<std::uint32_t>(runs_.size());
    return std::span<const TextRun>(runs_).subspan(first, last - first);
}

}  // namespace platform::dom
