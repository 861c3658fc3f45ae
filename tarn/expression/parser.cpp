#include "tarn/expression/parser.h"

#include "tarn/expression/compiler.h"

namespace tarn {

using namespace platform::com;

CParser::CParser() = default;
CParser::~CParser() = default;

bool CParser::defineVariable(std::wstring_view name, const Variant& value) {
    if (findVariable(name))
        return false;
    Variant stored = value;
    if (typeOf(value) == ValueType::Any) {
        const auto number = value.changeType(VT_R8);
        if (!number)
            return false;
        stored = *number;
    }
    variables_.push_back(std::make_unique<Variable>(Variable{std::wstring(name), stored}));
    return true;
}

void CParser::compile(std::wstring_view text) {
    program_.reset();
    program_ =
        compileExpression(text, [this](std::wstring_view name) { return findVariable(name); });
}

const Variant& CParser::execute() {
    if (!program_)
        raiseParserError(kErrorEmpty);
    return program_->run();
}

const Variant* CParser::findVariable(std::wstring_view name) const {
    for (const auto& variable : variables_)
        if (equalsIgnoringCase(variable->name, name))
            return &variable->value;
    return nullptr;
}

}  // namespace tarn
