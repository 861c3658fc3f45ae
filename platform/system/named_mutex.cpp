#include "platform/system/named_mutex.h"

#include <cctype>

#include "platform/system/folders.h"
#include "platform/text/utf.h"

namespace platform::system {

std::string lockFileName(std::wstring_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string file;
    for (const char c : text::toUtf8(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || (c == '.' && !file.empty())) {
            file += c;
        } else {
            file += '%';
            file += kHex[byte >> 4];
            file += kHex[byte & 0xF];
        }
    }
    return file + ".lock";
}

NamedMutex::NamedMutex(std::wstring_view name) {
    const std::string folder = runtimeFolder();
    if (!folder.empty()) {
        file_ = std::make_unique<FileLock>(folder + "/" + lockFileName(name));
    }
}

bool NamedMutex::lock(std::chrono::milliseconds timeout) {
    return file_ && file_->lock(timeout);
}

void NamedMutex::unlock() {
    if (file_) {
        file_->unlock();
    }
}

}  // namespace platform::system
