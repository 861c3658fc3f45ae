// Shared helpers of the engine tests: writing files and a temporary folder that removes
// itself.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace tarn_test {

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder below `parent` (the system's temporary folder by default), removed with
// everything in it when the object goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::filesystem::create_directories(parent);
        std::string pattern = (parent / "tarn-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder");
        }
        path_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::wstring wide() const { return path_.wstring(); }

  private:
    std::filesystem::path path_;
};

}  // namespace tarn_test

namespace tarn_test {

// A page file whose stylesheet copies the result document out as XML (content type
// "text/xml"), with `tarn` as its data block and `extra` as more top-level elements.
inline std::string xmlPage(const std::string& tarn, const std::string& extra = "") {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="xml" encoding="UTF-8"/>
<xsl:define name="content_type" value="text/xml"/>
)" + extra +
           tarn +
           R"(
<xsl:template match="/"><xsl:copy-of select="/*"/></xsl:template>
</xsl:stylesheet>)";
}

}  // namespace tarn_test
