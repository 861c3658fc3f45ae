// Everything a layout tells about a page, for tests that compare two layouts of it, the
// check of a page's boxes against those a browser gave for it, and pictures to lay out.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/text/utf.h"

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

// Each element's box (by id) within `tolerance` pixels on each side of a browser's.
inline void expectBoxesNear(const Document& document,
                            const std::vector<std::pair<const wchar_t*, Rect>>& expected,
                            int tolerance) {
    for (const auto& [id, chromium] : expected) {
        SCOPED_TRACE(platform::text::toUtf8(id));
        const auto element = document.getElementById(id);
        ASSERT_NE(element, nullptr);
        const auto box = document.boxOf(*element);
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->left, chromium.left, tolerance);
        EXPECT_NEAR(box->top, chromium.top, tolerance);
        EXPECT_NEAR(box->right, chromium.right, tolerance);
        EXPECT_NEAR(box->bottom, chromium.bottom, tolerance);
    }
}

// Boxes that must be Chromium's to the pixel, by element id.
inline void expectExactBoxes(const Document& document,
                             const std::vector<std::pair<const wchar_t*, Rect>>& expected) {
    expectBoxesNear(document, expected, 0);
}

// A PNG file's bytes: a picture of the size in one colour.
inline std::string pngOf(int width, int height) {
    imaging::Bitmap bitmap(width, height, imaging::PixelFormat::Rgb24);
    bitmap.fill(0xFF336699);
    std::string bytes;
    EXPECT_EQ(imaging::encodeBitmap(bitmap, "image/png", bytes), imaging::Status::Ok);
    return bytes;
}

}  // namespace platform::dom::testing
