// Style sheet text as the layout engine is given it. The engine reads a few selectors
// otherwise than a browser (and the cascade, selector.h) does, so they are rewritten into
// ones it reads alike: "[a|=v]" (which it takes for a plain prefix) becomes the pair
// "[a=v]" and "[a^='v-']"; ":empty" and ":lang(x)" (which it does not match) become tests
// of marker attributes that the page markup writes where the cascade would match them. A
// sheet that opens with "<![CDATA[" loses what a browser loses of it: its brackets are
// blocks that run to the matching "]]", so the rules inside them, and the first rule after
// them, are dropped.
//
// Contract: pure function, thread-safe; text outside selectors (declarations, comments,
// at-rule preludes) comes out as it went in; a selector the rewrite cannot read is kept.
#pragma once

#include <string>
#include <string_view>

namespace platform::dom {

// On elements with neither element children nor text, when a sheet uses ":empty".
inline constexpr const char* kEmptyMarkerAttribute = "data-tamrix-empty";
// When a sheet uses ":lang()": the element's language in lower case followed by "-"
// ("de-at-"), on elements that have one.
inline constexpr const char* kLanguageMarkerAttribute = "data-tamrix-lang";

std::string selectorsForLayout(std::string_view css);

}  // namespace platform::dom
