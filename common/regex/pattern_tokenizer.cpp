#include "common/regex/pattern_tokenizer.h"

#include <cctype>
#include <cwctype>

namespace common {

namespace {

bool isBlank(std::uint32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int hexValue(std::uint32_t c) {
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

bool isOneOf(std::uint32_t c, std::string_view set) {
    return c < 0x80 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

template <class CharT>
PatternToken PatternTokenizer<CharT>::read(bool inClass) {
    for (;;) {
        if (atEnd())
            return {};
        const std::uint32_t c = rawAt(0);
        if (m_at.quoting) {
            if (c == '\\' && rawAt(1) == 'E') {
                m_at.quoting = false;
                m_at.quoteCase = 0;
                skipRaw(2);
                continue;
            }
            skipRaw(1);
            return {PatternToken::Literal, quoted(c)};
        }
        if (!inClass && m_extended && isBlank(c)) {
            skipRaw(1);
            continue;
        }
        if (!inClass && m_extended && c == '#') {
            while (!atEnd() && rawAt(0) != '\n')
                skipRaw(1);
            continue;
        }
        if (!inClass && c == '(' && rawAt(1) == '?' && rawAt(2) == '#') {
            while (!atEnd() && rawAt(0) != ')')
                skipRaw(1);
            skipRaw(atEnd() ? 0 : 1);
            continue;
        }
        if (c == '\\') {
            const std::uint32_t e = rawAt(1);
            if (e == 'Q' || ((e == 'L' || e == 'U') && rawAt(2) == '\\' && rawAt(3) == 'Q')) {
                m_at.quoting = true;
                m_at.quoteCase = e == 'L' ? 1 : e == 'U' ? 2 : 0;
                skipRaw(e == 'Q' ? 2 : 4);
                continue;
            }
            return readEscape(inClass);
        }
        skipRaw(1);
        const bool special = inClass ? isOneOf(c, "]-^") || (c == '[' && rawAt(0) == ':')
                                     : isOneOf(c, "$()*+.?[{|}^");
        return {special ? PatternToken::Special : PatternToken::Literal, c};
    }
}

template <class CharT>
PatternToken PatternTokenizer<CharT>::readEscape(bool inClass) {
    const std::uint32_t e = rawAt(1);
    if (atEnd() || m_at.index + 1 >= m_pattern.size()) {
        skipRaw(1);
        return {PatternToken::Literal, '\\'};
    }
    skipRaw(2);
    switch (e) {
        case 'a':
            return {PatternToken::Literal, 7};
        case 'e':
            return {PatternToken::Literal, 27};
        case 'f':
            return {PatternToken::Literal, 12};
        case 'n':
            return {PatternToken::Literal, '\n'};
        case 'r':
            return {PatternToken::Literal, '\r'};
        case 't':
            return {PatternToken::Literal, '\t'};
        case 'v':
            return {PatternToken::Literal, 11};
        case 'b':
            return inClass ? PatternToken{PatternToken::Literal, 8}
                           : PatternToken{PatternToken::Escape, 'b'};
        case 'x':
        case 'u': {
            bool any = false;
            std::uint32_t value;
            if (rawAt(0) == '{') {
                const Position saved = m_at;
                skipRaw(1);
                value = readHex(8, any);
                if (!any || rawAt(0) != '}') {
                    m_at = saved;
                    return {PatternToken::Literal, e};
                }
                skipRaw(1);
            } else {
                value = readHex(e == 'x' ? 2 : 4, any);
                if (!any)
                    return {PatternToken::Literal, e};
            }
            return {PatternToken::Literal, value};
        }
        default:
            break;
    }
    if (e >= '0' && e <= '9') {
        if (inClass)
            return {PatternToken::Literal, e};
        m_at.index -= 1;  // the parser reads the whole number
        return {PatternToken::Escape, e};
    }
    if (!inClass && isOneOf(e, "ABGgkzZ"))
        return {PatternToken::Escape, e};
    if (isOneOf(e, "dDsSwW"))
        return {PatternToken::Escape, e};
    return {PatternToken::Literal, e};
}

template <class CharT>
std::uint32_t PatternTokenizer<CharT>::readHex(std::size_t maxDigits, bool& any) {
    std::uint32_t value = 0;
    any = false;
    for (std::size_t i = 0; i < maxDigits && !atEnd(); ++i) {
        const int digit = hexValue(rawAt(0));
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
        any = true;
        skipRaw(1);
    }
    return value;
}

template <class CharT>
std::uint32_t PatternTokenizer<CharT>::quoted(std::uint32_t c) const {
    if (m_at.quoteCase == 0)
        return c;
    if constexpr (sizeof(CharT) == 1) {
        const int b = static_cast<int>(c);
        return static_cast<std::uint32_t>(m_at.quoteCase == 1 ? std::tolower(b) : std::toupper(b));
    } else {
        const auto w = static_cast<wint_t>(c);
        return static_cast<std::uint32_t>(m_at.quoteCase == 1 ? std::towlower(w)
                                                              : std::towupper(w));
    }
}

template class PatternTokenizer<char>;
template class PatternTokenizer<wchar_t>;

}  // namespace common
