// The add-on's use of the language table (common/language): the language files on offer,
// the choice menus of the toolbar menu, and the message box through which every box of
// the add-on goes (caption and text translated in the "Message" section, an empty caption
// shown as the product display name).
//
// Contract: the user-interface thread (the table is filled and read there). showMessage
// is also safe from a worker thread once start-up has filled the table. Missing files,
// sections or items leave texts in English; nothing is reported.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/types.h"

namespace addon {

inline constexpr const wchar_t* kProductDisplayName = L"Tamrix for IE";

// The titles (file names without ".xml") of the "*.xml" files in `folder` (default: the
// "languages" data folder), in the order the folder lists them.
std::vector<std::wstring> listLanguageFiles();
std::vector<std::wstring> listLanguageFiles(const std::wstring& folder);

// A popup menu with one item per name: "-----" becomes a separator, every other name a
// string item with command id firstId + its index, checked when it equals `current`.
// Null for an empty list.
std::unique_ptr<platform::ui::Menu> buildChoiceMenu(const std::vector<std::wstring>& names,
                                                    const std::wstring& current,
                                                    platform::ui::UINT firstId);

// Shows a message box through the process's presenter; returns the button pressed.
int showMessage(platform::ui::HWND owner, const std::wstring& caption, const std::wstring& text,
                platform::ui::UINT flags);

// Routes common::errorBox, infoBox and askBox through showMessage until the returned
// scope ends (then the former presenter is back).
class MessageBoxRouting {
  public:
    MessageBoxRouting();
    ~MessageBoxRouting();
    MessageBoxRouting(const MessageBoxRouting&) = delete;
    MessageBoxRouting& operator=(const MessageBoxRouting&) = delete;

  private:
    struct Former;
    std::unique_ptr<Former> former_;
};

}  // namespace addon
