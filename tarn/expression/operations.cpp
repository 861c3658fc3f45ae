#include "tarn/expression/operations.h"

#include <cmath>
#include <cwctype>

#include "platform/com/ole_date.h"
#include "tarn/expression/parser_exception.h"

namespace tarn {

using platform::com::linearToOleDate;
using platform::com::oleDateToLinear;

namespace {

bool isAnyOr(ValueType type, ValueType wanted) {
    return type == ValueType::Any || type == wanted;
}

bool isComparable(ValueType type) {
    return type == ValueType::Text || isOrdered(type);
}

std::optional<ValueType> addType(ValueType left, ValueType right) {
    using enum ValueType;
    if (left == Any || right == Any)
        return Any;
    if (left == Number && right == Number)
        return Number;
    if (left == Text && right == Text)
        return Text;
    if ((left == Date && right == Number) || (left == Number && right == Date))
        return Date;
    return std::nullopt;
}

std::optional<ValueType> subtractType(ValueType left, ValueType right) {
    using enum ValueType;
    if (left == Any || right == Any)
        return Any;
    if (left == Number && right == Number)
        return Number;
    if (left == Date && right == Number)
        return Date;
    return std::nullopt;
}

[[noreturn]] void raiseOperandTypes() {
    raiseParserError(kErrorOperandTypes);
}

double numericValue(const Variant& value) {
    const auto number = orderValue(value);
    if (!number)
        raiseOperandTypes();
    return *number;
}

std::wstring_view withoutTrailingSpace(const std::wstring& text) {
    std::size_t end = text.size();
    while (end > 0 && std::iswspace(static_cast<wint_t>(text[end - 1])))
        --end;
    return std::wstring_view(text).substr(0, end);
}

bool isValidDate(double date) {
    return date >= platform::com::kMinOleDate && date <= platform::com::kMaxOleDate;
}

bool equalValues(const Variant& left, const Variant& right, bool exact) {
    const ValueType l = typeOf(left);
    const ValueType r = typeOf(right);
    if (l == ValueType::Text || r == ValueType::Text) {
        if (l != r)
            raiseOperandTypes();
        return exact ? left.text() == right.text()
                     : withoutTrailingSpace(left.text()) == withoutTrailingSpace(right.text());
    }
    if (l == ValueType::Date && r == ValueType::Date)
        return isValidDate(left.real()) && left.real() == right.real();
    return numericValue(left) == numericValue(right);
}

double numberOperand(const Variant& value) {
    if (typeOf(value) != ValueType::Number)
        raiseOperandTypes();
    return value.real();
}

bool logicalOperand(const Variant& value) {
    if (typeOf(value) != ValueType::Logical)
        raiseOperandTypes();
    return value.boolean();
}

Variant movedDate(double date, double days) {
    return Variant::fromDate(linearToOleDate(oleDateToLinear(date) + days));
}

Variant add(const Variant& left, const Variant& right) {
    const ValueType l = typeOf(left);
    const ValueType r = typeOf(right);
    if (l == ValueType::Text && r == ValueType::Text) {
        requireTextLength(left.text().size() + right.text().size());
        return Variant::fromString(left.text() + right.text());
    }
    if (l == ValueType::Date && r == ValueType::Number)
        return movedDate(left.real(), right.real());
    if (l == ValueType::Number && r == ValueType::Date)
        return movedDate(right.real(), left.real());
    return Variant::fromDouble(numberOperand(left) + numberOperand(right));
}

Variant subtract(const Variant& left, const Variant& right) {
    if (typeOf(left) == ValueType::Date)
        return movedDate(left.real(), -numberOperand(right));
    return Variant::fromDouble(numberOperand(left) - numberOperand(right));
}

double divisor(const Variant& value) {
    const double number = numberOperand(value);
    if (number == 0)
        raiseParserError(kErrorDivisionByZero);
    return number;
}

double power(double base, double exponent) {
    if (base <= 0)
        raiseParserError(kErrorPower);
    const double result = std::pow(base, exponent);
    if (!std::isfinite(result))
        raiseParserError(kErrorPower);
    return result;
}

}  // namespace

int operationPriority(Operation operation) {
    switch (operation) {
        case Operation::Equal:
        case Operation::ExactlyEqual:
        case Operation::NotEqual:
        case Operation::Greater:
            return 0;
        case Operation::GreaterOrEqual:
        case Operation::Less:
        case Operation::LessOrEqual:
            return 1;
        case Operation::Add:
        case Operation::Subtract:
        case Operation::Contained:
            return 2;
        case Operation::Multiply:
        case Operation::Divide:
            return 3;
        case Operation::Power:
            return 4;
        case Operation::Not:
            return kNotPriority;
        case Operation::And:
            return 6;
        case Operation::Or:
            return 7;
    }
    return 0;
}

std::optional<ValueType> operationResultType(Operation operation, ValueType left, ValueType right) {
    using enum ValueType;
    switch (operation) {
        case Operation::Add:
            return addType(left, right);
        case Operation::Subtract:
            return subtractType(left, right);
        case Operation::Multiply:
        case Operation::Divide:
        case Operation::Power:
            if (isAnyOr(left, Number) && isAnyOr(right, Number))
                return Number;
            return std::nullopt;
        case Operation::Contained:
            if (isAnyOr(left, Text) && isAnyOr(right, Text))
                return Logical;
            return std::nullopt;
        case Operation::Not:
            if (isAnyOr(right, Logical))
                return Logical;
            return std::nullopt;
        case Operation::And:
        case Operation::Or:
            if (isAnyOr(left, Logical) && isAnyOr(right, Logical))
                return Logical;
            return std::nullopt;
        default:  // the comparisons
            if (left == Any || right == Any)
                return Logical;
            if (left == right && isComparable(left))
                return Logical;
            return std::nullopt;
    }
}

void evaluateOperation(Operation operation, Arguments arguments, Variant& result) {
    if (operation == Operation::Not) {
        result = Variant::fromBool(!logicalOperand(*arguments[0]));
        return;
    }
    const Variant& left = *arguments[0];
    const Variant& right = *arguments[1];
    switch (operation) {
        case Operation::Equal:
            result = Variant::fromBool(equalValues(left, right, false));
            break;
        case Operation::ExactlyEqual:
            result = Variant::fromBool(equalValues(left, right, true));
            break;
        case Operation::NotEqual:
            result = Variant::fromBool(!equalValues(left, right, false));
            break;
        case Operation::Greater:
            result = Variant::fromBool(compareValues(left, right) > 0);
            break;
        case Operation::GreaterOrEqual:
            result = Variant::fromBool(compareValues(left, right) >= 0);
            break;
        case Operation::Less:
            result = Variant::fromBool(compareValues(left, right) < 0);
            break;
        case Operation::LessOrEqual:
            result = Variant::fromBool(compareValues(left, right) <= 0);
            break;
        case Operation::Add:
            result = add(left, right);
            break;
        case Operation::Subtract:
            result = subtract(left, right);
            break;
        case Operation::Contained:
            if (typeOf(left) != ValueType::Text || typeOf(right) != ValueType::Text)
                raiseOperandTypes();
            result = Variant::fromBool(right.text().find(left.text()) != std::wstring::npos);
            break;
        case Operation::Multiply:
            result = Variant::fromDouble(numberOperand(left) * numberOperand(right));
            break;
        case Operation::Divide: {
            const double dividend = numberOperand(left);
            result = Variant::fromDouble(dividend / divisor(right));
            break;
        }
        case Operation::Power:
            result = Variant::fromDouble(power(numberOperand(left), numberOperand(right)));
            break;
        case Operation::And:
        case Operation::Or: {
            const bool a = logicalOperand(left);
            const bool b = logicalOperand(right);
            result = Variant::fromBool(operation == Operation::And ? a && b : a || b);
            break;
        }
        case Operation::Not:
            break;
    }
}

}  // namespace tarn
