// Markup as the HTML parser may be given it, whoever wrote it: at most kMaxBytes, at most
// kMaxAttributes attributes in a tag (attribute_limit.h), "DIV" and "SPAN" elements nested
// at most `maxDepth` deep (nesting_limit.h). Within these bounds gumbo's work grows with
// the size of the markup alone, so no page, clip or answer keeps a parse busy for long.
// What was left out is said in `note`, for a person.
//
// Contract: one thread per object; `text` stays valid while the object lives (it is the
// input itself when nothing was left out, which must then outlive the object).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::html_input {

class BoundedHtml {
  public:
    static constexpr std::size_t kMaxBytes = 16u << 20;
    static constexpr std::size_t kMaxAttributes = 256;

    BoundedHtml(std::string_view utf8, int maxDepth);
    BoundedHtml(const BoundedHtml&) = delete;
    BoundedHtml& operator=(const BoundedHtml&) = delete;

    std::string_view text() const { return text_; }
    // "" when nothing was left out.
    const std::string& note() const { return note_; }

  private:
    void keep(std::string markup);
    void add(const std::string& sentence);

    std::string_view text_;
    std::string storage_;
    std::string note_;
};

}  // namespace platform::html_input
