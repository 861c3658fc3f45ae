// How the exports report a failure: the reason goes to the caller's control block (when
// one is given) and the result is -1.
//
// Contract: call from the exporting thread only.
#pragma once

#include <string>

#include "plugin/export/export_codes.h"

namespace plugin {

inline constexpr const wchar_t* kExportCancelled = L"The export was cancelled.";

inline int exportFailure(ExportControl* control, const std::wstring& reason) {
    if (control != nullptr)
        control->error = reason;
    return -1;
}

inline bool exportCancelled(const ExportControl* control) {
    return control != nullptr && control->cancelled;
}

}  // namespace plugin
