#include "tarn/engine/tarn_block.h"

#include "common/xml/xml_dom.h"
#include "tarn/engine/tarn_elements.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

TarnBlock::TarnBlock(const common::CXMLDOMNode& node) {
    compile(node);
}

void TarnBlock::clear() {
    children_.clear();
    variables_.clear();
    errorCode_ = 0;
}

int TarnBlock::compile(const common::CXMLDOMNode& node) {
    return compileBlock(node);
}

int TarnBlock::compileBlock(const common::CXMLDOMNode& node) {
    clear();
    forEachChild(node, [&](const common::CXMLDOMNode& child) {
        const std::wstring name = child.GetNodeName();
        if (name == L"variable") {
            variables_.emplace_back(child);
        } else if (auto element = createElement(name, child)) {
            children_.push_back(std::move(element));
        }
    });
    return 0;
}

int TarnBlock::execute(common::SqliteDB& db, const Parameters& parameters,
                       const TarnVariables& variables, const common::CXMLDOMNode& context,
                       const common::CXMLDOMNode& output) {
    return executeBlock(db, parameters, variables, context, output);
}

int TarnBlock::executeBlock(common::SqliteDB& db, const Parameters& parameters,
                            const TarnVariables& variables, const common::CXMLDOMNode& context,
                            const common::CXMLDOMNode& output) {
    TarnVariables local = variables;
    for (TarnVariable& variable : variables_) {
        const int result = variable.evaluate(parameters, context);
        if (result < 0) {
            return failWith(result, variable);
        }
        bool replaced = false;
        for (TarnVariable& known : local) {
            if (known.name() == variable.name()) {
                known.setCurrentValue(variable.currentValue());
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            local.push_back(variable);
        }
    }
    for (const auto& child : children_) {
        const int result = child->execute(db, parameters, local, context, output);
        if (result < 0) {
            return failWith(result, *child);
        }
    }
    return 0;
}

}  // namespace tarn
