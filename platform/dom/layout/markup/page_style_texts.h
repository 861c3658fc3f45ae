// The page's style texts as the layout engine gets them: each sheet with its selectors
// rewritten for the engine (layout_selectors.h), each style attribute with its opacity
// folded into colours (element_opacity.h), and, when any of them uses var(), all of them
// and the hint sheet with the references made inert that would let the engine's
// substitution run without end or grow without bound (var_reference_guard.h). A sheet's
// text never ends its <style> element early.
//
// The guard reads every sheet and style attribute of the page up front, as references
// cross between them. Each thread keeps the guard it settled last with the texts it read:
// a layout whose style texts did not change (an overlay moved, a class changed) reuses it.
//
// Contract: built from the document on its thread, before the markup is written.
#pragma once

#include <map>
#include <memory>
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

    struct Guarded;

  private:
    std::map<const StyleSheet*, std::string> sheets_;
    std::shared_ptr<const Guarded> guarded_;  // null when no text uses var()
};

}  // namespace platform::dom
