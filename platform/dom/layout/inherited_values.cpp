#include "platform/dom/layout/inherited_values.h"

#include <algorithm>
#include <cstring>

namespace platform::dom {

std::uint32_t PropertyIds::idOf(std::string_view name) {
    if (auto found = ids_.find(name); found != ids_.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(ids_.size());
    names_.push_back(ids_.emplace(std::string(name), id).first->first.c_str());
    return id;
}

std::uint32_t PropertyIds::idOf(const char* name) {
    // The address may since hold another name (a buffer used again): the name is checked.
    Recent& recent = recent_[(reinterpret_cast<std::uintptr_t>(name) >> 4) % kRecent];
    if (recent.address == name && std::strcmp(names_[recent.id], name) == 0)
        return recent.id;
    const std::uint32_t id = idOf(std::string_view(name));
    recent = {name, id};
    return id;
}

namespace {
// Stands in the answers where nothing is remembered: no style value has its address.
const char kUnknown = 0;
}  // namespace

bool InheritedValues::find(std::uint32_t id, const char*& value) const {
    if (id >= answers_.size() || answers_[id] == &kUnknown)
        return false;
    value = answers_[id];
    return true;
}

void InheritedValues::remember(std::uint32_t id, const char* value, std::size_t known) {
    if (id >= kMaxRemembered)
        return;
    if (id >= answers_.size()) {
        const std::size_t room = std::max<std::size_t>(known, id + 1);
        answers_.resize(std::min<std::size_t>(room, kMaxRemembered), &kUnknown);
    }
    answers_[id] = value;
}

}  // namespace platform::dom
