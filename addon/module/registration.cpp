#include "addon/module/registration.h"

#include <array>
#include <cstdint>
#include <vector>

#include "addon/bar/bar_classes.h"
#include "addon/shell/tamrix_protocol.h"
#include "platform/com/guid.h"
#include "platform/registry/registry.h"

namespace addon {

namespace {

namespace reg = platform::registry;
using platform::com::formatGuidWide;

constexpr const wchar_t* kClasses = L"Software\\Classes\\";
constexpr const wchar_t* kBrowser = L"Software\\Microsoft\\Internet Explorer\\";
constexpr const wchar_t* kButtonExtension = L"{E55E1F27-11DA-0002-0002-00AABB000004}";
constexpr const wchar_t* kBarExtension = L"{E55E1F27-11DA-0002-0002-00AABB000002}";
constexpr const wchar_t* kBarEntry = L"{E55E1F27-11DA-0002-0002-00AABB000001}";
constexpr const wchar_t* kCommandExtensionCategory = L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}";
constexpr const wchar_t* kExplorerBarCategory = L"{E0DD6CAB-2D10-11D2-8F1A-0000F87ABD16}";
// 291 pixels, as the explorer bar's entry keeps its width.
constexpr std::array<std::uint8_t, 8> kBarSize = {0x23, 0x01, 0, 0, 0, 0, 0, 0};

struct CreatableClass {
    platform::com::GUID clsid;
    const wchar_t* progId;
    const wchar_t* description;
};

const std::array<CreatableClass, 3>& creatableClasses() {
    static const std::array<CreatableClass, 3> classes = {{
        {kIEButtonClass, L"Tamrix.IEButton", L"IEButton Class"},
        {kSideBandClass, L"Tamrix.Lorvane", L"Tamrix Lorvane"},
        {kTamrixProtocolClass, L"Tamrix.PluggableProtocol", L"Tamrix Pluggable Protocol"},
    }};
    return classes;
}

bool storeBytes(const std::wstring& key, const std::wstring& name, reg::DWORD type,
                const void* data, std::size_t size) {
    reg::HKEY handle = nullptr;
    if (reg::RegCreateKeyExW(reg::HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                             reg::KEY_ALL_ACCESS, nullptr, &handle,
                             nullptr) != reg::ERROR_SUCCESS) {
        return false;
    }
    const bool stored = reg::RegSetValueExW(handle, name.empty() ? nullptr : name.c_str(), 0, type,
                                            static_cast<const reg::BYTE*>(data),
                                            static_cast<reg::DWORD>(size)) == reg::ERROR_SUCCESS;
    reg::RegCloseKey(handle);
    return stored;
}

// Stores `text` as the value `name` ("" for the key's default) of `key` (below HKCU).
bool store(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    return storeBytes(key, name, reg::REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool registerClass(const CreatableClass& each, const std::wstring& modulePath) {
    const std::wstring clsid = formatGuidWide(each.clsid);
    const std::wstring versioned = std::wstring(each.progId) + L".1";
    const std::wstring classKey = kClasses + std::wstring(L"CLSID\\") + clsid;
    const std::wstring independent = kClasses + std::wstring(each.progId);
    const std::wstring version = kClasses + versioned;
    return store(version, L"", each.description) && store(version + L"\\CLSID", L"", clsid) &&
           store(independent, L"", each.description) &&
           store(independent + L"\\CLSID", L"", clsid) &&
           store(independent + L"\\CurVer", L"", versioned) &&
           store(classKey, L"", each.description) &&
           store(classKey + L"\\ProgID", L"", versioned) &&
           store(classKey + L"\\VersionIndependentProgID", L"", each.progId) &&
           store(classKey + L"\\InprocServer32", L"", modulePath) &&
           store(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
           store(classKey + L"\\TypeLib", L"", formatGuidWide(kTypeLibrary));
}

bool registerBrowserEntries(const std::wstring& modulePath) {
    const std::wstring button = kBrowser + std::wstring(L"Extensions\\") + kButtonExtension;
    const std::wstring barButton = kBrowser + std::wstring(L"Extensions\\") + kBarExtension;
    const std::wstring bar = kBrowser + std::wstring(L"Explorer Bars\\") + kBarEntry;
    return store(button, L"Default Visible", L"Yes") && store(button, L"ButtonText", L"Tamrix") &&
           store(button, L"Icon", modulePath + L",204") &&
           store(button, L"HotIcon", modulePath + L",204") &&
           store(button, L"CLSID", kCommandExtensionCategory) &&
           store(button, L"ClsidExtension", formatGuidWide(kIEButtonClass)) &&
           store(bar, L"", L"Tamrix Lorvane") &&
           storeBytes(bar, L"BarSize", reg::REG_BINARY, kBarSize.data(), kBarSize.size()) &&
           store(barButton, L"Default Visible", L"Yes") &&
           store(barButton, L"ButtonText", L"Tamrix Lorvane") &&
           store(barButton, L"Icon", modulePath + L",210") &&
           store(barButton, L"HotIcon", modulePath + L",210") &&
           store(barButton, L"CLSID", kExplorerBarCategory) &&
           store(barButton, L"BandCLSID", formatGuidWide(kSideBandClass));
}

std::vector<std::wstring> registeredKeys() {
    std::vector<std::wstring> keys;
    for (const CreatableClass& each : creatableClasses()) {
        keys.push_back(kClasses + std::wstring(each.progId));
        keys.push_back(kClasses + std::wstring(each.progId) + L".1");
        keys.push_back(kClasses + std::wstring(L"CLSID\\") + formatGuidWide(each.clsid));
    }
    keys.push_back(kClasses + std::wstring(L"PROTOCOLS\\Handler\\tamrix"));
    keys.push_back(kBrowser + std::wstring(L"Extensions\\") + kButtonExtension);
    keys.push_back(kBrowser + std::wstring(L"Extensions\\") + kBarExtension);
    keys.push_back(kBrowser + std::wstring(L"Explorer Bars\\") + kBarEntry);
    return keys;
}

}  // namespace

platform::com::HRESULT registerTamrixClasses(const std::wstring& modulePath) {
    bool stored = true;
    for (const CreatableClass& each : creatableClasses()) {
        stored = stored && registerClass(each, modulePath);
    }
    const std::wstring handler = kClasses + std::wstring(L"PROTOCOLS\\Handler\\tamrix");
    stored = stored && store(handler, L"", L"tamrix pluggable protocol") &&
             store(handler, L"CLSID", formatGuidWide(kTamrixProtocolClass)) &&
             registerBrowserEntries(modulePath);
    return stored ? platform::com::S_OK : platform::com::E_FAIL;
}

platform::com::HRESULT unregisterTamrixClasses() {
    for (const std::wstring& key : registeredKeys()) {
        reg::RegDeleteTreeW(reg::HKEY_CURRENT_USER, key.c_str());
    }
    return platform::com::S_OK;
}

}  // namespace addon
