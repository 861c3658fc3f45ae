#include "plugin/module/repository_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "platform/text/utf.h"

namespace plugin {

namespace {

// The big-endian change counter at offset 24 of a database file's header; 0 when the
// file is shorter.
std::uint32_t changeCounter(int descriptor) {
    std::array<unsigned char, 4> bytes{};
    if (::pread(descriptor, bytes.data(), bytes.size(), 24) != static_cast<ssize_t>(bytes.size()))
        return 0;
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

}  // namespace

std::wstring fileStamp(const std::wstring& path) {
    const int descriptor = ::open(platform::text::toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    struct stat info {};
    const bool known = ::fstat(descriptor, &info) == 0;
    const std::uint32_t counter = known ? changeCounter(descriptor) : 0;
    ::close(descriptor);
    std::tm parts{};
    if (!known || !gmtime_r(&info.st_mtim.tv_sec, &parts))
        return {};
    std::array<wchar_t, 64> text{};
    const std::size_t length =
        std::wcsftime(text.data(), text.size(), L"%Y-%m-%d %H:%M:%S", &parts);
    std::swprintf(text.data() + length, text.size() - length, L".%09ld#%u",
                  static_cast<long>(info.st_mtim.tv_nsec), counter);
    return text.data();
}

}  // namespace plugin
