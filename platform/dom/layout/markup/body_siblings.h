// Whether a box added at the top of the body, or taken away from there, can change which of
// a sheet's rules match the page's elements: only a selector that tests an element's
// position among its siblings (":first-child", ":nth-of-type(2)", ":empty") or what comes
// before it ("h1 + p", "h1 ~ p": a box added before "p" changes its match only when the box
// is an "h1"), and only where that test falls on one of the body's children (or the body,
// for ":empty"). Each such test is looked at against the body's children, the added boxes
// among them (those `added` tells), by their tag, id and classes: a position test that none
// of them could pass cannot change, nor can "a + b" or "a ~ b" unless an added box could be
// the "a" and a child the "b", nor a test whose selector puts it below a parent or an
// ancestor that the body (or the root, for an ancestor) could not be ("ul > li:first-child",
// ".menu a + a"). Judge a removal with the body as it was.
// Errs towards true: attribute tests and :not() are taken to pass.
//
// Contract: pure function of the sheet's text and the body's children; a sheet's parsed
// tests are cached by its text across calls and threads (under a lock).
#pragma once

#include <functional>
#include <string_view>

namespace platform::dom {

class Element;

bool bodySiblingsMatter(std::string_view css, const Element& body,
                        const std::function<bool(const Element&)>& added);

}  // namespace platform::dom
