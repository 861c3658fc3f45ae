// Small helpers over the page's elements: identity, tag names, attributes and inline style,
// geometry in document coordinates, ancestry, hidden-element tests and the engine's own
// overlay marker. Free functions without state.
//
// Contract: the page's user-interface thread only. A null element gives the empty result
// (empty string, null element, false, unset rectangle) and changes nothing.
#pragma once

#include <cstdint>
#include <string>

#include "addon/controller/page/document.h"
#include "addon/controller/rect.h"

namespace addon {

using page::NodePtr;

// The class that marks every element the selection engine puts into a page.
inline constexpr const wchar_t* kClipClass = L"__classClip";

// Flags of getElementValue and setElementValue.
inline constexpr int kValueAttribute = 1;   // an attribute instead of a style property
inline constexpr int kValueInlineOnly = 4;  // no fall-back to the current style

bool isSameObject(const NodePtr& a, const NodePtr& b);
// Tag name in lower case; empty for a text or comment node.
std::wstring getTagName(const NodePtr& element);
// An attribute or style property; "undefined" when there is none.
std::wstring getElementValue(const NodePtr& element, const std::wstring& name, int flags);
// Sets an attribute or inline style property; the value "undefined" removes it.
void setElementValue(const NodePtr& element, const std::wstring& name, const std::wstring& value,
                     int flags);
// The element's rectangle in document coordinates; unset when it has no layout.
OptionalRect getElementAbsoluteRect(const NodePtr& element);
bool isClipOverlay(const NodePtr& element);
// Current display "none" or visibility "hidden" (either case), on the element or, with
// `withAncestors`, on any element above it.
bool isHiddenElement(const NodePtr& element, bool withAncestors);
void removeElement(const NodePtr& element);
// The nearest element that contains both; the other one when one is null; null when the
// two share no ancestor.
NodePtr commonAncestor(const NodePtr& a, const NodePtr& b);
// The last descendant of `root` (in document order) whose rectangle holds the point; the
// root itself when none does.
NodePtr elementFromPoint(const NodePtr& root, std::int32_t x, std::int32_t y);
std::wstring getInnerText(const NodePtr& element);
std::wstring getInnerHtml(const NodePtr& element);
// Moves a table row into a new "tbody" inside a new "table", or a "thead", "tfoot" or
// "tbody" into a new "table", and returns the outermost new element; returns any other
// element as it is.
NodePtr wrapTablePart(const NodePtr& element);

}  // namespace addon
