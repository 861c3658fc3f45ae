// The words of tamrix-host's command line turned into actions (see host_session.h): an
// action is a verb followed by its arguments, given either as separate words
// (tamrix-host open page.html attach key ctrl+s) or as one word that holds the whole
// action (tamrix-host "open page.html" attach "key ctrl+s"), as scripts write them. A word
// that is a verb starts the next action; the words after it up to the next verb are its
// arguments, joined by single spaces.
//
// Contract: pure functions. A first word that is no verb, or a verb that lacks its
// argument, is a usage error with a sentence that says what to do.
#pragma once

#include <string>
#include <vector>

namespace host {

struct ParsedActions {
    std::vector<std::wstring> actions;
    std::wstring error;  // empty when the words are usable
};

ParsedActions parseActionWords(const std::vector<std::wstring>& words);

// Checks the lines of a script (one action a line; blank lines and "#" comments are
// skipped): "" when every line is an action, else what is wrong and on which line.
std::wstring checkScriptLines(const std::vector<std::wstring>& lines);

// Every verb, in the order --help lists them.
std::vector<std::wstring> verbNames();

// The text that --help prints: the ways to run the program, the options, every action
// with one line of what it does, and examples of the everyday jobs.
std::string helpText();

}  // namespace host
