#include "bench/regex/corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::vector<std::filesystem::path> sourceFiles() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses", error))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    for (auto it = fs::recursive_directory_iterator("/usr/share/doc", error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (error)
            break;
        if (it->is_regular_file() && it->path().filename() == "copyright")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::string buildCorpus(std::size_t bytes) {
    const auto files = sourceFiles();
    std::string corpus;
    while (corpus.size() < bytes && !files.empty()) {
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            corpus += content.str();
            if (corpus.size() >= bytes)
                break;
        }
    }
    corpus.resize(std::min(corpus.size(), bytes));
    return corpus;
}
