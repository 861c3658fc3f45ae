// CParser: the evaluator of the page engine's expression language. Define the variables,
// compile an expression, then execute it as often as needed:
//
//     tarn::CParser parser;
//     parser.defineVariable(L"count", Variant::fromI4(3));
//     parser.compile(L"count > 2 .AND. LEN(\"abc\") = 3");
//     const Variant& result = parser.execute();   // VT_BOOL true
//
// Values are platform::com::Variant: number (VT_R8), date (VT_DATE), text (VT_BSTR),
// logical (VT_BOOL) and null (VT_NULL). Operators and functions are type-checked when the
// expression compiles.
//
// Contract: not synchronised; one parser per thread. compile and execute throw
// tarn::CParserException by value: compile with every error it found, execute with the one
// run-time error that stopped it. The reference execute returns stays valid until the
// next compile or the parser's destruction.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tarn/expression/parser_exception.h"
#include "tarn/expression/program.h"
#include "tarn/expression/value.h"

namespace tarn {

class CParser {
  public:
    CParser();
    ~CParser();
    CParser(const CParser&) = delete;
    CParser& operator=(const CParser&) = delete;

    // Adds a variable; false when one of that name (ignoring case) exists already. Text,
    // null, numbers, dates and logicals are kept as they are; integers and other kinds that
    // convert to a number become numbers (VT_EMPTY is 0); anything else is refused (false).
    bool defineVariable(std::wstring_view name, const Variant& value);

    // Discards the previous compiled form, then compiles `text`.
    void compile(std::wstring_view text);

    // Runs the compiled expression and returns its value. Without a compiled expression it
    // throws 3219.
    const Variant& execute();

  private:
    struct Variable {
        std::wstring name;
        Variant value;
    };

    const Variant* findVariable(std::wstring_view name) const;

    std::vector<std::unique_ptr<Variable>> variables_;
    std::unique_ptr<Program> program_;
};

}  // namespace tarn
