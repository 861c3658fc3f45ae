// The context menus of the repository pages in a pane: a right-click on a list item of an
// entry ("@item/<id or guid>"), folder ("@folder/<name>"), category ("@category/<path>")
// or site ("@site/<host>") shows that item's menu and runs the chosen command against the
// repository, opens addresses through the plug-in's PostNavigate, opens the plug-in's
// dialogs, or copies the entry to the clipboard.
//
// Contract: user-interface thread only. Every repository failure ends the command quietly
// (the repository functions report it); an entry deleted meanwhile gets no menu. Nothing
// throws except std::bad_alloc.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/types.h"
#include "plugin/module/plugin_interface.h"
#include "plugin/repository/entry_record.h"

namespace platform::dom {
class Event;
}  // namespace platform::dom

namespace platform::ui {
class Menu;
}  // namespace platform::ui

namespace plugin {

// Command ids of the menus.
namespace menu_command {
inline constexpr platform::ui::UINT kOpen = 32903;
inline constexpr platform::ui::UINT kOpenInNewTab = 32904;
inline constexpr platform::ui::UINT kOpenInNewWindow = 32926;
inline constexpr platform::ui::UINT kOpenSource = 32923;
inline constexpr platform::ui::UINT kOpenWebsite = 32928;
inline constexpr platform::ui::UINT kFolder = 33078;
inline constexpr platform::ui::UINT kCopy = 32905;
inline constexpr platform::ui::UINT kDelete = 32910;
inline constexpr platform::ui::UINT kRename = 32912;
inline constexpr platform::ui::UINT kEdit = 32916;
inline constexpr platform::ui::UINT kExport = 33100;
inline constexpr platform::ui::UINT kMoveTo = 33101;
inline constexpr platform::ui::UINT kCategory = 33102;
inline constexpr platform::ui::UINT kMode = 33103;
inline constexpr platform::ui::UINT kModeTwo = 33093;
inline constexpr platform::ui::UINT kModeOne = 33094;
inline constexpr platform::ui::UINT kModeZero = 33095;
inline constexpr platform::ui::UINT kFirstCategory = 2000;
inline constexpr platform::ui::UINT kNoFolder = 2998;
inline constexpr platform::ui::UINT kNewFolder = 2999;
inline constexpr platform::ui::UINT kFirstFolder = 3000;
}  // namespace menu_command

class ContextMenu {
  public:
    // `plugin` opens addresses (PostNavigate); `host` owns the menus and dialogs.
    ContextMenu(IPluginInterface& plugin, platform::ui::HWND host);

    // Shows the menu of the list item under the event's source element at the event's
    // screen position and runs the chosen command. Returns 0.
    int show(const platform::dom::Event& event);

  private:
    void showItemMenu(const std::wstring& key, platform::ui::Point at);
    void showCategoryMenu(const std::wstring& key, platform::ui::Point at);
    void showFolderMenu(const std::wstring& key, platform::ui::Point at);
    void showSiteMenu(const std::wstring& key, platform::ui::Point at);

    // Translates the menu with `section`, drops the new-tab and new-window items and
    // returns the chosen command (0 when dismissed).
    platform::ui::UINT choose(platform::ui::Menu& menu, const std::wstring& section,
                              platform::ui::Point at);
    // Runs the open commands (same, new tab, new window) for `address`; false for any
    // other command.
    bool open(platform::ui::UINT command, const std::wstring& address);
    void exportScope(const std::wstring& key, int scope, int count);
    void editEntry(EntryRecord entry);

    IPluginInterface& plugin_;
    platform::ui::HWND host_;
    std::vector<std::wstring> folders_;
    std::vector<std::wstring> categories_;
};

}  // namespace plugin
