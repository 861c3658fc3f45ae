#include "tarn/engine/tarn_variable.h"

#include "common/xml/xml_dom.h"
#include "tarn/engine/placeholders.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

TarnVariable::TarnVariable(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnVariable::compile(const common::CXMLDOMNode& node) {
    current_.clear();
    name_ = attributeText(node, L"name");
    type_ = attributeText(node, L"type");
    value_ = attributeText(node, L"value");
    if (value_.empty()) {
        value_ = node.GetText();
    }
    select_ = attributeText(node, L"select");
    return 0;
}

int TarnVariable::execute(common::SqliteDB&, const Parameters& parameters, const TarnVariables&,
                          const common::CXMLDOMNode& context, const common::CXMLDOMNode&) {
    return evaluate(parameters, context);
}

int TarnVariable::evaluate(const Parameters& parameters, const common::CXMLDOMNode& context) {
    current_ = substitutePlaceholders(value_, nullptr, parameters, PlaceholderSyntax::Text);
    if (!current_.empty() || select_.empty() || context.IsEmpty()) {
        return 0;
    }
    try {
        const common::CXMLDOMNode found = context.SelectSingleNode(select_);
        if (!found.IsEmpty()) {
            current_ = found.GetText();
        }
    } catch (const common::CComException&) {
        return fail(-1, L"Invalidate variable expression: " + select_);
    }
    return 0;
}

const TarnVariable* findVariable(const TarnVariables& variables, const std::wstring& name) {
    for (const TarnVariable& variable : variables) {
        if (variable.name() == name) {
            return &variable;
        }
    }
    return nullptr;
}

}  // namespace tarn
