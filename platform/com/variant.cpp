#include "platform/com/variant.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>

#include "platform/com/ole_date.h"

namespace platform::com {

Variant Variant::null() {
    return Variant(VT_NULL, std::monostate{});
}
Variant Variant::fromI2(std::int16_t v) {
    return Variant(VT_I2, std::int64_t{v});
}
Variant Variant::fromI4(std::int32_t v) {
    return Variant(VT_I4, std::int64_t{v});
}
Variant Variant::fromUI4(std::uint32_t v) {
    return Variant(VT_UI4, std::int64_t{v});
}
Variant Variant::fromI8(std::int64_t v) {
    return Variant(VT_I8, v);
}
Variant Variant::fromDouble(double v) {
    return Variant(VT_R8, v);
}
Variant Variant::fromDate(double oleDate) {
    return Variant(VT_DATE, oleDate);
}
Variant Variant::fromBool(bool v) {
    return Variant(VT_BOOL, v);
}
Variant Variant::fromString(std::wstring v) {
    return Variant(VT_BSTR, std::move(v));
}
Variant Variant::fromUnknown(ComPtr<IUnknown> v, VARTYPE kind) {
    assert(kind == VT_UNKNOWN || kind == VT_DISPATCH);
    return Variant(kind, std::move(v));
}

std::int64_t Variant::integer() const {
    const auto* v = std::get_if<std::int64_t>(&value_);
    assert(v);
    return v ? *v : 0;
}
double Variant::real() const {
    const auto* v = std::get_if<double>(&value_);
    assert(v);
    return v ? *v : 0.0;
}
bool Variant::boolean() const {
    const auto* v = std::get_if<bool>(&value_);
    assert(v);
    return v && *v;
}
const std::wstring& Variant::text() const {
    static const std::wstring empty;
    const auto* v = std::get_if<std::wstring>(&value_);
    assert(v);
    return v ? *v : empty;
}
ComPtr<IUnknown> Variant::unknown() const {
    const auto* v = std::get_if<ComPtr<IUnknown>>(&value_);
    return v ? *v : ComPtr<IUnknown>();
}

namespace {

std::wstring formatDouble(double v) {
    if (std::isnan(v))
        return L"NaN";
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15g", v);
    return buffer;
}

std::wstring formatDate(double date) {
    const auto t = oleDateToCalendar(date);
    if (!t)
        return L"";
    wchar_t buffer[64];
    if (t->hour == 0 && t->minute == 0 && t->second == 0)
        std::swprintf(buffer, 64, L"%d/%d/%04d", t->month, t->day, t->year);
    else
        std::swprintf(buffer, 64, L"%d/%d/%04d %d:%02d:%02d", t->month, t->day, t->year, t->hour,
                      t->minute, t->second);
    return buffer;
}

std::optional<double> parseNumber(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    const double v = std::wcstod(begin, &end);
    if (end == begin)
        return std::nullopt;
    while (*end == L' ' || *end == L'\t')
        ++end;
    if (*end)
        return std::nullopt;
    return v;
}

// The value as a double, for the numeric kinds, booleans (-1/0) and numeric text.
std::optional<double> numericValue(const Variant& v) {
    switch (v.vt()) {
        case VT_EMPTY:
            return 0.0;
        case VT_I2:
        case VT_I4:
        case VT_UI4:
        case VT_I8:
            return static_cast<double>(v.integer());
        case VT_R8:
        case VT_DATE:
            return v.real();
        case VT_BOOL:
            return v.boolean() ? -1.0 : 0.0;
        case VT_BSTR:
            return parseNumber(v.text());
        default:
            return std::nullopt;
    }
}

template <typename T>
std::optional<Variant> toInteger(double value, Variant (*make)(T)) {
    const double rounded = std::nearbyint(value);  // banker's rounding, as automation does
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max())))
        return std::nullopt;
    return make(static_cast<T>(rounded));
}

}  // namespace

std::wstring Variant::toText() const {
    switch (vt_) {
        case VT_EMPTY:
        case VT_NULL:
            return L"";
        case VT_I2:
        case VT_I4:
        case VT_UI4:
        case VT_I8:
            return std::to_wstring(integer());
        case VT_R8:
            return formatDouble(real());
        case VT_DATE:
            return formatDate(real());
        case VT_BOOL:
            return boolean() ? L"True" : L"False";
        case VT_BSTR:
            return text();
        default:
            return L"";
    }
}

std::optional<Variant> Variant::changeType(VARTYPE target) const {
    if (target == vt_)
        return *this;
    if (target == VT_BSTR) {
        if (vt_ == VT_NULL || vt_ == VT_UNKNOWN || vt_ == VT_DISPATCH)
            return std::nullopt;
        return fromString(toText());
    }
    if (target == VT_EMPTY)
        return Variant();
    if (vt_ == VT_NULL || vt_ == VT_UNKNOWN || vt_ == VT_DISPATCH)
        return std::nullopt;
    if (target == VT_BOOL && vt_ == VT_BSTR) {
        const std::wstring& t = text();
        if (t.size() == 4 && (t[0] == L't' || t[0] == L'T') &&
            (t.substr(1) == L"rue" || t.substr(1) == L"RUE"))
            return fromBool(true);
        if (t.size() == 5 && (t[0] == L'f' || t[0] == L'F') &&
            (t.substr(1) == L"alse" || t.substr(1) == L"ALSE"))
            return fromBool(false);
    }
    const auto number = numericValue(*this);
    if (!number)
        return std::nullopt;
    switch (target) {
        case VT_I2:
            return toInteger<std::int16_t>(*number, &Variant::fromI2);
        case VT_I4:
            return toInteger<std::int32_t>(*number, &Variant::fromI4);
        case VT_UI4:
            return toInteger<std::uint32_t>(*number, &Variant::fromUI4);
        case VT_I8:
            return toInteger<std::int64_t>(*number, &Variant::fromI8);
        case VT_R8:
            return fromDouble(*number);
        case VT_DATE:
            if (*number < kMinOleDate || *number > kMaxOleDate)
                return std::nullopt;
            return fromDate(*number);
        case VT_BOOL:
            return fromBool(*number != 0.0);
        default:
            return std::nullopt;
    }
}

bool operator==(const Variant& a, const Variant& b) {
    return a.vt_ == b.vt_ && a.value_ == b.value_;
}

}  // namespace platform::com
