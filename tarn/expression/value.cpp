#include "tarn/expression/value.h"

#include <charconv>
#include <cmath>
#include <cwctype>

#include "platform/com/ole_date.h"
#include "tarn/expression/parser_exception.h"

namespace tarn {

using namespace platform::com;

ValueType typeOf(const Variant& value) {
    switch (value.vt()) {
        case VT_NULL:
            return ValueType::Null;
        case VT_R8:
            return ValueType::Number;
        case VT_DATE:
            return ValueType::Date;
        case VT_BSTR:
            return ValueType::Text;
        case VT_BOOL:
            return ValueType::Logical;
        default:
            return ValueType::Any;
    }
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

bool isOrdered(ValueType type) {
    return type == ValueType::Number || type == ValueType::Date || type == ValueType::Logical;
}

std::optional<double> orderValue(const Variant& value) {
    switch (typeOf(value)) {
        case ValueType::Number:
            return value.real();
        case ValueType::Date:
            return oleDateToLinear(value.real());
        case ValueType::Logical:
            return logicalNumber(value.boolean());
        default:
            return std::nullopt;
    }
}

int compareValues(const Variant& left, const Variant& right) {
    if (typeOf(left) == ValueType::Text && typeOf(right) == ValueType::Text)
        return left.text().compare(right.text());
    const auto a = orderValue(left);
    const auto b = orderValue(right);
    if (!a || !b)
        raiseParserError(kErrorOperandTypes);
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

void requireTextLength(std::size_t length) {
    if (length > kMaxTextLength)
        raiseParserError(kErrorInvalidValue);
}

long long toCount(double number) {
    constexpr double kLimit = 1e15;
    if (std::isnan(number))
        return 0;
    if (number > kLimit)
        return static_cast<long long>(kLimit);
    if (number < -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(std::trunc(number));
}

std::wstring formatFixed(double number, int decimals) {
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return L"*";
    return std::wstring(buffer, end);
}

double leadingNumber(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    std::string ascii;
    for (; i < text.size() && ascii.size() < 400; ++i) {
        const wchar_t c = text[i];
        if (c > 0x7F || c == L'+' || c == L'-' || std::iswspace(static_cast<wint_t>(c))) {
            // A sign belongs to the number only right after the exponent letter.
            if ((c == L'+' || c == L'-') && !ascii.empty() &&
                (ascii.back() == 'e' || ascii.back() == 'E')) {
                ascii.push_back(static_cast<char>(c));
                continue;
            }
            break;
        }
        ascii.push_back(static_cast<char>(c));
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small to hold (a negative exponent or a long run of leading zeros) or too large.
        const std::string_view parsed(ascii.data(), static_cast<std::size_t>(end - ascii.data()));
        const std::size_t point = parsed.find('.');
        const bool tiny = parsed.find("e-") != parsed.npos || parsed.find("E-") != parsed.npos ||
                          (point != parsed.npos && parsed.find_first_of("123456789") > point);
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

}  // namespace tarn
