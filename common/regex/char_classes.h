// Character classification and case folding of the regular-expression engine, for narrow
// (byte) and wide text. Narrow characters are classified as unsigned bytes and wide ones
// with the wide classification functions, so no value is ever out of range for the C
// library. "\d", "\w" and word boundaries use the ASCII sets; POSIX classes use the C
// library's classification in the current locale. Stateless and thread-safe.
#pragma once

#include <cctype>
#include <cstdint>
#include <cwctype>

namespace common {

enum class PosixClass {
    Alnum,
    Alpha,
    Ascii,
    Blank,
    Cntrl,
    Digit,
    Graph,
    Lower,
    Print,
    Punct,
    Space,
    Upper,
    Xdigit,
    Unknown,
};

template <class CharT>
struct RegexChar;

template <>
struct RegexChar<char> {
    static std::uint32_t code(char c) { return static_cast<unsigned char>(c); }
    static char toUpper(char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    static char toLower(char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    static bool posix(PosixClass kind, char c) {
        const int b = static_cast<unsigned char>(c);
        switch (kind) {
            case PosixClass::Alnum:
                return std::isalnum(b) != 0;
            case PosixClass::Alpha:
                return std::isalpha(b) != 0;
            case PosixClass::Ascii:
                return b < 0x80;
            case PosixClass::Blank:
                return b == ' ' || b == '\t';
            case PosixClass::Cntrl:
                return std::iscntrl(b) != 0;
            case PosixClass::Digit:
                return std::isdigit(b) != 0;
            case PosixClass::Graph:
                return std::isgraph(b) != 0;
            case PosixClass::Lower:
                return std::islower(b) != 0;
            case PosixClass::Print:
                return std::isprint(b) != 0;
            case PosixClass::Punct:
                return std::ispunct(b) != 0;
            case PosixClass::Space:
                return std::isspace(b) != 0;
            case PosixClass::Upper:
                return std::isupper(b) != 0;
            case PosixClass::Xdigit:
                return std::isxdigit(b) != 0;
            case PosixClass::Unknown:
                return false;
        }
        return false;
    }
};

template <>
struct RegexChar<wchar_t> {
    static std::uint32_t code(wchar_t c) { return static_cast<std::uint32_t>(c); }
    static wchar_t toUpper(wchar_t c) {
        return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    static wchar_t toLower(wchar_t c) {
        return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    static bool posix(PosixClass kind, wchar_t c) {
        const auto w = static_cast<wint_t>(c);
        switch (kind) {
            case PosixClass::Alnum:
                return std::iswalnum(w) != 0;
            case PosixClass::Alpha:
                return std::iswalpha(w) != 0;
            case PosixClass::Ascii:
                return code(c) < 0x80;
            case PosixClass::Blank:
                return c == L' ' || c == L'\t';
            case PosixClass::Cntrl:
                return std::iswcntrl(w) != 0;
            case PosixClass::Digit:
                return std::iswdigit(w) != 0;
            case PosixClass::Graph:
                return std::iswgraph(w) != 0;
            case PosixClass::Lower:
                return std::iswlower(w) != 0;
            case PosixClass::Print:
                return std::iswprint(w) != 0;
            case PosixClass::Punct:
                return std::iswpunct(w) != 0;
            case PosixClass::Space:
                return std::iswspace(w) != 0;
            case PosixClass::Upper:
                return std::iswupper(w) != 0;
            case PosixClass::Xdigit:
                return std::iswxdigit(w) != 0;
            case PosixClass::Unknown:
                return false;
        }
        return false;
    }
};

// The ASCII sets behind "\d" and "\w", shared by both character types.
inline bool isRegexDigit(std::uint32_t c) {
    return c >= '0' && c <= '9';
}
inline bool isRegexWord(std::uint32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isRegexDigit(c) || c == '_';
}

template <class CharT>
bool equalIgnoringCase(CharT a, CharT b) {
    return a == b || RegexChar<CharT>::toUpper(a) == RegexChar<CharT>::toUpper(b);
}

}  // namespace common
