// The "tamrix:" URL protocol: serves the files of the add-on's data folder, above all the
// toolbar pages with their pictures, styles and scripts. "tamrix://resources/a/b.html" is
// the file resources/a/b.html of the data folder, with the content type registered for
// its extension. The whole file is read at Start; Read hands it out.
//
// Contract: one object per request (see PluggableProtocol). Start answers S_FALSE for a
// URL that does not begin with "tamrix:" as written, INET_E_INVALID_URL (nothing
// reported) for a path that would leave the data folder, and otherwise S_OK with the
// reports made: a missing file, a folder or a URL without "//" gives an empty reply with
// an empty content type. The URL is percent-decoded (UTF-8) before it is looked at.
#pragma once

#include <string>

#include "platform/browser/pluggable_protocol.h"

namespace addon {

inline constexpr platform::com::GUID kTamrixProtocolClass =
    platform::com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000006");

class TamrixProtocol
    : public platform::com::ComObject<TamrixProtocol, platform::browser::PluggableProtocol> {
  public:
    // Serves the add-on's "ConfigData" folder.
    TamrixProtocol();
    // Serves `dataFolder` instead (a test's own folder).
    explicit TamrixProtocol(std::wstring dataFolder);

    platform::com::HRESULT Start(const wchar_t* url, platform::browser::IInternetProtocolSink* sink,
                                 platform::browser::IInternetBindInfo* bindInfo,
                                 std::uint32_t flags, std::uintptr_t reserved) override;

  private:
    std::wstring dataFolder_;
};

}  // namespace addon
