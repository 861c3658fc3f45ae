// The wide string stream through which the registry-bound values convert between their
// value and the stored text.
//
// Contract: a standard wide string stream; nothing added.
#pragma once

#include <sstream>

namespace common {

class std_stringstream_ : public std::wstringstream {
  public:
    using std::wstringstream::wstringstream;
};

}  // namespace common
