// The clean-up that turns a page, or the clipped part of it, into portable markup: removal
// of element kinds by mask, attribute clean-up with the hidden-element pass, URL
// resolution, copies of blocks for readable pages and style copying. Free functions; the
// tables they use are constant.
//
// Contract: the page's user-interface thread only. A null element or document changes
// nothing; `buildCleanMarkup` works on a fresh document and never touches the live page,
// nor does `cleanDocumentMarkup` when given a copy of it.
#pragma once

#include <string>

#include "addon/page/dom_helpers.h"

namespace addon {

// Element-removal mask bits.
inline constexpr int kRemoveIframes = 4;
inline constexpr int kRemoveScripts = 1;
inline constexpr int kRemoveStyles = 2;
inline constexpr int kRemoveObjects = 8;
inline constexpr int kRemoveEmbeds = 16;
inline constexpr int kRemoveApplets = 32;
inline constexpr int kUnwrapForms = 64;
inline constexpr int kRemoveComments = 128;

// Attribute clean-up mask bits.
inline constexpr int kCleanHidden = 1;      // remove hidden elements (and visit the rest)
inline constexpr int kCleanLinks = 2;       // remove "link" elements other than style sheets
inline constexpr int kCleanScriptUses = 4;  // event attributes and script links
inline constexpr int kCleanClasses = 8;     // class attributes
inline constexpr int kCleanNames = 16;      // name attributes

// URL-resolution mask bits.
inline constexpr int kResolveImages = 1;
inline constexpr int kResolveAnchors = 2;
inline constexpr int kResolveLinks = 4;
inline constexpr int kResolveStyleSheets = 8;

// Output kinds of buildCleanMarkup.
inline constexpr int kMarkupDocument = 0;
inline constexpr int kMarkupClipItems = 3;

// Removes, below `root`, the element kinds whose bits are set. Forms are unwrapped: the
// form element goes, its content stays.
void removeElementsByMask(const ElementPtr& root, int mask);
// Removes hidden elements (never the head, what it holds, "link" or "style"), every "on..."
// event attribute, classes and names, script uses and non-style-sheet links as the mask
// says. Of a link whose address is a script only the link goes, its content stays; a
// picture whose address is a script goes whole.
void cleanAttributes(const ElementPtr& root, int mask);
// Removes every "on..." event attribute from `root` and every element under it, whatever
// else cleanAttributes does: what the readable pages take from fetched or live markup.
void removeEventAttributes(const ElementPtr& root);
// Joins the URLs of the chosen kinds with the base URL; returns how many were rewritten.
int resolveUrls(const dom::Document& document, const std::wstring& baseUrl, int mask);
// Sets on the target's inline style every listed property whose current value differs
// from the source's.
void copyComputedStyle(const ElementPtr& source, const ElementPtr& target);
// A copy of a selected block for a readable page; the source stays as it is.
ElementPtr cloneForReadable(const ElementPtr& element, int mask);
// Parses the markup into a fresh document, leaves out the selection engine's overlays,
// resolves URLs, removes elements and cleans attributes by the masks (0: skipped). Output
// kind 3 gives a "DIV" with the marked clip items separated by "<HR></HR>"; any other
// kind the whole cleaned document (tags written in upper case, as the page reports them).
std::wstring buildCleanMarkup(const std::wstring& markup, const std::wstring& baseUrl, int urlMask,
                              int elementMask, int attributeMask, int outputKind);
// As buildCleanMarkup, on `document` itself, which the clean-up changes: for a copy of a
// page that is already a tree (a clone costs less than writing the page out and parsing it).
std::wstring cleanDocumentMarkup(dom::Document& document, const std::wstring& baseUrl, int urlMask,
                                 int elementMask, int attributeMask, int outputKind);

// The URL (after trimming white space) uses the "javascript:" or "vbscript:" scheme, in
// any case.
bool isScriptUrl(const std::wstring& url);

}  // namespace addon
