// Compiles one expression text into a Program: parses it with the operators' priorities
// (binary operators group from the left), type-checks every operator and function call,
// and fills omitted optional arguments from the function table.
//
// Contract: compileExpression throws a CParserException holding every error it found, in
// the order found. Any text is safe: nesting deeper than kMaxNestingDepth is refused with
// 3217 rather than followed.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "tarn/expression/program.h"

namespace tarn {

inline constexpr int kMaxNestingDepth = 200;

// The value of the variable of that name (compared ignoring case), or nullptr.
using VariableLookup = std::function<const Variant*(std::wstring_view name)>;

std::unique_ptr<Program> compileExpression(std::wstring_view text, const VariableLookup& lookup);

// An argument's default text as a value of the argument's type.
Variant defaultArgumentValue(const ArgumentSpec& spec);

}  // namespace tarn
