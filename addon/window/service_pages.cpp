#include "addon/window/service_pages.h"

#include "addon/shell/module_version.h"
#include "addon/shell/update_check.h"
#include "addon/window/window_table.h"
#include "common/util/registry_string.h"
#include "common/util/url_text.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

WebBrowser* browserOf(int windowIndex) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree())
        return nullptr;
    return windowEntry(windowIndex).browser.get();
}

int navigateTab(int windowIndex, const std::wstring& page) {
    WebBrowser* browser = browserOf(windowIndex);
    if (!browser)
        return kNotHandled;
    browser->navigate(servicePageAddress(page));
    return kHandled;
}

}  // namespace

std::wstring servicePageAddress(const std::wstring& page) {
    if (page != L"help" && page != L"home" && page != L"update")
        return L"";
    common::registry_string<std::wstring> server(
        L"Software\\Olvan\\Tamrix\\Server", platform::registry::HKEY_CURRENT_USER,
        kDefaultUpdateServer, common::kRegistryNoWriteBack);
    std::wstring address = server.value;
    if (!address.empty() && address.back() != L'/')
        address += L'/';
    return address + page + L"?product=" +
           common::urlEncodeComponent(thisModuleVersionValue(L"ProductName")) + L"&version=" +
           common::urlEncodeComponent(thisModuleVersionValue(L"ProductVersion"));
}

int openHelpPage(int windowIndex) {
    WebBrowser* browser = browserOf(windowIndex);
    if (!browser)
        return kNotHandled;
    platform::ui::shellOpen(browser->frameWindow(), L"open", servicePageAddress(L"help"));
    return kHandled;
}

int openHomePage(int windowIndex) {
    return navigateTab(windowIndex, L"home");
}

int openUpdatePage(int windowIndex) {
    return navigateTab(windowIndex, L"update");
}

}  // namespace addon
