// Temporary files: private to the user, gone when done, and gone at the next start when
// their process was killed.
#include "platform/system/temporary_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
using namespace platform::system;

unsigned modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// Runs `work` in a child process that then ends without any clean-up, as a killed one.
void inKilledChild(const std::function<void()>& work) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
}

TEST(TemporaryFiles, LiveInTheUsersOwnFolderReadableByTheUserAloneAndGoWhenDone) {
    testing_environment::TemporaryHome home;
    const fs::path base = home.cacheHome() / "Olvan/Temp";
    std::string path;
    std::string folderPath;
    {
        TemporaryFile file("Caf\xC3\xA9 menu.html");
        ASSERT_FALSE(file.path().empty());
        path = file.path();
        EXPECT_EQ(fs::path(path).parent_path().parent_path(), base);
        EXPECT_EQ(fs::path(path).filename(), "Caf\xC3\xA9 menu.html");
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(modeOf(base.string()), 0700u);
        EXPECT_EQ(modeOf(processTemporaryFolder()), 0700u);
        EXPECT_TRUE(file.write("page"));
        EXPECT_TRUE(file.close(true));

        TemporaryFile same("Caf\xC3\xA9 menu.html");
        EXPECT_EQ(fs::path(same.path()).filename(), "Caf\xC3\xA9 menu-2.html");
        TemporaryFile unsafe("../escape");
        EXPECT_EQ(fs::path(unsafe.path()).parent_path(), fs::path(processTemporaryFolder()));

        TemporaryFolder folder;
        folderPath = folder.path();
        ASSERT_FALSE(folderPath.empty());
        EXPECT_EQ(modeOf(folderPath), 0700u);
        std::ofstream(fs::path(folderPath) / "tile.png") << "x";
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(folderPath));
    TemporaryFile kept("kept.txt");
    const std::string keptPath = kept.path();
    fs::rename(keptPath, home.root() / "kept.txt");
    kept.keep();
    EXPECT_TRUE(fs::exists(home.root() / "kept.txt"));
}

TEST(TemporaryFiles, AKilledProcessLeavesNothingAfterTheNextStart) {
    testing_environment::TemporaryHome home;
    const fs::path output = home.root() / "output";
    fs::create_directories(output);
    const fs::path noted = output / ".half-written";
    const std::string own = processTemporaryFolder();
    TemporaryFile mine("mine.txt");

    inKilledChild([&] {
        TemporaryFile file("book.epub");
        static_cast<void>(file.write("half a book"));
        TemporaryFolder folder;
        std::ofstream(fs::path(folder.path()) / "tile.png") << "x";
        LeftoverNote note(noted.string());
        std::ofstream(noted) << "half a copy";
        ::_exit(0);  // before any destructor
    });
    std::size_t folders = 0;
    for (const auto& entry : fs::directory_iterator(home.cacheHome() / "Olvan/Temp"))
        folders += entry.is_directory() ? 1 : 0;
    ASSERT_EQ(folders, 2u);
    ASSERT_TRUE(fs::exists(noted));

    EXPECT_EQ(sweepAbandonedTemporaries(), 1);
    folders = 0;
    for (const auto& entry : fs::directory_iterator(home.cacheHome() / "Olvan/Temp"))
        folders += entry.is_directory() ? 1 : 0;
    EXPECT_EQ(folders, 1u);
    EXPECT_FALSE(fs::exists(noted));
    // This process's own folder and file stay.
    EXPECT_TRUE(fs::exists(own));
    EXPECT_TRUE(fs::exists(mine.path()));
}

TEST(TemporaryFiles, TheFoldersOfLivingProcessesStay) {
    testing_environment::TemporaryHome home;
    int ready[2];
    int finish[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(finish), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TemporaryFile file("working.txt");
        char byte = file.path().empty() ? 'n' : 'y';
        static_cast<void>(::write(ready[1], &byte, 1));
        static_cast<void>(::read(finish[0], &byte, 1));
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_EQ(sweepAbandonedTemporaries(), 0);
    static_cast<void>(::write(finish[1], &byte, 1));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(sweepAbandonedTemporaries(), 1);
    for (const int descriptor : {ready[0], ready[1], finish[0], finish[1]})
        ::close(descriptor);
}

TEST(TemporaryFiles, AFileWhereTheFolderBelongsGivesNoTemporaryFile) {
    testing_environment::TemporaryHome home;
    fs::create_directories(home.cacheHome() / "Olvan");
    std::ofstream(home.cacheHome() / "Olvan/Temp") << "in the way";
    TemporaryFile file("x.txt");
    EXPECT_EQ(file.path(), "");
    EXPECT_EQ(file.descriptor(), -1);
    EXPECT_FALSE(file.write("x"));
    EXPECT_EQ(sweepAbandonedTemporaries(), 0);
}

}  // namespace
