// Rectangles in document coordinates (a client rectangle plus the document's scroll
// offsets), as the selection engine measures elements, text ranges and drawn rectangles.
// Plain values; every containment test includes the edges.
#pragma once

#include <cstdint>
#include <optional>

namespace addon {

struct Rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::int32_t right() const { return x + width; }
    std::int32_t bottom() const { return y + height; }
    bool contains(std::int32_t px, std::int32_t py) const;
    bool contains(const Rect& inner) const;
    bool intersects(const Rect& other) const;
    // The same area with the origin at the top-left corner and non-negative sizes.
    Rect normalized() const;
    // The smallest rectangle that holds both.
    Rect united(const Rect& other) const;

    friend bool operator==(const Rect&, const Rect&) = default;
};

using OptionalRect = std::optional<Rect>;

// Grows `area` to hold `next`; an unset area becomes `next`, an unset `next` changes nothing.
OptionalRect unite(const OptionalRect& area, const OptionalRect& next);

}  // namespace addon
