// The simple layout engine: blocks stacked top to bottom in the viewport's width, table
// cells side by side in their row, inline content and text flowed into lines of fixed
// character size (kCharWidth by kLineHeight), widths and heights from "px", "pt", "em"
// and "%", margins, borders and padding, absolutely positioned boxes placed by left and
// top. Floats are laid out as blocks; text alignment and relative offsets are ignored.
//
// Contract: see layout_engine.h. Reads styles through the document's cascade.
#pragma once

#include <unordered_map>

#include "platform/dom/layout_engine.h"

namespace platform::dom {

class SimpleBlockLayout final : public LayoutEngine {
  public:
    static constexpr int kCharWidth = 8;
    static constexpr int kLineHeight = 16;

    void layout(const Document& document, Size viewport) override;
    std::optional<Rect> borderBox(const Element& element) const override;
    std::vector<Rect> clientRects(const Element& element) const override;
    std::vector<Rect> textRects(const Text& text, std::size_t begin,
                                std::size_t end) const override;
    Size contentSize() const override { return content_; }

    // A run of characters [begin, end) of one text node drawn one cell each on one line.
    struct TextRun {
        std::size_t begin;
        std::size_t end;
        Rect rect;
    };
    struct Box {
        Rect border;
        std::vector<Rect> lines;  // inline elements only
    };

  private:
    friend class LayoutPass;

    std::unordered_map<const Element*, Box> boxes_;
    std::unordered_map<const Text*, std::vector<TextRun>> runs_;
    Size content_;
};

}  // namespace platform::dom
