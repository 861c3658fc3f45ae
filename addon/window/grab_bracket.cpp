#include "addon/window/grab_bracket.h"

#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"

namespace addon {

GrabBracket::GrabBracket(int windowIndex) {
    if (hasElementSelection(windowIndex) || hasTextSelection(windowIndex)) {
        grabbedContexts_ = runGrabInContexts(windowIndex);
    }
}

GrabBracket::~GrabBracket() {
    for (int index : grabbedContexts_) {
        withdrawInContext(clipContext(index));
    }
}

}  // namespace addon
