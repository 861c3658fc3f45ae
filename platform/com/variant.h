// A tagged value of the kinds that cross automation interfaces: empty, null, integers,
// doubles, dates, booleans, text and interface references. Copies share interface
// references (counted); text is held by value.
//
// Contract: a value type, not synchronised. `changeType` converts as automation does for
// the kinds listed and returns std::nullopt where that conversion fails (never throws).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "platform/com/unknown.h"

namespace platform::com {

enum VARTYPE : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_UI4 = 19,
    VT_I8 = 20,
};

class Variant {
  public:
    Variant() = default;
    static Variant null();
    static Variant fromI2(std::int16_t v);
    static Variant fromI4(std::int32_t v);
    static Variant fromUI4(std::uint32_t v);
    static Variant fromI8(std::int64_t v);
    static Variant fromDouble(double v);
    static Variant fromDate(double oleDate);
    static Variant fromBool(bool v);
    static Variant fromString(std::wstring v);
    static Variant fromUnknown(ComPtr<IUnknown> v, VARTYPE kind = VT_UNKNOWN);

    VARTYPE vt() const { return vt_; }
    bool isEmpty() const { return vt_ == VT_EMPTY; }

    // Accessors for the held kind; they assert the kind (precondition) in debug builds and
    // return a zero value otherwise.
    std::int64_t integer() const;      // VT_I2, VT_I4, VT_UI4, VT_I8
    double real() const;               // VT_R8, VT_DATE
    bool boolean() const;              // VT_BOOL
    const std::wstring& text() const;  // VT_BSTR
    ComPtr<IUnknown> unknown() const;  // VT_UNKNOWN, VT_DISPATCH

    std::optional<Variant> changeType(VARTYPE target) const;
    // The value as text ("" for empty and null); what changeType(VT_BSTR) gives.
    std::wstring toText() const;

    friend bool operator==(const Variant& a, const Variant& b);

  private:
    Variant(VARTYPE vt,
            std::variant<std::monostate, std::int64_t, double, bool, std::wstring, ComPtr<IUnknown>>
                value)
        : vt_(vt), value_(std::move(value)) {}

    VARTYPE vt_ = VT_EMPTY;
    std::variant<std::monostate, std::int64_t, double, bool, std::wstring, ComPtr<IUnknown>> value_;
};

}  // namespace platform::com
