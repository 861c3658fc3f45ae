// Small helpers over the page's elements: identity, tag names, attributes and inline style,
// geometry in document coordinates, ancestry, hidden-element tests and the engine's own
// overlay marker. Free functions without state over the shared document model
// (platform/dom).
//
// Contract: the page's user-interface thread only. A null element gives the empty result
// (empty string, null element, false, unset rectangle) and changes nothing. Style names
// may be given in either form ("borderLeftWidth" or "border-left-width").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addon/page/rect.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/text_range.h"

namespace addon {

namespace dom = platform::dom;
using NodePtr = std::shared_ptr<dom::Node>;
using ElementPtr = std::shared_ptr<dom::Element>;
using TextRangePtr = std::shared_ptr<dom::TextRange>;
using DocumentPtr = std::shared_ptr<dom::Document>;

// The class that marks every element the selection engine puts into a page.
inline constexpr const wchar_t* kClipClass = L"__classClip";

// Flags of getElementValue and setElementValue.
inline constexpr int kValueAttribute = 1;   // an attribute instead of a style property
inline constexpr int kValueInlineOnly = 4;  // no fall-back to the current style

bool isSameObject(const ElementPtr& a, const ElementPtr& b);
// Tag name in lower case; empty for a null element.
std::wstring getTagName(const ElementPtr& element);
// The element's own inline value of a style property; none when it is not set.
std::optional<std::wstring> inlineStyleValue(const ElementPtr& element, const std::wstring& name);
// Sets an inline style property; the empty value removes it.
void setInlineStyleValue(const ElementPtr& element, const std::wstring& name,
                         const std::wstring& value);
// The cascaded value of a style property; none for a property the style does not know.
std::optional<std::wstring> currentStyleValue(const ElementPtr& element, const std::wstring& name);
// An attribute or style property; "undefined" when there is none.
std::wstring getElementValue(const ElementPtr& element, const std::wstring& name, int flags);
// Sets an attribute or inline style property; the value "undefined" removes it.
void setElementValue(const ElementPtr& element, const std::wstring& name, const std::wstring& value,
                     int flags);
Rect toRect(const dom::Rect& rect);
// The element's rectangle in document coordinates, where it shows (moved by the containers
// scrolled above it); unset when it has no layout.
OptionalRect getElementAbsoluteRect(const ElementPtr& element);
// The document's scroll offsets.
std::int32_t scrollLeftOf(const dom::Document& document);
std::int32_t scrollTopOf(const dom::Document& document);
bool isClipOverlay(const ElementPtr& element);
// Current display "none" or visibility "hidden" (either case), on the element or, with
// `withAncestors`, on any element above it.
bool isHiddenElement(const ElementPtr& element, bool withAncestors);
void removeElement(const NodePtr& node);
// The nearest element that contains both; the other one when one is null; null when the
// two share no ancestor.
ElementPtr commonAncestor(const ElementPtr& a, const ElementPtr& b);
// The node as an element; null for any other node.
ElementPtr asElement(const NodePtr& node);
// Whether the element is the page itself: its BODY or HTML.
bool isPageElement(const dom::Element& element);
// Whether the element is a heading of any level (H1 to H6).
bool isHeadingTag(const dom::Element& element);
// Whether an element above this one has one of `tags` (lower case).
bool insideTagged(const dom::Element& element, std::initializer_list<std::wstring_view> tags);
// The last descendant of `root` (in document order) whose rectangle holds the point; the
// root itself when none does.
ElementPtr elementFromPoint(const ElementPtr& root, std::int32_t x, std::int32_t y);
std::wstring getInnerText(const ElementPtr& element);
std::wstring getInnerHtml(const ElementPtr& element);
// The root element and every element below it, in document order.
std::vector<ElementPtr> allElements(const dom::Document& document);
// The document's elements with that tag (any case), in document order.
std::vector<ElementPtr> elementsByTag(const dom::Document& document, const std::wstring& tag);
// Moves a table row into a new "tbody" inside a new "table", or a "thead", "tfoot" or
// "tbody" into a new "table", and returns the outermost new element; returns any other
// element as it is.
ElementPtr wrapTablePart(const ElementPtr& element);
// The element's markup as it reads standing alone, outside its page: a table row or row
// group written outside its table loses its rows and cells to the HTML parser (its words run
// together), so those are written inside a table of their own, as wrapTablePart makes it.
std::wstring standaloneOuterHtml(const ElementPtr& element);

}  // namespace addon
