#include "platform/ui/dialog_driver.h"

#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

namespace platform::ui {

namespace {

[[noreturn]] void fail(const std::string& what, int id) {
    throw ScriptError(what + " (control " + std::to_string(id) + ")");
}

}  // namespace

ControlState DialogDriver::usable(int id) const {
    if (dialog_.ended())
        fail("the dialog has already ended", id);
    const HWND control = dialog_.item(id);
    if (!control)
        fail("no such control in dialog " + std::to_string(templateId()), id);
    if (!windows().isVisible(control))
        fail("the control is hidden", id);
    if (!windows().isEnabled(control))
        fail("the control is disabled", id);
    return windows().control(control).value_or(ControlState{});
}

void DialogDriver::type(int id, const std::wstring& text) {
    const ControlState state = usable(id);
    if (state.kind != ControlKind::edit && state.kind != ControlKind::comboBox)
        fail("typing needs an edit or an editable combo box", id);
    windows().setText(dialog_.item(id), text);
    windows().setFocus(dialog_.item(id));
    if (state.kind == ControlKind::edit) {
        dialog_.notifyCommand(id, EN_CHANGE);
    } else {
        windows().updateControl(dialog_.item(id), [&](ControlState& combo) {
            combo.selection = -1;
            for (std::size_t i = 0; i < combo.rows.size(); ++i)
                if (combo.rows[i].text() == text)
                    combo.selection = static_cast<int>(i);
        });
        dialog_.notifyCommand(id, CBN_EDITCHANGE);
    }
}

void DialogDriver::click(int id) {
    const ControlState state = usable(id);
    switch (state.kind) {
        case ControlKind::pushButton:
            break;
        case ControlKind::checkBox:
            dialog_.setCheckState(id, state.check == 1 ? 0 : 1);
            break;
        case ControlKind::radioButton: {
            // The group: the run of radio buttons around this one, cut at a group start.
            const auto siblings = windows().children(dialog_.handle());
            std::size_t self = 0;
            while (self < siblings.size() && siblings[self] != dialog_.item(id))
                ++self;
            auto isRadio = [&](std::size_t i) {
                const auto other = windows().control(siblings[i]);
                return other && other->kind == ControlKind::radioButton;
            };
            std::size_t first = self;
            while (first > 0 && isRadio(first - 1) &&
                   !windows().control(siblings[first])->groupStart)
                --first;
            std::size_t last = self;
            while (last + 1 < siblings.size() && isRadio(last + 1) &&
                   !windows().control(siblings[last + 1])->groupStart)
                ++last;
            for (std::size_t i = first; i <= last; ++i)
                windows().updateControl(siblings[i],
                                        [&](ControlState& radio) { radio.check = i == self; });
            break;
        }
        default:
            fail("clicking needs a button", id);
    }
    windows().setFocus(dialog_.item(id));
    dialog_.notifyCommand(id, BN_CLICKED);
}

void DialogDriver::setChecked(int id, bool checked) {
    if (dialog_.isChecked(id) != checked)
        click(id);
}

void DialogDriver::choose(int id, const std::wstring& text) {
    const int row = dialog_.findExactRow(id, text);
    if (row < 0)
        fail("no row \"" + platform::text::toUtf8(text) + "\"", id);
    chooseRow(id, row);
}

void DialogDriver::chooseRow(int id, int row) {
    const ControlState state = usable(id);
    if (row < 0 || row >= static_cast<int>(state.rows.size()))
        fail("no such row", id);
    dialog_.setSelection(id, row);
    windows().setFocus(dialog_.item(id));
    switch (state.kind) {
        case ControlKind::listBox:
            dialog_.notifyCommand(id, LBN_SELCHANGE);
            break;
        case ControlKind::comboBox:
        case ControlKind::dropDownList:
            dialog_.notifyCommand(id, CBN_SELCHANGE);
            break;
        case ControlKind::listView:
            dialog_.notify(id, LVN_ITEMCHANGED);
            break;
        default:
            fail("choosing needs a list", id);
    }
}

void DialogDriver::tickRow(int id, int row, bool checked) {
    const ControlState state = usable(id);
    if (state.kind != ControlKind::listView)
        fail("ticking rows needs a list view", id);
    if (row < 0 || row >= static_cast<int>(state.rows.size()))
        fail("no such row", id);
    dialog_.setRowChecked(id, row, checked);
    dialog_.notify(id, LVN_ITEMCHANGED);
}

void DialogDriver::doubleClick(int id, int row) {
    const ControlState state = usable(id);
    chooseRow(id, row);
    if (state.kind == ControlKind::listBox)
        dialog_.notifyCommand(id, LBN_DBLCLK);
    else
        dialog_.notify(id, NM_DBLCLK);
}

void DialogDriver::notify(int id, int code) {
    usable(id);
    dialog_.notify(id, code);
}

void DialogDriver::close() {
    if (dialog_.ended())
        throw ScriptError("the dialog has already ended");
    windows().send(dialog_.handle(), WM_CLOSE);
}

std::vector<std::wstring> DialogDriver::rowTexts(int id, int column) const {
    std::vector<std::wstring> texts;
    const int count = dialog_.rowCount(id);
    for (int i = 0; i < count; ++i)
        texts.push_back(dialog_.rowText(id, i, column));
    return texts;
}

bool DialogDriver::waitUntilEnded(std::chrono::milliseconds limit) {
    return windows().pumpUntil([this] { return dialog_.ended(); }, limit);
}

}  // namespace platform::ui
