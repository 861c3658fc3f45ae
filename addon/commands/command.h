// The base of every page-editing command and the context it works on. A command is made
// by the dispatcher from a command string, its context is filled by the window controller
// just before it first runs, and the page's CommandProcessor runs, undoes and redoes it.
//
// Contract: a command owns its context; the context holds what `execute` needs and what
// `undo` needs to put the page back exactly: every element value it changed, with the
// element, the attribute it touched and whether it existed, undone newest first, and the
// former state of every style sheet it switched off. The
// context shares the document and the elements with the page. A worker it holds is asked
// to stop and joined when the context goes. Commands report nothing: `execute` and `undo`
// return nothing, and what the document does not give is skipped. User-interface thread
// only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/selection/selection_item.h"
#include "common/thread/thread.h"
#include "platform/dom/style/style_sheet.h"

namespace addon {

using common::CThreadImpl;
using common::CThreadT;

// What the processor does with a command once it has run it.
enum class Disposal {
    discard = 0,        // delete it at once (not undoable)
    retain = 1,         // keep it in the history
    clearHistories = 2  // clear both histories and delete it
};

// One value a command changed: an attribute (flag kValueAttribute) or an inline style
// property of an element. `oldValue` is the attribute as it was before (for a style
// property the whole "style" attribute, so undo gives back its exact text); no value when
// it did not exist. `position` is where the attribute stood among the element's
// attributes, so that one a command removed goes back to its place.
struct SavedValue {
    ElementPtr element;
    std::wstring name;
    int flags = 0;
    std::optional<std::wstring> oldValue;
    std::size_t position = 0;
};

// A style sheet a command switched off, with its former flag.
struct SavedSheet {
    std::shared_ptr<platform::dom::StyleSheet> sheet;
    bool wasDisabled = false;
};

class ICommandContext {
  public:
    ICommandContext() = default;
    ICommandContext(const ICommandContext&) = delete;
    ICommandContext& operator=(const ICommandContext&) = delete;
    virtual ~ICommandContext() = default;

    // The page's document; set by the controller just before the command runs.
    std::shared_ptr<dom::Document> document;
    // The selected elements in selection order, copied before the command first runs.
    std::vector<ElementPtr> elements;
    // The selection as it was before the command first ran; the controller puts it back
    // after an undo or redo.
    std::vector<SelectionItem> savedSelection;
    // What `execute` changed, oldest first.
    std::vector<SavedValue> savedValues;
    std::vector<SavedSheet> savedSheets;
    // The body a rebuild replaced and the one it built (reused by every later execute).
    ElementPtr savedBody;
    ElementPtr readableBody;
    // The page-style element a rebuild put into the head; null when none.
    ElementPtr styleElement;
    // The page-style text a rebuild inserted; empty when none.
    std::wstring pageStyleText;
    // The link-fetching worker of a link grab; stopped and joined before anything else goes.
    std::unique_ptr<CThreadT<1>> worker;
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
