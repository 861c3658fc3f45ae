// File helpers for tests of damaged repositories: whole-file reads, back-dating a file,
// and overwriting one page of an SQLite file with garbage as a failing disk would.
#pragma once

#include <gtest/gtest.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace repository_testing {

inline std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void ageFile(const std::filesystem::path& path, long seconds) {
    struct utimbuf times {};
    times.actime = times.modtime = time(nullptr) - seconds;
    ASSERT_EQ(utime(path.c_str(), &times), 0);
}

// Overwrites the page in the middle of the database file with garbage.
inline void overwriteMiddlePage(const std::filesystem::path& file) {
    const std::string bytes = contents(file);
    ASSERT_GT(bytes.size(), 100u);
    const std::size_t pageSize =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    const std::size_t pages = bytes.size() / pageSize;
    ASSERT_GT(pages, 10u);
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(pages / 2 * pageSize));
    out << std::string(pageSize, 'x');
}

}  // namespace repository_testing
