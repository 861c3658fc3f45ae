#include "platform/dom/layout/hit_index.h"

#include <algorithm>

namespace platform::dom {

namespace {

int bandOf(int y, int height) {
    return y < 0 ? 0 : y / height;
}

}  // namespace

void HitIndex::add(std::uint32_t item, const std::vector<Rect>& rects) {
    for (const Rect& rect : rects) {
        if (rect.right < rect.left || rect.bottom < rect.top || rect.bottom < 0)
            continue;  // contains no point that is ever asked about
        const int first = bandOf(rect.top, kBandHeight);
        const int last = bandOf(rect.bottom, kBandHeight);
        if (last - first >= kMaxBandsPerRect) {
            tall_.push_back({item, rect});
            continue;
        }
        if (static_cast<std::size_t>(last) >= bands_.size())
            bands_.resize(static_cast<std::size_t>(last) + 1);
        for (int band = first; band <= last; ++band)
            bands_[static_cast<std::size_t>(band)].push_back({item, rect});
    }
}

void HitIndex::clear() {
    bands_.clear();
    tall_.clear();
}

std::vector<std::uint32_t> HitIndex::itemsAt(Point point) const {
    std::vector<std::uint32_t> items;
    const auto collect = [&](const std::vector<Entry>& entries) {
        for (const Entry& entry : entries)
            if (entry.rect.contains(point))
                items.push_back(entry.item);
    };
    collect(tall_);
    if (point.y >= 0) {
        const auto band = static_cast<std::size_t>(bandOf(point.y, kBandHeight));
        if (band < bands_.size())
            collect(bands_[band]);
    }
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

}  // namespace platform::dom
