// Functions that search texts, count and replace occurrences and match wildcards.
#include <algorithm>
#include <cwctype>

#include "tarn/expression/function_routines.h"

namespace tarn::routines {

namespace {

const std::wstring& text(Arguments args, std::size_t index) {
    return args[index]->text();
}

std::wstring upperCase(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}

// 1-based position of the n-th occurrence, each search starting one character after the
// previous find; 0 when there are fewer, for n < 1 and for an empty needle.
double nthOccurrence(const std::wstring& needle, const std::wstring& haystack, long long n) {
    if (n < 1 || needle.empty())
        return 0;
    std::size_t position = haystack.find(needle);
    while (position != std::wstring::npos && --n > 0)
        position = haystack.find(needle, position + 1);
    return position == std::wstring::npos ? 0.0 : static_cast<double>(position + 1);
}

// Wildcard match of the whole text: "*" any run, "?" one character. Backtracks only to the
// latest "*", so the time stays proportional to pattern length times text length.
bool wildcardMatch(std::wstring_view pattern, std::wstring_view s) {
    std::size_t p = 0, t = 0;
    std::size_t starPattern = std::wstring_view::npos, starText = 0;
    while (t < s.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == s[t])) {
            ++p, ++t;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = p++;
            starText = t;
        } else if (starPattern != std::wstring_view::npos) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

void at(Arguments a, Variant& r) {
    r = Variant::fromDouble(nthOccurrence(text(a, 0), text(a, 1), toCount(a[2]->real())));
}

void atCaseless(Arguments a, Variant& r) {
    r = Variant::fromDouble(
        nthOccurrence(upperCase(text(a, 0)), upperCase(text(a, 1)), toCount(a[2]->real())));
}

void occurs(Arguments a, Variant& r) {
    const std::wstring& needle = text(a, 0);
    const std::wstring& haystack = text(a, 1);
    double count = 0;
    if (!needle.empty()) {
        for (std::size_t p = haystack.find(needle); p != std::wstring::npos;
             p = haystack.find(needle, p + needle.size()))
            ++count;
    }
    r = Variant::fromDouble(count);
}

void chrTran(Arguments a, Variant& r) {
    const std::wstring& from = text(a, 1);
    const std::wstring& to = text(a, 2);
    std::wstring out;
    for (const wchar_t c : text(a, 0)) {
        const std::size_t i = from.find(c);
        if (i == std::wstring::npos) {
            out += c;
        } else if (i < to.size()) {
            out += to[i];
        }
    }
    r = Variant::fromString(std::move(out));
}

void like(Arguments a, Variant& r) {
    r = Variant::fromBool(wildcardMatch(text(a, 0), text(a, 1)));
}

void strTran(Arguments a, Variant& r) {
    const std::wstring& s = text(a, 0);
    const std::wstring& find = text(a, 1);
    const std::wstring& replacement = text(a, 2);
    const long long start = std::max<long long>(toCount(a[3]->real()), 1);
    long long remaining = toCount(a[4]->real());
    if (find.empty() || static_cast<std::size_t>(start) > s.size()) {
        r = Variant::fromString(s);
        return;
    }
    std::wstring out = s.substr(0, static_cast<std::size_t>(start - 1));
    std::size_t from = static_cast<std::size_t>(start - 1);
    for (std::size_t p = s.find(find, from); p != std::wstring::npos && remaining != 0;
         p = s.find(find, from)) {
        requireTextLength(out.size() + (p - from) + replacement.size());
        out.append(s, from, p - from).append(replacement);
        from = p + find.size();
        if (remaining > 0)
            --remaining;
    }
    requireTextLength(out.size() + (s.size() - from));
    out.append(s, from);
    r = Variant::fromString(std::move(out));
}

}  // namespace tarn::routines
