// The script side of a page shown in a hosted browser, as the plug-in calls it: the
// browser gives its current document, the document its script object, and the script
// object calls its functions by name (late binding: look the name up, then invoke).
//
// Contract: COM-style interfaces (reference-counted, HRESULT results, no exceptions
// across them). They belong to the browser's user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace plugin {

inline constexpr platform::com::HRESULT DISP_E_UNKNOWNNAME = platform::com::makeResult(0x80020006);
inline constexpr platform::com::HRESULT DISP_E_EXCEPTION = platform::com::makeResult(0x80020009);

using DISPID = long;

// The page's script: its global functions.
struct IScriptObject : platform::com::IUnknown {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("5A1C0C61-3E2B-4C47-9E7D-3B7E4C2A9101");
    // The number under which `name` is called; DISP_E_UNKNOWNNAME when the script has no
    // such function.
    virtual platform::com::HRESULT GetIDsOfNames(const std::wstring& name, DISPID* id) = 0;
    // Calls the function with the arguments in reverse order (the last one first);
    // `result` may be null.
    virtual platform::com::HRESULT Invoke(DISPID id,
                                          const std::vector<platform::com::Variant>& reversed,
                                          platform::com::Variant* result) = 0;
};

// A document that carries a script.
struct IScriptDocument : platform::com::IUnknown {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("5A1C0C61-3E2B-4C47-9E7D-3B7E4C2A9102");
    virtual platform::com::HRESULT get_Script(platform::com::ComPtr<IScriptObject>* script) = 0;
};

// A hosted browser: gives the document it shows.
struct IDocumentBrowser : platform::com::IUnknown {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("5A1C0C61-3E2B-4C47-9E7D-3B7E4C2A9103");
    virtual platform::com::HRESULT get_Document(
        platform::com::ComPtr<platform::com::IUnknown>* document) = 0;
};

}  // namespace plugin
