// The page as markup for the layout engine: the document serialized with a marker
// attribute on every element (its index in `elements`, or "f" and its index in
// `freeBoxes`), the style sheets as the cascade holds them (disabled ones left out, linked
// ones' texts in `linkedSheets`), and the text nodes the engine will break into words, in
// document order.
//
// Absolutely placed boxes at the top of the body (selection overlays: "position:
// absolute" with pixel left, top, width and height, whose parent is the body) are kept
// apart in `freeBoxes`, so a change that only moves, adds or removes them can be told from
// one that changes the flow: `flow` holds the rest of the markup, with kFreeBoxMark where
// each one stands, and is the same whatever free boxes there are.
//
// Contract: built on the document's thread. A page that nests deeper than kMaxDepth or
// is larger than kMaxBytes is refused: `failure` says why and the markup is empty.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::dom {

class Document;
class Element;
class Text;

struct PageMarkup {
    static constexpr std::size_t kMaxDepth = 400;
    static constexpr std::size_t kMaxBytes = 16u << 20;
    static constexpr std::size_t kMaxElements = 300'000;
    static constexpr char kFreeBoxMark = '\x01';
    static constexpr const char* kMarkerAttribute = "data-tamrix-box";
    // Names the rule of `hintSheet` that holds the element's presentational styles.
    static constexpr const char* kHintAttribute = "data-tamrix-hint";

    // Where a piece of `flow` lies: [begin, end).
    struct Span {
        std::size_t begin = std::string::npos;
        std::size_t end = std::string::npos;
    };
    struct FreeBox {
        const Element* element;
        std::string markup;
    };

    std::string flow;
    std::vector<FreeBox> freeBoxes;
    std::vector<const Element*> elements;  // the elements of the flow, not the free boxes
    // For each of `elements`, its ' style="..."' in `flow` (an empty span where it would
    // stand when it has none); npos for elements written inside a free box.
    std::vector<Span> styleSpans;
    std::vector<const Text*> texts;
    std::map<std::string, std::string> linkedSheets;  // href as written -> sheet text
    std::size_t sheetBytes = 0;
    // Rules that rank with the browser's own sheet: one per distinct set of styles that
    // presentational attributes ask for (see page_hints.h), and the quirks-mode rules for a
    // page without a doctype.
    std::string hintSheet;
    // A sheet has selectors that a sibling added or removed at the top of the body could
    // make match other elements (sibling combinators, structural pseudo-classes falling on
    // the body's children; see body_siblings.h).
    bool sheetsReadSiblings = false;
    // A sheet sets box-sizing, which the free boxes' arithmetic follows only where the box
    // itself says "box-sizing: content-box".
    bool sheetsSizeBoxes = false;
    // A sheet selects by the style attribute ("[style").
    bool sheetsReadStyle = false;
    // An element has attributes the layout engine itself turns into styles.
    bool engineReadsAttributes = false;
    // The page has no doctype: the browser's quirks mode lays it out.
    bool quirks = false;
    // Some text runs right to left: the lines holding it are reordered after layout.
    bool bidi = false;
    // An element's dir attribute makes it run right to left.
    bool rightToLeft = false;
    std::string failure;

    // The whole markup: `flow` with each free box in its place.
    std::string whole() const;
    // The flow without its free box marks equals `other`'s.
    bool sameFlowAs(const PageMarkup& other) const;
};

// Tells whether the picture at an "IMG" source (as written) cannot be had.
using PictureMissing = std::function<bool(const std::wstring& source)>;

// A picture that cannot be had but has alternative text stands as that text, in an
// element named kAltTextTag, as browsers show it.
inline constexpr const char* kAltTextTag = "tamrix-alt";

// A line break with nothing before it on its line stands as an element of this name
// holding a no-break space, then the break: the empty line a browser shows.
inline constexpr const char* kEmptyLineTag = "tamrix-line";

PageMarkup buildPageMarkup(const Document& document, const PictureMissing& pictureMissing);

// Brings `markup`, built from the document before the attributes of `changed` alone
// changed, up to date by writing those elements again: only when each is one of its free
// boxes, still free, holding nothing and written as its attributes alone (no hint, marker,
// control text or picture). False, leaving `markup` in no defined state, otherwise: build
// it whole.
bool rewriteFreeBoxes(const Document& document, const std::vector<const Element*>& changed,
                      PageMarkup& markup);

// Whether style sheet text has a selector that depends on an element's siblings ("+",
// "~", :first-child, :nth-of-type, ...). Errs towards true.
bool readsSiblings(std::string_view css);

}  // namespace platform::dom
