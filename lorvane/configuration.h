// The side pane's configuration: the ordered names of the side pages it shows, kept in
// config.xml in the user data folder:
//   <?xml version="1.0" encoding="UTF-8"?>
//   <config><sidePages><item name="..."/>...</sidePages></config>
// Reading takes the "item" children of every "sidePages" element of the "config" root in
// document order (an item without "name" gives an empty name); writing puts one
// "sidePages" with one "item" per name.
//
// Contract: one object per program, user-interface thread only. Files are written whole
// or not at all. A file that exists but is not a configuration is reported (lastError,
// corrupt) and left as it is; the list keeps what it held. Before a save replaces such a
// file, the file is kept beside it as "<name>.bad" so the user's text is not lost.
#pragma once

#include <string>
#include <vector>

namespace lorvane {

class LorvaneConfig {
  public:
    // 0 on success, -1 on failure. A non-empty `path` replaces the stored path first; an
    // empty stored path fails. The names read are appended to the list.
    int loadConfig(const std::wstring& path = {});
    // Writes the whole file from the list; 0 or -1 (with lastError).
    int saveConfig(const std::wstring& path = {});
    void clearConfig() { names.clear(); }

    const std::wstring& lastError() const { return lastError_; }
    // The last load found a file that could not be read as a configuration.
    bool corrupt() const { return corrupt_; }

    std::wstring path;
    std::vector<std::wstring> names;

  private:
    std::wstring lastError_;
    bool corrupt_ = false;
};

}  // namespace lorvane
