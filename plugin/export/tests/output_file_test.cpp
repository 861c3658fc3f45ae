// Output files: nothing but the finished output ever stands in the output folder.
#include "plugin/export/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/system/temporary_files.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename());
    return found;
}

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(OutputFile, AnExportKilledMidwayLeavesNothingInTheOutputFolderAfterTheNextStart) {
    testing_environment::TemporaryHome home;
    const fs::path output = home.root() / "books";
    fs::create_directories(output);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        plugin::OutputFile book((output / "book.epub").string());
        static_cast<void>(book.append("half a book"));
        ::_exit(0);  // killed: no destructor runs
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(filesIn(output), std::vector<fs::path>{});
    EXPECT_EQ(platform::system::sweepAbandonedTemporaries(), 1);
    for (const auto& entry : fs::recursive_directory_iterator(home.cacheHome()))
        EXPECT_TRUE(entry.is_directory() || entry.path().filename() == "lock") << entry.path();
}

TEST(OutputFile, TheOutputReplacesTheTargetWholeOrNotAtAll) {
    testing_environment::TemporaryHome home;
    const fs::path target = home.root() / "book.txt";
    std::ofstream(target) << "old";
    {
        plugin::OutputFile abandoned(target.string());
        ASSERT_GE(abandoned.descriptor(), 0);
        EXPECT_TRUE(abandoned.append("never finished"));
    }
    EXPECT_EQ(contentOf(target), "old");
    plugin::OutputFile book(target.string());
    EXPECT_TRUE(book.append("new "));
    EXPECT_TRUE(book.append("book"));
    ASSERT_TRUE(book.commit());
    EXPECT_EQ(contentOf(target), "new book");
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    EXPECT_EQ(filesIn(home.root()).size(), 5u);  // book.txt and the home's own folders
}

TEST(OutputFile, AnOutputOnAnotherFileSystemIsCopiedBesideTheTargetThenRenamed) {
    testing_environment::TemporaryHome home;
    const fs::path memory = fs::path("/dev/shm") / ("tamrix-cache-" + std::to_string(::getpid()));
    struct stat disk {};
    struct stat shm {};
    if (::stat(home.root().c_str(), &disk) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        disk.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system for the temporary folder";
    home.set("XDG_CACHE_HOME", memory.string());
    const fs::path output = home.root() / "books";
    fs::create_directories(output);
    plugin::OutputFile book((output / "book.html").string());
    EXPECT_TRUE(book.append("<p>copied</p>"));
    const bool committed = book.commit();
    fs::remove_all(memory);
    ASSERT_TRUE(committed);
    EXPECT_EQ(contentOf(output / "book.html"), "<p>copied</p>");
    EXPECT_EQ(filesIn(output), std::vector<fs::path>{"book.html"});
}

}  // namespace
