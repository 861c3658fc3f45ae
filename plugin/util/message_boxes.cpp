#include "plugin/util/message_boxes.h"

#include "common/language/language_table.h"
#include "platform/ui/presenter.h"

namespace plugin {

namespace ui = platform::ui;

int showMessage(ui::HWND owner, const std::wstring& text, const std::wstring& caption,
                ui::UINT flags) {
    const common::LanguageTable& table = common::languageTable();
    const std::wstring shownCaption =
        table.translate(L"Message", caption.empty() ? kProductDisplayName : caption);
    return ui::messageBox(owner, table.translate(L"Message", text), shownCaption, flags);
}

void errorBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    showMessage(owner, text, caption, ui::MB_ICONERROR);
}

void infoBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    showMessage(owner, text, caption, ui::MB_ICONINFORMATION);
}

int askBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    return showMessage(owner, text, caption, ui::MB_ICONINFORMATION | ui::MB_YESNOCANCEL);
}

}  // namespace plugin
