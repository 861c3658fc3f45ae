// The outbox: the folder where sent messages wait as MIME files (".eml") for whatever
// delivers them, "<AppData>/Olvan/Tamrix/outbox".
//
// Contract: thread-safe and safe across processes. A message is written whole or not at
// all: it goes to a hidden temporary file in the folder first and is linked in under its
// final name only when every byte is on disk, and it never replaces an existing file.
#pragma once

#include <string>
#include <string_view>

namespace platform::mail {

// "" when no user data folder can be determined.
std::string outboxFolder();

// A new unique token of letters and digits (the time, then random hex).
std::string newMessageToken();

// Stores `message` as "<token>.eml" in `folder` (made, private to the user, when missing).
// The file's path, or "" with errno set when nothing could be stored.
std::string storeMessage(const std::string& folder, std::string_view message,
                         const std::string& token);

}  // namespace platform::mail
