#include "lorvane/side_pane_program.h"

#include <cwctype>
#include <iostream>

#include "common/language/language_table.h"
#include "common/util/registry_tools.h"
#include "lorvane/data_folders.h"
#include "lorvane/main_dlg.h"
#include "platform/registry/registry.h"
#include "platform/system/named_mutex.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/input_state.h"
#include "platform/ui/questions/desk_presenter.h"
#include "platform/ui/window_system.h"

namespace lorvane {

namespace {

using platform::ui::HWND;
using platform::ui::windows;

constexpr wchar_t kMutexName[] = L"Global\\LorvaneServer";
constexpr wchar_t kTypeLibraryKey[] =
    L"Software\\Classes\\TypeLib\\{6F1C2B90-5D3E-4A7B-9C21-7E4D8A0B3F52}";
constexpr wchar_t kClientClass[] = L"LorvaneClient";

bool equalsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

bool isDown(int virtualKey) {
    return (platform::ui::keyState(virtualKey) & 0x80) != 0;
}

// The pane's parent is a "LorvaneClient" window (or a stand-in of one).
bool isAdopted(HWND pane) {
    const HWND parent = windows().parent(pane);
    return parent && windows().className(parent) == kClientClass;
}

// Keeps the adopted pane at its parent's size while that parent's window is in front.
void followParent(HWND pane, HWND container) {
    const HWND parent = windows().parent(pane);
    const HWND top = windows().topLevel(pane);
    const HWND foreground = windows().foreground();
    if (!parent || !foreground || top == container || windows().topLevel(foreground) != top)
        return;
    const platform::ui::Rect wanted = windows().windowRect(parent);
    if (windows().windowRect(pane) == wanted)
        return;
    windows().setWindowPos(pane, 0, 0, wanted.width(), wanted.height(),
                           platform::ui::SWP_NOCOPYBITS);
    windows().invalidate(pane);
}

void runLoop(CMainDlg& dialog, std::chrono::milliseconds adoptionLimit) {
    auto& system = windows();
    std::uint64_t lastAdopted = system.tickCount();
    platform::ui::Message message;
    while (system.getMessage(message) == platform::ui::WaitResult::message) {
        const bool routed = dialog.paneExists() && (message.wParam == platform::ui::VK_DELETE ||
                                                    message.wParam == platform::ui::VK_RETURN ||
                                                    isDown(platform::ui::VK_LCONTROL) ||
                                                    isDown(platform::ui::VK_RCONTROL));
        if (routed)
            dialog.pane().PreTranslateMessage(message);
        system.dispatchMessage(message);
        if (!dialog.paneExists()) {
            dialog.createPane();
            continue;
        }
        const HWND pane = dialog.pane().window();
        const std::uint64_t now = system.tickCount();
        if (isAdopted(pane))
            lastAdopted = now;
        if (now - lastAdopted > static_cast<std::uint64_t>(adoptionLimit.count()))
            break;
        followParent(pane, dialog.handle());
    }
}

}  // namespace

RegistrationWord registrationWord(const std::wstring& commandLine) {
    for (std::size_t at = commandLine.find_first_of(L"-/"); at != std::wstring::npos;
         at = commandLine.find_first_of(L"-/", at + 1)) {
        const auto end = commandLine.find_first_of(L" \t", at + 1);
        const std::wstring word =
            commandLine.substr(at + 1, end == std::wstring::npos ? end : end - at - 1);
        if (equalsIgnoringCase(word, L"UnregServer") ||
            equalsIgnoringCase(word, L"UnregServerPerUser"))
            return RegistrationWord::unregServer;
        if (equalsIgnoringCase(word, L"RegServer") || equalsIgnoringCase(word, L"RegServerPerUser"))
            return RegistrationWord::regServer;
    }
    return RegistrationWord::none;
}

int registerTypeLibrary(RegistrationWord word, const std::wstring& programPath) {
    namespace registry = platform::registry;
    const std::wstring version = std::wstring(kTypeLibraryKey) + L"\\1.0\\";
    switch (word) {
        case RegistrationWord::regServer:
            common::storeUserText(version + L"name", L"LorvaneLib");
            common::storeUserText(version + L"path", programPath);
            return common::readUserText(version + L"path", L"") == programPath ? 0 : 1;
        case RegistrationWord::unregServer: {
            const auto result =
                registry::RegDeleteTreeW(registry::HKEY_CURRENT_USER, kTypeLibraryKey);
            registry::RegDeleteKeyW(registry::HKEY_CURRENT_USER, kTypeLibraryKey);
            return result == registry::ERROR_SUCCESS || result == registry::ERROR_FILE_NOT_FOUND
                       ? 0
                       : 1;
        }
        case RegistrationWord::none:
            break;
    }
    return 0;
}

int runSidePaneProgram(const std::wstring& commandLine, const SidePaneOptions& options) {
    if (const RegistrationWord word = registrationWord(commandLine); word != RegistrationWord::none)
        return registerTypeLibrary(word, options.programPath);

    platform::system::NamedMutex single(kMutexName);
    if (!single.tryLock())
        return 0;

    auto& language = common::languageTable();
    common::loadLanguage(language, common::readUserText(L"Software\\Olvan\\Tamrix\\language", L""),
                         resolveDataFolder(L"languages", options.root));
    LorvaneConfig config;
    if (const std::wstring userData = resolveDataFolder(L"UserData", options.root);
        !userData.empty())
        config.loadConfig(userData + L"/config.xml");

    platform::ui::CrossProcessWindows crossProcess;
    if (!crossProcess.start())
        std::cerr << "lorvane: other programs cannot reach the pane: " << crossProcess.error()
                  << std::endl;
    {
        platform::ui::PresenterScope presenter(
            std::make_shared<platform::ui::questions::DeskPresenter>(crossProcess,
                                                                     options.onScreen));
        CMainDlg dialog(config, options.root);
        dialog.create();
        windows().show(dialog.handle(), false);
        crossProcess.publish(dialog.handle());
        runLoop(dialog, options.adoptionLimit);
        crossProcess.withdraw(dialog.handle());
    }
    config.clearConfig();
    language.clear();
    single.unlock();
    return 0;
}

}  // namespace lorvane
