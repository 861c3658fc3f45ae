// The shipped example article clipped and exported as an e-book from tamrix-host, the way
// a person does it: open the page, select the article, export through the toolbar command.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHost = fs::path(TAMRIX_STAGE_DIR) / "bin" / "tamrix-host";
const fs::path kExamples = fs::path(TAMRIX_STAGE_DIR) / "data" / "examples";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Run {
    int exitCode = -1;
    std::string output;
};

// Runs the words as one command (each quoted) with a time limit; its output and status.
Run run(const std::vector<std::string>& words, int seconds) {
    std::string command = "timeout " + std::to_string(seconds);
    for (const std::string& word : words)
        command += " '" + word + "'";
    Run result;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            result.output.append(buffer, got);
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return result;
}

TEST(HostExport, ExampleArticleBecomesABookThatHoldsItsPicture) {
    testing_environment::TemporaryHome home;
    const fs::path books = home.root() / "books";
    fs::create_directories(books);
    const auto host =
        run({kHost.string(), "open " + (kExamples / "article.html").string(), "attach",
             "select article", "answer-export EPUB | " + books.string() + " | lighthouse",
             "command command-export/tamrix"},
            120);
    ASSERT_EQ(host.exitCode, 0) << host.output;
    const fs::path book = books / "lighthouse.epub";
    ASSERT_TRUE(fs::exists(book)) << host.output;

    const fs::path unpacked = home.root() / "unpacked";
    const auto unzip = run({"unzip", "-q", book.string(), "-d", unpacked.string()}, 60);
    ASSERT_EQ(unzip.exitCode, 0) << unzip.output;
    EXPECT_EQ(readFile(unpacked / "OEBPS" / "images" / "picture-1.jpg"),
              readFile(kExamples / "images" / "tower.jpg"));
    const std::string page = readFile(unpacked / "OEBPS" / "content.html");
    EXPECT_NE(page.find("<img src=\"images/picture-1.jpg\" alt=\"The tower at dusk\""),
              std::string::npos)
        << page;
    EXPECT_NE(readFile(unpacked / "OEBPS" / "package.opf")
                  .find("href=\"images/picture-1.jpg\" media-type=\"image/jpeg\""),
              std::string::npos);

    const auto check = run({"java", "-jar", "/usr/share/java/epubcheck.jar", book.string()}, 120);
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_NE(check.output.find("No errors or warnings detected"), std::string::npos)
        << check.output;
}

}  // namespace
