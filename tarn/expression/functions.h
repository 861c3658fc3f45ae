// The table of built-in functions of the expression language. The order of the table
// decides which function an abbreviated name selects.
//
// Contract: static, immutable data; thread-safe. Routines may assume that every argument
// has the type its descriptor names (the evaluator checks values of type Any before the
// call) and raise a CParserException for their run-time errors.
#pragma once

#include <span>
#include <string_view>

#include "tarn/expression/value.h"

namespace tarn {

struct ArgumentSpec {
    ValueType type;
    const wchar_t* defaultText;  // fills an omitted optional argument
};

struct FunctionEntry {
    const wchar_t* name;  // upper case
    Routine routine;
    ValueType result;
    int maxArguments;  // -1: open-ended
    int minArguments;
    // One per argument; open-ended functions: the first and the further arguments.
    std::span<const ArgumentSpec> arguments;

    bool isOpenEnded() const { return maxArguments < 0; }
    // The descriptor of argument `index` (0-based).
    const ArgumentSpec& argument(std::size_t index) const {
        return arguments[isOpenEnded() && index > 0 ? 1 : index];
    }
};

std::span<const FunctionEntry> functionTable();

// The first entry whose name begins with `name` (ignoring case), where a name shorter than
// four characters must match a whole entry name; nullptr when none does.
const FunctionEntry* findFunction(std::wstring_view name);

}  // namespace tarn
