#include <filesystem>
#include <system_error>

#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
#include "platform/text/utf.h"
#include "tarn/engine/request_parameters.h"
#include "tarn/engine/tarn_page.h"

namespace tarn {
namespace {

// 64-bit FNV-1a: spreads URLs over cache file names.
std::uint64_t urlHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    return hash;
}

// A cache file holds the URL it answers, a zero byte and the content, so that a file
// never serves another URL's content even when two URLs share a file name.
std::string cacheHeader(const std::wstring& url) {
    std::string header = platform::text::toUtf8(url);
    header += '\0';
    return header;
}

}  // namespace

int TarnPage::request(const std::wstring& url) {
    if (supportCache() && checkFileCache(url)) {
        if (dataReady() && contentUrl_ == url) {
            return 0;
        }
        if (fetchCache(true, url)) {
            return 0;
        }
    }
    if (execute(requestParameters(url)) < 0) {
        return -1;
    }
    if (!transform()) {
        return -1;
    }
    contentUrl_ = url;
    fetchCache(false, url);
    return 0;
}

std::wstring TarnPage::getCacheFilePath(const std::wstring& url) const {
    const std::wstring plugins = common::engineFolder(L"plugins");
    const std::wstring page = common::nativePath(filePath_);
    if (plugins.empty() || page.rfind(plugins + L"/", 0) != 0) {
        return {};
    }
    const std::wstring cache = common::engineFolder(L"UserCache");
    if (cache.empty()) {
        return {};
    }
    std::wstring rest = page.substr(plugins.size() + 1);
    for (wchar_t& c : rest) {
        if (c == L'/') {
            c = L'-';
        }
    }
    wchar_t hash[17];
    swprintf(hash, 17, L"%016llx",
             static_cast<unsigned long long>(urlHash(platform::text::toUtf8(url))));
    return cache + L"/" + rest + L"." + hash;
}

bool TarnPage::checkFileCache(const std::wstring& url) const {
    const std::uint64_t database = common::fileWriteTime(getDatabaseFilePath());
    const std::uint64_t cache = common::fileWriteTime(getCacheFilePath(url));
    const std::uint64_t page = compileTime_;
    // File times tick coarsely: a database written in the same tick as the cache file may
    // hold changes the cache lacks, so only a strictly newer cache counts as fresh.
    return database != 0 && page != 0 && database < cache && cache >= page;
}

bool TarnPage::fetchCache(bool read, const std::wstring& url) {
    const std::wstring path = getCacheFilePath(url);
    if (path.empty()) {
        return false;
    }
    const std::string header = cacheHeader(url);
    if (!read) {
        if (contentUrl_ != url) {
            return false;
        }
        const std::string bytes = header + content_;
        return common::writeFile(path, bytes.data(), bytes.size()) != common::kFileError;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(platform::text::toUtf8(path), error);
    std::string bytes;
    if (error || size < header.size() ||
        common::readFile(path, bytes, static_cast<std::size_t>(size)) != size ||
        bytes.compare(0, header.size(), header) != 0) {
        return false;
    }
    setContent(bytes.substr(header.size()), url);
    return true;
}

void TarnPage::setContent(std::string bytes, const std::wstring& url) {
    content_ = std::move(bytes);
    contentUrl_ = url;
    checksum_ = 0;
}

bool TarnPage::clearCache(bool deleteFile) {
    if (deleteFile && !contentUrl_.empty()) {
        const std::wstring path = getCacheFilePath(contentUrl_);
        std::error_code ignored;
        if (!path.empty()) {
            std::filesystem::remove(platform::text::toUtf8(path), ignored);
        }
    }
    content_.clear();
    contentUrl_.clear();
    checksum_ = 0;
    return true;
}

const unsigned char* TarnPage::getContentBuffer() const {
    return content_.empty() ? nullptr : reinterpret_cast<const unsigned char*>(content_.data());
}

std::uint64_t TarnPage::getContentChecksum() {
    if (checksum_ != 0) {
        return checksum_;
    }
    unsigned char lanes[8] = {};
    for (std::size_t i = 0; i < content_.size(); ++i) {
        lanes[i % 8] =
            static_cast<unsigned char>(lanes[i % 8] + static_cast<unsigned char>(content_[i]));
    }
    std::uint64_t value = 0;
    for (unsigned char lane : lanes) {
        value = value * 256 + lane;
    }
    checksum_ = value;
    return value;
}

}  // namespace tarn
