#include "plugin/module/host_messages.h"

#include "platform/text/utf.h"

namespace plugin {

namespace {

// Writes `text` into the field of `chars` UTF-16 units at `offset`.
void putText(std::vector<std::uint8_t>& record, std::size_t offset, std::size_t chars,
             const std::wstring& text) {
    std::u16string units = platform::text::toUtf16(text);
    if (units.size() > chars - 1) {
        units.resize(chars - 1);
        if (units.back() >= 0xD800 && units.back() <= 0xDBFF)
            units.pop_back();
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        record[offset + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        record[offset + 2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
}

// The NUL-terminated text of the field (the whole field when it lacks a terminator).
std::wstring getText(const std::vector<std::uint8_t>& record, std::size_t offset,
                     std::size_t chars) {
    std::u16string units;
    for (std::size_t i = 0; i < chars; ++i) {
        const char16_t unit =
            static_cast<char16_t>(record[offset + 2 * i] | (record[offset + 2 * i + 1] << 8));
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    return platform::text::fromUtf16(units);
}

constexpr std::size_t kUrlOffset = 4;
constexpr std::size_t kTargetOffset = kUrlOffset + 2 * kUrlChars;

}  // namespace

std::vector<std::uint8_t> statusRecord(const std::wstring& text) {
    std::vector<std::uint8_t> record(kStatusRecordSize, 0);
    putText(record, 0, kStatusTextChars, text);
    return record;
}

std::vector<std::uint8_t> navigateRecord(const NavigateRequest& request) {
    std::vector<std::uint8_t> record(kNavigateRecordSize, 0);
    for (int byte = 0; byte < 4; ++byte)
        record[byte] = static_cast<std::uint8_t>(request.flags >> (8 * byte));
    putText(record, kUrlOffset, kUrlChars, request.url);
    putText(record, kTargetOffset, kTargetFrameChars, request.targetFrame);
    return record;
}

std::optional<std::wstring> readStatusRecord(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != kStatusRecordSize)
        return std::nullopt;
    return getText(bytes, 0, kStatusTextChars);
}

std::optional<NavigateRequest> readNavigateRecord(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != kNavigateRecordSize)
        return std::nullopt;
    NavigateRequest request;
    for (int byte = 0; byte < 4; ++byte)
        request.flags |= static_cast<std::uint32_t>(bytes[byte]) << (8 * byte);
    request.url = getText(bytes, kUrlOffset, kUrlChars);
    request.targetFrame = getText(bytes, kTargetOffset, kTargetFrameChars);
    return request;
}

}  // namespace plugin
