// The undo and redo histories of one page: runs commands, files them by their disposal,
// undoes the newest one and re-executes the newest undone one.
//
// How the window controller drives it:
//   new command: fill the command's context, empty the selection when `clearsSelection`,
//                then `run(std::move(command))`;
//   undo:        when `lastUndo()` is not null, remember it, `undo()`, then put that
//                command's saved selection back;
//   redo:        `redo()`, then when `lastRedo()` (the next command that could be redone)
//                is not null, put its saved selection back.
//
// Contract: owns every command in its histories and deletes them when they leave (by
// `run`, `clear` or its own destruction). Neither history is bounded. After each execute
// or undo the page is laid out afresh through the relayout callback (when one is set).
// User-interface thread only.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "addon/commands/command.h"

namespace addon {

class CommandProcessor {
  public:
    // Called with the command that just ran or was undone, so its document lays itself out
    // again at once.
    using Relayout = std::function<void(ICommand&)>;

    explicit CommandProcessor(Relayout relayout = {}) : relayout_(std::move(relayout)) {}
    CommandProcessor(const CommandProcessor&) = delete;
    CommandProcessor& operator=(const CommandProcessor&) = delete;
    virtual ~CommandProcessor();

    // Runs one command and files it by its disposal; the redo history stays.
    virtual void execute(std::unique_ptr<ICommand> command);
    // Undoes the newest command of the undo history (nothing when it is empty).
    virtual void undo();
    // Undoes one command and files it in the redo history by its disposal.
    virtual void undoCommand(std::unique_ptr<ICommand> command);
    // Undoes the newest command of the undo history and deletes it instead of filing it for
    // redo: for a command the program ran on its own, which the user must not redo later.
    virtual void withdraw();
    // Deletes every command of both histories.
    virtual void clear();
    // `execute`, then deletes every command of the redo history. For new commands.
    virtual void run(std::unique_ptr<ICommand> command);
    // Re-executes the newest command of the redo history; the rest of it stays.
    virtual void redo();

    bool canUndo() const { return !undoHistory_.empty(); }
    bool canRedo() const { return !redoHistory_.empty(); }
    // Some command of the undo history built a readable page ("Grab", "GrabLinks",
    // "Isolate").
    bool hasReadablePage() const;
    // The newest command of each history; null when it is empty. Owned by the processor.
    ICommand* lastUndo() const;
    ICommand* lastRedo() const;

  private:
    void relayout(ICommand& command) const;
    // Takes the newest command off the undo history; null when it is empty.
    std::unique_ptr<ICommand> takeLastUndo();
    void file(std::unique_ptr<ICommand> command, std::deque<std::unique_ptr<ICommand>>& history);

    Relayout relayout_;
    std::deque<std::unique_ptr<ICommand>> undoHistory_;  // oldest first
    std::deque<std::unique_ptr<ICommand>> redoHistory_;  // most recently undone last
};

}  // namespace addon
