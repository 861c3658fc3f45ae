#include "tarn/protocol/attach_rules.h"

namespace tarn {

AttachAction attachActionFor(std::wstring_view programPath) {
    const std::size_t slash = programPath.find_last_of(L"\\/");
    const std::wstring_view name =
        slash == std::wstring_view::npos ? programPath : programPath.substr(slash + 1);
    if (name == L"explorer.exe") {
        return AttachAction::Refuse;
    }
    if (name == L"regsvr32.exe") {
        return AttachAction::Register;
    }
    return AttachAction::Start;
}

}  // namespace tarn
