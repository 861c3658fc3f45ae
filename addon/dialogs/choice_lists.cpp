#include "addon/dialogs/choice_lists.h"

#include "common/util/file_tools.h"
#include "common/util/path_tools.h"

namespace addon {

std::vector<std::wstring> toolbarThemeNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    if (folder.empty()) {
        return names;
    }
    for (const std::wstring& sub : common::listFolders(folder, false)) {
        names.push_back(common::fileNameOf(sub));
    }
    return names;
}

}  // namespace addon
