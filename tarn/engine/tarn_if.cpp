#include "tarn/engine/tarn_if.h"

#include "common/util/text_conversion.h"
#include "tarn/engine/xml_read.h"
#include "tarn/expression/parser.h"

namespace tarn {
namespace {

constexpr std::size_t kMaxMessage = 1024;

Variant typedValue(const TarnVariable& variable) {
    const std::wstring& type = variable.type();
    if (type.empty() || type == L"text") {
        return Variant::fromString(variable.currentValue());
    }
    if (type == L"int") {
        return Variant::fromI4(common::toLong(variable.currentValue()));
    }
    if (type == L"double") {
        return Variant::fromDouble(common::toDouble(variable.currentValue()));
    }
    return Variant();
}

bool holds(const Variant& value) {
    switch (value.vt()) {
        case platform::com::VT_R8:
            return value.real() != 0.0;
        case platform::com::VT_BSTR:
            return !value.text().empty();
        case platform::com::VT_BOOL:
            return value.boolean();
        default:
            return true;
    }
}

}  // namespace

TarnIf::TarnIf(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnIf::compile(const common::CXMLDOMNode& node) {
    test_ = attributeText(node, L"test");
    return compileBlock(node);
}

int TarnIf::execute(common::SqliteDB& db, const Parameters& parameters,
                    const TarnVariables& variables, const common::CXMLDOMNode& context,
                    const common::CXMLDOMNode& output) {
    try {
        CParser parser;
        for (const TarnVariable& variable : variables) {
            parser.defineVariable(variable.name(), typedValue(variable));
        }
        parser.compile(test_);
        lastResult_ = holds(parser.execute());
    } catch (const CParserException& error) {
        lastResult_ = false;
        return fail(-1, error.message().substr(0, kMaxMessage));
    }
    if (!lastResult_) {
        return 0;
    }
    return executeBlock(db, parameters, variables, context, output);
}

}  // namespace tarn
