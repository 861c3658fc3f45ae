#include "platform/ui/dialog.h"

#include <algorithm>

#include "platform/ui/dialog_driver.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"

namespace platform::ui {

namespace {

const wchar_t* classNameOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::pushButton:
        case ControlKind::checkBox:
        case ControlKind::radioButton:
        case ControlKind::groupBox:
            return L"Button";
        case ControlKind::edit:
            return L"Edit";
        case ControlKind::comboBox:
        case ControlKind::dropDownList:
            return L"ComboBox";
        case ControlKind::listBox:
            return L"ListBox";
        case ControlKind::listView:
            return L"SysListView32";
        case ControlKind::progressBar:
            return L"msctls_progress32";
        case ControlKind::staticText:
        case ControlKind::none:
            break;
    }
    return L"Static";
}

bool isComboBox(ControlKind kind) {
    return kind == ControlKind::comboBox || kind == ControlKind::dropDownList;
}

}  // namespace

Rect dialogUnitsToPixels(Rect bounds) {
    return {bounds.left * 3 / 2, bounds.top * 13 / 8, bounds.right * 3 / 2, bounds.bottom * 13 / 8};
}

Dialog::Dialog(DialogTemplate definition) : definition_(std::move(definition)) {}

Dialog::~Dialog() {
    destroy();
}

HWND Dialog::create(HWND owner) {
    destroy();
    ended_ = false;
    result_ = 0;
    WindowSystem& system = windows();
    WindowSpec spec;
    spec.className = L"#32770";
    spec.title = definition_.caption;
    spec.owner = owner;
    spec.rect = dialogUnitsToPixels({0, 0, definition_.width, definition_.height});
    spec.visible = false;
    spec.proc = [this](const Message& message) { return handle(message); };
    window_ = system.createWindow(std::move(spec));
    for (const ControlTemplate& control : definition_.controls) {
        WindowSpec child;
        child.className = classNameOf(control.kind);
        child.title = control.kind == ControlKind::dropDownList ? std::wstring{} : control.text;
        child.parent = window_;
        child.rect = dialogUnitsToPixels(control.bounds);
        child.visible = !control.hidden;
        child.enabled = !control.disabled;
        child.controlId = control.id;
        child.control.kind = control.kind;
        child.control.defaultButton = control.defaultButton;
        child.control.groupStart = control.groupStart;
        system.createWindow(std::move(child));
    }
    centerWindow(window_);
    system.send(window_, WM_INITDIALOG);
    return window_;
}

void Dialog::destroy() {
    if (window_)
        windows().destroyWindow(window_);
    window_ = HWND{};
}

int Dialog::doModal(HWND owner) {
    WindowSystem& system = windows();
    create(owner);
    const bool ownerWasEnabled = owner && system.isEnabled(owner);
    if (!ended_) {
        system.show(window_, true);
        system.setActive(window_);
        if (owner)
            system.enable(owner, false);
        try {
            DialogDriver driver(*this);
            presenter()->runModal(driver);
            // Without a person, only timers can still end the dialog: wait while it has any.
            // A dialog that stopped its timers without ending (its work done, its result
            // shown) is left to the cancel below at once.
            if (!ended_ && system.hasTimers(window_))
                system.pumpUntil([this, &system] { return ended_ || !system.hasTimers(window_); },
                                 kModalWaitLimit);
        } catch (...) {
            if (ownerWasEnabled)
                system.enable(owner, true);
            destroy();
            system.setActive(owner);
            throw;
        }
    }
    if (!ended_)
        endDialog(IDCANCEL);
    if (ownerWasEnabled)
        system.enable(owner, true);
    destroy();
    system.setActive(owner);
    return result_;
}

void Dialog::endDialog(int result) {
    if (ended_)
        return;
    ended_ = true;
    result_ = result;
    windows().show(window_, false);
}

HWND Dialog::item(int id) const {
    return windows().childById(window_, id);
}

std::wstring Dialog::caption() const {
    return windows().text(window_);
}

void Dialog::setCaption(const std::wstring& text) {
    windows().setText(window_, text);
}

std::wstring Dialog::itemText(int id) const {
    return windows().text(item(id));
}

void Dialog::setItemText(int id, const std::wstring& text) {
    const HWND control = item(id);
    windows().setText(control, text);
    changeControl(id, [&](ControlState& state) {
        if (isComboBox(state.kind)) {
            const auto row = std::find_if(state.rows.begin(), state.rows.end(),
                                          [&](const ListRow& r) { return r.text() == text; });
            state.selection =
                row == state.rows.end() ? -1 : static_cast<int>(row - state.rows.begin());
        }
    });
}

bool Dialog::isItemEnabled(int id) const {
    return windows().isEnabled(item(id));
}

void Dialog::enableItem(int id, bool enabled) {
    windows().enable(item(id), enabled);
}

bool Dialog::isItemVisible(int id) const {
    return windows().isVisible(item(id));
}

void Dialog::showItem(int id, bool visible) {
    windows().show(item(id), visible);
}

void Dialog::setFocusItem(int id) {
    if (const HWND control = item(id))
        windows().setFocus(control);
}

int Dialog::focusItem() const {
    const HWND focused = windows().focus();
    return focused && windows().parent(focused) == window_ ? windows().controlId(focused) : 0;
}

ControlState Dialog::controlOf(int id) const {
    return windows().control(item(id)).value_or(ControlState{});
}

void Dialog::changeControl(int id, const std::function<void(ControlState&)>& change) {
    windows().updateControl(item(id), change);
}

int Dialog::checkState(int id) const {
    return controlOf(id).check;
}

void Dialog::setCheckState(int id, int state) {
    changeControl(id, [state](ControlState& control) { control.check = state; });
}

void Dialog::checkRadioButton(int first, int last, int id) {
    for (int each = first; each <= last; ++each)
        setCheckState(each, each == id ? 1 : 0);
}

void Dialog::clearRows(int id) {
    changeControl(id, [](ControlState& state) {
        state.rows.clear();
        state.selection = -1;
    });
}

int Dialog::addRow(int id, const std::wstring& text) {
    return insertRow(id, -1, ListRow{{text}});
}

int Dialog::insertRow(int id, int index, ListRow row) {
    int at = -1;
    changeControl(id, [&](ControlState& state) {
        const int count = static_cast<int>(state.rows.size());
        at = index < 0 || index > count ? count : index;
        state.rows.insert(state.rows.begin() + at, std::move(row));
        if (state.selection >= at)
            ++state.selection;
    });
    return at;
}

bool Dialog::deleteRow(int id, int index) {
    bool removed = false;
    changeControl(id, [&](ControlState& state) {
        if (index < 0 || index >= static_cast<int>(state.rows.size()))
            return;
        state.rows.erase(state.rows.begin() + index);
        if (state.selection == index)
            state.selection = -1;
        else if (state.selection > index)
            --state.selection;
        removed = true;
    });
    return removed;
}

std::vector<ListRow> Dialog::rows(int id) const {
    return controlOf(id).rows;
}

int Dialog::rowCount(int id) const {
    return static_cast<int>(controlOf(id).rows.size());
}

std::wstring Dialog::rowText(int id, int index, int column) const {
    const auto all = rows(id);
    if (index < 0 || index >= static_cast<int>(all.size()) || column < 0)
        return {};
    const auto& texts = all[static_cast<std::size_t>(index)].texts;
    return column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)]
                                                   : std::wstring{};
}

bool Dialog::setRowText(int id, int index, int column, const std::wstring& text) {
    bool set = false;
    changeControl(id, [&](ControlState& state) {
        if (index < 0 || index >= static_cast<int>(state.rows.size()) || column < 0)
            return;
        auto& texts = state.rows[static_cast<std::size_t>(index)].texts;
        if (static_cast<int>(texts.size()) <= column)
            texts.resize(column + 1);
        texts[static_cast<std::size_t>(column)] = text;
        set = true;
    });
    return set;
}

int Dialog::findExactRow(int id, const std::wstring& text, int start) const {
    const auto all = rows(id);
    for (int i = std::max(0, start + 1); i < static_cast<int>(all.size()); ++i)
        if (all[static_cast<std::size_t>(i)].text() == text)
            return i;
    return -1;
}

int Dialog::selection(int id) const {
    return controlOf(id).selection;
}

void Dialog::setSelection(int id, int index) {
    std::wstring shown;
    bool combo = false;
    changeControl(id, [&](ControlState& state) {
        state.selection = index >= 0 && index < static_cast<int>(state.rows.size()) ? index : -1;
        combo = isComboBox(state.kind);
        if (state.selection >= 0)
            shown = state.rows[static_cast<std::size_t>(index)].text();
    });
    if (combo)
        windows().setText(item(id), shown);
}

bool Dialog::isRowChecked(int id, int index) const {
    const auto all = rows(id);
    return index >= 0 && index < static_cast<int>(all.size()) &&
           all[static_cast<std::size_t>(index)].checked;
}

void Dialog::setRowChecked(int id, int index, bool checked) {
    changeControl(id, [&](ControlState& state) {
        if (index >= 0 && index < static_cast<int>(state.rows.size()))
            state.rows[static_cast<std::size_t>(index)].checked = checked;
    });
}

void Dialog::setColumns(int id, std::vector<std::wstring> titles) {
    changeControl(id, [&](ControlState& state) { state.columns = std::move(titles); });
}

void Dialog::setProgressRange(int id, int minimum, int maximum) {
    changeControl(id, [&](ControlState& state) {
        state.rangeMin = minimum;
        state.rangeMax = maximum;
        state.position = std::clamp(state.position, minimum, std::max(minimum, maximum));
    });
}

void Dialog::setProgressPosition(int id, int position) {
    changeControl(id, [&](ControlState& state) {
        state.position =
            std::clamp(position, state.rangeMin, std::max(state.rangeMin, state.rangeMax));
    });
}

int Dialog::progressPosition(int id) const {
    return controlOf(id).position;
}

bool Dialog::setTimer(std::uintptr_t id, std::chrono::milliseconds period) {
    return windows().setTimer(window_, id, period);
}

void Dialog::killTimer(std::uintptr_t id) {
    windows().killTimer(window_, id);
}

void Dialog::notifyCommand(int id, UINT code) {
    windows().send(window_, WM_COMMAND, makeWParam(static_cast<unsigned>(id), code),
                   static_cast<LPARAM>(item(id).value));
}

void Dialog::notify(int id, int code) {
    windows().send(window_, WM_NOTIFY, static_cast<WPARAM>(id), static_cast<LPARAM>(code));
}

void Dialog::onCommand(int id, UINT code) {
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL))
        endDialog(id);
}

LRESULT Dialog::handle(const Message& message) {
    switch (message.id) {
        case WM_INITDIALOG:
            onInit();
            return 1;
        case WM_COMMAND:
            onCommand(static_cast<int>(static_cast<std::int16_t>(lowWord(message.wParam))),
                      highWord(message.wParam));
            return 0;
        case WM_NOTIFY:
            onNotify(static_cast<int>(message.wParam), static_cast<int>(message.lParam));
            return 0;
        case WM_TIMER:
            onTimer(message.wParam);
            return 0;
        case WM_CLOSE:
            onCommand(IDCANCEL, BN_CLICKED);
            return 0;
        default:
            return onMessage(message);
    }
}

}  // namespace platform::ui
