#include "tarn/expression/lexer.h"

#include <cwctype>

#include "tarn/expression/parser_exception.h"
#include "tarn/expression/value.h"

namespace tarn {

namespace {

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool isWordChar(wchar_t c) {
    return isDigit(c) || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}
bool isLineEnd(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

Token operatorToken(Operation operation) {
    Token token;
    token.kind = TokenKind::Operator;
    token.operation = operation;
    return token;
}

Token invalidToken(int number, std::wstring text = {}) {
    Token token;
    token.kind = TokenKind::Invalid;
    token.errorNumber = number;
    token.text = std::move(text);
    return token;
}

// NOT, AND and OR, written as words or between dots.
bool logicalOperatorWord(std::wstring_view word, Operation& operation) {
    if (equalsIgnoringCase(word, L"NOT")) {
        operation = Operation::Not;
    } else if (equalsIgnoringCase(word, L"AND")) {
        operation = Operation::And;
    } else if (equalsIgnoringCase(word, L"OR")) {
        operation = Operation::Or;
    } else {
        return false;
    }
    return true;
}

}  // namespace

const Token& Lexer::peek() {
    if (!hasNext_) {
        const std::size_t start = pos_;
        next_ = read();
        nextEnd_ = pos_;
        pos_ = start;
        hasNext_ = true;
    }
    return next_;
}

void Lexer::consume() {
    peek();
    pos_ = nextEnd_;
    hasNext_ = false;
}

void Lexer::skipToEnd() {
    pos_ = text_.size();
    hasNext_ = false;
}

void Lexer::skipBlanks() {
    while (pos_ < text_.size()) {
        const wchar_t c = text_[pos_];
        if (c == L' ' || c == L'\t') {
            ++pos_;
        } else if (c == L';') {
            // Continuation: blanks, then one carriage return and one line feed.
            ++pos_;
            while (pos_ < text_.size() && (text_[pos_] == L' ' || text_[pos_] == L'\t'))
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == L'\r')
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == L'\n')
                ++pos_;
        } else {
            return;
        }
    }
}

Token Lexer::read() {
    skipBlanks();
    if (pos_ >= text_.size() || isLineEnd(text_[pos_])) {
        pos_ = text_.size();
        return Token{};
    }
    const wchar_t c = text_[pos_];
    if (isDigit(c) || (c == L'.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1])))
        return readNumber();
    if (c == L'"' || c == L'\'')
        return readQuoted(c);
    if (c == L'{')
        return readQuoted(L'}');
    if (c == L'.')
        return readDotted();
    if (isWordChar(c))
        return readWord();
    Token token;
    switch (c) {
        case L'(':
            token.kind = TokenKind::LeftParen;
            break;
        case L')':
            token.kind = TokenKind::RightParen;
            break;
        case L',':
            token.kind = TokenKind::Comma;
            break;
        default:
            return readOperator();
    }
    ++pos_;
    return token;
}

Token Lexer::readNumber() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && (isDigit(text_[pos_]) || text_[pos_] == L'.'))
        ++pos_;
    Token token;
    token.kind = TokenKind::Number;
    token.number = leadingNumber(text_.substr(start, pos_ - start));
    return token;
}

Token Lexer::readQuoted(wchar_t close) {
    const wchar_t open = text_[pos_++];
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != close && !isLineEnd(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size() || text_[pos_] != close)
        return invalidToken(kErrorUnclosed, std::wstring(1, open));
    Token token;
    token.kind = close == L'}' ? TokenKind::Date : TokenKind::Text;
    token.text = std::wstring(text_.substr(start, pos_ - start));
    ++pos_;
    return token;
}

Token Lexer::readDotted() {
    const std::size_t start = ++pos_;
    while (pos_ < text_.size() && isWordChar(text_[pos_]))
        ++pos_;
    const std::wstring_view word = text_.substr(start, pos_ - start);
    if (pos_ >= text_.size() || text_[pos_] != L'.')
        return invalidToken(kErrorSyntax, L"." + std::wstring(word));
    ++pos_;
    Operation operation;
    if (logicalOperatorWord(word, operation))
        return operatorToken(operation);
    if (word.size() == 1) {
        const wchar_t letter = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(word[0])));
        if (letter == L'T' || letter == L'Y' || letter == L'F' || letter == L'N') {
            Token token;
            token.kind = TokenKind::Logical;
            token.logical = letter == L'T' || letter == L'Y';
            return token;
        }
    }
    return invalidToken(kErrorSyntax, L"." + std::wstring(word) + L".");
}

Token Lexer::readWord() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isWordChar(text_[pos_]))
        ++pos_;
    const std::wstring_view word = text_.substr(start, pos_ - start);
    Operation operation;
    if (logicalOperatorWord(word, operation))
        return operatorToken(operation);
    std::size_t after = pos_;
    while (after < text_.size() && (text_[after] == L' ' || text_[after] == L'\t'))
        ++after;
    Token token;
    token.kind = after < text_.size() && text_[after] == L'(' ? TokenKind::FunctionName
                                                              : TokenKind::Identifier;
    token.text = std::wstring(word);
    return token;
}

Token Lexer::readOperator() {
    const wchar_t c = text_[pos_++];
    const wchar_t next = pos_ < text_.size() ? text_[pos_] : L'\0';
    const auto twoChars = [&](Operation operation) {
        ++pos_;
        return operatorToken(operation);
    };
    switch (c) {
        case L'=':
            return next == L'=' ? twoChars(Operation::ExactlyEqual)
                                : operatorToken(Operation::Equal);
        case L'<':
            if (next == L'>')
                return twoChars(Operation::NotEqual);
            if (next == L'=')
                return twoChars(Operation::LessOrEqual);
            return operatorToken(Operation::Less);
        case L'>':
            return next == L'=' ? twoChars(Operation::GreaterOrEqual)
                                : operatorToken(Operation::Greater);
        case L'!':
            return next == L'=' ? twoChars(Operation::NotEqual) : operatorToken(Operation::Not);
        case L'#':
            return operatorToken(Operation::NotEqual);
        case L'+':
            return operatorToken(Operation::Add);
        case L'-':
            return operatorToken(Operation::Subtract);
        case L'$':
            return operatorToken(Operation::Contained);
        case L'*':
            return next == L'*' ? twoChars(Operation::Power) : operatorToken(Operation::Multiply);
        case L'%':  // the language's second spelling of the product
            return operatorToken(Operation::Multiply);
        case L'/':
            return operatorToken(Operation::Divide);
        case L'^':
            return operatorToken(Operation::Power);
        default:
            return invalidToken(kErrorSyntax, std::wstring(1, c));
    }
}

}  // namespace tarn
