// Errors of the expression language: their numbers, the record of one error and
// CParserException, which carries every error of one compilation (or the one error of a
// run) and is thrown by value.
//
// Contract: value types, not synchronised. A record's message is the fixed text of its
// number ("Error number 0x00000C84." for 3204); the names and argument numbers that the
// error site knows travel beside it in `details`.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

namespace tarn {

enum ParserErrorNumber : int {
    kErrorSyntax = 3201,              // operand expected; unknown dotted word; trailing ","
    kErrorUnclosed = 3202,            // text, date or "(" not closed; ")" without "("
    kErrorOperandTypes = 3204,        // operand types the operator does not accept
    kErrorArgumentType = 3205,        // function argument of the wrong type
    kErrorUnknownVariable = 3206,     //
    kErrorUnknownFunction = 3207,     //
    kErrorTooFewArguments = 3208,     //
    kErrorTooManyArguments = 3209,    //
    kErrorInvalidValue = 3210,        // no valid date; bad padding; a text too long to build
    kErrorSquareRoot = 3211,          // SQRT of a negative number
    kErrorLogarithm = 3212,           // LOG of a number 0 or less
    kErrorLogarithm10 = 3213,         // LOG10 of a number 0 or less
    kErrorDivisionByZero = 3215,      // "/", "%" or MOD by 0
    kErrorPower = 3216,               // a power of a base <= 0, or not finite
    kErrorMissingOperand = 3217,      // operator without its operand; nesting too deep
    kErrorMissingParenthesis = 3218,  // ")" missing after function arguments
    kErrorEmpty = 3219,               // nothing to evaluate
    kErrorMissingOperator = 3220,     // operand after operand
};

// "Error number 0x" + the number as 8 upper-case hexadecimal digits + ".".
std::wstring parserErrorMessage(int number);

struct ParserError {
    int number = 0;
    std::wstring message;
    std::vector<std::wstring> details;  // names and argument numbers, as texts

    friend bool operator==(const ParserError&, const ParserError&) = default;
};

class CParserException : public std::exception {
  public:
    // `errors` in the order they were found; the first one becomes current.
    explicit CParserException(std::vector<ParserError> errors);

    std::size_t count() const { return errors_.size(); }
    const std::vector<ParserError>& errors() const { return errors_; }

    // Makes record `index` (0 = the first error found) current; false when out of range.
    bool select(std::size_t index);
    int number() const { return errors_[current_].number; }
    const std::wstring& message() const { return errors_[current_].message; }
    const ParserError& current() const { return errors_[current_]; }

    // The current message in UTF-8.
    const char* what() const noexcept override { return what_.c_str(); }

  private:
    std::vector<ParserError> errors_;
    std::size_t current_ = 0;
    std::string what_;
};

ParserError makeParserError(int number, std::vector<std::wstring> details = {});

// Stops an evaluation: throws a CParserException holding one record.
[[noreturn]] void raiseParserError(int number, std::vector<std::wstring> details = {});

}  // namespace tarn
