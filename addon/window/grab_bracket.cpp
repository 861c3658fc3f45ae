#include "addon/window/grab_bracket.h"

#include "addon/window/command_dispatcher.h"
#include "addon/window/window_operations.h"

namespace addon {

GrabBracket::GrabBracket(int windowIndex) : windowIndex_(windowIndex) {
    if (hasElementSelection(windowIndex) || hasTextSelection(windowIndex)) {
        grabbed_ = runGrab(windowIndex);
    }
}

GrabBracket::~GrabBracket() {
    if (grabbed_) {
        undo(windowIndex_);
    }
}

}  // namespace addon
