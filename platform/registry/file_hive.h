// Hives kept in a registry text file (see file_format.h).
//
// UserFileHive is the current user's root: "registry.txt" in the settings folder. Every
// operation reads the file again, so processes sharing it see each other's values; a
// change is made under an exclusive lock on "registry.txt.lock" (waiting at most 10 s,
// else ERROR_LOCK_VIOLATION) and written through a temporary file and a rename, so no
// value written by another process is lost and the file is never torn. A damaged file is
// renamed aside and reported (corruption.h), and the root then starts empty.
//
// MachineFileHive is the installation's read-only root: "registry.txt" in the data folder,
// which may be absent (an empty root).
//
// Contract: thread- and process-safe; the folders are looked up on every operation.
#pragma once

#include <string>

#include "platform/registry/hive.h"

namespace platform::registry {

class UserFileHive : public Hive {
  public:
    LONG read(const Reader& reader) override;
    LONG modify(const Change& change) override;
    bool isWritable() const override { return true; }
};

class MachineFileHive : public Hive {
  public:
    LONG read(const Reader& reader) override;
    LONG modify(const Change&) override { return ERROR_ACCESS_DENIED; }
    bool isWritable() const override { return false; }
};

// The file that holds the current user's root ("" when there is no settings folder).
std::string userRegistryFile();
std::string machineRegistryFile();

}  // namespace platform::registry
