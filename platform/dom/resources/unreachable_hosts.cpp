#include "platform/dom/resources/unreachable_hosts.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>

namespace platform::dom {

namespace {

std::mutex hostsLock;
std::set<std::string>& hosts() {
    static std::set<std::string> unreachable;
    return unreachable;
}

}  // namespace

std::string hostKeyOf(const std::string& address) {
    std::string lowered = address.substr(0, address.find_first_of("/?#", address.find("//") + 2));
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool https = lowered.starts_with("https://");
    if (!https && !lowered.starts_with("http://"))
        return {};
    std::string authority = lowered.substr(https ? 8 : 7);
    authority = authority.substr(authority.find('@') + 1);
    if (authority.empty())
        return {};
    const bool bracketed = authority.front() == '[';
    const std::size_t colon = authority.rfind(':');
    const bool hasPort = colon != std::string::npos && (!bracketed || colon > authority.find(']'));
    if (!hasPort)
        authority += https ? ":443" : ":80";
    return (https ? "https://" : "http://") + authority;
}

bool hostUnreachable(const std::string& address) {
    const std::string key = hostKeyOf(address);
    std::lock_guard guard(hostsLock);
    return !key.empty() && hosts().contains(key);
}

void noteHostUnreachable(const std::string& address) {
    const std::string key = hostKeyOf(address);
    if (key.empty())
        return;
    std::lock_guard guard(hostsLock);
    hosts().insert(key);
}

void forgetUnreachableHosts() {
    std::lock_guard guard(hostsLock);
    hosts().clear();
}

}  // namespace platform::dom
