// Where tamrix-host's words go. Standard output carries only what an action was asked to
// produce (a fetched page, the report of the newest entry, --help, --version); everything
// else goes to standard error: what the program showed a person (message boxes, dialogs,
// files it wrote or wanted opened), errors, and with --verbose each action with its result
// and wall time. --quiet leaves errors alone.
//
// Contract: process-wide, thread-safe (a message box may come from a worker thread); each
// call writes whole lines. Text that comes from pages, the repository or the network goes
// through `printable` before it reaches a terminal.
#pragma once

#include <string>

namespace host {

enum class Verbosity { quiet, normal, verbose };

void setVerbosity(Verbosity verbosity);
Verbosity verbosity();

// A line of what the program showed or did, on standard error unless --quiet.
void note(const std::wstring& line);
// A line for --verbose only, on standard error.
void trace(const std::wstring& line);
// "tamrix-host: " and the message, on standard error, always.
void reportError(const std::wstring& message);
// A line of the asked-for output, on standard output.
void output(const std::wstring& line);

// The text with every control character (C0, DEL, C1, and the bidirectional overrides
// that reorder a terminal line) written as a visible escape: "\n", "\t", "\e", "\x7f",
// "\u202e"; a backslash is doubled. Anything else stays as it is.
std::wstring printable(const std::wstring& text);

}  // namespace host
