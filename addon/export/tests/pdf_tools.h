// Test helpers: the PDF validators and renderers of poppler-utils and qpdf, run on a file
// with a time limit, and picture tiles written with the imaging stand-in.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/imaging/image_codecs.h"
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

}  // namespace export_test
