// The command dispatcher: maps every command string ("command-" + name, some with "/" and
// an argument) to the handler that acts on one window of the window table, and runs page
// commands in a clip context's undo history.
//
// Results: 1 not handled (the caller may pass the command on to the page's selection
// engine), 2 handled; a few handlers return another value, which callers treat as
// handled. Commands whose parts are not in this build stay in the table: they report
// "not available" in an error box and return 1. The commands served by higher layers (sending:
// "command-send-email", "command-send-kindle", "command-send-onenote",
// "command-send-onenote/<id>"; export: "command-print-pdf", "command-export/image"; printing:
// "command-print", "command-print-preview", "command-select-grab-preview"; dialogs:
// "command-toolbar-about", "command-toolbar-config"; side pane: "command-lorvane-show",
// "-close", "-switch") run the handlers registered at start-up (command_extensions.h), else
// report the same. Arguments that
// name a plug-in folder or a theme must be a single name of letters, digits, "_", "." and "-"
// (never ".."): a page's own script can send these commands, and no argument may reach outside the
// data folders.
//
// Contract: the browser's user-interface thread only; never throws.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addon/window/window_table.h"

namespace addon {

int dispatchCommand(const std::wstring& command, int windowIndex);
// True when a row of the table takes the command (whether or not it would act now).
bool isKnownCommand(const std::wstring& command);
// From the toolbar button and the toolbox page: the browser's window runs the command;
// what it does not take goes to the browser's selection engine.
int dispatchBrowserCommand(const std::wstring& command, const BrowserRef& browser);
// From a selection engine: the window of the selection's context runs it; 1 when none.
int dispatchSelectionCommand(const std::wstring& command, const ClipSelection* selection);

// Runs a new command in the context's undo history (the processor made when missing): the
// overlays stop repainting, the hover state goes, a command that asks for it empties the
// selection, then the command runs and the overlays repaint.
void executeInContext(ClipSubContext& context, std::unique_ptr<ICommand> command);
// A readable page of the window's selection in the named page style ("": the setting) in
// every context; true when a grab of its own is now on an undo history.
bool runGrab(int windowIndex, const std::wstring& styleName = L"");
// As `runGrab`; the indexes of the contexts whose undo history the grab now tops.
std::vector<int> runGrabInContexts(int windowIndex, const std::wstring& styleName = L"");
// One step back or forward in the context's history, when there is one.
void undoInContext(ClipSubContext& context);
void redoInContext(ClipSubContext& context);
// One step back that leaves nothing to redo: the newest command is undone, deleted and the
// selection it was run on put back.
void withdrawInContext(ClipSubContext& context);

// The message of a command whose part is not in this build; returns 1.
int reportNotAvailable(const std::wstring& command);

}  // namespace addon
