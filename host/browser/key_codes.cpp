#include "host/browser/key_codes.h"

#include <array>
#include <utility>

namespace host::browser {

int virtualKeyCode(guint keyval) {
    const guint upper = gdk_keyval_to_upper(keyval);
    if ((upper >= GDK_KEY_A && upper <= GDK_KEY_Z) || (upper >= GDK_KEY_0 && upper <= GDK_KEY_9)) {
        return static_cast<int>(upper);
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) {
        return 112 + static_cast<int>(keyval - GDK_KEY_F1);
    }
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
        return 96 + static_cast<int>(keyval - GDK_KEY_KP_0);
    }
    static constexpr std::array<std::pair<guint, int>, 27> named = {{
        {GDK_KEY_BackSpace, 8},  {GDK_KEY_Tab, 9},        {GDK_KEY_ISO_Left_Tab, 9},
        {GDK_KEY_Return, 13},    {GDK_KEY_KP_Enter, 13},  {GDK_KEY_Shift_L, 16},
        {GDK_KEY_Shift_R, 16},   {GDK_KEY_Control_L, 17}, {GDK_KEY_Control_R, 17},
        {GDK_KEY_Alt_L, 18},     {GDK_KEY_Alt_R, 18},     {GDK_KEY_Pause, 19},
        {GDK_KEY_Escape, 27},    {GDK_KEY_space, 32},     {GDK_KEY_Page_Up, 33},
        {GDK_KEY_Page_Down, 34}, {GDK_KEY_End, 35},       {GDK_KEY_Home, 36},
        {GDK_KEY_Left, 37},      {GDK_KEY_Up, 38},        {GDK_KEY_Right, 39},
        {GDK_KEY_Down, 40},      {GDK_KEY_Insert, 45},    {GDK_KEY_Delete, 46},
        {GDK_KEY_KP_Delete, 46}, {GDK_KEY_plus, 187},     {GDK_KEY_minus, 189},
    }};
    for (const auto& [key, code] : named) {
        if (key == keyval) {
            return code;
        }
    }
    return 0;
}

platform::dom::KeyModifiers keyModifiers(GdkModifierType state) {
    return {.alt = (state & GDK_ALT_MASK) != 0,
            .ctrl = (state & GDK_CONTROL_MASK) != 0,
            .shift = (state & GDK_SHIFT_MASK) != 0};
}

}  // namespace host::browser
