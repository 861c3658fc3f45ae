// Flags of a compiled regular expression (CPatternT). Plain integer bits so that callers
// can combine them with "|"; 0 is the ordinary forward, case-sensitive pattern.
#pragma once

namespace common {

enum RegexFlag : int {
    // "." also matches a line feed.
    REGEX_SINGLE_LINE = 0x01,
    // "^" and "$" also match at the start and end of every line.
    REGEX_MULTI_LINE = 0x02,
    // The pattern is anchored where the search starts, as if it began with "\G".
    REGEX_GLOBAL = 0x04,
    // Literals, classes and back-references compare without regard to case.
    REGEX_IGNORE_CASE = 0x08,
    // The pattern matches and searches from the end of the text towards its start.
    REGEX_RIGHT_TO_LEFT = 0x10,
    // Blanks outside classes are ignored and "#" starts a comment up to the line end.
    REGEX_EXTENDED = 0x20,
};

}  // namespace common
