// The factory of block children: the element object for a child element's name.
//
// Contract: returns a compiled element for "choose", "if", "for-each", "request" and
// "output", null for any other name. Throws what compiling throws (CComException).
#pragma once

#include <memory>
#include <string>

#include "tarn/engine/tarn_base.h"

namespace tarn {

std::unique_ptr<TarnBase> createElement(const std::wstring& name, const common::CXMLDOMNode& node);

}  // namespace tarn
