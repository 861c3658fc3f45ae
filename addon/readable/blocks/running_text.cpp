#include "addon/readable/blocks/running_text.h"

#include <algorithm>
#include <cwctype>

namespace addon {

bool inRunningText(const dom::Element& element) {
    for (const auto& beside : {element.previousSibling(), element.nextSibling()}) {
        if (beside && beside->nodeType() == dom::NodeType::Text) {
            const std::wstring text = beside->nodeValue();
            if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return std::iswalnum(c); })) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace addon
