// The automation call that event sinks answer: an IDispatch whose Invoke receives an event
// number (dispid) and its arguments, and the identifiers of the three event interfaces a
// page sends (the browser's, the document's and the window's).
//
// Contract: arguments are in the order the event declares them (first argument first); an
// argument passed by reference (the Cancel flag of BeforeNavigate2) carries a pointer that
// the sink may write through during the call. Plain values; single-threaded.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace platform::browser {

using com::HRESULT;

inline constexpr com::GUID DIID_DWebBrowserEvents2 =
    com::guidLiteral("34A715A0-6587-11D0-924A-0020AFC7AC4D");
inline constexpr com::GUID DIID_HTMLDocumentEvents2 =
    com::guidLiteral("3050F613-98B5-11CF-BB82-00AA00BDCE0B");
inline constexpr com::GUID DIID_HTMLWindowEvents2 =
    com::guidLiteral("3050F625-98B5-11CF-BB82-00AA00BDCE0B");

// Event numbers of the browser's events.
inline constexpr std::int32_t DISPID_BEFORENAVIGATE2 = 250;
inline constexpr std::int32_t DISPID_NAVIGATECOMPLETE2 = 252;
inline constexpr std::int32_t DISPID_ONQUIT = 253;
inline constexpr std::int32_t DISPID_DOCUMENTCOMPLETE = 259;

struct DispArgument {
    com::Variant value;
    bool* boolReference = nullptr;
};

struct DispParams {
    std::vector<DispArgument> arguments;
};

struct IDispatch : com::IUnknown {
    static constexpr com::GUID IID = com::guidLiteral("00020400-0000-0000-C000-000000000046");
    virtual HRESULT Invoke(std::int32_t dispid, DispParams* params) = 0;
};

// True when both pointers reach the same object (compared through IUnknown).
bool isSameComObject(com::IUnknown* a, com::IUnknown* b);

}  // namespace platform::browser
