// Values of the expression language and the helpers that routines use to read arguments
// and build results. A value is a platform::com::Variant of one of the kinds number (VT_R8),
// date (VT_DATE), text (VT_BSTR), logical (VT_BOOL) or null (VT_NULL).
//
// Contract: pure functions, thread-safe. Builders of long texts call requireTextLength first;
// it raises a CParserException (3210) rather than let one expression exhaust memory.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/com/variant.h"

namespace tarn {

using platform::com::Variant;

// Types by their automation type codes; Any (13) marks a type known only at run time.
enum class ValueType : unsigned short {
    Null = platform::com::VT_NULL,
    Number = platform::com::VT_R8,
    Date = platform::com::VT_DATE,
    Text = platform::com::VT_BSTR,
    Logical = platform::com::VT_BOOL,
    Any = 13,
};

ValueType typeOf(const Variant& value);

// Arguments of a routine: pointers to the argument values, in order.
using Arguments = std::span<const Variant* const>;
using Routine = void (*)(Arguments arguments, Variant& result);

inline constexpr std::size_t kMaxTextLength = std::size_t{1} << 22;

void requireTextLength(std::size_t length);

// Names of variables and words of the language compare ignoring case.
bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b);

// A number used as a count, position or width: truncated toward zero, clamped to a range
// far beyond any text length (NaN counts as 0).
long long toCount(double number);

// A logical as a number: true is -1, false 0.
inline double logicalNumber(bool value) {
    return value ? -1.0 : 0.0;
}

// Numbers, dates and logicals order as numbers (see orderValue); texts among themselves.
bool isOrdered(ValueType type);
// Numbers and dates by value (dates as days running forwards), logicals as -1/0;
// std::nullopt for texts and null.
std::optional<double> orderValue(const Variant& value);
// Negative, zero or positive as `left` sorts before, with or after `right`: texts by
// ordinal comparison (case-sensitive), the rest by orderValue. Raises 3204 for a text
// against a non-text and for null.
int compareValues(const Variant& left, const Variant& right);

// A number with `decimals` digits after the point, independent of the process locale.
std::wstring formatFixed(double number, int decimals);

// The leading number of a text as the C library's atof reads it (blanks skipped, optional
// sign, digits with one point, optional exponent); 0 when nothing numeric leads.
double leadingNumber(std::wstring_view text);

}  // namespace tarn
