#include "addon/mailnote/address_list.h"

namespace addon {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1);
}

// A display name without its quotes and with its escaped characters as they read.
std::string unquoted(std::string_view name) {
    name = trimmed(name);
    if (name.size() < 2 || name.front() != '"' || name.back() != '"')
        return std::string(name);
    std::string text;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        if (name[i] == '\\' && i + 2 < name.size())
            ++i;
        text += name[i];
    }
    return text;
}

MailAddress parseOne(std::string_view piece) {
    const auto open = piece.rfind('<');
    const auto close = piece.rfind('>');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return {std::string(trimmed(piece)), {}};
    return {std::string(trimmed(piece.substr(open + 1, close - open - 1))),
            unquoted(piece.substr(0, open))};
}

}  // namespace

std::vector<MailAddress> parseAddressList(std::string_view text) {
    std::vector<MailAddress> addresses;
    const auto take = [&](std::string_view piece) {
        MailAddress address = parseOne(piece);
        if (!address.address.empty())
            addresses.push_back(std::move(address));
    };
    bool quoted = false;
    bool angled = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && quoted) {
            ++i;
        } else if (c == '"' && !angled) {
            quoted = !quoted;
        } else if (!quoted && (c == '<' || c == '>')) {
            angled = c == '<';
        } else if (!quoted && !angled && (c == ',' || c == ';')) {
            take(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        take(text.substr(start));
    return addresses;
}

}  // namespace addon
