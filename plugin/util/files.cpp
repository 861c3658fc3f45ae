#include "plugin/util/files.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "common/util/file_tools.h"
#include "platform/text/utf.h"

namespace plugin {

namespace fs = std::filesystem;

namespace {

fs::path nativePath(const std::wstring& path) {
    std::wstring slashes = path;
    for (wchar_t& c : slashes)
        if (c == L'\\')
            c = L'/';
    return fs::path(platform::text::toUtf8(slashes));
}

bool isSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

void trimFileNameEnds(std::wstring& text) {
    constexpr std::wstring_view trimmedChars = L" .\r\n";
    const auto start = text.find_first_not_of(trimmedChars);
    if (start == std::wstring::npos) {
        text.clear();
        return;
    }
    text = text.substr(start, text.find_last_not_of(trimmedChars) - start + 1);
}

// Cuts the text so that its UTF-8 form has at most `limit` bytes, at a character border.
void capUtf8Length(std::wstring& text, std::size_t limit) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes > limit) {
            text.resize(i);
            return;
        }
    }
}

}  // namespace

std::wstring fileName(std::wstring_view path) {
    const auto last = path.find_last_of(L"/\\");
    if (last == std::wstring_view::npos || last == 0)
        return std::wstring(path);
    return std::wstring(path.substr(last + 1));
}

std::wstring fileTitle(std::wstring_view path) {
    std::wstring name = fileName(path);
    const auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

bool fileExists(const std::wstring& path) {
    std::error_code error;
    return !path.empty() && fs::exists(nativePath(path), error);
}

std::int64_t fileSize(const std::wstring& path) {
    std::error_code error;
    const auto size = fs::file_size(nativePath(path), error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

bool writeFile(const std::wstring& path, std::string_view bytes) {
    const fs::path target = nativePath(path);
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(std::random_device{}());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return !error;
}

std::wstring sanitizeFileName(std::wstring_view name, bool keepSlashes) {
    std::wstring cleaned(name);
    for (wchar_t& c : cleaned) {
        const bool forbidden = std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos;
        if (forbidden || (!keepSlashes && isSeparator(c)))
            c = L' ';
    }
    if (keepSlashes) {
        std::wstring joined;
        std::size_t start = 0;
        while (start <= cleaned.size()) {
            std::size_t end = start;
            while (end < cleaned.size() && !isSeparator(cleaned[end]))
                ++end;
            std::wstring segment = cleaned.substr(start, end - start);
            trimFileNameEnds(segment);
            if (!segment.empty())
                joined += (joined.empty() ? L"" : L"/") + segment;
            start = end + 1;
        }
        cleaned = joined;
    } else {
        trimFileNameEnds(cleaned);
    }
    capUtf8Length(cleaned, kMaxFileNameBytes);
    trimFileNameEnds(cleaned);
    return cleaned.empty() ? L"_" : cleaned;
}

int makeFolders(std::wstring_view base, std::wstring_view relative) {
    common::createFolderTree(base, relative);
    return 0;
}

}  // namespace plugin
