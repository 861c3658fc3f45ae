// Functions that take texts apart, trim them, change their case and classify characters.
#include <algorithm>
#include <cwctype>

#include "platform/text/utf.h"
#include "tarn/expression/function_routines.h"

namespace tarn::routines {

namespace {

const std::wstring& text(Arguments args, std::size_t index) {
    return args[index]->text();
}

bool isSpace(wchar_t c) {
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

std::wstring_view trimmedStart(std::wstring_view s) {
    const auto start = std::find_if_not(s.begin(), s.end(), isSpace);
    return s.substr(static_cast<std::size_t>(start - s.begin()));
}

std::wstring_view trimmedEnd(std::wstring_view s) {
    std::size_t end = s.size();
    while (end > 0 && isSpace(s[end - 1]))
        --end;
    return s.substr(0, end);
}

// A count or position argument limited to 0..limit.
std::size_t clamped(Arguments args, std::size_t index, std::size_t limit) {
    const long long n = toCount(args[index]->real());
    return n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), limit);
}

template <typename Test>
void classifyFirst(Arguments args, Variant& result, Test test) {
    const std::wstring& s = text(args, 0);
    result = Variant::fromBool(!s.empty() && test(static_cast<wint_t>(s[0])));
}

template <wint_t (*Convert)(wint_t)>
void convertCase(Arguments args, Variant& result) {
    std::wstring s = text(args, 0);
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(Convert(static_cast<wint_t>(c)));
    result = Variant::fromString(std::move(s));
}

}  // namespace

void allTrim(Arguments a, Variant& r) {
    r = Variant::fromString(std::wstring(trimmedEnd(trimmedStart(text(a, 0)))));
}
void leftTrim(Arguments a, Variant& r) {
    r = Variant::fromString(std::wstring(trimmedStart(text(a, 0))));
}
void rightTrim(Arguments a, Variant& r) {
    r = Variant::fromString(std::wstring(trimmedEnd(text(a, 0))));
}

// Texts are measured in UTF-16 units, as stored pages and the wire count them: a
// character outside the basic plane is two units, its high surrogate first.
void asc(Arguments a, Variant& r) {
    const std::u16string units = platform::text::toUtf16(text(a, 0));
    r = Variant::fromDouble(units.empty() ? 0.0 : static_cast<double>(units[0]));
}

void chr(Arguments a, Variant& r) {
    const auto code = static_cast<std::uint16_t>(toCount(a[0]->real()));
    r = Variant::fromString(std::wstring(1, static_cast<wchar_t>(code)));
}

void len(Arguments a, Variant& r) {
    r = Variant::fromDouble(static_cast<double>(platform::text::toUtf16(text(a, 0)).size()));
}

void left(Arguments a, Variant& r) {
    const std::wstring& s = text(a, 0);
    r = Variant::fromString(s.substr(0, clamped(a, 1, s.size())));
}

void right(Arguments a, Variant& r) {
    const std::wstring& s = text(a, 0);
    r = Variant::fromString(s.substr(s.size() - clamped(a, 1, s.size())));
}

void substr(Arguments a, Variant& r) {
    const std::wstring& s = text(a, 0);
    const std::size_t start = std::max<std::size_t>(clamped(a, 1, s.size() + 1), 1) - 1;
    const long long length = toCount(a[2]->real());
    r = Variant::fromString(length <= 0 ? s.substr(start)
                                        : s.substr(start, static_cast<std::size_t>(length)));
}

void stuff(Arguments a, Variant& r) {
    const std::wstring& s = text(a, 0);
    const std::wstring& insert = text(a, 3);
    const std::size_t start = std::max<std::size_t>(clamped(a, 1, s.size() + 1), 1) - 1;
    const std::size_t removed = clamped(a, 2, s.size() - start);
    requireTextLength(s.size() - removed + insert.size());
    r = Variant::fromString(s.substr(0, start) + insert + s.substr(start + removed));
}

void isAlpha(Arguments a, Variant& r) {
    classifyFirst(a, r, [](wint_t c) { return std::iswalpha(c) != 0; });
}
void isDigit(Arguments a, Variant& r) {
    classifyFirst(a, r, [](wint_t c) { return c >= L'0' && c <= L'9'; });
}
// A cased letter in lower (upper) case: digits and signs are neither.
void isLower(Arguments a, Variant& r) {
    classifyFirst(a, r, [](wint_t c) { return std::towlower(c) == c; });
}
void isUpper(Arguments a, Variant& r) {
    classifyFirst(a, r, [](wint_t c) { return std::towupper(c) == c; });
}

void lower(Arguments a, Variant& r) {
    convertCase<std::towlower>(a, r);
}
void upper(Arguments a, Variant& r) {
    convertCase<std::towupper>(a, r);
}

void val(Arguments a, Variant& r) {
    r = Variant::fromDouble(leadingNumber(text(a, 0)));
}

}  // namespace tarn::routines
