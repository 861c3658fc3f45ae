#include "platform/browser/reply_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::browser {
namespace {

bool isSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

}  // namespace

bool staysInsideFolder(std::wstring_view relative) {
    if (relative.find(L'\0') != std::wstring_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = start;
        while (end < relative.size() && !isSeparator(relative[end])) {
            ++end;
        }
        if (relative.substr(start, end - start) == L"..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::optional<std::wstring> relativeFilePath(std::wstring_view relative) {
    if (!staysInsideFolder(relative)) {
        return std::nullopt;
    }
    std::wstring path(relative);
    for (wchar_t& c : path) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    while (!path.empty() && path.back() == L'/') {
        path.pop_back();
    }
    return path;
}

std::wstring fileNameExtension(std::wstring_view path) {
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isSeparator(path[i])) {
            nameStart = i + 1;
        }
    }
    const std::wstring_view name = path.substr(nameStart);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0) {
        return {};
    }
    return std::wstring(name.substr(dot));
}

std::optional<std::string> readRegularFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::optional<std::string> content;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        content.emplace(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t done = 0;
        while (done < content->size()) {
            const ssize_t got = ::read(descriptor, content->data() + done, content->size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                content.reset();
                break;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        // A file that shrank while it was read gives what it still held; a failed read
        // gives nothing rather than a reply with a hole.
        if (content) {
            content->resize(done);
        }
    }
    ::close(descriptor);
    return content;
}

}  // namespace platform::browser
