// Points, sizes and rectangles in pixels, as the page reports them (left, top, right,
// bottom; right and bottom exclusive of the box's last pixel column and row).
//
// Contract: plain values; no invariants are enforced (a rectangle may be empty).
#pragma once

#include <algorithm>

namespace platform::dom {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    // Inclusive on all four edges, as the page's hit tests are.
    bool contains(Point p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect united(const Rect& other) const {
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform::dom
