// The "Export eBook" dialog definition shared by both export dialogs, its control ids, and
// the formats it offers with their writer codes and file extensions. Plain values.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog_template.h"

namespace plugin {

inline constexpr int kEbookDialogId = 240;
inline constexpr int kBookTitleEdit = 263;
inline constexpr int kFileTitleEdit = 264;
inline constexpr int kOutputFolderEdit = 265;
inline constexpr int kChangeFolderButton = 266;
inline constexpr int kTableOfContentsCheck = 268;
inline constexpr int kFormatList = 269;
inline constexpr int kExportProgress = 270;
inline constexpr int kTransferCheck = 271;

platform::ui::DialogTemplate ebookTemplate();

// The format names in list order: "EPUB", "HTML", "MOBI", "TEXT".
const std::vector<std::wstring>& ebookFormats();
// The writer's format code of a format name (EPUB 6, HTML 4, MOBI 7, TEXT 2); EPUB's for
// a name that is none of them.
int ebookFormatCode(const std::wstring& format);
// The file extension without its dot: the name in lower case, "txt" for TEXT.
std::wstring ebookExtension(const std::wstring& format);

}  // namespace plugin
