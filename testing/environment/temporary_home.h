// A throw-away home for a test: a fresh folder under the system's temporary folder with
// HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR pointed into it, so
// nothing a test does reaches the real home. The destructor puts the variables back and removes the
// folder with everything in it.
//
// Contract: changes the process environment, so one TemporaryHome at a time per process
// and no other thread reading the environment meanwhile. Throws std::runtime_error when
// the folder cannot be made.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace testing_environment {

class TemporaryHome {
  public:
    TemporaryHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamrix-home-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary home folder");
        }
        root_ = pattern;
        point("HOME", root_);
        point("XDG_DATA_HOME", root_ / "data");
        point("XDG_CONFIG_HOME", root_ / "config");
        point("XDG_CACHE_HOME", root_ / "cache");
        point("XDG_RUNTIME_DIR", root_ / "runtime");
        set("XDG_DOCUMENTS_DIR", std::nullopt);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    ~TemporaryHome() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(root_, ignored);
    }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path dataHome() const { return root_ / "data"; }
    std::filesystem::path configHome() const { return root_ / "config"; }
    std::filesystem::path cacheHome() const { return root_ / "cache"; }
    std::filesystem::path runtimeDir() const { return root_ / "runtime"; }

    // Sets (or with nullopt removes) a variable for the test's lifetime.
    void set(const std::string& name, const std::optional<std::string>& value) {
        remember(name);
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

  private:
    void point(const std::string& name, const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        set(name, folder.string());
    }

    void remember(const std::string& name) {
        if (saved_.count(name) == 0) {
            const char* old = getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
    }

    std::filesystem::path root_;
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace testing_environment
