// Finds the elements whose rectangles contain a point without looking at every element:
// the rectangles are filed in horizontal bands of the page once, and a point looks only at
// its own band (and at the few boxes too tall to file, kept apart).
//
// Contract: a plain value built from a snapshot of rectangles; it does not follow later
// changes (the owner builds it again). Not thread-safe for concurrent build and query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/dom/geometry.h"

namespace platform::dom {

class HitIndex {
  public:
    // Files item `item`'s rectangles; items are numbered by the caller (0, 1, 2, ...).
    void add(std::uint32_t item, const std::vector<Rect>& rects);
    void clear();
    // The items with a rectangle that contains the point, in increasing order, each once.
    std::vector<std::uint32_t> itemsAt(Point point) const;

  private:
    static constexpr int kBandHeight = 64;
    static constexpr int kMaxBandsPerRect = 64;  // taller rectangles are kept apart
    struct Entry {
        std::uint32_t item;
        Rect rect;
    };
    std::vector<std::vector<Entry>> bands_;
    std::vector<Entry> tall_;
};

}  // namespace platform::dom
