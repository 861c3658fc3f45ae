// Popup menus built from lists of strings: a flat choice list and a nested menu of paths
// (such as categories "a/b/c"). Pure builders; the caller owns the result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/menu.h"

namespace plugin {

// The separator item text.
inline constexpr const wchar_t* kMenuSeparatorText = L"-----";
// Paths deeper than this are left out of a path menu.
inline constexpr int kMaxPathMenuDepth = 12;

// One entry per item (id firstId + index; "-----" a separator), the one equal to `current`
// checked; nullptr for an empty list.
std::unique_ptr<platform::ui::Menu> buildListMenu(const std::vector<std::wstring>& items,
                                                  platform::ui::UINT firstId,
                                                  const std::wstring& current);

// Nested menus from paths listed after their parents; each level's label is the text after
// the last separator. The entry equal to `current` is checked and disabled (only checked
// when it has children); entries that `current` continues are checked. A path more than
// one level deeper than the one before it, or deeper than kMaxPathMenuDepth, is left out.
// nullptr for an empty list or when the first path holds a separator.
std::unique_ptr<platform::ui::Menu> buildPathMenu(const std::vector<std::wstring>& paths,
                                                  wchar_t separator, platform::ui::UINT firstId,
                                                  const std::wstring& current);

}  // namespace plugin
