#include "addon/shell/localization.h"

#include <filesystem>

#include "addon/shell/data_folders.h"
#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace ui = platform::ui;

std::vector<std::wstring> listLanguageFiles() {
    return listLanguageFiles(resolveDataFolder(L"languages"));
}

std::vector<std::wstring> listLanguageFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    if (folder.empty())
        return names;
    std::error_code error;
    std::filesystem::directory_iterator entries(platform::text::toUtf8(folder), error);
    if (error)
        return names;
    for (const auto& entry : entries) {
        const std::filesystem::path& file = entry.path();
        if (file.extension() == ".xml" && entry.is_regular_file(error))
            names.push_back(platform::text::fromUtf8(file.stem().string()));
    }
    return names;
}

std::unique_ptr<ui::Menu> buildChoiceMenu(const std::vector<std::wstring>& names,
                                          const std::wstring& current, ui::UINT firstId) {
    if (names.empty())
        return nullptr;
    auto menu = std::make_unique<ui::Menu>();
    for (std::size_t index = 0; index < names.size(); ++index) {
        const ui::UINT id = firstId + static_cast<ui::UINT>(index);
        if (names[index] == L"-----") {
            menu->appendSeparator();
            continue;
        }
        menu->appendString(id, names[index]);
        if (names[index] == current)
            menu->check(id, true);
    }
    return menu;
}

int showMessage(ui::HWND owner, const std::wstring& caption, const std::wstring& text,
                ui::UINT flags) {
    const common::LanguageTable& table = common::languageTable();
    const std::wstring shownCaption =
        table.translate(L"Message", caption.empty() ? kProductDisplayName : caption);
    return ui::messageBox(owner, table.translate(L"Message", text), shownCaption, flags);
}

struct MessageBoxRouting::Former {
    common::MessageBoxPresenter presenter;
};

MessageBoxRouting::MessageBoxRouting() : former_(std::make_unique<Former>()) {
    former_->presenter = common::setMessageBoxPresenter(
        [](ui::HWND owner, const std::wstring& text, const std::wstring& caption, ui::UINT flags) {
            return showMessage(owner, caption, text, flags);
        });
}

MessageBoxRouting::~MessageBoxRouting() {
    common::setMessageBoxPresenter(std::move(former_->presenter));
}

}  // namespace addon
