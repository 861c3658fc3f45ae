// The definition of a dialog: caption, size and controls, as a dialog resource would give
// them. Positions and sizes are in dialog units; the window system places controls at
// 3/2 pixel per horizontal and 13/8 pixel per vertical unit. Plain values.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/types.h"

namespace platform::ui {

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::staticText;
    std::wstring text{};
    Rect bounds{};  // left, top, right, bottom in dialog units
    bool disabled = false;
    bool hidden = false;
    bool defaultButton = false;
    bool groupStart = false;
};

struct DialogTemplate {
    int id = 0;
    std::wstring caption{};
    int width = 0;  // dialog units
    int height = 0;
    std::vector<ControlTemplate> controls{};
};

// Dialog units to pixels.
Rect dialogUnitsToPixels(Rect bounds);

}  // namespace platform::ui
