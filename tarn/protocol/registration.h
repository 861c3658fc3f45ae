// The per-user registration of the tarn: protocol class, as a browser finds its URL
// protocol handlers: below "Software\Classes" of the current user
//   TarnProtocol.PluggableProtocol.1   "Tarn Pluggable Protocol", CLSID
//   TarnProtocol.PluggableProtocol     "Tarn Pluggable Protocol", CLSID, CurVer
//   CLSID\{E55E1F27-11DA-0004-0002-00AA00000001}  name, ProgID, VersionIndependentProgID,
//                                      InprocServer32 (the module, ThreadingModel
//                                      "Apartment"), TypeLib
//   PROTOCOLS\Handler\tarn             "Tarn pluggable protocol", CLSID
//
// Contract: thread-safe through the registry's own locking; S_OK, or E_FAIL when a value
// cannot be written (what was written stays).
#pragma once

#include <string>

#include "platform/com/hresult.h"

namespace tarn {

platform::com::HRESULT registerProtocolClass(const std::wstring& modulePath);
platform::com::HRESULT unregisterProtocolClass();

}  // namespace tarn
