// Saving captured pictures: the encoder chosen by a file's extension, and the names of the
// numbered tile files of a capture.
//
// Contract: thread-safe, no state. Failures are results (imaging status codes as int,
// 0 success; -1 when no encoder fits), never exceptions but std::bad_alloc. Files are
// written whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "platform/imaging/bitmap.h"

namespace addon {

// The index of the first imaging encoder whose MIME type equals `mimeType` exactly (case
// counts); -1 when none does.
int findEncoder(std::string_view mimeType);

// Saves the bitmap with the encoder its extension names, compared without case: ".png",
// ".gif", ".jpg" and ".jpeg", ".bmp". -1 for a path without an extension (no "." after
// the last separator, or only one leading the file name) or with an unknown one;
// otherwise the imaging status of the save.
int saveBitmapByExtension(const platform::imaging::Bitmap& bitmap, std::wstring_view path);

// "<prefix><n>.png" with n written with at least three digits: 001, 010, 999, 1000.
std::wstring tileFileName(std::wstring_view prefix, int number);

}  // namespace addon
