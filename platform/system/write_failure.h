// Why a write failed, in words a person can act on. A full disk and a used-up quota (ENOSPC,
// EDQUOT) are named as such, "the disk is full", wherever a file, an archive, a picture or
// the repository is written; other errors keep the system's own text.
//
// Contract: pure functions of the error number; thread-safe.
#pragma once

#include <string>

namespace platform::system {

inline constexpr wchar_t kDiskFullText[] = L"the disk is full";

bool isDiskFull(int errnum);
// kDiskFullText for a full disk, else strerror's text for `errnum`.
std::wstring writeFailureText(int errnum);

}  // namespace platform::system
