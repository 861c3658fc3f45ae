#include "tarn/expression/compiler.h"

#include <optional>
#include <string>
#include <vector>

#include "tarn/expression/dates.h"
#include "tarn/expression/lexer.h"
#include "tarn/expression/parser_exception.h"

namespace tarn {

namespace {

// What an expression or sub-expression compiled to: where its value will be, and its type.
struct Operand {
    const Variant* value = nullptr;
    ValueType type = ValueType::Any;
};

bool startsOperand(const Token& token) {
    switch (token.kind) {
        case TokenKind::Number:
        case TokenKind::Text:
        case TokenKind::Date:
        case TokenKind::Logical:
        case TokenKind::Identifier:
        case TokenKind::FunctionName:
        case TokenKind::LeftParen:
            return true;
        case TokenKind::Operator:
            return token.operation == Operation::Not;
        default:
            return false;
    }
}

bool isBinary(const Token& token) {
    return token.kind == TokenKind::Operator && token.operation != Operation::Not;
}

class Compiler {
  public:
    Compiler(std::wstring_view text, const VariableLookup& lookup)
        : lexer_(text), lookup_(lookup), program_(std::make_unique<Program>()) {
        zero_ = program_->addSlot(Variant::fromDouble(0));
    }

    std::unique_ptr<Program> compile() {
        if (lexer_.peek().kind == TokenKind::End) {
            record(kErrorEmpty);
        } else {
            std::optional<Operand> root = parseExpression(0, false);
            root = parseTopLevelRest(root);
            if (root)
                program_->setRoot(root->value);
        }
        if (!errors_.empty())
            throw CParserException(std::move(errors_));
        return std::move(program_);
    }

  private:
    // Whatever follows a complete expression at the top level is an error; the rest is
    // still read so that every error in it is found.
    std::optional<Operand> parseTopLevelRest(std::optional<Operand> root) {
        while (lexer_.peek().kind != TokenKind::End) {
            if (lexer_.peek().kind == TokenKind::RightParen) {
                record(kErrorUnclosed, {L"("});
                lexer_.consume();
                root = continueExpression(root, 0);
            } else {
                lexer_.consume();  // ","
                if (lexer_.peek().kind == TokenKind::End) {
                    record(kErrorSyntax);
                } else {
                    record(kErrorMissingOperator);
                    parseExpression(0, false);
                }
            }
        }
        return root;
    }

    // One level: operands joined by binary operators of at least `minPriority`.
    // `afterOperator`: an operator stands before this level, so a missing operand is 3217.
    std::optional<Operand> parseExpression(int minPriority, bool afterOperator) {
        if (!enterNesting())
            return std::nullopt;
        std::optional<Operand> left = parseUnary(afterOperator);
        left = continueExpression(left, minPriority);
        --depth_;
        return left;
    }

    std::optional<Operand> continueExpression(std::optional<Operand> left, int minPriority) {
        for (;;) {
            const Token& token = lexer_.peek();
            if (isBinary(token)) {
                const Operation operation = token.operation;
                const int priority = operationPriority(operation);
                if (priority < minPriority)
                    return left;
                lexer_.consume();
                const std::optional<Operand> right = parseExpression(priority + 1, true);
                if (left && right)
                    left = emitOperation(operation, *left, *right);
            } else if (startsOperand(token)) {
                // Two operands with no operator between them: read on as if one stood there.
                record(kErrorMissingOperator);
                if (!left)
                    left = parseUnary(false);
                else
                    parseUnary(false);
            } else if (token.kind == TokenKind::Invalid) {
                recordInvalid(token);
                lexer_.consume();
            } else {
                return left;
            }
        }
    }

    std::optional<Operand> parseUnary(bool afterOperator) {
        bool afterInvalid = false;
        for (;;) {
            const Token& token = lexer_.peek();
            switch (token.kind) {
                case TokenKind::Invalid:
                    recordInvalid(token);
                    lexer_.consume();
                    afterInvalid = true;
                    continue;
                case TokenKind::Operator:
                    if (isSign(token.operation))
                        return parseSigned();
                    // A binary operator with no left operand: skip it, read the right one.
                    record(kErrorMissingOperand);
                    lexer_.consume();
                    afterOperator = true;
                    continue;
                case TokenKind::Number:
                    return literal(Variant::fromDouble(token.number));
                case TokenKind::Text:
                    return literal(Variant::fromString(token.text));
                case TokenKind::Date:
                    return literal(Variant::fromDate(parseDateText(token.text)));
                case TokenKind::Logical:
                    return literal(Variant::fromBool(token.logical));
                case TokenKind::Identifier:
                    return variable();
                case TokenKind::FunctionName:
                    return call();
                case TokenKind::LeftParen:
                    return group();
                default:  // End, ")" or ","
                    if (!afterInvalid)
                        record(afterOperator ? kErrorMissingOperand : kErrorSyntax);
                    return std::nullopt;
            }
        }
    }

    static bool isSign(Operation operation) {
        return operation == Operation::Add || operation == Operation::Subtract ||
               operation == Operation::Not;
    }

    // "-", "+" or NOT before its operand.
    std::optional<Operand> parseSigned() {
        const Operation operation = lexer_.peek().operation;
        lexer_.consume();
        if (operation == Operation::Not) {
            const std::optional<Operand> operand = parseExpression(kNotPriority, true);
            if (!operand)
                return std::nullopt;
            return emitOperation(Operation::Not, *operand, *operand);
        }
        const std::optional<Operand> operand = parseExpression(kSignPriority, true);
        if (!operand)
            return std::nullopt;
        // A minus sign before a number literal makes a negative literal.
        if (operation == Operation::Subtract && operand->value == lastLiteral_ &&
            operand->type == ValueType::Number) {
            *lastLiteral_ = Variant::fromDouble(-lastLiteral_->real());
            return operand;
        }
        return emitOperation(operation, Operand{zero_, ValueType::Number}, *operand);
    }

    std::optional<Operand> group() {
        lexer_.consume();
        std::optional<Operand> inner = parseExpression(0, false);
        if (lexer_.peek().kind == TokenKind::RightParen) {
            lexer_.consume();
        } else {
            record(kErrorUnclosed, {L")"});
        }
        return inner;
    }

    std::optional<Operand> variable() {
        const std::wstring name = lexer_.peek().text;
        lexer_.consume();
        const Variant* value = lookup_(name);
        if (!value) {
            record(kErrorUnknownVariable, {name});
            return placeholder(ValueType::Any);
        }
        return Operand{value, typeOf(*value)};
    }

    std::optional<Operand> call() {
        const std::wstring name = lexer_.peek().text;
        lexer_.consume();  // the name
        lexer_.consume();  // "("
        std::vector<std::optional<Operand>> arguments;
        if (!enterNesting())
            return std::nullopt;
        if (lexer_.peek().kind == TokenKind::RightParen) {
            lexer_.consume();
        } else {
            for (;;) {
                arguments.push_back(parseExpression(0, false));
                const TokenKind next = lexer_.peek().kind;
                lexer_.consume();
                if (next == TokenKind::Comma)
                    continue;
                if (next != TokenKind::RightParen)
                    record(kErrorMissingParenthesis, {name});
                break;
            }
        }
        --depth_;
        const FunctionEntry* function = findFunction(name);
        if (!function) {
            record(kErrorUnknownFunction, {name});
            return placeholder(ValueType::Any);
        }
        return emitCall(*function, arguments);
    }

    std::optional<Operand> emitCall(const FunctionEntry& function,
                                    const std::vector<std::optional<Operand>>& arguments) {
        for (const auto& argument : arguments)
            if (!argument)
                return placeholder(function.result);
        const int count = static_cast<int>(arguments.size());
        if (count < function.minArguments) {
            record(kErrorTooFewArguments, {function.name});
            return placeholder(function.result);
        }
        if (!function.isOpenEnded() && count > function.maxArguments) {
            record(kErrorTooManyArguments, {function.name});
            return placeholder(function.result);
        }
        Step step;
        step.function = &function;
        bool typesMatch = true;
        for (int i = 0; i < count; ++i) {
            const ValueType wanted = function.isOpenEnded() && i > 0 && arguments[0]
                                         ? arguments[0]->type
                                         : function.argument(i).type;
            const ValueType given = arguments[i]->type;
            if (wanted != ValueType::Any && given != ValueType::Any && wanted != given) {
                record(kErrorArgumentType, {function.name, std::to_wstring(i + 1)});
                typesMatch = false;
            }
            step.arguments.push_back(arguments[i]->value);
        }
        if (!typesMatch)
            return placeholder(function.result);
        for (int i = count; i < function.maxArguments; ++i)
            step.arguments.push_back(program_->addSlot(defaultArgumentValue(function.argument(i))));
        step.result = program_->addSlot();
        const Operand result{step.result, function.result};
        program_->addStep(std::move(step));
        return result;
    }

    // Not reads only `right`.
    Operand emitOperation(Operation operation, const Operand& left, const Operand& right) {
        const std::optional<ValueType> type = operationResultType(operation, left.type, right.type);
        if (!type) {
            record(kErrorOperandTypes);
            return *placeholder(ValueType::Any);
        }
        Step step;
        step.operation = operation;
        if (operation != Operation::Not)
            step.arguments.push_back(left.value);
        step.arguments.push_back(right.value);
        step.result = program_->addSlot();
        const Operand result{step.result, *type};
        program_->addStep(std::move(step));
        return result;
    }

    std::optional<Operand> literal(Variant value) {
        lexer_.consume();
        const ValueType type = typeOf(value);
        lastLiteral_ = program_->addSlot(std::move(value));
        return Operand{lastLiteral_, type};
    }

    // Stands in for an operand that failed to compile, so that reading goes on without
    // reporting the same fault again.
    std::optional<Operand> placeholder(ValueType type) {
        return Operand{program_->addSlot(), type};
    }

    bool enterNesting() {
        if (depth_ >= kMaxNestingDepth) {
            record(kErrorMissingOperand);
            lexer_.skipToEnd();
            abandoned_ = true;
            return false;
        }
        ++depth_;
        return true;
    }

    void recordInvalid(const Token& token) {
        record(token.errorNumber, token.text.empty() ? std::vector<std::wstring>{}
                                                     : std::vector<std::wstring>{token.text});
    }

    void record(int number, std::vector<std::wstring> details = {}) {
        if (!abandoned_)
            errors_.push_back(makeParserError(number, std::move(details)));
    }

    Lexer lexer_;
    const VariableLookup& lookup_;
    std::unique_ptr<Program> program_;
    const Variant* zero_ = nullptr;
    Variant* lastLiteral_ = nullptr;
    std::vector<ParserError> errors_;
    int depth_ = 0;
    bool abandoned_ = false;
};

}  // namespace

std::unique_ptr<Program> compileExpression(std::wstring_view text, const VariableLookup& lookup) {
    return Compiler(text, lookup).compile();
}

Variant defaultArgumentValue(const ArgumentSpec& spec) {
    const std::wstring_view text = spec.defaultText;
    switch (spec.type) {
        case ValueType::Number:
            return Variant::fromDouble(leadingNumber(text));
        case ValueType::Date:
            return Variant::fromDate(parseDateText(text));
        case ValueType::Logical:
            return Variant::fromBool(text == L"T" || text == L"Y");
        default:
            return Variant::fromString(std::wstring(text));
    }
}

}  // namespace tarn
