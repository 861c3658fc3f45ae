// Temporary files in the user's own temporary folder: $XDG_CACHE_HOME/Olvan/Temp (else
// $HOME/.cache/Olvan/Temp), mode 0700, where no other user can read or replace them.
// Each process works in a folder of its own in it, made at first use and holding a lock
// file that the process keeps locked while it lives; the folder goes when the process
// ends normally. What a killed process leaves behind goes at the next start, when
// sweepAbandonedTemporaries finds folders whose lock is free.
//
// Files a process must write outside that folder for a moment (an output's temporary copy
// beside its target, on another file system) are noted there with a LeftoverNote while
// they exist, so the sweep removes them too.
//
// Contract: thread-safe. Objects belong to one thread each. Nothing throws but
// std::bad_alloc; failures are given as empty paths and -1 descriptors, errno set.
#pragma once

#include <string>
#include <string_view>

namespace platform::system {

// The user's temporary folder, made 0700 when missing; "" when it cannot be made or is
// not a folder of this user's.
std::string userTemporaryFolder();

// This process's own folder inside it; "" when it cannot be made.
std::string processTemporaryFolder();

// Removes the folders of processes that ended without removing theirs, with the files
// they noted outside them. Returns how many folders went.
int sweepAbandonedTemporaries();

// A new file (mode 0600) in this process's folder, removed with its descriptor by the
// destructor unless it was kept.
class TemporaryFile {
  public:
    // `name` is the file's name (one path component, no "/"); a name this process already
    // uses gets "-2", "-3", ... before its extension.
    explicit TemporaryFile(const std::string& name);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // "" and -1 when the file could not be made.
    const std::string& path() const { return path_; }
    int descriptor() const { return descriptor_; }
    // Writes all of `bytes` at the file's position; false when it cannot (errno tells why,
    // for a file that could not be made the reason it could not).
    bool write(std::string_view bytes);
    // Closes the descriptor (flushed to disk first when `flush`); false when that fails.
    bool close(bool flush);
    // The file now lives on under another name (renamed away): the destructor leaves it.
    void keep();

  private:
    std::string path_;
    int descriptor_ = -1;
    int failure_ = 0;  // errno of the failed making
};

// A new folder (mode 0700) in this process's folder, removed with all it holds by the
// destructor.
class TemporaryFolder {
  public:
    TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    // "" when the folder could not be made.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Notes `path` (a temporary file outside the user's temporary folder) for removal by the
// sweep should this process end before the note is dropped by the destructor.
class LeftoverNote {
  public:
    explicit LeftoverNote(const std::string& path);
    LeftoverNote(const LeftoverNote&) = delete;
    LeftoverNote& operator=(const LeftoverNote&) = delete;
    ~LeftoverNote();

  private:
    std::string note_;
};

}  // namespace platform::system
