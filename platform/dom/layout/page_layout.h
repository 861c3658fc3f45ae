// The layout engine of the page: litehtml lays out the document's markup with the
// browser's default sheet and the page's own sheets (@media screen, the viewport's
// width), with text measured by Pango (see imaging/text_font.h); the boxes are then read
// back for the document's elements and the words for its text nodes. The same laid-out page paints
// itself onto a Canvas (see paint), so what is captured, printed and shown as a snapshot
// is what the geometry describes.
//
// Layout is lazy (the document asks only when a box is read after a change) and a change
// that only moves, adds or removes selection overlays (see page_markup.h) places their
// boxes without laying the page out again. A change of inline styles alone (the style
// commands) restyles the laid-out page in place and renders it again, without parsing
// the page anew, where the result is known to be that of a full layout. The page laid out
// before the last full layout is kept: when the tree is put back as it was (an undo), its
// layout is taken back instead of laying the page out again. Pictures still on their way
// to a page that does not wait for them (see page_resources.h) are laid out without; once
// they arrive the layout is outdated() and the next one is full. A page the engine refuses
// (too deep, too large, too costly a style) has no boxes and a failure() message; the document
// itself is left as it was.
//
// Contract: see layout_engine.h. On the document's thread only.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dom/layout/markup/page_markup.h"
#include "platform/dom/layout/page_elements.h"
#include "platform/dom/layout/text_runs.h"
#include "platform/dom/layout_engine.h"

namespace litehtml {
class context;
class document;
class element;
}  // namespace litehtml

namespace platform::dom {

class PageContainer;
class PageResources;

class PageLayout final : public LayoutEngine {
  public:
    // Pages whose elements times style rules exceed this are refused: matching would take
    // longer than anyone waits.
    static constexpr double kMaxSelectorWork = 2.0e8;

    explicit PageLayout(RuleMatching matching = RuleMatching::indexed);
    ~PageLayout() override;

    void layout(const Document& document, Size viewport) override;
    std::optional<Rect> borderBox(const Element& element) const override;
    std::vector<Rect> clientRects(const Element& element) const override;
    std::vector<Rect> textRects(const Text& text, std::size_t begin,
                                std::size_t end) const override;
    Size contentSize() const override { return content_; }
    void paint(imaging::Canvas& canvas, Rect area, double scale = 1.0) const override;
    const std::string& failure() const override { return failure_; }
    bool outdated() const override;
    void settle() override;

    // How many times the page was laid out in full (placing overlays does not count).
    int fullLayouts() const { return fullLayouts_; }
    // How many times changed inline styles were applied to the laid-out page in place.
    int restyles() const { return restyles_; }
    // How many times the page laid out before the last full layout was taken back, the
    // tree being as it was then (an undo).
    int keptLayoutsTaken() const { return keptTaken_; }

  private:
    struct Box {
        Rect border;
        std::vector<Rect> lines;  // inline elements only
    };

    PageMarkup markupOf(const Document& document);
    // Pictures arrived between the last full layout and the markup just written.
    bool picturesArrived() const;
    void layoutInFull(Size viewport, PageMarkup markup);
    // Renders the page with what the engine's styles need before it renders (see
    // page_margins.h, page_widths.h, quirk_percent_heights.h) and, where drawings fill
    // boxes as wide as their content, again after it (filled_drawings.h); the corrections
    // are written into the engine elements' style attributes.
    static void renderCorrected(litehtml::document& page, const PageMarkup& markup, Size viewport);
    bool moveFreeBoxes(const PageMarkup& markup);
    // A free box's border box from its own style, counted from the page's origin: no box
    // (display none), or nullopt when its style or the page's sheets size it in ways this
    // arithmetic does not follow.
    static std::optional<std::optional<Rect>> freeBoxRect(const Element& element,
                                                          const PageMarkup& markup);
    // The same box where it stands: its offsets count from the padding box of its nearest
    // positioned ancestor as last laid out (the body or the root), if any; no box when
    // that ancestor has none.
    std::optional<Rect> placedFreeBox(const Element& element, const Rect& fromOrigin) const;
    // Gives the free boxes their places (no box for nullopt) and drops the boxes of those
    // in `before` that are not in `now`.
    using FreeBoxPlace = std::pair<const Element*, std::optional<Rect>>;
    void placeFreeBoxes(const std::vector<PageMarkup::FreeBox>& before,
                        const std::vector<PageMarkup::FreeBox>& now,
                        const std::vector<FreeBoxPlace>& places);
    // Moves and sizes the engine's free boxes as the arithmetic placed them, where only
    // their offsets and sizes changed since the engine laid them out; false when another
    // change needs a layout.
    bool moveEngineFreeBoxes();
    bool restyleInPlace(PageMarkup& markup);
    void collectBoxes(const PageMarkup& markup);
    // Where an engine element's marker places the document's element it stands for: among
    // the markup's elements or its free boxes, at an index (none for the engine's own).
    struct MarkupPlace {
        bool free;
        std::size_t index;
    };
    static std::optional<MarkupPlace> placeOf(litehtml::element& element, const PageMarkup& markup);
    static const Element* ownerAt(const std::optional<MarkupPlace>& place,
                                  const PageMarkup& markup);
    // The engine's element standing for the markup's element `index`, or null.
    litehtml::element* engineElementAt(std::size_t index) const;
    void noteEngineElement(litehtml::element& element, const std::optional<MarkupPlace>& place);
    void noteEngineElements(litehtml::element& root, const PageMarkup& markup);
    struct Placed;
    struct PlacedWord;
    class WordMatcher;
    void boxTableParts(const PageMarkup& markup,
                       const std::vector<std::pair<litehtml::element*, const Element*>>& parts);
    void refuse(const std::string& reason);
    // The laid-out page before the last full layout: kept, and taken back when the markup
    // is again what it was laid out from (see takeKeptLayout).
    struct Kept;
    void keepLayout(const PageMarkup& next);
    bool takeKeptLayout(const PageMarkup& markup, Size viewport);
    void swapKept(Kept& kept);

    RuleMatching matching_;
    std::unique_ptr<PageResources> resources_;
    std::unique_ptr<PageContainer> container_;
    std::unique_ptr<litehtml::context> context_;  // the page's own sheet rules, when it has any
    std::shared_ptr<litehtml::document> page_;    // destroyed before its container
    const Document* document_ = nullptr;
    Size viewport_;
    // The content boxes of list items that run right to left (their markers stand right).
    std::vector<Rect> rightToLeftItems_;
    PageMarkup markup_;
    mutable bool stale_ = false;  // free boxes moved since the engine last laid out
    std::unordered_map<const Element*, Box> boxes_;
    TextRuns runs_;
    Size content_;
    // Whether the engine's elements were told their children's paint areas since the page
    // was last rendered (see paint_bounds.h): done before the first painting, as many
    // layouts are only read and never painted.
    mutable bool paintBoundsNoted_ = false;
    std::string failure_;
    int fullLayouts_ = 0;
    // The document's version that `markup_` was written at (0: none): the markup of the
    // next layout starts from it when only overlays changed since.
    std::uint64_t markupVersion_ = 0;
    int restyles_ = 0;
    // The engine's element for each of the markup's elements and for each free box the
    // engine was given, by their places in the markup (null where it made none), and
    // whether the engine made boxes of its own (anonymous table parts), which a restyle in
    // place would lose.
    std::vector<litehtml::element*> engineElements_;
    std::vector<litehtml::element*> engineFreeElements_;
    bool anonymousBoxes_ = false;
    // The free boxes as the engine last laid them out (placing them moves only ours).
    std::vector<PageMarkup::FreeBox> engineFreeBoxes_;
    std::unique_ptr<Kept> kept_;
    int keptTaken_ = 0;
    // The resources' count of arrived pictures when the last full layout's markup was
    // written, and when the latest markup was.
    std::uint64_t arrivalsLaidOut_ = 0;
    std::uint64_t markupArrivals_ = 0;
};

}  // namespace platform::dom
