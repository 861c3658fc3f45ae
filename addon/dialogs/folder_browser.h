// The folder browser: asks a person for an existing folder, starting at a given folder
// and, with a root folder, offering only folders inside it. The chosen path is copied
// into the caller's buffer (at most its size less one characters, then a NUL).
//
// Folders are named by path or by special-folder number (kFolderDesktop, kFolderPersonal,
// kFolderAppData, kFolderProfile); numbers that name no known folder give none.
//
// Contract: user-interface thread (the presenter shows the picker). False when the buffer
// is missing or shorter than kFolderBufferMinimum characters, when the person cancels, or
// when the answer is not an existing folder (inside the root, when one is given): the
// picker's OK button is only enabled for such a folder. The buffer is left as it was then.
#pragma once

#include <cstddef>
#include <string>
#include <variant>

#include "platform/ui/types.h"

namespace addon {

inline constexpr std::size_t kFolderBufferMinimum = 260;
inline constexpr int kNoRootFolder = -1;

inline constexpr int kFolderDesktop = 0x0000;
inline constexpr int kFolderPersonal = 0x0005;
inline constexpr int kFolderAppData = 0x001A;
inline constexpr int kFolderProfile = 0x0028;

// A path, or a special-folder number below 0x10000.
using StartFolder = std::variant<std::wstring, int>;

// The path of a special folder; "" when the number names none.
std::wstring specialFolderPath(int folder);

bool browseForFolder(platform::ui::HWND owner, const std::wstring& title, int rootFolder,
                     const StartFolder& start, wchar_t* buffer, std::size_t bufferSize,
                     bool showEditBox);

}  // namespace addon
