#include "plugin/util/list_menus.h"

#include <algorithm>

namespace plugin {

namespace ui = platform::ui;

namespace {

void appendLabel(ui::Menu& menu, ui::UINT id, const std::wstring& label) {
    if (label == kMenuSeparatorText)
        menu.appendSeparator();
    else
        menu.appendString(id, label);
}

}  // namespace

std::unique_ptr<ui::Menu> buildListMenu(const std::vector<std::wstring>& items, ui::UINT firstId,
                                        const std::wstring& current) {
    if (items.empty())
        return nullptr;
    auto menu = std::make_unique<ui::Menu>();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto id = firstId + static_cast<ui::UINT>(i);
        appendLabel(*menu, id, items[i]);
        if (items[i] == current && items[i] != kMenuSeparatorText)
            menu->check(id, true);
    }
    return menu;
}

std::unique_ptr<ui::Menu> buildPathMenu(const std::vector<std::wstring>& paths, wchar_t separator,
                                        ui::UINT firstId, const std::wstring& current) {
    if (paths.empty() || paths.front().find(separator) != std::wstring::npos)
        return nullptr;
    auto root = std::make_unique<ui::Menu>();
    std::vector<ui::Menu*> levels{root.get()};
    int previousDepth = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::wstring& path = paths[i];
        const auto id = firstId + static_cast<ui::UINT>(i);
        const int depth = static_cast<int>(std::count(path.begin(), path.end(), separator));
        const auto lastSeparator = path.rfind(separator);
        std::wstring label =
            lastSeparator == std::wstring::npos ? path : path.substr(lastSeparator + 1);
        if (label.empty())
            label = path;

        ui::Menu* target = nullptr;
        const auto level = static_cast<std::size_t>(depth);
        const auto previousLevel = static_cast<std::size_t>(previousDepth);
        if (depth <= previousDepth) {
            if (level < levels.size())
                target = levels[level];
        } else if (depth == previousDepth + 1 && depth <= kMaxPathMenuDepth &&
                   previousLevel < levels.size()) {
            // The previous entry opens the new level and keeps its own command id.
            auto submenu = std::make_unique<ui::Menu>();
            ui::Menu* opened = submenu.get();
            if (levels[previousLevel]->attachSubmenu(id - 1, std::move(submenu)))
                target = opened;
        }
        previousDepth = depth;
        if (!target)
            continue;
        levels.resize(level + 1);
        levels[level] = target;
        appendLabel(*target, id, label);
        if (label == kMenuSeparatorText)
            continue;

        const bool hasChildren =
            i + 1 < paths.size() &&
            std::count(paths[i + 1].begin(), paths[i + 1].end(), separator) > depth;
        if (path == current) {
            target->check(id, true);
            if (!hasChildren)
                target->disable(id, true);
        } else if (!current.empty() && current.starts_with(path)) {
            target->check(id, true);
        }
    }
    return root;
}

}  // namespace plugin
