// The name and version every plug-in object of this library reports.
#pragma once

namespace plugin {

inline constexpr wchar_t kPluginName[] = L"Tamrix";
inline constexpr wchar_t kPluginVersion[] = L"1.0";

}  // namespace plugin
