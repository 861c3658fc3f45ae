#include "tarn/engine/tarn_for_each.h"

#include "common/xml/xml_dom.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

TarnForEach::TarnForEach(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnForEach::compile(const common::CXMLDOMNode& node) {
    select_ = attributeText(node, L"select");
    if (select_.empty()) {
        select_ = L"/results/item";
    }
    return compileBlock(node);
}

int TarnForEach::execute(common::SqliteDB& db, const Parameters& parameters,
                         const TarnVariables& variables, const common::CXMLDOMNode& context,
                         const common::CXMLDOMNode& output) {
    if (context.IsEmpty()) {
        return 0;
    }
    const common::CXMLDOMNodeList nodes = context.SelectNodes(select_);
    const long count = nodes.GetLength();
    for (long i = 0; i < count; ++i) {
        const int result = executeBlock(db, parameters, variables, nodes.GetItem(i), output);
        if (result < 0) {
            return result;
        }
    }
    return 0;
}

}  // namespace tarn
