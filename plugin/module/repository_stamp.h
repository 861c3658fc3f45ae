// The change stamp of the repository file: its last-write time as UTC text with the
// nanoseconds ("%Y-%m-%d %H:%M:%S.nnnnnnnnn"), followed by "#" and the database's file
// change counter (which SQLite raises with every committed write), so two writes within
// one second, or within one tick of the file system's clock, still give two stamps.
// "" when the file cannot be read.
#pragma once

#include <string>

namespace plugin {

std::wstring fileStamp(const std::wstring& path);

}  // namespace plugin
