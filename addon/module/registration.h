// The per-user registration of the add-on's three browser classes, as the browser finds
// them: below "Software\Classes" of the current user the ProgIDs ("Tamrix.IEButton",
// "Tamrix.Lorvane", "Tamrix.PluggableProtocol", each with its ".1" version), the class
// keys with the module as InprocServer32 (ThreadingModel "Apartment") and the type library,
// and PROTOCOLS\Handler\tamrix; below "Software\Microsoft\Internet Explorer" of the current
// user the toolbar button's and the explorer bar's extension keys and the explorer bar's
// entry with its width (BarSize).
//
// Contract: thread-safe through the registry's own locking; S_OK, or E_FAIL when a value
// cannot be written (what was written stays). Unregistering removes every key written.
#pragma once

#include <string>

#include "platform/com/hresult.h"

namespace addon {

platform::com::HRESULT registerTamrixClasses(const std::wstring& modulePath);
platform::com::HRESULT unregisterTamrixClasses();

}  // namespace addon
