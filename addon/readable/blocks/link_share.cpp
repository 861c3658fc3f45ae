#include "addon/readable/blocks/link_share.h"

namespace addon {

double linkShare(const ElementPtr& element, std::size_t textLength) {
    if (textLength == 0) {
        return 0.0;
    }
    std::size_t linked = 0;
    for (const auto& link : element->getElementsByTagName(L"A")) {
        linked += link->innerText().size();
    }
    return static_cast<double>(linked) / static_cast<double>(textLength);
}

}  // namespace addon
