#include "plugin/util/time_text.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <cwchar>

#include "common/util/string_tools.h"
#include "platform/text/utf.h"

namespace plugin {

namespace {

std::wstring format(const std::tm& parts, const std::wstring& pattern) {
    std::array<wchar_t, 129> text{};
    if (std::wcsftime(text.data(), text.size(), pattern.c_str(), &parts) == 0)
        return {};
    return text.data();
}

}  // namespace

std::wstring newGuidText() {
    return common::newGuidText();
}

std::wstring formatUtc(std::int64_t time, const std::wstring& pattern) {
    const auto seconds = static_cast<std::time_t>(time);
    std::tm parts{};
    if (!gmtime_r(&seconds, &parts))
        return {};
    return format(parts, pattern);
}

std::wstring timeText(std::chrono::system_clock::time_point time, bool local) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    if (!(local ? localtime_r(&seconds, &parts) : gmtime_r(&seconds, &parts)))
        return {};
    return format(parts, L"%Y-%m-%d %H:%M:%S");
}

std::int64_t parseUtcText(const std::wstring& text) {
    std::tm parts{};
    if (std::sscanf(platform::text::toUtf8(text).c_str(), "%d-%d-%d %d:%d:%d", &parts.tm_year,
                    &parts.tm_mon, &parts.tm_mday, &parts.tm_hour, &parts.tm_min,
                    &parts.tm_sec) != 6)
        return 0;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    const std::time_t seconds = timegm(&parts);
    return seconds < 0 ? 0 : seconds;
}

std::wstring nowText(bool local) {
    return timeText(std::chrono::system_clock::now(), local);
}

}  // namespace plugin
