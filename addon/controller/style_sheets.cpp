#include "addon/controller/style_sheets.h"

#include "addon/controller/text_case.h"

namespace addon {

std::vector<page::NodePtr> styleSheetElements(const page::Document& document) {
    std::vector<page::NodePtr> sheets;
    for (const auto& element : document.root()->descendantElements()) {
        if (element->tag() == L"style" ||
            (element->tag() == L"link" &&
             lowerText(element->attribute(L"rel").value_or(L"")) == L"stylesheet")) {
            sheets.push_back(element);
        }
    }
    return sheets;
}

}  // namespace addon
