// Result codes at module boundaries: a 32-bit value whose sign bit marks failure, with the
// codes that the system's interfaces return. Plain constants, no state.
#pragma once

#include <cstdint>

namespace platform::com {

using HRESULT = std::int32_t;

constexpr HRESULT makeResult(std::uint32_t bits) {
    return static_cast<HRESULT>(bits);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = makeResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = makeResult(0x80004002);
inline constexpr HRESULT E_POINTER = makeResult(0x80004003);
inline constexpr HRESULT E_ABORT = makeResult(0x80004004);
inline constexpr HRESULT E_FAIL = makeResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = makeResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = makeResult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = makeResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = makeResult(0x80070057);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = makeResult(0x80020003);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = makeResult(0x80020005);
inline constexpr HRESULT DISP_E_OVERFLOW = makeResult(0x8002000A);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = makeResult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = makeResult(0x80040111);
inline constexpr HRESULT INET_E_INVALID_URL = makeResult(0x800C0002);
inline constexpr HRESULT INET_E_RESOURCE_NOT_FOUND = makeResult(0x800C0005);
inline constexpr HRESULT INET_E_OBJECT_NOT_FOUND = makeResult(0x800C0006);
inline constexpr HRESULT INET_E_DATA_NOT_AVAILABLE = makeResult(0x800C0007);
inline constexpr HRESULT INET_E_DOWNLOAD_FAILURE = makeResult(0x800C0008);
inline constexpr HRESULT INET_E_USE_DEFAULT_PROTOCOLHANDLER = makeResult(0x800C0011);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

// The result that carries a system error number (facility 7).
constexpr HRESULT hresultFromWin32(std::uint32_t error) {
    return error == 0 ? S_OK : makeResult((error & 0xFFFF) | 0x80070000u);
}

}  // namespace platform::com
