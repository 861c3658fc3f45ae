#include "tarn/engine/xml_read.h"

namespace tarn {

std::wstring attributeText(const common::CXMLDOMNode& node, std::wstring_view name) {
    std::wstring text;
    node.GetAttribute(name, text);
    return text;
}

}  // namespace tarn
