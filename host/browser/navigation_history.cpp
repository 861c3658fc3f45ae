#include "host/browser/navigation_history.h"

namespace host::browser {

void NavigationHistory::visited(const std::wstring& address) {
    if (!addresses_.empty() && addresses_[position_] == address) {
        return;
    }
    if (!addresses_.empty()) {
        addresses_.resize(position_ + 1);
    }
    addresses_.push_back(address);
    position_ = addresses_.size() - 1;
}

std::optional<std::wstring> NavigationHistory::back() const {
    return canGoBack() ? std::optional(addresses_[position_ - 1]) : std::nullopt;
}

std::optional<std::wstring> NavigationHistory::forward() const {
    return canGoForward() ? std::optional(addresses_[position_ + 1]) : std::nullopt;
}

void NavigationHistory::moved(int steps) {
    const auto target = static_cast<std::ptrdiff_t>(position_) + steps;
    if (target >= 0 && target < static_cast<std::ptrdiff_t>(addresses_.size())) {
        position_ = static_cast<std::size_t>(target);
    }
}

std::wstring NavigationHistory::current() const {
    return addresses_.empty() ? std::wstring() : addresses_[position_];
}

}  // namespace host::browser
