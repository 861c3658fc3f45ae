#include "platform/dom/style/inline_style.h"

#include <algorithm>
#include <cwchar>

#include "platform/dom/element.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/css_properties.h"

namespace platform::dom {

namespace {

bool covers(const Declaration& declaration, PropertyId id) {
    auto longhands = shorthandLonghands(declaration.name);
    return std::find(longhands.begin(), longhands.end(), id) != longhands.end();
}

}  // namespace

std::vector<Declaration> Style::declarations() const {
    return parseDeclarations(element_->getAttribute(L"style").value_or(L""));
}

void Style::store(const std::vector<Declaration>& declarations) {
    if (declarations.empty() && !element_->hasAttribute(L"style"))
        return;
    element_->setAttribute(L"style", serializeDeclarations(declarations));
}

std::wstring Style::cssText() const {
    return serializeDeclarations(declarations());
}

void Style::setCssText(std::wstring_view text) {
    store(parseDeclarations(text));
}

std::wstring Style::getAttribute(std::wstring_view name) const {
    std::wstring cssName = toCssName(name);
    auto list = declarations();
    if (auto id = findLonghand(cssName)) {
        std::vector<std::pair<PropertyId, std::wstring>> values;
        for (const auto& declaration : list)
            if (declaration.name == cssName || covers(declaration, *id))
                applyDeclaration(declaration, values);
        for (auto& [key, value] : values)
            if (key == *id)
                return value;
        return {};
    }
    auto longhands = shorthandLonghands(cssName);
    if (longhands.empty()) {
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if (it->name == cssName)
                return it->value;
        return {};
    }
    // The shorthand as written, unless later declarations changed part of it.
    auto written = std::find_if(list.rbegin(), list.rend(),
                                [&](const Declaration& d) { return d.name == cssName; });
    bool changedLater =
        written != list.rbegin() && std::any_of(list.rbegin(), written, [&](const Declaration& d) {
            return std::any_of(longhands.begin(), longhands.end(), [&](PropertyId id) {
                return d.name == propertyInfo(id).cssName || covers(d, id);
            });
        });
    if (written != list.rend() && !changedLater)
        return written->value;
    std::vector<std::wstring> values;
    for (PropertyId id : longhands) {
        std::wstring value = getAttribute(propertyInfo(id).cssName);
        if (value.empty())
            return {};
        values.push_back(value);
    }
    return composeShorthand(cssName, values);
}

void Style::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (value.empty()) {
        removeAttribute(name);
        return;
    }
    std::wstring cssName = toCssName(name);
    auto list = declarations();
    removeFrom(list, cssName);
    list.push_back({cssName, std::wstring(value), false});
    store(list);
}

bool Style::removeAttribute(std::wstring_view name) {
    auto list = declarations();
    if (!removeFrom(list, toCssName(name)))
        return false;
    store(list);
    return true;
}

bool Style::removeFrom(std::vector<Declaration>& list, const std::wstring& cssName) {
    std::vector<Declaration> kept;
    bool removed = false;
    auto id = findLonghand(cssName);
    auto ownLonghands = shorthandLonghands(cssName);
    for (auto& declaration : list) {
        bool partOfRemoved = std::any_of(
            ownLonghands.begin(), ownLonghands.end(),
            [&](PropertyId part) { return declaration.name == propertyInfo(part).cssName; });
        if (declaration.name == cssName || partOfRemoved) {
            removed = true;
            continue;
        }
        if (id && covers(declaration, *id)) {
            // Split the shorthand so that only the removed part goes.
            for (auto& [part, value] : expandShorthand(declaration.name, declaration.value))
                if (part != *id)
                    kept.push_back(
                        {std::wstring(propertyInfo(part).cssName), value, declaration.important});
            removed = true;
            continue;
        }
        kept.push_back(std::move(declaration));
    }
    list = std::move(kept);
    return removed;
}

int Style::pixels(std::wstring_view name) const {
    std::wstring value = getAttribute(name);
    if (!value.ends_with(L"px"))
        return 0;
    return static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

void Style::setPixels(std::wstring_view name, int value) {
    setAttribute(name, std::to_wstring(value) + L"px");
}

}  // namespace platform::dom
