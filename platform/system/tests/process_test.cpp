#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/system/atomic_file.h"
#include "platform/system/process.h"
#include "testing/environment/temporary_home.h"

using namespace platform::system;
using namespace std::chrono_literals;

TEST(Process, RunsProgramsWithArgumentsAndNoShell) {
    testing_environment::TemporaryHome home;
    const std::string marker = (home.root() / "out; rm -rf x").string();
    const auto result = runProcess({"touch", marker}, 5s);
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(marker));

    EXPECT_EQ(runProcess({"sh", "-c", "exit 3"}, 5s).exitCode, 3);
    ProcessOptions inFolder;
    inFolder.workingFolder = home.root().string();
    EXPECT_EQ(
        runProcess({"sh", "-c", "test \"$(pwd)\" = \"$0\"", home.root().string()}, 5s, inFolder)
            .exitCode,
        0);
}

TEST(Process, ReportsProgramsThatCannotStart) {
    const auto missing = runProcess({"/nonexistent/program"}, 5s);
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("/nonexistent/program"), std::string::npos) << missing.error;
    EXPECT_FALSE(runProcess({}, 5s).started);
    ProcessOptions badFolder;
    badFolder.workingFolder = "/nonexistent/folder";
    EXPECT_FALSE(runProcess({"true"}, 5s, badFolder).started);
}

TEST(Process, TimeoutKillsAndWaitIsBounded) {
    const auto before = std::chrono::steady_clock::now();
    const auto result = runProcess({"sleep", "30"}, 200ms);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);

    Process process;
    ProcessOptions quiet;
    quiet.discardOutput = true;
    ASSERT_TRUE(process.start({"sleep", "30"}, quiet));
    EXPECT_TRUE(process.isRunning());
    EXPECT_EQ(process.wait(50ms), std::nullopt);
    process.kill();
    EXPECT_FALSE(process.isRunning());
    EXPECT_EQ(process.wait(0ms), 128 + 9);
}
