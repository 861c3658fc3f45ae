// The blocks that ask the reader for input: those holding a field to type into or to
// choose from (a sign-up box, a comment form, a poll, a "report this" box). A story holds
// no such field; a block that holds one is a form set beside or inside the story, whatever
// it is named.
//
// A form's small print may stand outside the box of its fields: the notice of the captcha
// that guards a sign-up form ("This site is protected by reCAPTCHA and ... apply"), which
// the captcha's terms have every page that uses it show in those words.
//
// Contract: the page's user-interface thread only; reads the page and changes nothing.
// The answers hold while the page does not change; elements are remembered by address, so
// the caller keeps the page alive.
#pragma once

#include <cstddef>
#include <unordered_set>

#include "addon/page/dom_helpers.h"

namespace addon {

// The text a form block holds at most (its heading, labels and small print) for a grab to
// leave it out of the article with that text; a block holding more is more than a form.
inline constexpr std::size_t kFormBlockText = 600;

// The most text a captcha's notice holds.
inline constexpr std::size_t kCaptchaNoticeText = 200;

// Whether the element is a captcha's notice: less than kCaptchaNoticeText of text that says
// the page is protected by a captcha.
bool isCaptchaNotice(const dom::Element& element);

class FormBlocks {
  public:
    // The fields below `root` (itself included): text areas, lists to choose from, and
    // inputs other than hidden ones, buttons and pictures.
    explicit FormBlocks(const ElementPtr& root);

    // Whether the element, below the root or the root itself, holds a field.
    bool holdsField(const dom::Element& element) const;
    // Whether the element is a form and little more: it holds a field and less than
    // kFormBlockText of text.
    bool isForm(const dom::Element& element) const;

  private:
    std::unordered_set<const dom::Element*> holders_;
};

}  // namespace addon
