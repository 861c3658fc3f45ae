#include "host/dialog_answer.h"

#include <cwctype>

#include "host/words.h"
#include "platform/text/utf.h"
#include "platform/ui/dialog.h"

namespace host {
namespace {

using platform::ui::ControlKind;
using platform::ui::ControlTemplate;
using platform::ui::DialogDriver;
using platform::ui::ScriptError;

bool takesValue(ControlKind kind) {
    return kind == ControlKind::edit || kind == ControlKind::comboBox ||
           kind == ControlKind::dropDownList || kind == ControlKind::listBox ||
           kind == ControlKind::listView || kind == ControlKind::checkBox;
}

bool clickable(ControlKind kind) {
    return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
           kind == ControlKind::radioButton;
}

// The control a label names: the field after a static label of that text, or a control
// whose own text it is.
const ControlTemplate* controlNamed(const DialogDriver& dialog, const std::wstring& name,
                                    bool wantValue) {
    const auto& controls = const_cast<DialogDriver&>(dialog).dialog().definition().controls;
    if (name.size() > 1 && name[0] == L'#' &&
        name.find_first_not_of(L"0123456789", 1) == std::wstring::npos) {
        const int id = std::stoi(name.substr(1));
        for (const ControlTemplate& control : controls) {
            if (control.id == id) {
                return &control;
            }
        }
        return nullptr;
    }
    const std::wstring wanted = plainLabel(name);
    for (std::size_t at = 0; at < controls.size(); ++at) {
        const ControlTemplate& control = controls[at];
        const std::wstring shown =
            control.id == platform::ui::IDC_STATIC ? control.text : dialog.text(control.id);
        const bool named = plainLabel(control.text) == wanted || plainLabel(shown) == wanted;
        if (!named) {
            continue;
        }
        if (control.kind == ControlKind::staticText) {
            for (std::size_t next = at + 1; next < controls.size(); ++next) {
                if (controls[next].id != platform::ui::IDC_STATIC &&
                    takesValue(controls[next].kind)) {
                    return &controls[next];
                }
                if (controls[next].kind == ControlKind::staticText) {
                    break;
                }
            }
            continue;
        }
        if (wantValue ? takesValue(control.kind) : clickable(control.kind)) {
            return &control;
        }
    }
    return nullptr;
}

bool isOn(const std::wstring& value) {
    const std::wstring word = plainLabel(value);
    if (word == L"on" || word == L"yes" || word == L"1" || word == L"true") {
        return true;
    }
    if (word == L"off" || word == L"no" || word == L"0" || word == L"false") {
        return false;
    }
    throw ScriptError("a check box takes on or off, not \"" + platform::text::toUtf8(value) + "\"");
}

// The row a person means by `value`: the row of that text, else the one row of that text
// in any case, else the one row that holds it.
std::wstring rowMeant(const std::vector<std::wstring>& rows, const std::wstring& value) {
    const auto lowered = [](std::wstring text) {
        for (wchar_t& c : text) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
        return text;
    };
    std::vector<std::wstring> same;
    std::vector<std::wstring> holding;
    for (const std::wstring& row : rows) {
        if (row == value) {
            return row;
        }
        if (lowered(row) == lowered(value)) {
            same.push_back(row);
        } else if (lowered(row).find(lowered(value)) != std::wstring::npos) {
            holding.push_back(row);
        }
    }
    if (same.size() == 1) {
        return same[0];
    }
    if (same.empty() && holding.size() == 1) {
        return holding[0];
    }
    std::string offered;
    for (const std::wstring& row : rows) {
        offered += (offered.empty() ? "\"" : ", \"") + platform::text::toUtf8(row) + "\"";
    }
    throw ScriptError("no single row \"" + platform::text::toUtf8(value) + "\" among " + offered);
}

void setValue(DialogDriver& dialog, const ControlTemplate& control, const std::wstring& value) {
    switch (control.kind) {
        case ControlKind::checkBox:
            dialog.setChecked(control.id, isOn(value));
            return;
        case ControlKind::comboBox: {
            for (const std::wstring& row : dialog.rowTexts(control.id)) {
                if (row == value) {
                    dialog.choose(control.id, value);
                    return;
                }
            }
            dialog.type(control.id, value);
            return;
        }
        case ControlKind::dropDownList:
        case ControlKind::listBox:
        case ControlKind::listView:
            dialog.choose(control.id, rowMeant(dialog.rowTexts(control.id), value));
            return;
        default:
            dialog.type(control.id, value);
    }
}

}  // namespace

std::vector<std::wstring> splitFields(const std::wstring& text) {
    std::vector<std::wstring> fields(1);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (c == L'\\' && at + 1 < text.size() && (text[at + 1] == L'|' || text[at + 1] == L'\\')) {
            fields.back() += text[++at];
        } else if (c == L'|') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    for (std::wstring& field : fields) {
        field = trimmed(field);
    }
    return fields;
}

std::wstring plainLabel(const std::wstring& text) {
    std::wstring plain;
    for (const wchar_t c : text.substr(0, text.find(L'\t'))) {
        if (c != L'&') {
            plain += static_cast<wchar_t>(std::towlower(c));
        }
    }
    while (!plain.empty() && (plain.back() == L'.' || plain.back() == L' ' ||
                              plain.back() == L':' || plain.back() == L'\u2026')) {
        plain.pop_back();
    }
    const auto first = plain.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : plain.substr(first);
}

bool DialogAnswer::fill(DialogDriver& dialog) const {
    // Without an order of its own, the dialog's fields that a person can fill, top to
    // bottom as its definition lists them, take the values given without a name.
    std::vector<std::wstring> order = positional;
    if (order.empty()) {
        for (const ControlTemplate& control : dialog.dialog().definition().controls) {
            if (control.id != platform::ui::IDC_STATIC && takesValue(control.kind) &&
                control.kind != ControlKind::checkBox && dialog.enabled(control.id) &&
                dialog.visible(control.id)) {
                order.push_back(L"#" + std::to_wstring(control.id));
            }
        }
    }
    std::size_t nextPosition = 0;
    bool pushed = false;
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const std::wstring& field = fields[index];
        const auto equals = field.find(L'=');
        if (equals != std::wstring::npos) {
            if (const ControlTemplate* control =
                    controlNamed(dialog, trimmed(field.substr(0, equals)), true)) {
                setValue(dialog, *control, trimmed(field.substr(equals + 1)));
                continue;
            }
            if (positional.empty()) {
                throw ScriptError("the dialog has no field \"" +
                                  platform::text::toUtf8(trimmed(field.substr(0, equals))) + "\"");
            }
        }
        if (positional.empty() && controlNamed(dialog, field, false)) {
            // A button's text given where a value could go: the button is meant.
        } else if (nextPosition < order.size()) {
            const std::wstring& label = order[nextPosition++];
            if (!field.empty()) {
                const ControlTemplate* control = controlNamed(dialog, label, true);
                if (!control) {
                    throw ScriptError("the dialog has no field \"" + platform::text::toUtf8(label) +
                                      "\"");
                }
                setValue(dialog, *control, field);
            }
            continue;
        }
        if (field.empty()) {
            continue;
        }
        const ControlTemplate* control = controlNamed(dialog, field, false);
        if (!control) {
            throw ScriptError("the dialog has no field or button \"" +
                              platform::text::toUtf8(field) + "\"");
        }
        dialog.click(control->id);
        pushed = pushed || control->kind == ControlKind::pushButton;
        if (dialog.ended()) {
            return true;
        }
    }
    return pushed;
}

}  // namespace host
