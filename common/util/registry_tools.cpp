#include "common/util/registry_tools.h"

#include <cstdint>

#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/registry.h"

namespace common {

namespace reg = platform::registry;

reg::LONG copyRegistryKey(reg::HKEY source, reg::HKEY destinationParent,
                          const std::wstring& destinationSubkey) {
    reg::HKEY destination = nullptr;
    reg::LONG status = reg::RegCreateKeyExW(destinationParent, destinationSubkey.c_str(), 0,
                                            nullptr, reg::REG_OPTION_NON_VOLATILE,
                                            reg::KEY_ALL_ACCESS, nullptr, &destination, nullptr);
    if (status != reg::ERROR_SUCCESS) {
        return status;
    }
    status = reg::RegCopyTreeW(source, nullptr, destination);
    reg::RegCloseKey(destination);
    return status;
}

std::wstring readUserText(const std::wstring& path, const std::wstring& fallback) {
    const registry_string<std::wstring> value(path, reg::HKEY_CURRENT_USER, fallback,
                                              kRegistryNoWriteBack);
    return value.value;
}

int readUserNumber(const std::wstring& path, int fallback) {
    const registry_int<std::int32_t> value(path, reg::HKEY_CURRENT_USER, fallback,
                                           kRegistryNoWriteBack);
    return value.value;
}

void storeUserText(const std::wstring& path, const std::wstring& text) {
    registry_string<std::wstring> value(path, reg::HKEY_CURRENT_USER, L"", kRegistryAlwaysStore);
    value = text;
}

void storeUserNumber(const std::wstring& path, int number) {
    registry_int<std::int32_t> value(path, reg::HKEY_CURRENT_USER, 0, kRegistryAlwaysStore);
    value = number;
}

std::wstring getContentTypeForExtension(const std::wstring& extension) {
    const registry_string<std::wstring> contentType(
        extension + L"\\Content Type", reg::HKEY_CLASSES_ROOT, L"", kRegistryNoWriteBack);
    return contentType.value;
}

}  // namespace common
