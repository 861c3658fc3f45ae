// A guard in front of the HTML parser against tags with absurdly many attributes. The
// parser compares each new attribute of a tag with all the ones before it, so one tag of
// 80,000 attributes costs it billions of comparisons (13 s). The guard reads the markup as
// the parser's tokenizer does (tags, attribute values, comments, and the raw text of
// elements such as "SCRIPT" outside SVG and MathML) and leaves out of each tag the
// attributes after its first `maxAttributes`.
//
// Contract: a pure function; markup without such a tag is not copied.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::html_input {

struct AttributeCut {
    std::optional<std::string> markup;  // nothing when no tag had too many
    std::size_t tags = 0;               // tags that lost attributes
    std::size_t most = 0;               // the most attributes one tag had
};

AttributeCut limitAttributes(std::string_view markup, std::size_t maxAttributes);

}  // namespace platform::html_input
