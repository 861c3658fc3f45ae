#include "platform/onenote/notebook_store.h"

#include <filesystem>

#include "platform/com/guid.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace platform::onenote {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSectionIdFile = "/.section-id";

// The ID in upper case without its braces: the page's file name.
std::string fileStem(std::wstring_view id) {
    std::string stem = platform::text::toUtf8(id.substr(1, id.size() - 2));
    for (char& c : stem) {
        c = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return stem;
}

}  // namespace

bool isObjectId(std::wstring_view id) {
    if (id.size() != 38 || id.front() != L'{' || id.back() != L'}') {
        return false;
    }
    for (std::size_t i = 1; i < 37; ++i) {
        const wchar_t c = id[i];
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        const bool hex =
            (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
        if (dash ? c != L'-' : !hex) {
            return false;
        }
    }
    return true;
}

std::wstring newObjectId() {
    return platform::com::formatGuidWide(platform::com::newGuid());
}

std::wstring sectionIdOf(const std::string& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return {};
    }
    std::string stored;
    if (platform::system::readWholeFile(folder + kSectionIdFile, stored)) {
        const std::wstring id = platform::text::fromUtf8(stored);
        return isObjectId(id) ? id : std::wstring();
    }
    const std::wstring id = newObjectId();
    return platform::system::writeFileAtomically(folder + kSectionIdFile,
                                                 platform::text::toUtf8(id))
               ? id
               : std::wstring();
}

std::string findSectionFolder(const std::string& notebook, std::wstring_view sectionId) {
    if (!isObjectId(sectionId)) {
        return {};
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(notebook, error)) {
        std::string stored;
        if (entry.is_directory(error) &&
            platform::system::readWholeFile(entry.path().string() + kSectionIdFile, stored) &&
            isObjectId(platform::text::fromUtf8(stored)) &&
            fileStem(platform::text::fromUtf8(stored)) == fileStem(sectionId)) {
            return entry.path().string();
        }
    }
    return {};
}

std::string findPageFile(const std::string& notebook, std::wstring_view pageId) {
    if (!isObjectId(pageId)) {
        return {};
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(notebook, error)) {
        if (!entry.is_directory(error)) {
            continue;
        }
        const std::string candidate = pageFileIn(entry.path().string(), pageId);
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

std::string pageFileIn(const std::string& sectionFolder, std::wstring_view pageId) {
    return sectionFolder + "/" + fileStem(pageId) + ".xml";
}

}  // namespace platform::onenote
