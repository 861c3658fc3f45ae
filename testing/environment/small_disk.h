// A small file system of its own (tmpfs) for tests of writes that meet a full disk. It is
// mounted on a folder and unmounted afterwards (a temporary folder of its own is removed
// too); where mounting is not permitted (no privilege), `mounted()` is false and the test
// should skip.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

namespace testing_environment {

class SmallDisk {
  public:
    // Mounted on `folder` (made when missing; what it held is hidden meanwhile), or on a
    // fresh temporary folder.
    explicit SmallDisk(std::size_t bytes, std::filesystem::path folder = {}) {
        if (folder.empty()) {
            char pattern[] = "/tmp/small-disk-XXXXXX";
            if (::mkdtemp(pattern) == nullptr)
                return;
            folder = pattern;
            ownsFolder_ = true;
        }
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        root_ = folder;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
        mounted_ = ::mount("tmpfs", root_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(root_.c_str(), MNT_DETACH);
        std::error_code ignored;
        if (ownsFolder_)
            std::filesystem::remove_all(root_, ignored);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::filesystem::path& root() const { return root_; }

    // Fills what is left of the disk with one file; true once a write met ENOSPC.
    bool fill() const {
        std::FILE* filler = std::fopen((root_ / "filler").c_str(), "wb");
        if (filler == nullptr)
            return false;
        const std::string block(4096, 'f');
        bool full = false;
        while (!full) {
            full = std::fwrite(block.data(), 1, block.size(), filler) < block.size() ||
                   std::fflush(filler) != 0;
        }
        const bool noSpace = errno == ENOSPC;
        std::fclose(filler);
        return noSpace;
    }

  private:
    std::filesystem::path root_;
    bool mounted_ = false;
    bool ownsFolder_ = false;
};

}  // namespace testing_environment
