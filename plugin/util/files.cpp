#include "plugin/util/files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
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

// The shared helper replaces the reserved characters and trims the ends; this one adds "*",
// per-segment cleaning of paths, the length cap and a name that is never empty.
std::wstring sanitizeFileName(std::wstring_view name, bool keepSlashes) {
    std::wstring starless(name);
    std::replace(starless.begin(), starless.end(), L'*', L' ');
    std::wstring cleaned;
    if (keepSlashes) {
        std::size_t start = 0;
        while (start <= starless.size()) {
            std::size_t end = start;
            while (end < starless.size() && !isSeparator(starless[end]))
                ++end;
            const std::wstring segment = common::sanitizeFileName(
                std::wstring_view(starless).substr(start, end - start), false);
            if (!segment.empty())
                cleaned += (cleaned.empty() ? L"" : L"/") + segment;
            start = end + 1;
        }
    } else {
        cleaned = common::sanitizeFileName(starless, false);
    }
    capUtf8Length(cleaned, kMaxFileNameBytes);
    cleaned = common::sanitizeFileName(cleaned, keepSlashes);
    return cleaned.empty() ? L"_" : cleaned;
}

int makeFolders(std::wstring_view base, std::wstring_view relative) {
    common::createFolderTree(base, relative);
    return 0;
}

}  // namespace plugin
