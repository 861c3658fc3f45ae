// The interfaces by which the browser hosts an add-on's toolbar button and explorer bar:
// the object is given a site (SetSite), asks the site for the tab's browser
// (IServiceProvider with SID_SWebBrowserApp) and its parent window (IOleWindow); the
// button receives its clicks through IOleCommandTarget::Exec, the bar answers IDeskBand's
// questions about its size and window. Only the members the add-on uses are declared.
//
// Contract: interfaces and plain values only; called on the tab's user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "platform/ui/types.h"

namespace platform::browser {

using com::GUID;
using com::HRESULT;

// The service that names the tab's browser object.
inline constexpr GUID SID_SWebBrowserApp = com::guidLiteral("0002DF05-0000-0000-C000-000000000046");

struct IServiceProvider : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("6D5140C1-7436-11CE-8034-00AA006009FA");
    virtual HRESULT QueryService(const GUID& service, const GUID& iid, void** object) = 0;
};

struct IObjectWithSite : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("FC4801A3-2BA9-11CF-A229-00AA003D7352");
    virtual HRESULT SetSite(com::IUnknown* site) = 0;
    virtual HRESULT GetSite(const GUID& iid, void** site) = 0;
};

// Command states (OLECMD::flags).
inline constexpr std::uint32_t OLECMDF_SUPPORTED = 0x1;
inline constexpr std::uint32_t OLECMDF_ENABLED = 0x2;

struct OLECMD {
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
};

struct IOleCommandTarget : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("B722BCCB-4E68-101B-A2BC-00AA00404770");
    virtual HRESULT QueryStatus(const GUID* group, std::uint32_t count, OLECMD* commands,
                                std::wstring* text) = 0;
    virtual HRESULT Exec(const GUID* group, std::uint32_t command, std::uint32_t options,
                         com::Variant* in, com::Variant* out) = 0;
};

struct IOleWindow : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("00000114-0000-0000-C000-000000000046");
    virtual HRESULT GetWindow(ui::HWND* window) = 0;
    virtual HRESULT ContextSensitiveHelp(bool enterMode) = 0;
};

struct IInputObjectSite : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("F1DB8392-7331-11D0-8C99-00A0C92DBFE8");
    virtual HRESULT OnFocusChangeIS(com::IUnknown* object, bool focus) = 0;
};

struct IPersistStream : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("00000109-0000-0000-C000-000000000046");
    virtual HRESULT GetClassID(GUID* classId) = 0;
    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(com::IUnknown* stream) = 0;
    virtual HRESULT Save(com::IUnknown* stream, bool clearDirty) = 0;
    virtual HRESULT GetSizeMax(std::uint64_t* size) = 0;
};

// GetBandInfo's mask bits and mode flags.
inline constexpr std::uint32_t DBIM_MINSIZE = 0x1;
inline constexpr std::uint32_t DBIM_MAXSIZE = 0x2;
inline constexpr std::uint32_t DBIM_INTEGRAL = 0x4;
inline constexpr std::uint32_t DBIM_ACTUAL = 0x8;
inline constexpr std::uint32_t DBIM_TITLE = 0x10;
inline constexpr std::uint32_t DBIM_MODEFLAGS = 0x20;
inline constexpr std::uint32_t DBIM_BKCOLOR = 0x40;
inline constexpr std::uint32_t DBIMF_VARIABLEHEIGHT = 0x8;
inline constexpr std::uint32_t DBIMF_USECHEVRON = 0x80;

struct DESKBANDINFO {
    std::uint32_t mask = 0;
    ui::Point minSize;
    ui::Point maxSize;
    ui::Point integral;
    ui::Point actual;
    std::wstring title;
    std::uint32_t modeFlags = 0;
    std::uint32_t backgroundColor = 0;
};

struct IDeskBand : com::IUnknown {
    static constexpr GUID IID = com::guidLiteral("EB0FE172-1A3A-11D0-89B3-00A0C90A90AC");
    virtual HRESULT GetWindow(ui::HWND* window) = 0;
    virtual HRESULT ContextSensitiveHelp(bool enterMode) = 0;
    virtual HRESULT ShowDW(bool show) = 0;
    virtual HRESULT CloseDW(std::uint32_t reserved) = 0;
    virtual HRESULT GetBandInfo(std::uint32_t bandId, std::uint32_t viewMode,
                                DESKBANDINFO* info) = 0;
};

}  // namespace platform::browser
