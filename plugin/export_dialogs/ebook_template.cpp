#include "plugin/export_dialogs/ebook_template.h"

#include <algorithm>
#include <cwctype>

#include "plugin/export/export_codes.h"

namespace plugin {

using platform::ui::ControlKind;

platform::ui::DialogTemplate ebookTemplate() {
    return {
        kEbookDialogId,
        L"Export eBook",
        269,
        154,
        {
            {.kind = ControlKind::staticText, .text = L"&Book Title:", .bounds = {7, 9, 62, 17}},
            {.id = kBookTitleEdit, .kind = ControlKind::edit, .bounds = {66, 7, 262, 21}},
            {.kind = ControlKind::staticText, .text = L"File Title:", .bounds = {7, 30, 62, 38}},
            {.id = kFileTitleEdit, .kind = ControlKind::edit, .bounds = {66, 28, 190, 42}},
            {.id = kFormatList, .kind = ControlKind::dropDownList, .bounds = {194, 28, 262, 90}},
            {.id = kTableOfContentsCheck,
             .kind = ControlKind::checkBox,
             .text = L"Add table of contents page",
             .bounds = {66, 48, 262, 58}},
            {.kind = ControlKind::staticText,
             .text = L"&Output Folder:",
             .bounds = {7, 66, 62, 74}},
            {.id = kOutputFolderEdit, .kind = ControlKind::edit, .bounds = {66, 64, 206, 78}},
            {.id = kChangeFolderButton,
             .kind = ControlKind::pushButton,
             .text = L"Change...",
             .bounds = {210, 64, 262, 78}},
            {.id = kExportProgress,
             .kind = ControlKind::progressBar,
             .bounds = {7, 106, 262, 116},
             .hidden = true},
            {.id = kTransferCheck,
             .kind = ControlKind::checkBox,
             .text = L"Transfer to Device",
             .bounds = {66, 86, 262, 96}},
            {.id = platform::ui::IDOK,
             .kind = ControlKind::pushButton,
             .text = L"OK",
             .bounds = {158, 133, 208, 147},
             .defaultButton = true},
            {.id = platform::ui::IDCANCEL,
             .kind = ControlKind::pushButton,
             .text = L"Cancel",
             .bounds = {212, 133, 262, 147}},
        }};
}

const std::vector<std::wstring>& ebookFormats() {
    static const std::vector<std::wstring> formats = {L"EPUB", L"HTML", L"MOBI", L"TEXT"};
    return formats;
}

int ebookFormatCode(const std::wstring& format) {
    if (format == L"HTML")
        return kExportHtml;
    if (format == L"MOBI")
        return kExportMobi;
    if (format == L"TEXT")
        return kExportText;
    return kExportEpub;
}

std::wstring ebookExtension(const std::wstring& format) {
    if (format == L"TEXT")
        return L"txt";
    std::wstring extension = format;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

}  // namespace plugin
