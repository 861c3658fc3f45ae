#include "common/util/registry_value.h"

#include "platform/registry/registry.h"

namespace common {

namespace reg = platform::registry;

registry_value::registry_value(const std::wstring& path, HKEY root, int flags)
    : flags_(static_cast<std::uint16_t>(flags)), root_(root) {
    const auto slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        keyPath_ = path;
        valueName_ = path;
    } else {
        keyPath_ = path.substr(0, slash);
        valueName_ = path.substr(slash + 1);
    }
}

registry_value::~registry_value() {
    close();
}

bool registry_value::openForRead() {
    close();
    return reg::RegOpenKeyExW(root_, keyPath_.c_str(), 0, reg::KEY_READ, &key_) ==
           reg::ERROR_SUCCESS;
}

bool registry_value::openForWrite() {
    close();
    if (reg::RegCreateKeyExW(root_, keyPath_.c_str(), 0, nullptr, reg::REG_OPTION_NON_VOLATILE,
                             reg::KEY_READ | reg::KEY_CREATE_SUB_KEY | reg::KEY_SET_VALUE, nullptr,
                             &key_, nullptr) == reg::ERROR_SUCCESS) {
        return true;
    }
    return openForRead();
}

void registry_value::close() {
    if (key_ != nullptr) {
        reg::RegCloseKey(key_);
        key_ = nullptr;
    }
}

bool registry_value::exists() {
    const bool opened = key_ == nullptr;
    if (opened && !openForRead()) {
        return false;
    }
    const bool stored = reg::RegQueryValueExW(key_, valueName_.c_str(), nullptr, nullptr, nullptr,
                                              nullptr) == reg::ERROR_SUCCESS;
    if (opened) {
        close();
    }
    return stored;
}

bool registry_value::readStored(reg::DWORD type, std::wstring& text) {
    reg::DWORD storedType = 0;
    reg::DWORD size = 0;
    if (reg::RegQueryValueExW(key_, valueName_.c_str(), nullptr, &storedType, nullptr, &size) !=
            reg::ERROR_SUCCESS ||
        storedType != type) {
        return false;
    }
    // Room for the stored bytes plus a terminating NUL, whatever the stored size.
    std::wstring stored((size + sizeof(wchar_t) - 1) / sizeof(wchar_t) + 1, L'\0');
    if (size != 0 && reg::RegQueryValueExW(key_, valueName_.c_str(), nullptr, &storedType,
                                           reinterpret_cast<reg::BYTE*>(stored.data()),
                                           &size) != reg::ERROR_SUCCESS) {
        return false;
    }
    text.assign(stored.c_str());
    return true;
}

bool registry_value::readStored(reg::DWORD type, reg::DWORD& number) {
    reg::DWORD storedType = 0;
    reg::DWORD size = sizeof number;
    reg::DWORD stored = 0;
    if (reg::RegQueryValueExW(key_, valueName_.c_str(), nullptr, &storedType,
                              reinterpret_cast<reg::BYTE*>(&stored), &size) != reg::ERROR_SUCCESS ||
        storedType != type || size != sizeof number) {
        return false;
    }
    number = stored;
    return true;
}

bool registry_value::writeStored(const std::wstring& text) {
    return reg::RegSetValueExW(key_, valueName_.c_str(), 0, reg::REG_SZ,
                               reinterpret_cast<const reg::BYTE*>(text.c_str()),
                               static_cast<reg::DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
           reg::ERROR_SUCCESS;
}

bool registry_value::writeStored(reg::DWORD number) {
    return reg::RegSetValueExW(key_, valueName_.c_str(), 0, reg::REG_DWORD,
                               reinterpret_cast<const reg::BYTE*>(&number),
                               sizeof number) == reg::ERROR_SUCCESS;
}

bool registry_value::loadsOnConstruction() const {
    return (flags_ & (kRegistrySaveOnAssign | kRegistryAlwaysStore)) == 0;
}

bool registry_value::savesOnAssignment() const {
    return (flags_ & (kRegistrySaveOnAssign | kRegistryAlwaysStore)) != 0;
}

bool registry_value::storesEveryAssignment() const {
    return (flags_ & kRegistryAlwaysStore) != 0 && (flags_ & kRegistryNoWriteBack) == 0;
}

bool registry_value::writesBackOnDestruction() const {
    return (flags_ & (kRegistrySaveOnAssign | kRegistryNoWriteBack | kRegistryAlwaysStore)) == 0;
}

bool registry_value::writesDefault() const {
    return (flags_ & kRegistryAlwaysStore) != 0;
}

}  // namespace common
