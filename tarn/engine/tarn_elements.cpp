#include "tarn/engine/tarn_elements.h"

#include "tarn/engine/tarn_choose.h"
#include "tarn/engine/tarn_for_each.h"
#include "tarn/engine/tarn_if.h"
#include "tarn/engine/tarn_output.h"
#include "tarn/engine/tarn_request.h"

namespace tarn {

std::unique_ptr<TarnBase> createElement(const std::wstring& name, const common::CXMLDOMNode& node) {
    if (name == L"choose") {
        return std::make_unique<TarnChoose>(node);
    }
    if (name == L"if") {
        return std::make_unique<TarnIf>(node);
    }
    if (name == L"for-each") {
        return std::make_unique<TarnForEach>(node);
    }
    if (name == L"request") {
        return std::make_unique<TarnRequest>(node);
    }
    if (name == L"output") {
        return std::make_unique<TarnOutput>(node);
    }
    return nullptr;
}

}  // namespace tarn
