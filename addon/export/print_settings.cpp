#include "addon/export/print_settings.h"

#include <cstdint>

#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/types.h"
#include "platform/system/atomic_file.h"
#include "platform/system/folders.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

const std::wstring kExportKey = L"Software\\Olvan\\Tamrix\\Export\\";

std::wstring defaultOutputFolder() {
    const std::string documents = platform::system::personalFolder();
    if (documents.empty())
        return {};
    const std::string folder = documents + "/My Tamrix";
    platform::system::createFolders(folder);
    return platform::text::fromUtf8(folder);
}

std::wstring loadText(const wchar_t* name, const std::wstring& fallback) {
    return common::registry_string<std::wstring>(kExportKey + name,
                                                 platform::registry::HKEY_CURRENT_USER, fallback,
                                                 common::kRegistryNoWriteBack)
        .value;
}

int loadNumber(const wchar_t* name, int fallback) {
    return common::registry_int<std::int32_t>(kExportKey + name,
                                              platform::registry::HKEY_CURRENT_USER, fallback,
                                              common::kRegistryNoWriteBack)
        .value;
}

void saveText(const wchar_t* name, const std::wstring& text) {
    common::registry_string<std::wstring> value(kExportKey + name,
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistryAlwaysStore);
    value = text;
}

void saveNumber(const wchar_t* name, int number) {
    common::registry_int<std::int32_t> value(
        kExportKey + name, platform::registry::HKEY_CURRENT_USER, 0, common::kRegistryAlwaysStore);
    value = number;
}

}  // namespace

PrintSettings PrintSettings::load() {
    const PrintSettings defaults;
    PrintSettings settings;
    settings.outputFolder = loadText(L"Output", defaultOutputFolder());
    settings.device = loadText(L"Device", defaults.device);
    settings.landscape = loadNumber(L"PageDirect", defaults.landscape);
    settings.autoTransfer = loadNumber(L"AutoTransfer", defaults.autoTransfer);
    settings.shrinkWidth = loadNumber(L"ShrinkWidth", defaults.shrinkWidth);
    settings.shrinkImages = loadNumber(L"ShrinkImages", defaults.shrinkImages);
    settings.increaseFontWeight = loadNumber(L"IncreaseFontWeight", defaults.increaseFontWeight);
    settings.printBackground = loadNumber(L"PrintBackground", defaults.printBackground);
    return settings;
}

void PrintSettings::save() const {
    saveText(L"Output", outputFolder);
    saveText(L"Device", device);
    saveNumber(L"PageDirect", landscape);
    saveNumber(L"AutoTransfer", autoTransfer);
    saveNumber(L"ShrinkWidth", shrinkWidth);
    saveNumber(L"ShrinkImages", shrinkImages);
    saveNumber(L"IncreaseFontWeight", increaseFontWeight);
    saveNumber(L"PrintBackground", printBackground);
}

}  // namespace addon
