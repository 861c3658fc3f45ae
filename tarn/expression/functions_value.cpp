// Functions over values of any type: IIF, EMPTY, VARTYPE, BETWEEN, MAX and MIN.
#include <cmath>

#include "platform/com/ole_date.h"
#include "tarn/expression/function_routines.h"
#include "tarn/expression/parser_exception.h"

namespace tarn::routines {

namespace {

bool sameFamily(ValueType a, ValueType b) {
    return a == b || (isOrdered(a) && isOrdered(b));
}

// The argument that sorts last (sign 1) or first (sign -1); the result keeps the type of
// the first argument.
void extreme(Arguments args, Variant& result, int sign, const wchar_t* name) {
    const ValueType type = typeOf(*args[0]);
    if (type != ValueType::Text && !isOrdered(type))
        raiseParserError(kErrorArgumentType, {name});
    const Variant* best = args[0];
    for (const Variant* candidate : args.subspan(1)) {
        if (!sameFamily(type, typeOf(*candidate)))
            raiseParserError(kErrorArgumentType, {name});
        if (compareValues(*candidate, *best) * sign > 0)
            best = candidate;
    }
    switch (type) {
        case ValueType::Date:
            result = Variant::fromDate(best->real());
            break;
        case ValueType::Logical:
            result = Variant::fromBool(*orderValue(*best) != 0);
            break;
        case ValueType::Number:
            result = Variant::fromDouble(*orderValue(*best));
            break;
        default:
            result = *best;
            break;
    }
}

}  // namespace

void iif(Arguments a, Variant& r) {
    r = a[0]->boolean() ? *a[1] : *a[2];
}

void empty(Arguments a, Variant& r) {
    const Variant& v = *a[0];
    bool isEmpty = false;
    switch (typeOf(v)) {
        case ValueType::Number:
            isEmpty = v.real() == 0 || std::isnan(v.real());
            break;
        case ValueType::Date:
            isEmpty = v.real() == 0 || !(v.real() >= platform::com::kMinOleDate &&
                                         v.real() <= platform::com::kMaxOleDate);
            break;
        case ValueType::Text:
            isEmpty = v.text().empty();
            break;
        case ValueType::Logical:
            isEmpty = !v.boolean();
            break;
        default:
            break;
    }
    r = Variant::fromBool(isEmpty);
}

void varType(Arguments a, Variant& r) {
    const wchar_t* letter = L"U";
    switch (typeOf(*a[0])) {
        case ValueType::Null:
            letter = L"X";
            break;
        case ValueType::Number:
            letter = L"N";
            break;
        case ValueType::Date:
            letter = L"D";
            break;
        case ValueType::Text:
            letter = L"C";
            break;
        case ValueType::Logical:
            letter = L"L";
            break;
        default:
            break;
    }
    r = Variant::fromString(letter);
}

// low < x < high, both strict. Mixed or unordered types are never between.
void between(Arguments a, Variant& r) {
    const ValueType x = typeOf(*a[0]);
    const bool comparable = (x == ValueType::Text || isOrdered(x)) &&
                            sameFamily(x, typeOf(*a[1])) && sameFamily(x, typeOf(*a[2]));
    r = Variant::fromBool(comparable && compareValues(*a[1], *a[0]) < 0 &&
                          compareValues(*a[0], *a[2]) < 0);
}

void max(Arguments a, Variant& r) {
    extreme(a, r, 1, L"MAX");
}
void min(Arguments a, Variant& r) {
    extreme(a, r, -1, L"MIN");
}

}  // namespace tarn::routines
