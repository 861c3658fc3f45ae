// Times patterns that backtrack badly in naive engines over 10 MB of text none of them
// matches (narrow and wide), and prints each figure with whether the search gave up over
// its budget. Run by hand: bench_regex_hostile [megabytes]. Every row should stay well
// under a second.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/regex/pattern.h"

namespace {

struct Case {
    const char* pattern;
    const char* subject;  // how the text is made, for the table
    std::string (*make)(std::size_t bytes);
};

std::string repeated(std::size_t bytes, const char* unit) {
    std::string text;
    const std::string piece(unit);
    text.reserve(bytes + piece.size());
    while (text.size() < bytes)
        text += piece;
    text.resize(bytes);
    return text;
}

std::string letters(std::size_t bytes) {
    return repeated(bytes, "a");
}
std::string words(std::size_t bytes) {
    return repeated(bytes, "words and more words ");
}
std::string lettersAfterTheLiteral(std::size_t bytes) {
    return "b!" + letters(bytes);
}
std::string wordsAfterTheLiteral(std::size_t bytes) {
    return "@" + repeated(bytes, "w");
}

const Case kCases[] = {
    {"a*b", "a...a", letters},
    {"[a-z]*b", "a...a", letters},
    {"\\w+@", "words ...", words},
    {".*.*=.*", "words ...", words},
    {"(?:a*)*x", "a...a", letters},
    {"((a)|)*z", "a...a", letters},
    {"(a|)*x", "a...a", letters},
    {"(?:a?)*x", "a...a", letters},
    {"a*[bc]", "a...a", letters},
    {"(?:a*)*\\d", "a...a", letters},
    {"(a+)+[0-9]", "a...a", letters},
    {"[a-z]*b\\d", "b!a...a", lettersAfterTheLiteral},
    {"\\w+@", "@w...w", wordsAfterTheLiteral},
};

template <class CharT>
void run(const Case& c, const std::basic_string<CharT>& text, const char* width) {
    const std::basic_string<CharT> pattern(c.pattern,
                                           c.pattern + std::char_traits<char>::length(c.pattern));
    const auto started = std::chrono::steady_clock::now();
    const common::CPatternT<CharT> compiled(pattern);
    common::CMatchStateT<CharT> state;
    const common::CMatchInfo found = compiled.match(text, -1, &state);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    std::printf("| `%s` | %s | %s | %s | %.1f |\n", c.pattern, c.subject, width,
                found                ? "match"
                : state.tooComplex() ? "too complex"
                                     : "no match",
                took.count());
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
    std::printf("| pattern | text (%zu MB) | width | result | ms |\n|---|---|---|---|---:|\n",
                megabytes);
    for (const Case& c : kCases) {
        const std::string narrow = c.make(megabytes << 20);
        run(c, narrow, "narrow");
        run(c, std::wstring(narrow.begin(), narrow.end()), "wide");
    }
    return 0;
}
