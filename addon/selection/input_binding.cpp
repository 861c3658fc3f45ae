#include "addon/selection/input_binding.h"

#include <utility>

namespace addon {

namespace {

constexpr std::int32_t kNone = 0;
constexpr std::int32_t kLeft = 1;
constexpr std::int32_t kRight = 2;
constexpr std::int32_t kCtrl = kModifierCtrl;
constexpr std::int32_t kShift = kModifierShift;
constexpr std::int32_t kCtrlShift = kModifierCtrl | kModifierShift;
constexpr std::int32_t kCtrlAlt = kModifierCtrl | kModifierAlt;
constexpr std::int32_t kModeTrack = 1;
constexpr std::int32_t kModeText = 2;
constexpr std::int32_t kModeRect = 3;

InputBinding row(const wchar_t* action, const wchar_t* event, std::int32_t mode,
                 std::int32_t button, std::int32_t modifiers, std::int32_t keyCode) {
    return InputBinding{action, event, mode, button, modifiers, keyCode};
}

InputBinding key(const wchar_t* action, std::int32_t modifiers, std::int32_t keyCode) {
    return row(action, L"keydown", kAny, kNone, modifiers, keyCode);
}

InputBinding hotkeyRow(const wchar_t* action, const HotkeySetting& setting) {
    if (setting.enabled == 0)
        return row(action, L"", kAny, kAny, kAny, kAny);
    return row(action, L"keydown", kAny, kAny, modifiersFromStored(setting.storedModifiers),
               setting.keyCode);
}

bool fits(std::int32_t rowValue, std::int32_t queryValue) {
    return rowValue == kAny || rowValue == queryValue;
}

}  // namespace

int InputBinding::specificity() const {
    int result = mode != kAny ? 1 : 0;
    if (modifiers != kAny) {
        for (std::int32_t bit : {kModifierCtrl, kModifierShift, kModifierAlt})
            if (modifiers & bit)
                ++result;
    }
    if (button != kAny) {
        if (button == kLeft)
            ++result;
        if (button == kRight)
            ++result;
    }
    if (keyCode != kAny)
        ++result;
    return result;
}

bool InputBinding::matches(const std::wstring& queryEvent, std::int32_t queryButton,
                           std::int32_t queryModifiers, std::int32_t queryMode,
                           std::int32_t queryKeyCode, bool anyEvent) const {
    if (!anyEvent && (event.empty() || event != queryEvent))
        return false;
    return fits(mode, queryMode) && fits(modifiers, queryModifiers) && fits(button, queryButton) &&
           fits(keyCode, queryKeyCode);
}

std::int32_t modifiersFromStored(std::int32_t stored) {
    std::int32_t result = 0;
    if (stored & 4)
        result |= kModifierAlt;
    if (stored & 2)
        result |= kModifierCtrl;
    if (stored & 1)
        result |= kModifierShift;
    return result;
}

void InputBindingTable::load(const HotkeySetting& quickSwitch, const HotkeySetting& toolbarSwitch) {
    rows_ = {
        row(L"operator-select-elem", L"click", kAny, kNone, 0, kAny),
        row(L"operator-track-elem", L"mouseover", kModeTrack, kNone, 0, kAny),
        row(L"operator-select-elem", L"click", kModeTrack, kNone, 0, kAny),
        row(L"operator-begin-rect", L"mousedown", kAny, kRight, 0, kAny),
        row(L"operator-track-rect", L"mousemove", kAny, kRight, 0, kAny),
        row(L"operator-select-rect", L"mouseup", kAny, kRight, 0, kAny),
        row(L"operator-begin-rects", L"mousedown", kAny, kRight, kShift, kAny),
        row(L"operator-track-rects", L"mousemove", kAny, kRight, kShift, kAny),
        row(L"operator-select-rects", L"mouseup", kAny, kRight, kShift, kAny),
        row(L"operator-begin-rect", L"mousedown", kModeRect, kLeft, 0, kAny),
        row(L"operator-track-rect", L"mousemove", kModeRect, kLeft, 0, kAny),
        row(L"operator-select-rect", L"mouseup", kModeRect, kLeft, 0, kAny),
        row(L"operator-begin-rects", L"mousedown", kModeRect, kLeft, kShift, kAny),
        row(L"operator-track-rects", L"mousemove", kModeRect, kLeft, kShift, kAny),
        row(L"operator-select-rects", L"mouseup", kModeRect, kLeft, kShift, kAny),
        row(L"operator-select-text", L"mouseup", kModeText, kLeft, kAny, kAny),
        hotkeyRow(L"operator-mode-switch-quick", quickSwitch),
        hotkeyRow(L"command-toolbar-switch-quick", toolbarSwitch),
        key(L"command-undo", kCtrl, 90),
        key(L"command-redo", kCtrl, 89),
        key(L"command-cancel", kAny, 27),
        key(L"command-select-more", kCtrl, 39),
        key(L"command-select-less", kCtrl, 37),
        key(L"command-select-auto", kCtrl, 13),
        key(L"command-select-delete", kAny, 46),
        key(L"command-readable", kCtrlAlt, 82),
        key(L"command-select-grab", kCtrl, 71),
        key(L"command-select-grab-links", kCtrlAlt, 71),
        key(L"command-select-grab-links", kCtrlShift, 71),
        key(L"command-remove-background", kCtrlAlt, 66),
        key(L"command-remove-images", kCtrlAlt, 77),
        key(L"command-change-width/100%", kCtrlAlt, 87),
        key(L"command-font-size/+1", kCtrl, 38),
        key(L"command-font-size/-1", kCtrl, 40),
        key(L"command-print", kCtrl, 80),
        key(L"command-print-preview", kCtrlShift, 80),
        key(L"command-save/tamrix", kCtrl, 83),
        key(L"command-save-test", kCtrlAlt, 83),
        key(L"command-send-onenote", kCtrlAlt, 79),
    };
}

void InputBindingTable::sort() {
    // An exchange sort, not a stable one: the order of rows of equal specificity follows
    // from these swaps, and matching takes the first row that fits.
    for (std::size_t a = 0; a + 1 < rows_.size(); ++a) {
        for (std::size_t i = a + 1; i < rows_.size(); ++i) {
            if (rows_[a].specificity() < rows_[i].specificity())
                std::swap(rows_[a], rows_[i]);
        }
    }
}

std::wstring InputBindingTable::findBoundAction(const std::wstring& event, std::int32_t button,
                                                std::int32_t modifiers, std::int32_t mode,
                                                std::int32_t keyCode) const {
    for (const InputBinding& binding : rows_) {
        if (binding.matches(event, button, modifiers, mode, keyCode, false))
            return binding.action;
    }
    return {};
}

bool InputBindingTable::hasInputBinding(const std::wstring& action, const std::wstring& event,
                                        std::int32_t button, std::int32_t modifiers,
                                        std::int32_t mode, std::int32_t keyCode) const {
    for (const InputBinding& binding : rows_) {
        if (binding.action == action &&
            binding.matches(event, button, modifiers, mode, keyCode, event.empty()))
            return true;
    }
    return false;
}

InputBindingTable& inputBindings() {
    static InputBindingTable table;
    return table;
}

void sortInputBindings() {
    inputBindings().sort();
}

std::wstring findBoundAction(const std::wstring& event, std::int32_t button, std::int32_t modifiers,
                             std::int32_t mode, std::int32_t keyCode) {
    return inputBindings().findBoundAction(event, button, modifiers, mode, keyCode);
}

bool hasInputBinding(const std::wstring& action, const std::wstring& event, std::int32_t button,
                     std::int32_t modifiers, std::int32_t mode, std::int32_t keyCode) {
    return inputBindings().hasInputBinding(action, event, button, modifiers, mode, keyCode);
}

}  // namespace addon
