// The addresses a tab has shown, for back and forward: a list with a current position. A
// new address after going back drops the addresses ahead of it, as a browser does.
//
// Contract: a plain value; one thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host::browser {

class NavigationHistory {
  public:
    // The tab now shows `address` (after a navigation that was not back or forward).
    void visited(const std::wstring& address);
    bool canGoBack() const { return position_ > 0; }
    bool canGoForward() const { return position_ + 1 < addresses_.size(); }
    // The address to go back or forward to; nothing at either end.
    std::optional<std::wstring> back() const;
    std::optional<std::wstring> forward() const;
    // A back or forward navigation to `steps` away has completed.
    void moved(int steps);
    // The address shown; empty before the first one.
    std::wstring current() const;

  private:
    std::vector<std::wstring> addresses_;
    std::size_t position_ = 0;
};

}  // namespace host::browser
