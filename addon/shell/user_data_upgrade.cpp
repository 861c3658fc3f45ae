#include "addon/shell/user_data_upgrade.h"

#include <unistd.h>

#include <cerrno>
#include <cwctype>
#include <vector>

#include "addon/shell/data_folders.h"
#include "addon/shell/module_version.h"
#include "common/util/registry_string.h"
#include "platform/registry/registry.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

namespace reg = platform::registry;

constexpr reg::DWORD kNameChars = 16384;

// The dot-separated parts of a version.
std::vector<std::wstring> versionParts(const std::wstring& version) {
    std::vector<std::wstring> parts(1);
    for (const wchar_t c : version) {
        if (c == L'.')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool isNumber(const std::wstring& part) {
    if (part.empty() || part.size() > 9)
        return false;
    for (const wchar_t c : part)
        if (c < L'0' || c > L'9')
            return false;
    return true;
}

int compareWithoutCase(const std::wstring& a, const std::wstring& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto x = std::towlower(a[i]);
        const auto y = std::towlower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Copies the machine's values below `source` into `destination` where the user has no value
// of that name, sub-keys included. False when a value or key could not be written.
bool copyMissingValues(reg::HKEY source, reg::HKEY destination) {
    bool complete = true;
    std::vector<wchar_t> name(kNameChars);
    for (reg::DWORD index = 0;; ++index) {
        reg::DWORD nameChars = kNameChars;
        reg::DWORD type = 0;
        reg::DWORD size = 0;
        if (reg::RegEnumValueW(source, index, name.data(), &nameChars, nullptr, &type, nullptr,
                               &size) != reg::ERROR_SUCCESS)
            break;
        std::vector<reg::BYTE> data(size);
        nameChars = kNameChars;
        if (reg::RegEnumValueW(source, index, name.data(), &nameChars, nullptr, &type, data.data(),
                               &size) != reg::ERROR_SUCCESS)
            continue;
        if (reg::RegQueryValueExW(destination, name.data(), nullptr, nullptr, nullptr, nullptr) ==
                reg::ERROR_FILE_NOT_FOUND &&
            reg::RegSetValueExW(destination, name.data(), 0, type, data.data(), size) !=
                reg::ERROR_SUCCESS)
            complete = false;
    }
    for (reg::DWORD index = 0;; ++index) {
        reg::DWORD nameChars = kNameChars;
        if (reg::RegEnumKeyExW(source, index, name.data(), &nameChars) != reg::ERROR_SUCCESS)
            break;
        reg::HKEY sourceChild = nullptr;
        reg::HKEY destinationChild = nullptr;
        if (reg::RegOpenKeyExW(source, name.data(), 0, reg::KEY_READ, &sourceChild) ==
            reg::ERROR_SUCCESS) {
            if (reg::RegCreateKeyExW(destination, name.data(), 0, nullptr,
                                     reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, nullptr,
                                     &destinationChild, nullptr) == reg::ERROR_SUCCESS)
                complete = copyMissingValues(sourceChild, destinationChild) && complete;
            else
                complete = false;
        }
        if (sourceChild)
            reg::RegCloseKey(sourceChild);
        if (destinationChild)
            reg::RegCloseKey(destinationChild);
    }
    return complete;
}

// True when there are no machine-wide defaults or all of them reached the user's key.
bool copyMachineDefaults() {
    reg::HKEY machine = nullptr;
    if (reg::RegOpenKeyExW(reg::HKEY_LOCAL_MACHINE, kTamrixSettingsKey, 0, reg::KEY_READ,
                           &machine) != reg::ERROR_SUCCESS)
        return true;
    bool complete = false;
    reg::HKEY user = nullptr;
    if (reg::RegCreateKeyExW(reg::HKEY_CURRENT_USER, kTamrixSettingsKey, 0, nullptr,
                             reg::REG_OPTION_NON_VOLATILE, reg::KEY_ALL_ACCESS, nullptr, &user,
                             nullptr) == reg::ERROR_SUCCESS) {
        complete = copyMissingValues(machine, user);
        reg::RegCloseKey(user);
    }
    reg::RegCloseKey(machine);
    return complete;
}

// The names a replaced config.xml is kept under, in the order they are tried:
// "config.xml.old", then "config.xml.old.1", "config.xml.old.2", ...
std::string backupName(const std::string& target, int number) {
    return target + ".old" + (number == 0 ? "" : "." + std::to_string(number));
}

constexpr int kMaxBackups = 1000;

// Keeps `bytes` (the user's copy of `target`) under a backup name. A backup that already
// holds the same bytes is enough; otherwise the first free name is claimed with link(2),
// which fails on an existing file, so a backup never replaces another one.
bool keepBackup(const std::string& target, const std::string& bytes) {
    int number = 0;
    for (; number < kMaxBackups; ++number) {
        std::string existing;
        if (platform::system::readWholeFile(backupName(target, number), existing)) {
            if (existing == bytes)
                return true;
        } else if (errno == ENOENT) {
            break;
        }
    }
    const std::string temporary = target + ".keep" + std::to_string(::getpid());
    if (!platform::system::writeFileAtomically(temporary, bytes))
        return false;
    bool kept = false;
    for (; number < kMaxBackups && !kept; ++number) {
        if (::link(temporary.c_str(), backupName(target, number).c_str()) == 0)
            kept = true;
        else if (errno != EEXIST)
            break;
    }
    ::unlink(temporary.c_str());
    return kept;
}

// Copies the shipped config.xml to the user's, whole or not at all. With `replace` an
// existing user copy is replaced, after being kept (keepBackup) when it differs. True when
// the user's config.xml is in place afterwards as the run wants it.
bool copyConfiguration(const std::wstring& userData, const std::wstring& configData, bool replace) {
    if (userData.empty() || configData.empty())
        return false;
    const std::string target = platform::text::toUtf8(userData + L"/config.xml");
    std::string current;
    const bool exists = platform::system::readWholeFile(target, current);
    if (!exists && errno != ENOENT)
        return false;  // there but unreadable: it could not be kept, so it stays
    if (exists && !replace)
        return true;
    std::string shipped;
    if (!platform::system::readWholeFile(platform::text::toUtf8(configData + L"/config.xml"),
                                         shipped))
        return false;
    if (exists && current == shipped)
        return true;
    if (exists && !keepBackup(target, current))
        return false;
    return platform::system::writeFileAtomically(target, shipped);
}

}  // namespace

int compareVersions(const std::wstring& a, const std::wstring& b) {
    const std::vector<std::wstring> left = versionParts(a);
    const std::vector<std::wstring> right = versionParts(b);
    for (std::size_t i = 0; i < left.size() || i < right.size(); ++i) {
        const std::wstring x = i < left.size() ? left[i] : L"0";
        const std::wstring y = i < right.size() ? right[i] : L"0";
        int order = 0;
        if (isNumber(x) && isNumber(y)) {
            const long first = std::stol(x);
            const long second = std::stol(y);
            order = first == second ? 0 : (first < second ? -1 : 1);
        } else {
            order = compareWithoutCase(x, y);
        }
        if (order != 0)
            return order;
    }
    return 0;
}

void upgradeUserData() {
    const std::wstring userData = resolveDataFolder(L"UserData");
    upgradeUserData(userData, resolveDataFolder(L"ConfigData"),
                    thisModuleVersionValue(L"ProductVersion"));
}

bool upgradeUserData(const std::wstring& userData, const std::wstring& configData,
                     const std::wstring& productVersion) {
    common::registry_string<std::wstring> lastVersion(
        std::wstring(kTamrixSettingsKey) + L"\\Version", reg::HKEY_CURRENT_USER, L"",
        common::kRegistryNoWriteBack);
    const bool upgrade =
        lastVersion.value.empty() || compareVersions(productVersion, lastVersion.value) > 0;
    const bool copied = copyConfiguration(userData, configData, upgrade);
    const bool defaultsCopied = !upgrade || copyMachineDefaults();
    // Only a whole upgrade counts as done: after a failure the next start tries again.
    if (copied && defaultsCopied) {
        lastVersion = productVersion;
        lastVersion.save();
    }
    return upgrade;
}

}  // namespace addon
