// A name and a value; vectors of them carry request parameters and page defines.
//
// Contract: plain data.
#pragma once

#include <string>

namespace common {

struct StringPair {
    std::wstring name;
    std::wstring value;

    bool operator==(const StringPair&) const = default;
};

}  // namespace common
