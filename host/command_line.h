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

// The text that --help prints: the ways to run the program, every action with what it
// does, and examples of the everyday jobs.
std::string helpText();

}  // namespace host
