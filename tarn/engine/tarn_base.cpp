#include "tarn/engine/tarn_base.h"

namespace tarn {

int TarnBase::fail(int code, std::wstring message) {
    errorCode_ = code;
    errorMessage_ = std::move(message);
    return code;
}

int TarnBase::failWith(int code, const TarnBase& child) {
    return fail(code, child.getErrorMessage());
}

}  // namespace tarn
