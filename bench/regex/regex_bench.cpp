// Counts every match of a set of patterns over several megabytes of English text with this
// engine, std::regex and PCRE2 (interpreter, no JIT), and prints the best of three times.
// std::regex searches line by line: over the whole text its recursive matcher can exhaust
// the stack. The match counts are printed as a cross-check of the three engines. Times are
// the processor time of the searching thread.
#define PCRE2_CODE_UNIT_WIDTH 8

#include <pcre2.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "bench/regex/corpus.h"
#include "common/regex/pattern.h"

namespace {

struct Case {
    const char* name;
    const char* pattern;
    bool ignoreCase;
};

const Case kCases[] = {
    {"literal", "General Public License", false},
    {"literal, ignore case", "warranty", true},
    {"class run", "[A-Za-z]{12,}", false},
    {"alternation of words", "copyright|license|warranty|software|permission", false},
    {"word ending", "\\b\\w+ing\\b", false},
    {"bounded gap", "Free.{10,25}Foundation", false},
    {"back-reference", "\\b(\\w+)\\s+\\1\\b", false},
    {"look-ahead", "\\b\\w+(?=ware\\b)", false},
    {"e-mail address", "[\\w.+-]+@[\\w-]+\\.[\\w.-]+", false},
};

long countOurs(const Case& c, const std::string& text) {
    const common::CPatternA pattern(c.pattern, c.ignoreCase ? common::REGEX_IGNORE_CASE : 0);
    common::CMatchStateA state;
    long count = 0;
    for (auto m = pattern.match(text, 0, &state); m;
         m = pattern.match(text, state.nextStart(), &state))
        ++count;
    if (state.tooComplex())
        std::fprintf(stderr, "%s: too complex\n", c.name);
    return count;
}

long countStd(const Case& c, const std::vector<std::string>& lines) {
    auto flags = std::regex::ECMAScript | std::regex::optimize;
    if (c.ignoreCase)
        flags |= std::regex::icase;
    const std::regex pattern(c.pattern, flags);
    long count = 0;
    for (const std::string& line : lines)
        count += std::distance(std::sregex_iterator(line.begin(), line.end(), pattern),
                               std::sregex_iterator());
    return count;
}

long countPcre2(const Case& c, const std::string& text) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(c.pattern), PCRE2_ZERO_TERMINATED,
                                     c.ignoreCase ? PCRE2_CASELESS : 0, &error, &offset, nullptr);
    if (code == nullptr)
        return -1;
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    long count = 0;
    PCRE2_SIZE start = 0;
    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    while (pcre2_match(code, subject, text.size(), start, 0, data, nullptr) > 0) {
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        ++count;
        start = ovector[1] > ovector[0] ? ovector[1] : ovector[1] + 1;
        if (start > text.size())
            break;
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    return count;
}

// The processor time of this thread in milliseconds: on a machine shared with other work
// it measures what a search costs, where the time that passes meanwhile measures the load.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double bestMilliseconds(const std::function<long()>& run, long& count) {
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        const double started = threadCpuMilliseconds();
        count = run();
        best = std::min(best, threadCpuMilliseconds() - started);
    }
    return best;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 6;
    const std::string text = buildCorpus(megabytes << 20);
    const auto lines = splitLines(text);
    std::printf("corpus: %zu bytes, %zu lines\n\n", text.size(), lines.size());
    std::printf(
        "| pattern | matches (ours/std/pcre2) | ours ms | std::regex ms | PCRE2 ms | std/ours | "
        "ours/PCRE2 |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    for (const Case& c : kCases) {
        long ours = 0, standard = 0, pcre = 0;
        const double oursMs = bestMilliseconds([&] { return countOurs(c, text); }, ours);
        const double stdMs = bestMilliseconds([&] { return countStd(c, lines); }, standard);
        const double pcreMs = bestMilliseconds([&] { return countPcre2(c, text); }, pcre);
        std::printf("| %s `%s` | %ld / %ld / %ld | %.1f | %.1f | %.1f | %.1fx | %.2f |\n", c.name,
                    c.pattern, ours, standard, pcre, oursMs, stdMs, pcreMs, stdMs / oursMs,
                    oursMs / pcreMs);
    }
    return 0;
}
