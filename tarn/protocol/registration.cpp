#include "tarn/protocol/registration.h"

#include "common/util/registry_string.h"
#include "common/util/registry_value.h"
#include "platform/com/guid.h"
#include "platform/registry/registry.h"
#include "tarn/protocol/tarn_protocol.h"

namespace tarn {
namespace {

namespace reg = platform::registry;

constexpr const wchar_t* kClasses = L"Software\\Classes\\";
constexpr const wchar_t* kProgId = L"TarnProtocol.PluggableProtocol.1";
constexpr const wchar_t* kIndependentProgId = L"TarnProtocol.PluggableProtocol";
constexpr const wchar_t* kTypeLibrary = L"{E55E1F27-11DA-0004-0000-000000000000}";

std::wstring classId() {
    return platform::com::formatGuidWide(kTarnProtocolClass);
}

// Stores `text` as the value `name` ("" for the key's default) of `key` below the classes.
bool store(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    common::registry_string<std::wstring> value(
        kClasses + key + L"\\" + name, reg::HKEY_CURRENT_USER, L"", common::kRegistryAlwaysStore);
    value = text;
    return value.exists();
}

}  // namespace

platform::com::HRESULT registerProtocolClass(const std::wstring& modulePath) {
    const std::wstring clsid = classId();
    const std::wstring classKey = L"CLSID\\" + clsid;
    const bool stored = store(kProgId, L"", L"Tarn Pluggable Protocol") &&
                        store(std::wstring(kProgId) + L"\\CLSID", L"", clsid) &&
                        store(kIndependentProgId, L"", L"Tarn Pluggable Protocol") &&
                        store(std::wstring(kIndependentProgId) + L"\\CLSID", L"", clsid) &&
                        store(std::wstring(kIndependentProgId) + L"\\CurVer", L"", kProgId) &&
                        store(classKey, L"", L"Tarn Pluggable Protocol") &&
                        store(classKey + L"\\ProgID", L"", kProgId) &&
                        store(classKey + L"\\VersionIndependentProgID", L"", kIndependentProgId) &&
                        store(classKey + L"\\InprocServer32", L"", modulePath) &&
                        store(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                        store(classKey + L"\\TypeLib", L"", kTypeLibrary) &&
                        store(L"PROTOCOLS\\Handler\\tarn", L"", L"Tarn pluggable protocol") &&
                        store(L"PROTOCOLS\\Handler\\tarn", L"CLSID", clsid);
    return stored ? platform::com::S_OK : platform::com::E_FAIL;
}

platform::com::HRESULT unregisterProtocolClass() {
    for (const std::wstring& key :
         {std::wstring(kProgId), std::wstring(kIndependentProgId), L"CLSID\\" + classId(),
          std::wstring(L"PROTOCOLS\\Handler\\tarn")}) {
        reg::RegDeleteTreeW(reg::HKEY_CURRENT_USER, (kClasses + key).c_str());
    }
    return platform::com::S_OK;
}

}  // namespace tarn
