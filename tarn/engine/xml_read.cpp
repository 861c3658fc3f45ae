#include "tarn/engine/xml_read.h"

namespace tarn {

std::wstring attributeText(const common::CXMLDOMNode& node, std::wstring_view name) {
    std::wstring text;
    node.GetAttribute(name, text);
    return text;
}

namespace {

// The wrappers hand out document handles only from documents; a handle on a document
// node carries the same state, so it is taken over as it is.
class DocumentHandle : public common::CXMLDOMDocument {
  public:
    explicit DocumentHandle(const common::CXMLDOMNode& node) {
        static_cast<common::CXMLDOMNode&>(*this) = node;
    }
};

}  // namespace

common::CXMLDOMDocument documentOf(const common::CXMLDOMNode& node) {
    return DocumentHandle(node);
}

}  // namespace tarn
