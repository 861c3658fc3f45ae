// Output files of the exports, written whole or not at all, and the names they get.
//
// Contract: one thread per object. An OutputFile opens a hidden temporary file beside the
// target; `commit` renames it over the target, and the destructor removes it when it was
// not committed, so a failed or abandoned export leaves no part of its output behind.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace plugin {

class OutputFile {
  public:
    explicit OutputFile(const std::string& target);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // The temporary file's descriptor, or -1 when it could not be made (errno tells why).
    int descriptor() const { return fd_; }
    // Writes `bytes` at the end of the temporary file; false when it cannot.
    bool append(std::string_view bytes);
    // Flushes, closes and renames the temporary file over the target; false on failure
    // (the temporary file is then removed and the target left as it was).
    bool commit();

  private:
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
};

// A private temporary folder, removed with everything in it by the destructor.
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
