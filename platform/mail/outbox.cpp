#include "platform/mail/outbox.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>

#include "platform/system/atomic_file.h"
#include "platform/system/folders.h"

namespace platform::mail {
namespace {

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes the bytes to a new hidden file in `folder`; its path, or "" with errno set.
std::string writeTemporary(const std::string& folder, std::string_view bytes) {
    std::string path = folder + "/.outgoing-XXXXXX";
    const int descriptor = ::mkstemp(path.data());
    if (descriptor < 0) {
        return {};
    }
    const bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    if (::close(descriptor) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(path.c_str());
        errno = error;
        return {};
    }
    return path;
}

}  // namespace

std::string outboxFolder() {
    const std::string appData = platform::system::appDataFolder();
    return appData.empty() ? std::string() : appData + "/Olvan/Tamrix/outbox";
}

std::string newMessageToken() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &parts);
    std::random_device random;
    char tail[32];
    std::snprintf(tail, sizeof tail, "%08x%08x", random(), random());
    return std::string(stamp) + tail;
}

std::string storeMessage(const std::string& folder, std::string_view message,
                         const std::string& token) {
    if (!platform::system::createFolders(folder, 0700)) {
        return {};
    }
    const std::string temporary = writeTemporary(folder, message);
    if (temporary.empty()) {
        return {};
    }
    std::string target = folder + "/" + token + ".eml";
    int result = ::link(temporary.c_str(), target.c_str());
    for (int attempt = 1; result != 0 && errno == EEXIST && attempt < 100; ++attempt) {
        target = folder + "/" + token + "-" + std::to_string(attempt) + ".eml";
        result = ::link(temporary.c_str(), target.c_str());
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    if (result != 0) {
        errno = error;
        return {};
    }
    return target;
}

}  // namespace platform::mail
