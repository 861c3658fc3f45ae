// The bracket around taking a clip: when the window has a selection (elements or text),
// a readable page of it is built first; when the bracket ends, that page is undone, so the
// user sees the page unchanged.
//
// Contract: user-interface thread; scoped. Undoes only when the grab put a command of its
// own on the undo history, never an earlier command of the user.
#pragma once

namespace addon {

class GrabBracket {
  public:
    explicit GrabBracket(int windowIndex);
    ~GrabBracket();
    GrabBracket(const GrabBracket&) = delete;
    GrabBracket& operator=(const GrabBracket&) = delete;

    bool grabbed() const { return grabbed_; }

  private:
    int windowIndex_;
    bool grabbed_ = false;
};

}  // namespace addon
