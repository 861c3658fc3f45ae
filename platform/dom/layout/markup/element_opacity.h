// An element's own opacity, as the old browser took it from "filter: alpha(opacity=N)"
// (N from 0 to 100) and newer pages give it as "opacity: X", folded into the colours of its
// inline style for the layout engine, which draws no opacity of its own: each colour of
// its background, border and text is given that alpha. Selection overlays are drawn so,
// half transparent over the page they mark.
//
// Contract: pure function over the style attribute's text. A style without an opacity
// below 1 is returned as it is; colours written other than as #rgb, #rrggbb or a name of
// the table below keep their own value.
#pragma once

#include <string>

namespace platform::dom {

std::wstring withOpacityFolded(const std::wstring& style);

}  // namespace platform::dom
