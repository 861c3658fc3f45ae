// The export dialogs' settings under HKCU "Software\Olvan\Tamrix\Export": format name,
// output folder, the transfer-to-device flag and the table-of-contents flag.
//
// Contract: read when a dialog opens and written when an export starts; nothing cached.
// Callable from any thread. Registry failures give the defaults on reading and are passed
// over on writing.
#pragma once

#include <string>

namespace plugin {

struct ExportSettings {
    std::wstring format = L"EPUB";
    std::wstring output;  // default: the "MyTamrix" folder
    int autoTransfer = 1;
    int addTableOfContents = 1;
};

ExportSettings readExportSettings();
// The table-of-contents flag only when `withTableOfContents` (the dialog offers it).
void storeExportSettings(const ExportSettings& settings, bool withTableOfContents);

}  // namespace plugin
