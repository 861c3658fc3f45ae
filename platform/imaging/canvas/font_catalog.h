// Turns a page's CSS font family list ("Georgia, 'Times New Roman', serif") into the list of
// families of this system that fontconfig is asked for, first choice first: the common
// Arial/Helvetica, Times and Courier names go to the Liberation faces, as do serif and
// sans-serif (the browsers' defaults here); the other generic names (monospace, cursive,
// fantasy) stay for fontconfig to resolve; families the system does not have are left out,
// and a list with none left gives DejaVu Sans. Names are compared without case or spaces
// ("TimesNewRoman" is "Times New Roman"), as the layout engine drops the spaces.
//
// Contract: thread-safe (answers are cached under a lock). Never fails.
#pragma once

#include <string>
#include <string_view>

namespace platform::imaging {

inline constexpr std::string_view kFallbackFamily = "DejaVu Sans";

// Comma-separated family names, as Pango's font descriptions take them.
std::string fontFamilies(std::string_view families);

}  // namespace platform::imaging
