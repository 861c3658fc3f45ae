// Account detection: asks the service ("api/info") which account the user is signed in
// with and reads its key.
//
// Contract: synchronous, on the calling thread, for at most `limit`; never throws. Only
// an answer with status 200 counts as an answer; its body need not hold an account.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace plugin {

struct AccountInfo {
    std::wstring version;
    std::wstring id;
    std::wstring name;
    std::wstring key;
    std::wstring updateTime;
    std::wstring createTime;
    std::wstring loginTime;
};

inline constexpr std::chrono::seconds kAccountRequestLimit{60};

// GET `serverBase` (ending with "/") + "api/info". nullopt when the request fails or the
// status is not 200; otherwise the attributes of the last top-level "response" element
// (all empty when there is none).
std::optional<AccountInfo> fetchAccountInfo(const std::wstring& serverBase,
                                            std::chrono::milliseconds limit = kAccountRequestLimit);

}  // namespace plugin
