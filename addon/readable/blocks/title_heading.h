// Whether a heading repeats the page's title. Grab's readable page shows the title in its
// header, so the article's headline, set again at the top of the story, would read twice.
// Words are runs of letters and digits of any script, compared without regard to case; a
// heading repeats the title when at least kTitleWordShare of its words stand in the title
// and they make up at least kTitleCoverShare of the title's words. The second share keeps a
// subheading that names one word of the title ("Introduction" under "Introduction to
// sailing | Blog"). A heading that repeats one part of a title that separators cut up
// ("Site - Section - Headline", "Headline | Site": a bar, dash, slash, dot or guillemet
// between spaces, or a colon before one) repeats it too: the site's name and motto around a
// short headline would outnumber its words.
//
// Contract: pure text functions; thread-safe.
#pragma once

#include <string>

namespace addon {

// The share of the heading's words that the title must hold.
inline constexpr double kTitleWordShare = 0.75;
// The share of the title's words that the heading must hold.
inline constexpr double kTitleCoverShare = 0.5;

bool repeatsTitle(const std::wstring& heading, const std::wstring& title);

}  // namespace addon
