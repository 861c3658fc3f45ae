// The value of one hexadecimal digit, for narrow and wide characters alike. Stateless.
#pragma once

namespace platform::text {

// 0-15 for '0'-'9', 'a'-'f' and 'A'-'F'; -1 for any other character.
template <class CharT>
constexpr int hexDigitValue(CharT c) {
    if (c >= CharT('0') && c <= CharT('9'))
        return static_cast<int>(c - CharT('0'));
    if (c >= CharT('a') && c <= CharT('f'))
        return static_cast<int>(c - CharT('a')) + 10;
    if (c >= CharT('A') && c <= CharT('F'))
        return static_cast<int>(c - CharT('A')) + 10;
    return -1;
}

}  // namespace platform::text
