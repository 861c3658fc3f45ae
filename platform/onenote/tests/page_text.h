// Test helpers over page files: a whole file as text and the count of a text in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace onenote_testing {

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

}  // namespace onenote_testing
