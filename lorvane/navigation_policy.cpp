#include "lorvane/navigation_policy.h"

#include <cwctype>
#include <filesystem>

#include "common/regex/pattern.h"
#include "common/util/url_text.h"
#include "platform/text/utf.h"

namespace lorvane {

namespace {

bool startsWithIgnoringCase(const std::wstring& text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(text[i])) != prefix[i])
            return false;
    return true;
}

// The canonical form of a path that may not exist yet (its existing part resolved).
std::filesystem::path canonical(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(path, ignored).lexically_normal();
}

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const auto relative = file.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::optional<std::string> dataFileOf(const std::wstring& address,
                                      const std::vector<std::wstring>& roots) {
    if (!startsWithIgnoringCase(address, L"file:"))
        return std::nullopt;
    std::wstring path = common::urlUnescape(address.substr(5));
    if (path.starts_with(L"//")) {
        // "file:///path" or "file://localhost/path"; a file of another host is refused.
        const auto slash = path.find(L'/', 2);
        const std::wstring host = path.substr(2, slash == std::wstring::npos ? slash : slash - 2);
        if (slash == std::wstring::npos || (!host.empty() && host != L"localhost"))
            return std::nullopt;
        path = path.substr(slash);
    }
    if (!path.starts_with(L"/") || path.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    const std::filesystem::path file = canonical(platform::text::toUtf8(path));
    for (const auto& root : roots) {
        if (root.empty())
            continue;
        if (isInside(file, canonical(platform::text::toUtf8(root))))
            return file.string();
    }
    return std::nullopt;
}

bool isNavigationAllowed(const std::wstring& address, const NavigationRule& rule) {
    if (startsWithIgnoringCase(address, L"res:"))
        return false;
    if (startsWithIgnoringCase(address, L"file:") && !dataFileOf(address, rule.fileRoots))
        return false;
    if (rule.restrict.empty())
        return true;
    if (common::CPattern(rule.restrict).match(address).matched())
        return true;
    return address == rule.url || address.starts_with(L"tarn:$");
}

}  // namespace lorvane
