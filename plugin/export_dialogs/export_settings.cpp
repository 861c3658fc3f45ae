#include "plugin/export_dialogs/export_settings.h"

#include "common/util/registry_tools.h"
#include "plugin/module/user_folders.h"

namespace plugin {

namespace {

const std::wstring kExportKey = L"Software\\Olvan\\Tamrix\\Export\\";

}  // namespace

ExportSettings readExportSettings() {
    ExportSettings settings;
    settings.format = common::readUserText(kExportKey + L"Format", settings.format);
    settings.output = common::readUserText(kExportKey + L"Output", L"");
    if (settings.output.empty())
        settings.output = GetUserFolder(L"MyTamrix");
    settings.autoTransfer =
        common::readUserNumber(kExportKey + L"AutoTransfer", settings.autoTransfer);
    settings.addTableOfContents =
        common::readUserNumber(kExportKey + L"AddTOC", settings.addTableOfContents);
    return settings;
}

void storeExportSettings(const ExportSettings& settings, bool withTableOfContents) {
    common::storeUserText(kExportKey + L"Format", settings.format);
    common::storeUserText(kExportKey + L"Output", settings.output);
    common::storeUserNumber(kExportKey + L"AutoTransfer", settings.autoTransfer);
    if (withTableOfContents)
        common::storeUserNumber(kExportKey + L"AddTOC", settings.addTableOfContents);
}

}  // namespace plugin
