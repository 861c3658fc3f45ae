// Menus as models: ordered items with command ids, texts, check, gray and disabled states,
// separators and submenus, addressed by position or by command id (command-id lookups
// search submenus too, depth first). A Menu owns its submenus. Not thread-safe: a menu is
// built and used by one thread at a time.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace platform::ui {

class Menu;

struct MenuItem {
    UINT id = 0;
    std::wstring text;
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    bool disabled = false;
    std::unique_ptr<Menu> submenu;

    // MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_SEPARATOR and MF_POPUP as they apply.
    UINT state() const;
    // Neither a separator, nor grayed, nor disabled.
    bool selectable() const;
};

// A line of a menu definition: text and id, or a separator (empty text, id 0), or a
// submenu (children given).
struct MenuEntry {
    std::wstring text{};
    UINT id = 0;
    std::vector<MenuEntry> children{};
};

class Menu {
  public:
    Menu() = default;
    Menu(Menu&&) noexcept = default;
    Menu& operator=(Menu&&) noexcept = default;

    // Builds a menu from nested entries.
    static std::unique_ptr<Menu> build(const std::vector<MenuEntry>& entries);

    std::unique_ptr<Menu> clone() const;

    void appendString(UINT id, std::wstring text);
    void appendSeparator();
    // The item opens `submenu`; it keeps `id` as its own command id.
    void appendSubmenu(std::wstring text, std::unique_ptr<Menu> submenu, UINT id = 0);
    // Attaches `submenu` to the item with that command id (searching submenus); false when
    // there is no such item.
    bool attachSubmenu(UINT id, std::unique_ptr<Menu> submenu);

    int count() const { return static_cast<int>(items_.size()); }
    // Items by position; nullptr when out of range.
    const MenuItem* at(int position) const;
    MenuItem* at(int position);
    // The first item with that command id, submenus searched; nullptr when none.
    const MenuItem* findById(UINT id) const;
    MenuItem* findById(UINT id);
    // The first item with that text, submenus searched; nullptr when none.
    const MenuItem* findByText(const std::wstring& text) const;

    // Replaces the text and id of the item at `position`, keeping its submenu and states.
    bool modifyAt(int position, UINT id, std::wstring text);
    // Removes the item with that command id (submenus searched).
    bool removeById(UINT id);
    bool removeAt(int position);

    // State changes by command id (submenus searched); false when there is no such item.
    bool check(UINT id, bool checked);
    bool gray(UINT id, bool grayed);
    bool disable(UINT id, bool disabled);
    // MF_* state of the item with that command id, or UINT(-1) when there is none.
    UINT stateOf(UINT id) const;

    const std::vector<MenuItem>& items() const { return items_; }

  private:
    bool setFlag(UINT id, bool MenuItem::*flag, bool value);

    std::vector<MenuItem> items_;
};

}  // namespace platform::ui
