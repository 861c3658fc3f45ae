// The base of every page-editing command and the context it works on. A command is made
// by the dispatcher from a command string, its context is filled by the window controller
// just before it first runs, and the page's CommandProcessor runs, undoes and redoes it.
//
// Contract: a command owns its context; the context holds what `execute` needs and what
// `undo` needs to put the page back exactly. Commands report nothing: `execute` and `undo`
// return nothing, and what the document does not give is skipped. User-interface thread
// only.
#pragma once

#include <deque>
#include <string>

namespace addon {

// What the processor does with a command once it has run it.
enum class Disposal {
    discard = 0,        // delete it at once (not undoable)
    retain = 1,         // keep it in the history
    clearHistories = 2  // clear both histories and delete it
};

class ICommandContext {
  public:
    ICommandContext() = default;
    ICommandContext(const ICommandContext&) = delete;
    ICommandContext& operator=(const ICommandContext&) = delete;
    virtual ~ICommandContext() = default;

    // Old values that `execute` replaced, consumed by `undo` in the same order.
    std::deque<std::wstring> savedValues;
    // The page-style text a rebuild inserted; empty when none.
    std::wstring pageStyleText;
};

class ICommand {
  public:
    explicit ICommand(Disposal disposal = Disposal::retain) : disposal_(disposal) {}
    ICommand(const ICommand&) = delete;
    ICommand& operator=(const ICommand&) = delete;
    virtual ~ICommand() = default;

    // Applies the command to the document of its context.
    virtual void execute() = 0;
    // Reverts what the last `execute` did.
    virtual void undo() = 0;
    // The class name without the word "Command" ("Isolate", "FontSize", ...).
    virtual std::wstring name() const = 0;
    virtual std::wstring description() const { return L""; }
    // Whether the controller empties the selection before the command first runs.
    virtual bool clearsSelection() const { return false; }

    Disposal disposal() const { return disposal_; }
    ICommandContext& context() { return context_; }
    const ICommandContext& context() const { return context_; }

  private:
    Disposal disposal_;
    ICommandContext context_;
};

}  // namespace addon
