// The simple mail service's entry points by their exported names, for the library loader.
//
// Contract: pure lookup, thread-safe.
#pragma once

#include <string_view>

namespace platform::mail {

// The address of "MAPILogon", "MAPISendMail", "MAPILogoff", "MAPIResolveName" or
// "MAPIFreeBuffer" (exact case); null for any other name.
void* mapiEntryPoint(std::string_view name);

}  // namespace platform::mail
