#include "addon/page/rect.h"

#include <algorithm>

namespace addon {

bool Rect::contains(std::int32_t px, std::int32_t py) const {
    return px >= x && px <= right() && py >= y && py <= bottom();
}

bool Rect::contains(const Rect& inner) const {
    return inner.x >= x && inner.right() <= right() && inner.y >= y && inner.bottom() <= bottom();
}

bool Rect::intersects(const Rect& other) const {
    return other.x < right() && x < other.right() && other.y < bottom() && y < other.bottom();
}

Rect Rect::normalized() const {
    Rect result = *this;
    if (result.width < 0) {
        result.x += result.width;
        result.width = -result.width;
    }
    if (result.height < 0) {
        result.y += result.height;
        result.height = -result.height;
    }
    return result;
}

Rect Rect::united(const Rect& other) const {
    const std::int32_t left = std::min(x, other.x);
    const std::int32_t top = std::min(y, other.y);
    return Rect{left, top, std::max(right(), other.right()) - left,
                std::max(bottom(), other.bottom()) - top};
}

OptionalRect unite(const OptionalRect& area, const OptionalRect& next) {
    if (!next)
        return area;
    if (!area)
        return next;
    return area->united(*next);
}

}  // namespace addon
