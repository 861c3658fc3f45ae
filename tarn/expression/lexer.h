// Splits an expression text into tokens. The expression ends at the end of the text or at
// a carriage return or line feed; ";" continues it on the next line. Blanks separate tokens.
//
// Contract: a value type over a text that must outlive it; never throws (malformed input
// becomes an Invalid token carrying its error number).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tarn/expression/operations.h"

namespace tarn {

enum class TokenKind {
    End,
    Number,        // number
    Text,          // text
    Date,          // text (the literal's content, unparsed)
    Logical,       // logical
    Identifier,    // text
    FunctionName,  // text; the next token is "("
    Operator,      // operation; "+" is Add, "-" Subtract, "!" Not
    LeftParen,
    RightParen,
    Comma,
    Invalid,  // errorNumber; text holds what the error names
};

struct Token {
    TokenKind kind = TokenKind::End;
    Operation operation = Operation::Add;
    std::wstring text;
    double number = 0;
    bool logical = false;
    int errorNumber = 0;
};

class Lexer {
  public:
    explicit Lexer(std::wstring_view text) : text_(text) {}

    const Token& peek();
    void consume();
    // Gives up on the rest of the text: every later token is End.
    void skipToEnd();

  private:
    Token read();
    void skipBlanks();
    Token readNumber();
    Token readQuoted(wchar_t close);
    Token readDotted();
    Token readWord();
    Token readOperator();

    std::wstring_view text_;
    std::size_t pos_ = 0;
    Token next_;
    std::size_t nextEnd_ = 0;
    bool hasNext_ = false;
};

}  // namespace tarn
