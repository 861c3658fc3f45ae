#include "addon/readable/layout_finder.h"

#include <algorithm>
#include <cmath>

#include "addon/page/dom_helpers.h"
#include "addon/readable/blocks/shown_blocks.h"

namespace addon {
namespace {

constexpr std::size_t kMinimumText = 200;

double area(const Rect& rect) {
    return static_cast<double>(std::max(rect.width, 0)) * std::max(rect.height, 0);
}

double overlap(const Rect& a, const Rect& b) {
    const std::int32_t left = std::max(a.x, b.x);
    const std::int32_t right = std::min(a.right(), b.right());
    const std::int32_t top = std::max(a.y, b.y);
    const std::int32_t bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) {
        return 0.0;
    }
    return static_cast<double>(right - left) * (bottom - top);
}

// The box of an element that may hold the main text, where `fits` takes that box; unset
// for the ones passed over. The box is tested first: most of a page's elements lie
// elsewhere, and their text and style cost far more to look at.
// Whether the element is taken out of the page's flow and laid over it: absolutely placed,
// or fixed to the window (a consent dialog, a sign-up box, a bar that stays in view).
bool isLaidOver(const ElementPtr& element) {
    const std::wstring position = currentStyleValue(element, L"position").value_or(L"");
    return position == L"absolute" || position == L"fixed";
}

template <class Fits>
OptionalRect candidateBox(const ElementPtr& element, ShownBlocks& hidden, Fits fits) {
    const OptionalRect box = getElementAbsoluteRect(element);
    if (!box || !fits(*box) || hidden.hidden(element) || isLaidOver(element) ||
        !element->innerTextReaches(kMinimumText)) {
        return std::nullopt;
    }
    return box;
}

ElementPtr childrenPass(const ElementPtr& element, const Rect& limit, ShownBlocks& hidden) {
    const double limitArea = area(limit);
    if (limit.width <= 0 || limitArea <= 0) {
        return nullptr;
    }
    const auto widthRatio = [&](const Rect& box) {
        return static_cast<double>(box.width) / limit.width;
    };
    const auto children = element->children();
    for (const auto& child : children) {
        if (candidateBox(child, hidden, [&](const Rect& box) {
                return widthRatio(box) >= 0.5 && widthRatio(box) <= 0.9 &&
                       overlap(box, limit) >= 0.3 * limitArea;
            })) {
            return child;
        }
    }
    for (const auto& child : children) {
        if (candidateBox(child, hidden, [&](const Rect& box) {
                return widthRatio(box) >= 0.6 && overlap(box, limit) >= 0.3 * limitArea;
            })) {
            if (ElementPtr found = childrenPass(child, limit, hidden)) {
                return found;
            }
        }
    }
    return nullptr;
}

ElementPtr descentPass(const ElementPtr& element, const Rect& limit, ShownBlocks& hidden) {
    const double limitArea = area(limit);
    if (limit.width <= 0 || limitArea <= 0) {
        return nullptr;
    }
    for (const auto& child : element->children()) {
        const OptionalRect box = candidateBox(child, hidden, [&](const Rect& box) {
            return box.width >= 0.8 * limit.width && overlap(box, limit) >= 0.6 * limitArea;
        });
        if (!box) {
            continue;
        }
        if (box->height < 0.75 * limit.height) {
            return child;
        }
        return descentPass(child, limit, hidden);
    }
    return nullptr;
}

// The candidate's box with its bottom at most 800 pixels below its top.
OptionalRect limitedBox(const ElementPtr& element) {
    OptionalRect box = getElementAbsoluteRect(element);
    if (box) {
        box->height = std::min(box->height, 800);
    }
    return box;
}

template <class Pass>
ElementPtr refine(const ElementPtr& candidate, Pass pass, ShownBlocks& hidden) {
    const OptionalRect limit = limitedBox(candidate);
    if (!limit) {
        return candidate;
    }
    ElementPtr found = pass(candidate, *limit, hidden);
    return found ? found : candidate;
}

}  // namespace

ElementPtr findMainElement(const ElementPtr& element) {
    if (!element) {
        return nullptr;
    }
    const OptionalRect outer = getElementAbsoluteRect(element);
    if (!outer || outer->width <= 0) {
        return nullptr;
    }
    const std::int32_t width = outer->width;
    const std::int32_t quarter = width / 4;
    const Rect probe{outer->x + quarter, 250, width - 2 * quarter, 1000};
    const double probeArea = area(probe);
    if (probeArea <= 0) {
        return nullptr;
    }

    double best = 1.0;
    ElementPtr candidate;
    ShownBlocks hidden;
    for (const auto& below : element->all()) {
        const OptionalRect box = candidateBox(below, hidden, [&](const Rect& box) {
            return box.width >= 0.35 * width && overlap(box, probe) >= 0.25 * probeArea;
        });
        if (!box) {
            continue;
        }
        const double distance = std::abs(box->width - 0.7 * width) / width;
        if (distance < best) {
            best = distance;
            candidate = below;
        }
    }
    if (!candidate) {
        return nullptr;
    }

    for (ElementPtr above = candidate->parentElement(); above; above = above->parentElement()) {
        const OptionalRect box = getElementAbsoluteRect(above);
        if (!box || box->width > 1.15 * probe.width) {
            break;
        }
        candidate = above;
    }

    candidate = refine(candidate, childrenPass, hidden);
    return refine(candidate, descentPass, hidden);
}

}  // namespace addon
