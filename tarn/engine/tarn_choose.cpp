#include "tarn/engine/tarn_choose.h"

#include "common/xml/xml_dom.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

TarnChoose::TarnChoose(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnChoose::compile(const common::CXMLDOMNode& node) {
    whens_.clear();
    otherwise_.clear();
    forEachChild(node, [&](const common::CXMLDOMNode& child) {
        const std::wstring name = child.GetNodeName();
        if (name == L"when") {
            whens_.push_back(std::make_unique<TarnIf>(child));
        } else if (name == L"otherwise") {
            otherwise_.compile(child);
        }
    });
    return 0;
}

int TarnChoose::execute(common::SqliteDB& db, const Parameters& parameters,
                        const TarnVariables& variables, const common::CXMLDOMNode& context,
                        const common::CXMLDOMNode& output) {
    for (const auto& when : whens_) {
        const int result = when->execute(db, parameters, variables, context, output);
        if (result < 0) {
            return failWith(result, *when);
        }
        if (when->lastResult()) {
            return 0;
        }
    }
    const int result = otherwise_.execute(db, parameters, variables, context, output);
    return result < 0 ? failWith(result, otherwise_) : result;
}

}  // namespace tarn
