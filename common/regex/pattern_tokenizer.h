// PatternTokenizer: reads a regular-expression pattern one token at a time for the
// builder. It resolves escapes to characters, "\Q...\E" quoting (with "\L"/"\U" case
// changes), "(?#...)" comments and, in extended mode, blanks and "#" comments outside
// classes. Which characters are special depends on whether a bracket class is being read.
// The whole reading state is a small copyable value, so the parser peeks by saving and
// restoring it. Does not own the pattern text.
#pragma once

#include <cstdint>
#include <string_view>

namespace common {

struct PatternToken {
    enum Kind {
        End,      // no more pattern
        Literal,  // value is a character code
        Special,  // value is the special character ("(", "*", "]", ...)
        Escape,   // value is the letter of a class, anchor or reference escape ("d", "b",
                  // "k", ...) or the first digit of a numbered back-reference
    };
    Kind kind = End;
    std::uint32_t value = 0;

    bool is(Kind k, char c) const { return kind == k && value == static_cast<unsigned char>(c); }
};

template <class CharT>
class PatternTokenizer {
  public:
    struct Position {
        std::size_t index = 0;
        bool quoting = false;
        int quoteCase = 0;  // 0 as written, 1 lower case, 2 upper case
    };

    PatternTokenizer(std::basic_string_view<CharT> pattern, bool extended)
        : m_pattern(pattern), m_extended(extended) {}

    PatternToken read(bool inClass);
    PatternToken peek(bool inClass) {
        const Position saved = m_at;
        const PatternToken token = read(inClass);
        m_at = saved;
        return token;
    }

    Position position() const { return m_at; }
    void setPosition(Position at) { m_at = at; }

    // Raw access for the parts of the grammar that read names and numbers.
    bool atEnd() const { return m_at.index >= m_pattern.size(); }
    std::uint32_t rawAt(std::size_t offset) const {
        const std::size_t i = m_at.index + offset;
        return i < m_pattern.size() ? code(m_pattern[i]) : 0;
    }
    void skipRaw(std::size_t count) { m_at.index += count; }

    static std::uint32_t code(CharT c) {
        if constexpr (sizeof(CharT) == 1)
            return static_cast<unsigned char>(c);
        else
            return static_cast<std::uint32_t>(c);
    }

  private:
    PatternToken readEscape(bool inClass);
    std::uint32_t readHex(std::size_t maxDigits, bool& any);
    std::uint32_t quoted(std::uint32_t c) const;

    std::basic_string_view<CharT> m_pattern;
    bool m_extended;
    Position m_at;
};

}  // namespace common
