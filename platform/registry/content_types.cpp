#include "platform/registry/content_types.h"

#include <cstring>
#include <utility>

#include "platform/text/utf.h"

namespace platform::registry {
namespace {

constexpr std::pair<const wchar_t*, const wchar_t*> kTable[] = {
    {L".htm", L"text/html"},
    {L".html", L"text/html"},
    {L".xhtml", L"application/xhtml+xml"},
    {L".xml", L"text/xml"},
    {L".xsl", L"text/xml"},
    {L".xslt", L"text/xml"},
    {L".css", L"text/css"},
    {L".js", L"application/javascript"},
    {L".json", L"application/json"},
    {L".txt", L"text/plain"},
    {L".png", L"image/png"},
    {L".jpg", L"image/jpeg"},
    {L".jpeg", L"image/jpeg"},
    {L".jpe", L"image/jpeg"},
    {L".gif", L"image/gif"},
    {L".bmp", L"image/bmp"},
    {L".ico", L"image/x-icon"},
    {L".svg", L"image/svg+xml"},
    {L".pdf", L"application/pdf"},
    {L".zip", L"application/zip"},
    {L".epub", L"application/epub+zip"},
    {L".mobi", L"application/x-mobipocket-ebook"},
    {L".eml", L"message/rfc822"},
    {L".woff", L"font/woff"},
    {L".ttf", L"font/ttf"},
};

void addContentType(Key& root, std::wstring extension, std::wstring_view type) {
    auto [key, inserted] = root.subkeys.try_emplace(std::move(extension));
    if (inserted) {
        key->second.values.emplace(L"Content Type", stringValue(type));
    }
}

}  // namespace

Value stringValue(std::wstring_view text) {
    Value value{REG_SZ, std::vector<BYTE>((text.size() + 1) * sizeof(wchar_t))};
    std::memcpy(value.data.data(), text.data(), text.size() * sizeof(wchar_t));
    return value;
}

Key builtInContentTypes() {
    Key root;
    for (const auto& [extension, type] : kTable) {
        addContentType(root, extension, type);
    }
    return root;
}

void addMimeTypes(Key& classesRoot, std::string_view text) {
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        line = line.substr(0, line.find('#'));
        std::wstring type;
        while (!line.empty()) {
            const auto start = line.find_first_not_of(" \t\r");
            if (start == std::string_view::npos) {
                break;
            }
            line.remove_prefix(start);
            const auto word = line.substr(0, line.find_first_of(" \t\r"));
            line.remove_prefix(word.size());
            if (type.empty()) {
                type = text::fromUtf8(word);
            } else {
                addContentType(classesRoot, L"." + text::fromUtf8(word), type);
            }
        }
    }
}

}  // namespace platform::registry
