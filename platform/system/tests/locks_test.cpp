#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/system/atomic_file.h"
#include "platform/system/file_lock.h"
#include "platform/system/named_mutex.h"
#include "testing/environment/temporary_home.h"

using namespace platform::system;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(NamedMutex, ExcludesOtherHoldersAcrossProcessesAndWaitsBoundedly) {
    testing_environment::TemporaryHome home;
    NamedMutex first(L"Global\\LorvaneServer");
    EXPECT_EQ(first.path(), (home.runtimeDir() / "Global%5CLorvaneServer.lock").string());
    ASSERT_TRUE(first.tryLock());

    NamedMutex second(L"Global\\LorvaneServer");
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.lock(100ms));
    const auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 2s);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NamedMutex inChild(L"Global\\LorvaneServer");
        _exit(inChild.tryLock() ? 1 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    first.unlock();
    EXPECT_TRUE(second.tryLock());
    NamedMutex other(L"Global/LorvaneServer");
    EXPECT_NE(other.path(), second.path());
    EXPECT_TRUE(other.tryLock());
}

TEST(NamedMutex, HolderThatDiesReleasesIt) {
    testing_environment::TemporaryHome home;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NamedMutex held(L"Global\\TamrixCheckUpdate");
        const char flag = held.tryLock() ? 'y' : 'n';
        (void)!write(ready[1], &flag, 1);
        pause();
        _exit(0);
    }
    char flag = 0;
    ASSERT_EQ(read(ready[0], &flag, 1), 1);
    ASSERT_EQ(flag, 'y');
    NamedMutex waiting(L"Global\\TamrixCheckUpdate");
    EXPECT_FALSE(waiting.tryLock());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(waiting.lock(2s));
    close(ready[0]);
    close(ready[1]);
}

TEST(AtomicFile, WritesWholeFilesAndCreatesFolders) {
    testing_environment::TemporaryHome home;
    const std::string folder = (home.root() / "a/b/c").string();
    ASSERT_TRUE(createFolders(folder));
    EXPECT_TRUE(createFolders(folder));
    const std::string path = folder + "/file.txt";
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, std::string(100000, 'x')));
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, std::string(100000, 'x'));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    EXPECT_FALSE(createFolders(path + "/below"));
    EXPECT_FALSE(createFolders(""));
    EXPECT_FALSE(writeFileAtomically(folder + "/missing/file.txt", "x"));
    EXPECT_FALSE(readWholeFile(folder + "/missing.txt", back));
    EXPECT_EQ(errno, ENOENT);
}

TEST(AtomicFile, TellsTheTemporaryFilesOfCutShortWritesFromWritesUnderWay) {
    testing_environment::TemporaryHome home;
    const std::string folder = home.root().string();
    const auto make = [&](const std::string& name, std::chrono::hours age) {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(writeFileAtomically(path, "partial"));
        fs::last_write_time(path, fs::file_time_type::clock::now() - age);
        return path;
    };
    EXPECT_TRUE(isAbandonedTemporary(make("page.1f.tmp-4242-7", 2h), 10min));
    EXPECT_FALSE(isAbandonedTemporary(make("page.2f.tmp-4242-8", 0h), 10min))
        << "a write under way is left alone";
    EXPECT_FALSE(isAbandonedTemporary(make("page.3f", 2h), 10min)) << "a written file";
    EXPECT_FALSE(isAbandonedTemporary(make("notes.tmp-draft", 2h), 10min));
    EXPECT_FALSE(isAbandonedTemporary(make(".tmp-1-1", 2h), 10min)) << "no target name";
    EXPECT_FALSE(isAbandonedTemporary(folder + "/missing.tmp-1-1", 10min));
    fs::create_directory(folder + "/folder.tmp-1-1");
    fs::last_write_time(folder + "/folder.tmp-1-1", fs::file_time_type::clock::now() - 2h);
    EXPECT_FALSE(isAbandonedTemporary(folder + "/folder.tmp-1-1", 10min)) << "not a file";
}
