// ASCII case folding for names that are case-insensitive only in ASCII (tags, attributes,
// schemes, host names). Bytes outside A-Z, UTF-8 included, are kept. Stateless.
#pragma once

#include <string>
#include <string_view>

namespace platform::text {

inline std::string lowerAscii(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

}  // namespace platform::text
