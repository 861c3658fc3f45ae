// An installation made by `cmake --install` into a fresh prefix: its tamrix-host finds its
// libraries, modules and data there and runs the help and the shipped demo.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/tests/host_process.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
using host_tests::holds;

TEST(HostInstall, AnInstalledTreeRunsTheHelpAndTheDemo) {
    testing_environment::TemporaryHome home;
    const fs::path prefix = home.root() / "prefix";
    const host_tests::Printed installed = host_tests::runProgram(
        home.root(), {"--install", TAMRIX_BUILD_DIR, "--prefix", prefix.string()}, 240, "cmake");
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;

    const fs::path host = prefix / "bin" / "tamrix-host";
    ASSERT_TRUE(fs::exists(host));
    EXPECT_TRUE(fs::exists(prefix / "bin" / "lorvane"));
    EXPECT_TRUE(fs::exists(prefix / "bin" / "Tamrix.so"));
    EXPECT_TRUE(fs::exists(prefix / "bin" / "protocol.so"));
    EXPECT_TRUE(fs::exists(prefix / "data" / "plugins" / "tamrix" / "plugin.so"));
    EXPECT_TRUE(fs::exists(prefix / "data" / "examples" / "article.html"));
    EXPECT_FALSE(fs::exists(prefix / "data" / "CMakeLists.txt"));

    const host_tests::Printed help = host_tests::runProgram(home.root(), {"--help"}, 60, host);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(holds(help.out, "Usage:")) << help.out;

    const host_tests::Printed demo = host_tests::runProgram(home.root(), {"demo"}, 120, host);
    EXPECT_EQ(demo.status, 0) << demo.out << demo.err;
    EXPECT_TRUE(holds(demo.out, "stored title: The Lighthouse Keepers of Varn")) << demo.out;
    const auto page = demo.err.find("latest entries page: ");
    ASSERT_NE(page, std::string::npos) << demo.err;
    const std::string latest = demo.err.substr(page + 21, demo.err.find('\n', page) - page - 21);
    EXPECT_TRUE(holds(host_tests::readText(latest), "The Lighthouse Keepers of Varn"));
    fs::remove_all(fs::path(latest).parent_path());
}

TEST(HostInstall, ProgramsNeverTakeLibrariesFromTheFolderTheyAreStartedIn) {
    // A foreign library under the name of one the host needs (zlib), in the folder it is
    // started from: the host still takes the system's own.
    testing_environment::TemporaryHome home;
    fs::copy_file(fs::path(TAMRIX_STAGE_DIR) / "bin" / "libplatform_text.so",
                  home.root() / "libz.so.1");
    const host_tests::Printed version = host_tests::runProgram(home.root(), {"--version"}, 60);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_FALSE(holds(version.err, "libz.so.1")) << version.err;
    EXPECT_TRUE(holds(version.out, "tamrix-host")) << version.out;
}

}  // namespace
