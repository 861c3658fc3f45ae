// The bracket around taking a clip: when the window has a selection (elements or text),
// a readable page of it is built first; when the bracket ends, that page is undone, so the
// user sees the page unchanged and has nothing new to redo.
//
// Contract: user-interface thread; scoped. Withdraws only the grabs it put on the undo
// histories itself, never an earlier command of the user; they leave no redo step behind.
#pragma once

#include <vector>

namespace addon {

class GrabBracket {
  public:
    explicit GrabBracket(int windowIndex);
    ~GrabBracket();
    GrabBracket(const GrabBracket&) = delete;
    GrabBracket& operator=(const GrabBracket&) = delete;

    bool grabbed() const { return !grabbedContexts_.empty(); }

  private:
    std::vector<int> grabbedContexts_;
};

}  // namespace addon
