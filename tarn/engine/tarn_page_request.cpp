#include <filesystem>
#include <system_error>
#include <utility>

#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "common/util/path_tools.h"
#include "platform/text/utf.h"
#include "tarn/engine/request_parameters.h"
#include "tarn/engine/result_cache.h"
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

}  // namespace

int TarnPage::request(const std::wstring& url) {
    sweepCache(common::engineFolder(L"UserCache"));
    // The stamp is taken before the page runs: a commit that lands meanwhile makes the
    // entry written below stale at once.
    const std::string stamp = cacheStamp(getDatabaseFilePath(), filePath_);
    const bool cached = supportCache() && !stamp.empty();
    if (cached) {
        if (dataReady() && contentUrl_ == url && contentStamp_ == stamp) {
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
    contentStamp_ = stamp;
    if (cached) {
        fetchCache(false, url);
    }
    return 0;
}

std::wstring TarnPage::getCacheFilePath(const std::wstring& url) const {
    const std::wstring prefix = cacheFilePrefix();
    if (prefix.empty()) {
        return {};
    }
    wchar_t hash[17];
    swprintf(hash, 17, L"%016llx",
             static_cast<unsigned long long>(urlHash(platform::text::toUtf8(url))));
    return prefix + hash;
}

std::wstring TarnPage::cacheFilePrefix() const {
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
    return cache + L"/" + rest + L".";
}

bool TarnPage::checkFileCache(const std::wstring& url) const {
    const CacheEntry entry{url, getDatabaseFilePath(), filePath_,
                           cacheStamp(getDatabaseFilePath(), filePath_)};
    return compileTime_ != 0 && readCacheEntry(getCacheFilePath(url), entry).has_value();
}

bool TarnPage::fetchCache(bool read, const std::wstring& url) {
    const std::wstring path = getCacheFilePath(url);
    if (!read) {
        if (contentUrl_ != url) {
            return false;
        }
        const CacheEntry entry{url, getDatabaseFilePath(), filePath_, contentStamp_};
        return writeCacheEntry(path, cacheFilePrefix(), entry, content_);
    }
    const std::string stamp = cacheStamp(getDatabaseFilePath(), filePath_);
    const CacheEntry entry{url, getDatabaseFilePath(), filePath_, stamp};
    auto content = compileTime_ != 0 ? readCacheEntry(path, entry) : std::nullopt;
    if (!content) {
        return false;
    }
    setContent(std::move(*content), url);
    contentStamp_ = stamp;
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
    contentStamp_.clear();
    checksum_ = 0;
    return true;
}

std::string TarnPage::takeContent() {
    std::string taken = std::move(content_);
    clearCache(false);
    return taken;
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
