// CXMLDOMElement and CXMLDOMProcessingInstruction: node handles typed by what created
// them; every operation is CXMLDOMNode's.
//
// Contract: as CXMLDOMNode.
#pragma once

#include "common/xml/xml_node.h"

namespace common {

class CXMLDOMElement : public CXMLDOMNode {
  public:
    CXMLDOMElement() = default;
};

class CXMLDOMProcessingInstruction : public CXMLDOMNode {
  public:
    CXMLDOMProcessingInstruction() = default;
};

}  // namespace common
