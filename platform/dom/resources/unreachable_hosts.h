// The hosts that could not be reached (no address, no connection, no answer in time) in
// this process, so that a page's other pictures and style sheets, and the next pages, do
// not wait for them again.
//
// Contract: thread-safe; the memory lasts as long as the process.
#pragma once

#include <string>

namespace platform::dom {

// "scheme://host:port" of an http(s) address, lower case; "" for other addresses.
std::string hostKeyOf(const std::string& address);

bool hostUnreachable(const std::string& address);
void noteHostUnreachable(const std::string& address);
// Forgets every host (for tests).
void forgetUnreachableHosts();

}  // namespace platform::dom
