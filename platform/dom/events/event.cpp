#include "platform/dom/events/event.h"

namespace platform::dom {

bool Event::defaultPrevented() const {
    using platform::com::VT_BOOL;
    if (returnValue.vt() == VT_BOOL)
        return !returnValue.boolean();
    auto number = returnValue.changeType(platform::com::VT_I4);
    return !returnValue.isEmpty() && returnValue.vt() != platform::com::VT_NULL && number &&
           number->integer() == 0;
}

}  // namespace platform::dom
