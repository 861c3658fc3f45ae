#include "host/settings.h"

#include "common/util/registry_tools.h"
#include "host/words.h"
#include "platform/registry/registry.h"

namespace host {
namespace {

namespace reg = platform::registry;

constexpr wchar_t kTamrixKey[] = L"Software\\Olvan\\Tamrix\\";

// The stored type of the value, 0 when it does not exist.
reg::DWORD storedType(const std::wstring& path) {
    const auto split = path.rfind(L'\\');
    reg::HKEY key{};
    if (reg::RegOpenKeyExW(reg::HKEY_CURRENT_USER, path.substr(0, split).c_str(), 0, reg::KEY_READ,
                           &key) != reg::ERROR_SUCCESS) {
        return 0;
    }
    reg::DWORD type = 0;
    const bool found = reg::RegQueryValueExW(key, path.substr(split + 1).c_str(), nullptr, &type,
                                             nullptr, nullptr) == reg::ERROR_SUCCESS;
    reg::RegCloseKey(key);
    return found ? type : 0;
}

}  // namespace

bool storeSetting(const std::wstring& name, const std::wstring& value, std::wstring& error) {
    if (name.empty() || name.back() == L'\\' || name.find(L'\\') == 0) {
        error = L"\"" + name + L"\" is not a setting's name (such as Mail\\To)";
        return false;
    }
    const std::wstring path = name.starts_with(L"Software\\") ? name : kTamrixKey + name;
    const reg::DWORD type = storedType(path);
    const std::optional<int> number = wholeNumber(value);
    if (type == reg::REG_DWORD || (type == 0 && number)) {
        if (!number) {
            error = name + L" holds a whole number, not \"" + value + L"\"";
            return false;
        }
        common::storeUserNumber(path, *number);
        if (common::readUserNumber(path, ~*number) != *number) {
            error = L"cannot store " + name;
            return false;
        }
        return true;
    }
    common::storeUserText(path, value);
    if (common::readUserText(path, value + L"?") != value) {
        error = L"cannot store " + name;
        return false;
    }
    return true;
}

}  // namespace host
