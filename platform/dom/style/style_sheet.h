// A style sheet of the page: the rules of one "STYLE" element or one linked sheet
// ("LINK rel=stylesheet"), with the flags the page code reads and writes.
//
// Contract: owned by the document's sheet list (document.h) and shared with callers; it
// refers to its owning element weakly. Changing `disabled` or the text marks the document
// changed so that styles and layout are computed again. Owner thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dom/style/css_parser.h"

namespace platform::dom {

class Element;

class StyleSheet {
  public:
    StyleSheet(std::shared_ptr<Element> owner, std::wstring text);

    std::shared_ptr<Element> owningElement() const { return owner_.lock(); }
    // The "href" of a linked sheet; empty for a "STYLE" element.
    std::wstring href() const;
    std::wstring type() const;
    std::wstring media() const;
    bool disabled() const { return disabled_; }
    void setDisabled(bool disabled);
    const std::wstring& cssText() const { return text_; }
    // For a "STYLE" element the element's text becomes the new text.
    void setCssText(std::wstring text);
    const std::vector<StyleRule>& rules() const { return rules_; }
    // Whether the sheet takes part in the cascade (enabled, for the screen).
    bool applies() const;

  private:
    friend class Document;
    void reload(std::wstring text);

    std::weak_ptr<Element> owner_;
    std::wstring text_;
    std::vector<StyleRule> rules_;
    bool disabled_ = false;
};

}  // namespace platform::dom
