#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/system/folders.h"
#include "platform/system/module_path.h"
#include "testing/environment/temporary_home.h"

using namespace platform::system;
namespace fs = std::filesystem;

TEST(Folders, FollowTheXdgVariables) {
    testing_environment::TemporaryHome home;
    EXPECT_EQ(appDataFolder(), home.dataHome());
    EXPECT_EQ(settingsFolder(), home.configHome() / "Olvan");
    EXPECT_EQ(personalFolder(), home.root() / "Documents");
    EXPECT_EQ(runtimeFolder(), home.runtimeDir());

    // Unset or relative values fall back to the home; a trailing "/" is dropped.
    home.set("XDG_DATA_HOME", "relative/data");
    home.set("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(appDataFolder(), home.root() / ".local/share");
    EXPECT_EQ(settingsFolder(), home.root() / ".config/Olvan");
    home.set("XDG_DATA_HOME", home.root().string() + "/elsewhere//");
    EXPECT_EQ(appDataFolder(), home.root() / "elsewhere");
    home.set("XDG_DATA_HOME", "/");
    home.set("HOME", "/");
    EXPECT_NE(appDataFolder(), "/");
    EXPECT_NE(appDataFolder().substr(0, 7), "/.local");
}

TEST(Folders, DocumentsFollowTheUsersChoice) {
    testing_environment::TemporaryHome home;
    const auto userDirs = [&](const std::string& line) {
        fs::create_directories(home.configHome());
        std::ofstream(home.configHome() / "user-dirs.dirs")
            << "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
            << line << "\n";
    };
    EXPECT_EQ(personalFolder(), home.root() / "Documents") << "no user-dirs.dirs";
    userDirs("XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"");
    EXPECT_EQ(personalFolder(), home.root() / "Papers");
    userDirs("XDG_DOCUMENTS_DIR=\"/srv/shared docs\"");
    EXPECT_EQ(personalFolder(), "/srv/shared docs");
    // Only the home names a folder turned off; a relative or broken line names none.
    for (const char* off : {"XDG_DOCUMENTS_DIR=\"$HOME\"", "XDG_DOCUMENTS_DIR=\"$HOME/\"",
                            "XDG_DOCUMENTS_DIR=\"docs\"", "XDG_DOCUMENTS_DIR=\"$HOMEX\"",
                            "XDG_DOCUMENTS_DIR=$HOME/Unquoted"}) {
        userDirs(off);
        EXPECT_EQ(personalFolder(), home.root() / "Documents") << off;
    }
    userDirs("XDG_DOCUMENTS_DIR=\"$HOME/Papers\"");
    home.set("XDG_DOCUMENTS_DIR", home.root().string() + "/Chosen/");
    EXPECT_EQ(personalFolder(), home.root() / "Chosen") << "the variable comes first";
}

TEST(Folders, RuntimeFallbackIsPrivateToTheUser) {
    testing_environment::TemporaryHome home;
    home.set("XDG_RUNTIME_DIR", std::nullopt);
    const std::string folder = runtimeFolder();
    ASSERT_EQ(folder, "/tmp/olvan-" + std::to_string(getuid()));
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, getuid());
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(ModulePath, ProgramAndModuleFoldersGiveTheInstallationLayout) {
    const std::string program = programPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(fs::canonical(program), fs::canonical("/proc/self/exe"));
    // The library is a shared object among the deliverables: <root>/bin/libplatform_system.so.
    const fs::path library = modulePath();
    EXPECT_EQ(library.filename(), "libplatform_system.so");
    EXPECT_EQ(library.parent_path().filename(), "bin");
    EXPECT_EQ(installationRoot(), library.parent_path().parent_path());
    EXPECT_EQ(dataFolder(), installationRoot() + "/data");
    EXPECT_EQ(modulePathOf(reinterpret_cast<const void*>(&programPath)), library);
    static const int inProgram = 0;
    EXPECT_EQ(modulePathOf(&inProgram), program);
}
