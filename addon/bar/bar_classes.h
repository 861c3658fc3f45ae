// The identities of the add-on's browser classes: the toolbar button, the explorer bar and
// their (empty) interfaces, with the type library that lists them. Plain values.
#pragma once

#include "platform/browser/dispatch.h"

namespace addon {

inline constexpr platform::com::GUID kTypeLibrary =
    platform::com::guidLiteral("E55E1F27-11DA-0002-0000-000000000000");
inline constexpr platform::com::GUID kIEButtonClass =
    platform::com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000004");
inline constexpr platform::com::GUID kSideBandClass =
    platform::com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000007");

struct IIEButton : platform::com::IUnknown {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("E55E1F27-11DA-0002-0001-00AA00000004");
};

struct ISideBand : platform::browser::IDispatch {
    static constexpr platform::com::GUID IID =
        platform::com::guidLiteral("E55E1F27-11DA-0002-0001-00AA00000007");
};

}  // namespace addon
