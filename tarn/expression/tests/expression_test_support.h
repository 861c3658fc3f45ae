// Helpers for the expression tests: evaluate a text with a few variables, or collect the
// error numbers it raises.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tarn/expression/parser.h"

namespace tarn::testing {

struct Binding {
    const wchar_t* name;
    Variant value;
};

inline Variant evaluate(const std::wstring& text, const std::vector<Binding>& bindings = {}) {
    CParser parser;
    for (const auto& b : bindings)
        EXPECT_TRUE(parser.defineVariable(b.name, b.value));
    parser.compile(text);
    return parser.execute();
}

// The numbers of the errors that compiling `text` raised, in the order found; empty when
// it compiled.
inline std::vector<int> compileErrors(const std::wstring& text,
                                      const std::vector<Binding>& bindings = {}) {
    CParser parser;
    for (const auto& b : bindings)
        parser.defineVariable(b.name, b.value);
    try {
        parser.compile(text);
    } catch (const CParserException& e) {
        std::vector<int> numbers;
        for (const auto& error : e.errors())
            numbers.push_back(error.number);
        return numbers;
    }
    return {};
}

// The number of the run-time error of `text`, 0 when it ran; compile errors fail the test.
inline int runError(const std::wstring& text, const std::vector<Binding>& bindings = {}) {
    CParser parser;
    for (const auto& b : bindings)
        parser.defineVariable(b.name, b.value);
    parser.compile(text);
    try {
        parser.execute();
    } catch (const CParserException& e) {
        EXPECT_EQ(e.count(), 1u);
        return e.number();
    }
    return 0;
}

inline Variant number(double v) {
    return Variant::fromDouble(v);
}
inline Variant text(const wchar_t* v) {
    return Variant::fromString(v);
}
inline Variant logical(bool v) {
    return Variant::fromBool(v);
}

}  // namespace tarn::testing
