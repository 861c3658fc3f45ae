// The page's style texts as the layout engine gets them: each sheet with its selectors
// rewritten for the engine (layout_selectors.h), each style attribute with its opacity
// folded into colours (element_opacity.h), and all of them, the hint sheet too, with the
// var() references made inert that would let the engine's substitution run without end
// or grow without bound (var_reference_guard.h). A sheet's text never ends its <style>
// element early.
//
// Contract: built from the document on its thread, before the markup is written; reads
// every sheet and style attribute once up front, as references cross between them.
#pragma once

#include <map>
#include <string>

#include "platform/dom/style/var_reference_guard.h"

namespace platform::dom {

class Document;
class StyleSheet;

class PageStyleTexts {
  public:
    explicit PageStyleTexts(const Document& document);

    // The sheet's text; one of the document's sheets.
    const std::string& sheet(const StyleSheet& sheet) const;
    // The text of a style attribute, given as the document holds it.
    std::wstring styleAttribute(const std::wstring& value) const;
    // The hint sheet (page_hints.h), which declares no custom properties of the page.
    std::string hintSheet(const std::string& text) const;

    // `css` for inside a <style> element: no "</style" that would end it.
    static std::string forStyleElement(const std::string& css);

  private:
    std::map<const StyleSheet*, std::string> sheets_;
    VarReferenceGuard guard_;
};

}  // namespace platform::dom
