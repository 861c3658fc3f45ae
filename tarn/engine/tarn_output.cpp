#include "tarn/engine/tarn_output.h"

#include "common/xml/xml_dom.h"
#include "tarn/engine/placeholders.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

TarnOutput::TarnOutput(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnOutput::compile(const common::CXMLDOMNode& node) {
    message_ = attributeText(node, L"message");
    binds_.clear();
    forEachChild(node, [&](const common::CXMLDOMNode& child) {
        if (child.GetNodeName() == L"bind") {
            binds_.emplace_back(child);
        }
    });
    return 0;
}

int TarnOutput::execute(common::SqliteDB&, const Parameters& parameters,
                        const TarnVariables& variables, const common::CXMLDOMNode&,
                        const common::CXMLDOMNode&) {
    substitutePlaceholders(message_, &variables, parameters, PlaceholderSyntax::Text);
    return 0;
}

int TarnOutput::bind(const std::wstring& type, const std::wstring& value) {
    TarnVariable variable;
    variable.setType(type);
    variable.setValue(value);
    binds_.push_back(std::move(variable));
    return count();
}

int TarnOutput::setBind(int index, const std::wstring& type, const std::wstring& value) {
    if (!inRange(index)) {
        return -1;
    }
    binds_[index].setType(type);
    binds_[index].setValue(value);
    return count();
}

std::wstring TarnOutput::getBindType(int index) const {
    return inRange(index) ? binds_[index].type() : std::wstring();
}

std::wstring TarnOutput::getBindValue(int index) const {
    return inRange(index) ? binds_[index].value() : std::wstring();
}

}  // namespace tarn
