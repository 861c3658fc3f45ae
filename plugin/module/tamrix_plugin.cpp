#include "plugin/module/tamrix_plugin.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/dom/element.h"
#include "platform/dom/events/event.h"
#include "platform/dom/tag_names.h"
#include "platform/ui/menu.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/export/exports.h"
#include "plugin/export_dialogs/export_dialogs.h"
#include "plugin/menus/context_menu.h"
#include "plugin/menus/list_path.h"
#include "plugin/module/plugin_identity.h"
#include "plugin/module/plugin_library.h"
#include "plugin/module/repository_stamp.h"
#include "plugin/module/script_interfaces.h"
#include "plugin/module/web_page.h"
#include "plugin/repository/repository.h"
#include "plugin/sync/sync_dialog.h"

namespace plugin {

namespace {

// The events this object handles.
constexpr std::array<const wchar_t*, 11> kEvents = {
    L"OnDocumentEvent", L"OnSetting", L"OnRefresh", L"OnExport",          L"OnTimer",
    L"OnTimer2",        L"OnSync",    L"OnResync",  L"OnBeforeNavigate2", L"OnNavigateComplete2",
    L"OnQuit"};

// The newest entries a pane's export takes.
constexpr int kPaneExportCount = 20;

constexpr platform::ui::UINT kRefreshCommand = 33084;
constexpr platform::ui::UINT kSyncCommand = 33085;
constexpr platform::ui::UINT kExportCommand = 33097;
constexpr platform::ui::UINT kPropertiesCommand = 33088;
constexpr platform::ui::UINT kSettingCommand = 33077;

}  // namespace

TamrixPlugin::TamrixPlugin(HWND host, SiteRef site)
    : sync_(host, [this](const std::wstring& text) { postSyncStatus(text); }) {
    Initialize(host, std::move(site));
}

TamrixPlugin::~TamrixPlugin() {
    // The worker is stopped and joined by the controller's destructor; a status it posts
    // meanwhile would wait for this (blocked) thread to take the host's message.
    closing_ = true;
}

std::wstring TamrixPlugin::GetName() {
    return kPluginName;
}
std::wstring TamrixPlugin::GetVersion() {
    return kPluginVersion;
}

bool TamrixPlugin::HasEvent(const std::wstring& name) {
    return std::find(kEvents.begin(), kEvents.end(), name) != kEvents.end();
}

bool TamrixPlugin::reloadPage() {
    const auto browser = site_.as<IDocumentBrowser>();
    platform::com::ComPtr<platform::com::IUnknown> document;
    if (!browser || platform::com::FAILED(browser->get_Document(&document)))
        return false;
    CWebPage page;
    page.SetDocument(document);
    return page.CallScript(L"_reload", nullptr);
}

int TamrixPlugin::OnTimer(bool* handled) {
    *handled = true;
    const std::wstring stamp = fileStamp(repositoryPath());
    if (lastStamp_.empty()) {
        lastStamp_ = stamp;
        return -1;
    }
    if (lastStamp_ == stamp)
        return -1;
    reloadPage();
    lastStamp_ = stamp;
    return 0;
}

int TamrixPlugin::OnRefresh(bool* handled) {
    *handled = true;
    reloadPage();
    lastStamp_ = fileStamp(repositoryPath());
    return 0;
}

int TamrixPlugin::OnSetting(int left, int top, int /*right*/, int /*bottom*/, bool* handled) {
    platform::ui::Menu menu;
    menu.appendString(kRefreshCommand, L"Refresh");
    menu.appendString(kSyncCommand, L"Sync...");
    menu.appendString(kExportCommand, L"Export");
    menu.appendSeparator();
    menu.appendString(kPropertiesCommand, L"Properties");
    menu.appendString(kSettingCommand, L"Setting...");
    localizeMenu(menu, L"Menu::Tamrix");
    const platform::ui::UINT chosen = platform::ui::trackPopupMenu(
        menu, platform::ui::TPM_RETURNCMD, platform::ui::Point{left, top}, host_);
    if (chosen == kRefreshCommand)
        return OnRefresh(handled);
    if (chosen == kSyncCommand) {
        if (OnSync(handled) == -1)
            postSyncStatus(sync_status::kStillRunning);
        return 0;
    }
    if (chosen == kExportCommand) {
        ExportDialog dialog(L"", kScopeLatest, kPaneExportCount);
        dialog.doModal(platform::ui::windows().active());
        *handled = true;
        return 0;
    }
    if (chosen == kPropertiesCommand) {
        SyncDialog dialog;
        dialog.doModal(host_);
        *handled = true;
        return 0;
    }
    if (chosen == kSettingCommand) {
        *handled = true;
        return 1;
    }
    return 0;
}

int TamrixPlugin::OnDocumentEvent(platform::dom::Event& event, bool* /*handled*/) {
    if (!event.srcElement)
        return -1;
    if (platform::dom::equalsIgnoringCase(event.srcElement->tagName(), L"input"))
        return 1;
    if (event.type == L"mouseover")
        return showEntryAddress(listItemPath(event.srcElement));
    if (event.type == L"contextmenu") {
        const int result = ShowContextMenu(event);
        event.cancelBubble = true;
        event.returnValue = platform::com::Variant::fromBool(false);
        return result;
    }
    if (event.type == L"dragleave") {
        event.cancelBubble = true;
        event.returnValue = platform::com::Variant::fromBool(false);
    }
    return 0;
}

int TamrixPlugin::ShowContextMenu(const platform::dom::Event& event) {
    ContextMenu menu(*this, host_);
    return menu.show(event);
}

int TamrixPlugin::showEntryAddress(const std::wstring& path) {
    const ListPath parts = splitListPath(path);
    EntryRecord entry;
    if (parts.prefix != L"@item" || parts.key.empty() || !readEntry(parts.key, entry))
        return -1;
    PostStatusText(entry.url);
    return 0;
}

int TamrixPlugin::OnTimer2(bool* handled) {
    *handled = true;
    reloadLanguage();
    return sync_.onTimer2();
}

int TamrixPlugin::OnExport(const std::wstring& output, int format, bool* handled) {
    *handled = true;
    ExportControl control;
    if (exportLatest(L"", output, kPaneExportCount, format, &control) == 0)
        return 0;
    showError(L"The export failed.", control.error);
    return -1;
}

int TamrixPlugin::OnSync(bool* handled) {
    *handled = true;
    reloadLanguage();
    return sync_.onSync();
}

void TamrixPlugin::postSyncStatus(const std::wstring& text) {
    if (closing_)
        return;
    PostStatusText(translateText(L"Message::Sync", text));
}

int TamrixPlugin::OnResync(bool* handled) {
    *handled = false;
    return 0;
}

int TamrixPlugin::OnBeforeNavigate2(platform::com::IUnknown* /*browser*/,
                                    const std::wstring& /*url*/, int /*flags*/,
                                    const std::wstring& /*targetFrame*/,
                                    const std::vector<std::uint8_t>* /*postData*/,
                                    const std::wstring& /*headers*/, bool* /*handled*/) {
    return 1;
}

int TamrixPlugin::OnNavigateComplete2(platform::com::IUnknown* /*browser*/,
                                      const std::wstring& /*url*/, bool* /*handled*/) {
    return 0;
}

int TamrixPlugin::OnQuit(bool* /*handled*/) {
    return 0;
}

}  // namespace plugin
