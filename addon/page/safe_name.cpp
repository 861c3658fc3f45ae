#include "addon/page/safe_name.h"

#include <algorithm>

namespace addon {

bool isSafeName(const std::wstring& name) {
    if (name.empty() || name == L"." || name.find(L"..") != std::wstring::npos) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               c == L'_' || c == L'.' || c == L'-';
    });
}

}  // namespace addon
