// Everything a layout tells about a page, for tests that compare two layouts of it.
#pragma once

#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"

namespace platform::dom::testing {

// Every element's boxes and every text node's lines, in document order, and the page's size.
struct Geometry {
    std::vector<std::vector<Rect>> elements;
    std::vector<std::vector<Rect>> texts;
    Size content;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

inline Geometry geometryOf(const Document& document) {
    Geometry geometry;
    const LayoutEngine& layout = document.layout();
    std::vector<const Node*> pending{&document};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node->nodeType() == NodeType::Element) {
            const auto& element = static_cast<const Element&>(*node);
            std::vector<Rect> rects = layout.clientRects(element);
            if (auto box = layout.borderBox(element))
                rects.push_back(*box);
            geometry.elements.push_back(rects);
        } else if (node->nodeType() == NodeType::Text) {
            const auto& text = static_cast<const Text&>(*node);
            geometry.texts.push_back(layout.textRects(text, 0, text.data().size()));
        }
        for (auto it = node->childNodes().rbegin(); it != node->childNodes().rend(); ++it)
            pending.push_back(it->get());
    }
    geometry.content = layout.contentSize();
    return geometry;
}

}  // namespace platform::dom::testing
