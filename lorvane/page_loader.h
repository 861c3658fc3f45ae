// Where a side page's documents come from: "about:blank" is an empty page, "tarn:"
// addresses are served by the tarn: protocol module (<root>/bin/protocol.so, loaded on
// first use, as the browser's URL layer loads it), and "file:" addresses by the files of
// the data folders. Nothing else is served, so a page never loads a module or a file from
// elsewhere.
//
// Contract: single-threaded (the user-interface thread); the protocol module stays loaded
// while the loader lives. fetch never throws; what cannot be served gives nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/browser/protocol_table.h"

namespace lorvane {

class PageLoader {
  public:
    PageLoader(std::string protocolModule, std::vector<std::wstring> fileRoots);

    // The page's bytes (UTF-8 markup), or nothing.
    std::optional<std::string> fetch(const std::wstring& address);

    const std::vector<std::wstring>& fileRoots() const { return fileRoots_; }

  private:
    std::string protocolModule_;
    std::vector<std::wstring> fileRoots_;
    platform::browser::ProtocolTable protocols_;
    bool protocolLoaded_ = false;
};

}  // namespace lorvane
