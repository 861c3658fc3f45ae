// The direction a text starts in, as the Unicode bidirectional algorithm reads it (FriBidi's
// character types): the type of its first strongly directional character, which is what a
// paragraph of direction "auto" takes. And the embedding levels FriBidi resolves for the
// characters of a paragraph, by which its pieces are ordered on a line.
//
// Contract: a pure function, thread-safe.
#pragma once

#include <string_view>
#include <vector>

namespace platform::imaging {

enum class StrongDirection { none, leftToRight, rightToLeft };

StrongDirection firstStrongDirection(std::wstring_view text);

// Whether the text holds a right-to-left character or a mark or embedding that opens
// right-to-left text (a quick test by ranges of code points, before any ordering).
bool holdsRightToLeft(std::wstring_view text);

// One level per character of `text` taken as a paragraph whose direction is right to left
// or left to right (even levels run left to right, odd ones right to left).
std::vector<unsigned char> embeddingLevels(std::wstring_view text, bool rightToLeft);

}  // namespace platform::imaging
