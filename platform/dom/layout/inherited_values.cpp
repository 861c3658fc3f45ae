#include "platform/dom/layout/inherited_values.h"

namespace platform::dom {

std::uint32_t PropertyIds::idOf(std::string_view name) {
    if (auto found = ids_.find(name); found != ids_.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(ids_.size());
    ids_.emplace(std::string(name), id);
    return id;
}

bool InheritedValues::find(std::uint32_t id, const char*& value) const {
    for (const auto& [known, answer] : answers_)
        if (known == id) {
            value = answer;
            return true;
        }
    return false;
}

void InheritedValues::remember(std::uint32_t id, const char* value) {
    if (answers_.size() < kMaxRemembered)
        answers_.emplace_back(id, value);
}

}  // namespace platform::dom
