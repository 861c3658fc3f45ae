#include "platform/ui/menu.h"

namespace platform::ui {

UINT MenuItem::state() const {
    UINT flags = 0;
    if (separator)
        flags |= MF_SEPARATOR;
    if (checked)
        flags |= MF_CHECKED;
    if (grayed)
        flags |= MF_GRAYED;
    if (disabled)
        flags |= MF_DISABLED;
    if (submenu)
        flags |= MF_POPUP;
    return flags;
}

bool MenuItem::selectable() const {
    return !separator && !grayed && !disabled;
}

std::unique_ptr<Menu> Menu::build(const std::vector<MenuEntry>& entries) {
    auto menu = std::make_unique<Menu>();
    for (const MenuEntry& entry : entries) {
        if (!entry.children.empty())
            menu->appendSubmenu(entry.text, build(entry.children), entry.id);
        else if (entry.text.empty() && entry.id == 0)
            menu->appendSeparator();
        else
            menu->appendString(entry.id, entry.text);
    }
    return menu;
}

std::unique_ptr<Menu> Menu::clone() const {
    auto copy = std::make_unique<Menu>();
    for (const MenuItem& item : items_) {
        MenuItem twin{item.id,     item.text,     item.separator, item.checked,
                      item.grayed, item.disabled, nullptr};
        if (item.submenu)
            twin.submenu = item.submenu->clone();
        copy->items_.push_back(std::move(twin));
    }
    return copy;
}

void Menu::appendString(UINT id, std::wstring text) {
    MenuItem item;
    item.id = id;
    item.text = std::move(text);
    items_.push_back(std::move(item));
}

void Menu::appendSeparator() {
    MenuItem item;
    item.separator = true;
    items_.push_back(std::move(item));
}

void Menu::appendSubmenu(std::wstring text, std::unique_ptr<Menu> submenu, UINT id) {
    MenuItem item;
    item.id = id;
    item.text = std::move(text);
    item.submenu = std::move(submenu);
    items_.push_back(std::move(item));
}

bool Menu::attachSubmenu(UINT id, std::unique_ptr<Menu> submenu) {
    MenuItem* item = findById(id);
    if (!item)
        return false;
    item->submenu = std::move(submenu);
    return true;
}

const MenuItem* Menu::at(int position) const {
    return position >= 0 && position < count() ? &items_[static_cast<std::size_t>(position)]
                                               : nullptr;
}

MenuItem* Menu::at(int position) {
    return position >= 0 && position < count() ? &items_[static_cast<std::size_t>(position)]
                                               : nullptr;
}

const MenuItem* Menu::findById(UINT id) const {
    return const_cast<Menu*>(this)->findById(id);
}

MenuItem* Menu::findById(UINT id) {
    for (MenuItem& item : items_) {
        if (!item.separator && item.id == id)
            return &item;
        if (item.submenu)
            if (MenuItem* inner = item.submenu->findById(id))
                return inner;
    }
    return nullptr;
}

const MenuItem* Menu::findByText(const std::wstring& text) const {
    for (const MenuItem& item : items_) {
        if (!item.separator && item.text == text)
            return &item;
        if (item.submenu)
            if (const MenuItem* inner = item.submenu->findByText(text))
                return inner;
    }
    return nullptr;
}

bool Menu::modifyAt(int position, UINT id, std::wstring text) {
    MenuItem* item = at(position);
    if (!item)
        return false;
    item->id = id;
    item->text = std::move(text);
    item->separator = false;
    return true;
}

bool Menu::removeById(UINT id) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (!it->separator && it->id == id) {
            items_.erase(it);
            return true;
        }
        if (it->submenu && it->submenu->removeById(id))
            return true;
    }
    return false;
}

bool Menu::removeAt(int position) {
    if (!at(position))
        return false;
    items_.erase(items_.begin() + position);
    return true;
}

bool Menu::setFlag(UINT id, bool MenuItem::*flag, bool value) {
    MenuItem* item = findById(id);
    if (!item)
        return false;
    item->*flag = value;
    return true;
}

bool Menu::check(UINT id, bool checked) {
    return setFlag(id, &MenuItem::checked, checked);
}

bool Menu::gray(UINT id, bool grayed) {
    return setFlag(id, &MenuItem::grayed, grayed);
}

bool Menu::disable(UINT id, bool disabled) {
    return setFlag(id, &MenuItem::disabled, disabled);
}

UINT Menu::stateOf(UINT id) const {
    const MenuItem* item = findById(id);
    return item ? item->state() : static_cast<UINT>(-1);
}

}  // namespace platform::ui
