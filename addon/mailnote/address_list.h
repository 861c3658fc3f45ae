// The recipients a mail setting names: one address or several, separated by "," or ";",
// each bare ("jane@example.org") or with a display name ("Jane Doe <jane@example.org>",
// the name possibly quoted, commas inside quotes kept).
//
// Contract: pure function, thread-safe; never throws except std::bad_alloc.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace addon {

struct MailAddress {
    std::string address;
    std::string name;  // "" when none was given
};

// The addresses of `text` in their order; pieces without an address are left out.
std::vector<MailAddress> parseAddressList(std::string_view text);

}  // namespace addon
