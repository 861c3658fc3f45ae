// Test helpers: the PDF validators and renderers of poppler-utils and qpdf, run on a file
// with a time limit, and picture tiles written with the imaging stand-in.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "platform/imaging/codecs/image_codecs.h"
#include "platform/system/atomic_file.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"

namespace export_test {

// The tool's standard output and error, or nullopt when it could not run, failed or
// took longer than 60 seconds.
inline std::optional<std::string> runTool(const std::vector<std::string>& arguments,
                                          const std::filesystem::path& outputFile) {
    // The shell only redirects; the arguments reach the tool as they are.
    std::vector<std::string> argv = {"sh", "-c", "out=\"$1\"; shift; \"$@\" >\"$out\" 2>&1", "sh",
                                     outputFile.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const auto result = platform::system::runProcess(argv, std::chrono::seconds(60));
    std::string output;
    platform::system::readWholeFile(outputFile.string(), output);
    if (!result.started || result.timedOut || result.exitCode != 0) {
        ADD_FAILURE() << arguments[0] << " failed (" << result.exitCode << "): " << output;
        return std::nullopt;
    }
    return output;
}

inline bool toolInstalled(const std::string& name) {
    return platform::system::runProcess({"sh", "-c", "command -v \"$1\" >/dev/null", "sh", name},
                                        std::chrono::seconds(10))
               .exitCode == 0;
}

#define REQUIRE_TOOLS()                                                                      \
    if (!export_test::toolInstalled("qpdf") || !export_test::toolInstalled("pdfinfo") ||     \
        !export_test::toolInstalled("pdfimages") || !export_test::toolInstalled("pdftoppm")) \
    GTEST_SKIP() << "qpdf and poppler-utils are not installed"

inline std::wstring writeTile(const std::filesystem::path& path,
                              const platform::imaging::Bitmap& bitmap) {
    EXPECT_EQ(platform::imaging::saveBitmap(bitmap, path.string(), "image/png"),
              platform::imaging::Status::Ok);
    return path.wstring();
}

inline platform::imaging::Bitmap filled(int width, int height, std::uint32_t argb) {
    platform::imaging::Bitmap bitmap(width, height, platform::imaging::PixelFormat::Rgb24);
    bitmap.fill(argb);
    return bitmap;
}

struct SeenLink {
    std::string uri;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

inline void expectRect(const SeenLink& link, double x1, double y1, double x2, double y2) {
    EXPECT_EQ(link.x1, x1) << link.uri;
    EXPECT_EQ(link.y1, y1) << link.uri;
    EXPECT_EQ(link.x2, x2) << link.uri;
    EXPECT_EQ(link.y2, y2) << link.uri;
}

// The text of object `number` of a PDF without object streams; "" when it is missing.
inline std::string objectText(const std::string& pdf, int number) {
    const std::string head = "\n" + std::to_string(number) + " 0 obj\n";
    const auto start = pdf.find(head);
    if (start == std::string::npos)
        return "";
    return pdf.substr(start + head.size(), pdf.find("endobj", start) - start - head.size());
}

inline std::vector<int> references(const std::string& list) {
    std::vector<int> numbers;
    const std::regex reference("(\\d+) 0 R");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), reference);
         it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stoi((*it)[1]));
    return numbers;
}

// The link annotations of every page in page order, found by following the references from
// the page tree to each page's /Annots and on to the annotation objects.
inline std::vector<std::vector<SeenLink>> linksByPage(const std::string& pdf) {
    std::vector<std::vector<SeenLink>> pages;
    std::smatch kids;
    if (!std::regex_search(pdf, kids, std::regex("/Kids \\[([^\\]]*)\\]"))) {
        ADD_FAILURE() << "no page tree";
        return pages;
    }
    const std::regex annots("/Annots \\[([^\\]]*)\\]");
    const std::regex link(
        "/Type /Annot\n/Subtype /Link\n/Rect \\[(\\S+) (\\S+) (\\S+) (\\S+)\\]\n"
        "/Border\\[0 0 0\\]\n/A <<\n/S /URI\n/URI <([0-9A-F]*)>");
    for (const int pageNumber : references(kids[1].str())) {
        const std::string page = objectText(pdf, pageNumber);
        EXPECT_NE(page.find("/Type /Page\n"), std::string::npos) << pageNumber;
        std::vector<SeenLink>& seen = pages.emplace_back();
        std::smatch list;
        if (!std::regex_search(page, list, annots))
            continue;
        for (const int number : references(list[1].str())) {
            const std::string annotation = objectText(pdf, number);
            std::smatch m;
            if (!std::regex_search(annotation, m, link)) {
                ADD_FAILURE() << "object " << number << " is no link: " << annotation;
                continue;
            }
            std::string uri;
            const std::string hex = m[5].str();
            for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
                uri += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            seen.push_back(
                {uri, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
        }
    }
    return pages;
}

}  // namespace export_test
