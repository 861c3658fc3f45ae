#include "platform/system/write_failure.h"

#include <cerrno>
#include <cstring>

#include "platform/text/utf.h"

namespace platform::system {

bool isDiskFull(int errnum) {
    return errnum == ENOSPC || errnum == EDQUOT;
}

std::wstring writeFailureText(int errnum) {
    if (isDiskFull(errnum))
        return kDiskFullText;
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    return platform::text::fromUtf8(strerror_r(errnum, buffer, sizeof buffer));
}

}  // namespace platform::system
