#include "tarn/engine/result_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/util/file_tools.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace tarn {
namespace {

// A temporary file untouched this long was left by a writer that ended before renaming
// it: an entry is written in well under a second.
constexpr std::chrono::seconds kAbandonedWrite{600};

// Entry files end in "." and the sixteen hexadecimal digits of their URL's hash; other
// files are not entries (a write under way among them), and the sweep leaves them.
bool isEntryName(const std::string& name) {
    constexpr std::size_t kHashDigits = 16;
    if (name.size() <= kHashDigits + 1 || name[name.size() - kHashDigits - 1] != '.') {
        return false;
    }
    return std::all_of(name.end() - kHashDigits, name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// SQLite increments this big-endian counter of its header on every committed change.
constexpr off_t kChangeCounterOffset = 24;

std::string fileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + "/" +
           std::to_string(info.st_size);
}

// Read with one pread: no stream buffer is allocated for four bytes on every request.
std::string changeCounter(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return {};
    }
    std::array<unsigned char, 4> bytes{};
    const bool read = ::pread(file, bytes.data(), bytes.size(), kChangeCounterOffset) ==
                      static_cast<ssize_t>(bytes.size());
    ::close(file);
    if (!read) {
        return {};
    }
    return std::to_string((std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                          (std::uint32_t{bytes[2]} << 8) | bytes[3]);
}

std::string databaseStamp(const std::wstring& database) {
    const std::string path = platform::text::toUtf8(database);
    const std::string file = fileStamp(path);
    if (file.empty()) {
        return {};
    }
    return file + " c" + changeCounter(path) + " w" + fileStamp(path + "-wal");
}

// The head of an entry: its four fields and the content's check, each ended by a zero.
constexpr std::size_t kHeadFields = 5;

std::uint64_t rotateLeft(std::uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

// The content's length and a 64-bit hash of its bytes, in hexadecimal: a file that a
// crash left short or with stray blocks does not match it. The hash reads eight-byte
// words in four independent lanes, so that it costs little next to reading the file.
std::string contentCheck(std::string_view content) {
    constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
    constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
    const auto mix = [](std::uint64_t lane, std::uint64_t word) {
        return rotateLeft(lane + word * kPrime2, 31) * kPrime1;
    };
    std::array<std::uint64_t, 4> lanes{kPrime1, kPrime2, ~kPrime1, ~kPrime2};
    std::size_t at = 0;
    for (; at + 32 <= content.size(); at += 32) {
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            std::uint64_t word = 0;
            std::memcpy(&word, content.data() + at + lane * 8, 8);
            lanes[lane] = mix(lanes[lane], word);
        }
    }
    std::uint64_t hash = content.size();
    for (const std::uint64_t lane : lanes) {
        hash = mix(rotateLeft(hash, 27), lane);
    }
    for (; at < content.size(); ++at) {
        hash = mix(hash, static_cast<unsigned char>(content[at]));
    }
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    char text[40];
    std::snprintf(text, sizeof text, "%zu:%016llx", content.size(),
                  static_cast<unsigned long long>(hash));
    return text;
}

struct ParsedHead {
    CacheEntry entry;
    std::string check;
    // Where the content begins.
    std::size_t contentAt = 0;
};

// The head of a cache file; nothing when the bytes do not hold a whole one.
std::optional<ParsedHead> parseHead(const std::string& bytes) {
    std::array<std::string, kHeadFields> fields;
    std::size_t at = 0;
    for (std::string& field : fields) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        field = bytes.substr(at, end - at);
        at = end + 1;
    }
    return ParsedHead{{platform::text::fromUtf8(fields[0]), platform::text::fromUtf8(fields[1]),
                       platform::text::fromUtf8(fields[2]), std::move(fields[3])},
                      std::move(fields[4]),
                      at};
}

// The first blocks of `file`, up to the end of its head (or of the file, or of the
// space a head may take).
std::string readHead(std::ifstream& file) {
    constexpr std::size_t kMaxHeader = 64 * 1024;
    std::string head;
    char block[4096];
    while (file && head.size() < kMaxHeader &&
           static_cast<std::size_t>(std::count(head.begin(), head.end(), '\0')) < kHeadFields) {
        file.read(block, sizeof block);
        head.append(block, static_cast<std::size_t>(file.gcount()));
    }
    return head;
}

// The entry of the file at `path` without its content: only the head of the file is
// read, so a sweep costs little however large the cached pages are.
std::optional<CacheEntry> loadHeader(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    auto parsed = parseHead(readHead(file));
    if (!parsed) {
        return std::nullopt;
    }
    return std::move(parsed->entry);
}

// The entry and content of the file at `path`, when the content passes its check. The
// content is read into a string of its own length, not moved out of the whole file's.
std::optional<std::pair<CacheEntry, std::string>> loadEntry(const std::wstring& path) {
    const std::string bytePath = platform::text::toUtf8(path);
    std::error_code error;
    const auto size = std::filesystem::file_size(bytePath, error);
    std::ifstream file(bytePath, std::ios::binary);
    const std::string head = readHead(file);
    auto parsed = parseHead(head);
    if (error || !parsed) {
        return std::nullopt;
    }
    // The check begins with the content's length, which must be what the file holds
    // after its head.
    char* lengthEnd = nullptr;
    const unsigned long long length = std::strtoull(parsed->check.c_str(), &lengthEnd, 10);
    if (*lengthEnd != ':' || length != size - parsed->contentAt) {
        return std::nullopt;
    }
    const std::size_t inHead = head.size() - parsed->contentAt;
    std::string content(length, '\0');
    std::memcpy(content.data(), head.data() + parsed->contentAt, inHead);
    file.read(content.data() + inHead, static_cast<std::streamsize>(length - inHead));
    if (static_cast<std::size_t>(file.gcount()) != length - inHead ||
        contentCheck(content) != parsed->check) {
        return std::nullopt;
    }
    return std::make_pair(std::move(parsed->entry), std::move(content));
}

void removeFile(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

void keepNewest(const std::wstring& pagePrefix) {
    const std::filesystem::path prefix(platform::text::toUtf8(pagePrefix));
    std::error_code error;
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> files;
    for (const auto& item : std::filesystem::directory_iterator(prefix.parent_path(), error)) {
        const std::string name = item.path().filename().string();
        if (name.rfind(prefix.filename().string(), 0) == 0 && isEntryName(name)) {
            files.emplace_back(item.last_write_time(error), item.path());
        }
    }
    if (files.size() <= kMaxEntriesPerPage) {
        return;
    }
    std::sort(files.begin(), files.end());
    for (std::size_t i = 0; i + kMaxEntriesPerPage < files.size(); ++i) {
        removeFile(files[i].second);
    }
}

struct SweepState {
    std::mutex mutex;
    bool swept = false;
    // The stamps of the databases as the last sweep saw them.
    std::map<std::wstring, std::string> databases;
};

SweepState& sweepState() {
    static SweepState state;
    return state;
}

}  // namespace

std::string cacheStamp(const std::wstring& database, const std::wstring& page) {
    const std::string stamp = databaseStamp(database);
    if (stamp.empty()) {
        return {};
    }
    return stamp + " p" + std::to_string(common::fileWriteTime(page));
}

std::optional<std::string> readCacheEntry(const std::wstring& path, const CacheEntry& entry) {
    if (path.empty() || entry.stamp.empty()) {
        return std::nullopt;
    }
    auto loaded = loadEntry(path);
    if (!loaded || loaded->first.url != entry.url || loaded->first.stamp != entry.stamp) {
        return std::nullopt;
    }
    return std::move(loaded->second);
}

bool writeCacheEntry(const std::wstring& path, const std::wstring& pagePrefix,
                     const CacheEntry& entry, const std::string& content) {
    if (path.empty() || entry.stamp.empty()) {
        return false;
    }
    std::string head;
    for (const std::wstring& field : {entry.url, entry.database, entry.page}) {
        head += platform::text::toUtf8(field);
        head += '\0';
    }
    head += entry.stamp;
    head += '\0';
    head += contentCheck(content);
    head += '\0';
    // Not flushed to disk: an entry that a crash leaves torn fails its content check, and
    // the page runs again.
    if (!platform::system::writeFileAtomically(platform::text::toUtf8(path), {head, content},
                                               platform::system::Durability::unflushed)) {
        return false;
    }
    keepNewest(pagePrefix);
    // The next sweep looks again once the database differs from what this entry shows.
    SweepState& state = sweepState();
    std::lock_guard lock(state.mutex);
    state.databases[entry.database] = entry.stamp.substr(0, entry.stamp.rfind(" p"));
    return true;
}

void sweepCache(const std::wstring& folder) {
    if (folder.empty()) {
        return;
    }
    SweepState& state = sweepState();
    std::lock_guard lock(state.mutex);
    const bool changed =
        std::any_of(state.databases.begin(), state.databases.end(),
                    [](const auto& known) { return databaseStamp(known.first) != known.second; });
    if (state.swept && !changed) {
        return;
    }
    std::map<std::wstring, std::string> seen;
    std::error_code error;
    for (const auto& item :
         std::filesystem::directory_iterator(platform::text::toUtf8(folder), error)) {
        if (!item.is_regular_file(error)) {
            continue;
        }
        if (!isEntryName(item.path().filename().string())) {
            // What a writer that crashed before renaming its entry left behind.
            if (platform::system::isAbandonedTemporary(item.path().string(), kAbandonedWrite)) {
                removeFile(item.path());
            }
            continue;
        }
        const auto loaded = loadHeader(item.path());
        if (!loaded) {
            removeFile(item.path());
            continue;
        }
        const CacheEntry& entry = *loaded;
        if (seen.find(entry.database) == seen.end()) {
            seen[entry.database] = databaseStamp(entry.database);
        }
        if (entry.stamp.empty() || cacheStamp(entry.database, entry.page) != entry.stamp) {
            removeFile(item.path());
        }
    }
    state.databases = std::move(seen);
    state.swept = true;
}

}  // namespace tarn
