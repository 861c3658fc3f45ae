// Functions that build texts to a width: STR, the PAD family, SPACE and REPLICATE.
#include <algorithm>

#include "tarn/expression/dates.h"
#include "tarn/expression/function_routines.h"
#include "tarn/expression/parser_exception.h"

namespace tarn::routines {

namespace {

// A width or count argument: negative counts as 0; a width beyond the longest text that
// the evaluator builds stops with 3210.
std::size_t width(Arguments args, std::size_t index) {
    const long long n = toCount(args[index]->real());
    if (n <= 0)
        return 0;
    requireTextLength(static_cast<std::size_t>(n));
    return static_cast<std::size_t>(n);
}

std::wstring padValueText(const Variant& value) {
    switch (typeOf(value)) {
        case ValueType::Number:
            return formatFixed(value.real(), 0);
        case ValueType::Date:
            return dateText(value.real());
        case ValueType::Text:
            return value.text();
        case ValueType::Logical:
            return value.boolean() ? L".T." : L".F.";
        default:
            return L"";
    }
}

enum class Side { Left, Right, Both };

void pad(Arguments args, Variant& result, Side side, const wchar_t* name) {
    const std::wstring& fill = args[2]->text();
    if (fill.empty())
        raiseParserError(kErrorInvalidValue, {name});
    const std::size_t target = width(args, 1);
    const std::wstring value = padValueText(*args[0]);
    // Copies of the fill text until the width is reached; "both sides" appends first, then
    // alternates.
    const std::size_t copies =
        value.size() >= target ? 0 : (target - value.size() + fill.size() - 1) / fill.size();
    const std::size_t before = side == Side::Left ? copies : (side == Side::Both ? copies / 2 : 0);
    std::wstring s;
    s.reserve(value.size() + copies * fill.size());
    for (std::size_t i = 0; i < before; ++i)
        s += fill;
    s += value;
    for (std::size_t i = before; i < copies; ++i)
        s += fill;
    result =
        Variant::fromString(side == Side::Left ? s.substr(s.size() - target) : s.substr(0, target));
}

}  // namespace

void padCenter(Arguments a, Variant& r) {
    pad(a, r, Side::Both, L"PADC");
}
void padLeft(Arguments a, Variant& r) {
    pad(a, r, Side::Left, L"PADL");
}
void padRight(Arguments a, Variant& r) {
    pad(a, r, Side::Right, L"PADR");
}

void space(Arguments a, Variant& r) {
    r = Variant::fromString(std::wstring(width(a, 0), L' '));
}

void replicate(Arguments a, Variant& r) {
    const std::wstring& s = a[0]->text();
    const long long count = toCount(a[1]->real());
    std::wstring out;
    if (count >= 1) {
        const auto copies = static_cast<std::size_t>(count);
        if (copies > kMaxTextLength || (s.size() + 1) * copies - 1 > kMaxTextLength)
            raiseParserError(kErrorInvalidValue, {L"REPLICATE"});
        out.reserve((s.size() + 1) * copies);
        for (std::size_t i = 0; i < copies; ++i) {
            if (i > 0)
                out += L' ';
            out += s;
        }
    }
    r = Variant::fromString(std::move(out));
}

// The number with `decimals` places, right-aligned in `width` characters. A number whose
// integer part does not fit is "*"; otherwise decimals that do not fit are cut.
void str(Arguments a, Variant& r) {
    constexpr long long kMaxDecimals = 30;
    const long long decimals = std::clamp(toCount(a[2]->real()), 0LL, kMaxDecimals);
    const std::size_t target = width(a, 1);
    std::wstring s = formatFixed(a[0]->real(), static_cast<int>(decimals));
    const std::size_t point = s.find(L'.');
    const std::size_t integerLength = point == std::wstring::npos ? s.size() : point;
    if (s.size() <= target) {
        s.insert(0, target - s.size(), L' ');
    } else if (target < integerLength) {
        s = L"*";
    } else if (target == integerLength + 1) {
        s.resize(integerLength);  // no trailing decimal point
    } else {
        s.resize(target);
    }
    r = Variant::fromString(std::move(s));
}

}  // namespace tarn::routines
