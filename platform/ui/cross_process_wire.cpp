#include "platform/ui/cross_process_wire.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/text/utf.h"

namespace platform::ui::wire {

Writer& Writer::u8(std::uint8_t value) {
    data_.push_back(value);
    return *this;
}

Writer& Writer::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        data_.push_back(static_cast<std::uint8_t>(value >> shift));
    return *this;
}

Writer& Writer::u64(std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8)
        data_.push_back(static_cast<std::uint8_t>(value >> shift));
    return *this;
}

Writer& Writer::text(const std::wstring& value) {
    const std::string utf8 = platform::text::toUtf8(value);
    u32(static_cast<std::uint32_t>(utf8.size()));
    data_.insert(data_.end(), utf8.begin(), utf8.end());
    return *this;
}

Writer& Writer::bytes(const Bytes& value) {
    u32(static_cast<std::uint32_t>(value.size()));
    data_.insert(data_.end(), value.begin(), value.end());
    return *this;
}

Writer& Writer::rect(const Rect& value) {
    for (int each : {value.left, value.top, value.right, value.bottom})
        u32(static_cast<std::uint32_t>(each));
    return *this;
}

bool Reader::take(std::size_t count) {
    if (!ok_ || data_.size() - position_ < count) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t Reader::u8() {
    return take(1) ? data_[position_++] : 0;
}

std::uint32_t Reader::u32() {
    if (!take(4))
        return 0;
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= static_cast<std::uint32_t>(data_[position_++]) << shift;
    return value;
}

std::uint64_t Reader::u64() {
    if (!take(8))
        return 0;
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 8)
        value |= static_cast<std::uint64_t>(data_[position_++]) << shift;
    return value;
}

std::wstring Reader::text() {
    const std::uint32_t length = u32();
    if (!take(length))
        return {};
    const std::string utf8(data_.begin() + static_cast<std::ptrdiff_t>(position_),
                           data_.begin() + static_cast<std::ptrdiff_t>(position_ + length));
    position_ += length;
    return platform::text::fromUtf8(utf8);
}

Bytes Reader::bytes() {
    const std::uint32_t length = u32();
    if (!take(length))
        return {};
    Bytes value(data_.begin() + static_cast<std::ptrdiff_t>(position_),
                data_.begin() + static_cast<std::ptrdiff_t>(position_ + length));
    position_ += length;
    return value;
}

Rect Reader::rect() {
    Rect value;
    value.left = static_cast<int>(u32());
    value.top = static_cast<int>(u32());
    value.right = static_cast<int>(u32());
    value.bottom = static_cast<int>(u32());
    return value;
}

namespace {

bool writeAll(int socket, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(socket, data, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool readAll(int socket, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(socket, data, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

bool sendRecord(int socket, const Bytes& record) {
    Writer frame;
    frame.u32(static_cast<std::uint32_t>(record.size()));
    return writeAll(socket, frame.data().data(), frame.data().size()) &&
           writeAll(socket, record.data(), record.size());
}

std::optional<Bytes> receiveRecord(int socket) {
    Bytes header(4);
    if (!readAll(socket, header.data(), header.size()))
        return std::nullopt;
    Reader reader(header);
    const std::uint32_t length = reader.u32();
    if (length > kMaxRecord)
        return std::nullopt;
    Bytes record(length);
    if (!readAll(socket, record.data(), record.size()))
        return std::nullopt;
    return record;
}

void limitSocket(int socket, std::chrono::milliseconds limit) {
    timeval time{};
    time.tv_sec = static_cast<time_t>(limit.count() / 1000);
    time.tv_usec = static_cast<suseconds_t>((limit.count() % 1000) * 1000);
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &time, sizeof time);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &time, sizeof time);
}

std::optional<Bytes> call(const std::string& socketPath, const Bytes& request,
                          std::chrono::milliseconds limit) {
    sockaddr_un address;
    if (!socketAddress(socketPath, address))
        return std::nullopt;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return std::nullopt;
    limitSocket(socket, limit);
    std::optional<Bytes> reply;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        sendRecord(socket, request))
        reply = receiveRecord(socket);
    ::close(socket);
    return reply;
}

int listenOn(const std::string& socketPath) {
    sockaddr_un address;
    if (!socketAddress(socketPath, address))
        return -1;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return -1;
    ::unlink(socketPath.c_str());
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket, 16) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

}  // namespace platform::ui::wire
