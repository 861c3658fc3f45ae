// The operators of the expression language: their priorities, their compile-time type rules
// and their evaluation.
//
// Contract: pure functions, thread-safe. evaluateOperation raises a CParserException with
// one record (3204 for operand kinds the operator cannot take at run time, 3215 for a zero
// divisor, 3216 for a power of a base of 0 or less or without a finite
// result) and then leaves `result` untouched.
#pragma once

#include <optional>

#include "tarn/expression/value.h"

namespace tarn {

enum class Operation {
    Equal,
    ExactlyEqual,
    NotEqual,
    Greater,
    GreaterOrEqual,
    Less,
    LessOrEqual,
    Add,
    Subtract,
    Contained,
    Multiply,
    Divide,
    Power,
    Not,
    And,
    Or,
};

// A higher priority binds tighter. Binary operators group from the left.
int operationPriority(Operation operation);
// Unary operators take their operand at this priority: "-" and "+" bind tighter than any
// binary operator; NOT takes AND and OR into its operand.
inline constexpr int kSignPriority = 8;
inline constexpr int kNotPriority = 5;

// The result type for these operand types; std::nullopt when the operator does not accept
// them (3204). Not reads only `right`.
std::optional<ValueType> operationResultType(Operation operation, ValueType left, ValueType right);

// `arguments` holds the left and right operand, or only the operand of Not.
void evaluateOperation(Operation operation, Arguments arguments, Variant& result);

}  // namespace tarn
