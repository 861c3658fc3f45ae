#include "addon/controller/grab_bracket.h"

#include "addon/controller/command_dispatcher.h"
#include "addon/controller/window_operations.h"

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
