// The browser's table of URL schemes: which protocol object serves a URL. A scheme is
// served either by a factory function registered in-process or by a protocol module (a
// shared library exporting DllGetClassObject) loaded for it, with the class id of its
// protocol class.
//
// Contract: schemes are matched without regard to case (the protocol object itself then
// decides whether it serves the URL as written). Registration and lookup are guarded by
// one mutex, so any thread may use the table; a loaded module stays loaded while the
// table holds its scheme. Nothing throws except std::bad_alloc.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/browser/protocol_interfaces.h"

namespace platform::browser {

class ProtocolTable {
  public:
    using Factory = std::function<com::ComPtr<IInternetProtocol>()>;

    // Serves `scheme` ("tarn", without the colon) with objects from `factory`, replacing an
    // earlier registration of that scheme.
    void registerScheme(const std::wstring& scheme, Factory factory);

    // Loads the module at `modulePath` and serves `scheme` with its class `clsid`. S_OK, or
    // the failure (E_FAIL when the module does not load or has no DllGetClassObject, or
    // the module's own refusal); `error` then says what failed.
    HRESULT registerModule(const std::wstring& scheme, const std::string& modulePath,
                           const GUID& clsid, std::string* error = nullptr);

    void unregisterScheme(const std::wstring& scheme);

    // A new protocol object for the URL's scheme (the text before its first ":"), or null
    // when no scheme of the table serves it.
    com::ComPtr<IInternetProtocol> create(std::wstring_view url) const;

  private:
    mutable std::mutex mutex_;
    std::map<std::wstring, Factory> factories_;
};

}  // namespace platform::browser
