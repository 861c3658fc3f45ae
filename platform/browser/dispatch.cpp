#include "platform/browser/dispatch.h"

namespace platform::browser {

bool isSameComObject(com::IUnknown* a, com::IUnknown* b) {
    if (!a || !b) {
        return false;
    }
    com::ComPtr<com::IUnknown> left(a);
    com::ComPtr<com::IUnknown> right(b);
    return left.as<com::IUnknown>() == right.as<com::IUnknown>();
}

}  // namespace platform::browser
