// Output files of the exports, written whole or not at all, and the names they get.
//
// Contract: one thread per object. An OutputFile is written in the user's temporary folder
// (temporary_files.h: mode 0600, removed by the destructor when it was not committed, and
// by the next start when the process was killed); `commit` moves it over the target, by a
// rename, or on another file system by a copy beside the target (noted for the sweep while
// it exists) renamed over it. A failed or abandoned export leaves no part of its output in
// the output folder.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/system/temporary_files.h"

namespace plugin {

class OutputFile {
  public:
    explicit OutputFile(const std::string& target);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The temporary file's descriptor, or -1 when it could not be made or the target's
    // folder is missing or takes no files (errno tells why).
    int descriptor() const;
    // Writes `bytes` at the end of the temporary file; false when it cannot.
    bool append(std::string_view bytes);
    // Flushes and closes the temporary file and puts it in the target's place (mode 0644);
    // false on failure (errno tells why), the target then left as it was.
    bool commit();

  private:
    bool copyOver();

    std::string target_;
    std::optional<platform::system::TemporaryFile> temporary_;
};

// `path` as a native path: UTF-8 with "/" for "\".
std::string nativeFilePath(const std::wstring& path);

// `path` when nothing is there, else the first free one of "name (2).ext", "name (3).ext",
// ... beside it.
std::wstring freePathBeside(const std::wstring& path);

// Hands out file names inside one output folder, made from entry titles through the
// file-name sanitiser so that no title can point outside the folder; a name already
// handed out gets " (2)", " (3)", ... before its extension.
class FileNamer {
  public:
    explicit FileNamer(std::wstring folder);
    // The full path for `title` + `extension` (extension with its dot).
    std::wstring pathFor(const std::wstring& title, const std::wstring& extension);

  private:
    std::wstring folder_;
    std::set<std::wstring> used_;
};

}  // namespace plugin
