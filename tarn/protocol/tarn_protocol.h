// The "tarn:" URL protocol: serves the pages of the template engine and the installed
// resource files. "tarn://resources/css/page.css" is the file resources/css/page.css of
// the data folder (the path percent-decoded), with the content type registered for its extension
// (also when the file is missing, which gives an empty reply); any other "tarn:" URL is handed to
// the engine without its scheme ("//tamrix/item?A1B2C3D4"), its query as written (a page
// decodes the percent escapes of the values it reads, so an encoded "&" or "=" stays part
// of its value), and its page's bytes are served with the page's content type.
//
// Contract: one object per request (see PluggableProtocol). Start answers S_FALSE for a
// URL that does not begin with "tarn:" as written; INET_E_INVALID_URL for a resource
// path with a ".." segment, written plainly or percent-encoded; -1 when the engine has no
// page for the URL. Those answers report nothing; S_OK comes with the reports made.
// Requests run at once on their callers' threads; the engine locks each page on its own.
#pragma once

#include <string>

#include "platform/browser/pluggable_protocol.h"

namespace tarn {

inline constexpr platform::com::GUID kTarnProtocolClass =
    platform::com::guidLiteral("E55E1F27-11DA-0004-0002-00AA00000001");

class TarnProtocol
    : public platform::com::ComObject<TarnProtocol, platform::browser::PluggableProtocol> {
  public:
    // Resources from the engine's "ConfigData" folder.
    TarnProtocol();
    // Resources from `dataFolder` instead (a test's own folder).
    explicit TarnProtocol(std::wstring dataFolder);

    platform::com::HRESULT Start(const wchar_t* url, platform::browser::IInternetProtocolSink* sink,
                                 platform::browser::IInternetBindInfo* bindInfo,
                                 std::uint32_t flags, std::uintptr_t reserved) override;

  private:
    platform::com::HRESULT serveResource(const std::wstring& url, std::wstring_view rest);
    platform::com::HRESULT servePage(const std::wstring& url, std::wstring_view rest);

    std::wstring dataFolder_;
};

}  // namespace tarn
