#include "common/util/time_text.h"

#include <ctime>
#include <cwchar>

namespace common {

std::wstring currentTimeText(bool local) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (local) {
        localtime_r(&now, &parts);
    } else {
        gmtime_r(&now, &parts);
    }
    wchar_t text[128];
    const std::size_t length = std::wcsftime(text, std::size(text), L"%Y-%m-%d %H:%M:%S", &parts);
    return std::wstring(text, length);
}

}  // namespace common
