// The rectangles of a laid-out page's words, kept by text node: one run per piece of a
// text node the layout engine set as a word or a space, with its characters and the font
// it was measured in. The runs of all nodes lie in one array, node after node, so reading
// a page back makes a few large allocations instead of a vector per node and a node per
// map entry; a node's runs are found by a binary search over an index sorted on first use.
//
// Contract: a plain value owned by the layout; runs are added node by node in the order
// the nodes first appear (a node's runs are contiguous). Not thread-safe: the lazy index
// is built inside a const lookup, on the document's thread.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "platform/dom/geometry.h"

namespace platform::dom {

class Text;

struct TextRun {
    std::uint32_t begin;  // the node's characters [begin, end)
    std::uint32_t end;
    Rect rect;
    std::uintptr_t font;  // the engine's font handle
};

class TextRuns {
  public:
    // Forgets every run and makes room for `expected` of them.
    void reset(std::size_t expected);
    // Adds a run of `text`, which is the node of the last run added or a node with none yet.
    void add(const Text* text, const TextRun& run);
    // The runs of `text` in the order they were added; empty when it has none.
    std::span<const TextRun> of(const Text& text) const;

  private:
    std::vector<TextRun> runs_;
    // Each node with runs and the index of its first run, in the order they were added.
    std::vector<std::pair<const Text*, std::uint32_t>> nodes_;
    // Positions in nodes_ sorted by node, made on the first lookup after a change.
    mutable std::vector<std::uint32_t> sorted_;
};

}  // namespace platform::dom
