#include "addon/controller/service_pages.h"

#include "addon/controller/window_table.h"
#include "addon/shell/module_version.h"
#include "addon/shell/update_check.h"
#include "common/util/registry_string.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

std::wstring percentEncoded(const std::wstring& text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::wstring encoded;
    for (const unsigned char byte : platform::text::toUtf8(text)) {
        if (std::isalnum(byte) || byte == '-' || byte == '.' || byte == '_' || byte == '~') {
            encoded += static_cast<wchar_t>(byte);
        } else {
            encoded += L'%';
            encoded += static_cast<wchar_t>(kHex[byte >> 4]);
            encoded += static_cast<wchar_t>(kHex[byte & 15]);
        }
    }
    return encoded;
}

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
    return address + page + L"?product=" + percentEncoded(thisModuleVersionValue(L"ProductName")) +
           L"&version=" + percentEncoded(thisModuleVersionValue(L"ProductVersion"));
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
