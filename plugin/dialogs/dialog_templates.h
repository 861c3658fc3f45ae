// The dialog definitions of the repository dialogs: control ids and their English texts.
// Plain values.
#pragma once

#include "platform/ui/dialog_template.h"

namespace plugin {

// Control ids shared by the dialogs.
inline constexpr int kMessageText = 211;
inline constexpr int kOptionCheck = 229;
inline constexpr int kFolderNewCombo = 246;
inline constexpr int kFolderRenameCombo = 217;
inline constexpr int kSelectList = 274;
inline constexpr int kTitleEdit = 263;
inline constexpr int kSelectButton = 273;
inline constexpr int kFolderCombo = 246;
inline constexpr int kCategoryCombo = 259;
inline constexpr int kTagsEdit = 264;
inline constexpr int kDescriptionEdit = 265;
inline constexpr int kAppendRadio = 260;
inline constexpr int kOverwriteRadio = 261;
inline constexpr int kCreateRadio = 262;

platform::ui::DialogTemplate categoryDeleteTemplate();
platform::ui::DialogTemplate folderDeleteTemplate();
platform::ui::DialogTemplate siteDeleteTemplate();
platform::ui::DialogTemplate folderNewTemplate();
platform::ui::DialogTemplate folderRenameTemplate();
platform::ui::DialogTemplate selectTemplate();
platform::ui::DialogTemplate simpleSaveTemplate();

}  // namespace plugin
