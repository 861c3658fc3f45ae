// The generated article page the dom benchmarks lay out (huge_pages.py builds the same).
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// An article page with navigation, sidebar, comments, tables, forms and scripts, repeated
// until it reaches `bytes`.
std::string generatePage(std::size_t bytes);

}  // namespace bench
