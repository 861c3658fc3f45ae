#include "plugin/repository/repository_text.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <optional>

#include "platform/com/guid.h"

namespace plugin {

std::wstring newEntryGuid() {
    const platform::com::GUID guid = platform::com::newGuid();
    std::array<wchar_t, 64> text{};
    std::swprintf(text.data(), text.size(), L"A%07X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text.data();
}

std::wstring nowUtcText() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    std::array<wchar_t, 32> text{};
    std::wcsftime(text.data(), text.size(), L"%Y-%m-%d %H:%M:%S", &parts);
    return text.data();
}

std::wstring siteOfUrl(std::wstring_view url) {
    const auto marker = url.find(L"://");
    if (marker == std::wstring_view::npos || marker == 0)
        return {};
    const auto start = marker + 3;
    const auto end = url.find(L'/', start);
    return std::wstring(url.substr(start, end == std::wstring_view::npos ? url.npos : end - start));
}

namespace {

// The path part of an address: behind its third "/", the whole text without any "/",
// nothing when it has only one or two.
std::optional<std::wstring_view> pathPart(std::wstring_view url) {
    std::size_t position = 0;
    for (int slash = 0; slash < 3; ++slash) {
        const auto found = url.find(L'/', position);
        if (found == std::wstring_view::npos) {
            if (slash == 0)
                return url;
            return std::nullopt;
        }
        position = found + 1;
    }
    return url.substr(position);
}

}  // namespace

int pathMatchScore(std::wstring_view a, std::wstring_view b) {
    const auto pathA = pathPart(a);
    const auto pathB = pathPart(b);
    if (!pathA || !pathB)
        return 0;
    int score = 0;
    while (static_cast<std::size_t>(score) < pathA->size() &&
           static_cast<std::size_t>(score) < pathB->size() && (*pathA)[score] == (*pathB)[score])
        ++score;
    return score;
}

}  // namespace plugin
