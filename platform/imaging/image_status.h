// The result of an imaging call, numbered as the imaging service's status codes are, so
// that callers can pass it on as their own result (0 is success).
//
// Contract: plain values.
#pragma once

namespace platform::imaging {

enum class Status : int {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    Win32Error = 7,
    FileNotFound = 10,
    UnknownImageFormat = 13,
};

}  // namespace platform::imaging
