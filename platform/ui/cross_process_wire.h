// The byte format and the socket calls of the cross-process window system: a request or
// reply is a little-endian record of numbers, UTF-8 strings and byte blocks (each string
// and block prefixed by its 32-bit length), framed on a Unix stream socket by a 32-bit
// length. One connection carries one request and its reply.
//
// Contract: pure helpers, thread-safe. Reading past the end of a record, or a length
// beyond the record, marks the reader failed and yields zeros and empty values; every
// socket wait has a time limit and a failed call gives nothing (never throws).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace platform::ui::wire {

using Bytes = std::vector<std::uint8_t>;

// The largest record either side accepts.
inline constexpr std::uint32_t kMaxRecord = 16u << 20;

class Writer {
  public:
    Writer& u8(std::uint8_t value);
    Writer& u32(std::uint32_t value);
    Writer& u64(std::uint64_t value);
    Writer& i64(std::int64_t value) { return u64(static_cast<std::uint64_t>(value)); }
    Writer& text(const std::wstring& value);
    Writer& bytes(const Bytes& value);
    Writer& rect(const Rect& value);
    const Bytes& data() const { return data_; }

  private:
    Bytes data_;
};

class Reader {
  public:
    explicit Reader(const Bytes& data) : data_(data) {}
    std::uint8_t u8();
    std::uint32_t u32();
    std::uint64_t u64();
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    std::wstring text();
    Bytes bytes();
    Rect rect();
    // False once a read ran past the record.
    bool ok() const { return ok_; }

  private:
    bool take(std::size_t count);
    const Bytes& data_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

// Sends one framed record on a connected socket and reads the framed reply.
bool sendRecord(int socket, const Bytes& record);
std::optional<Bytes> receiveRecord(int socket);

// Sets the send and receive time limits of a socket.
void limitSocket(int socket, std::chrono::milliseconds limit);

// Connects to the socket file, sends `request` and returns the reply; nothing when the
// other side is not there or did not answer within `limit`.
std::optional<Bytes> call(const std::string& socketPath, const Bytes& request,
                          std::chrono::milliseconds limit);

// A listening socket bound to `socketPath` (an old file there is replaced); -1 on failure.
int listenOn(const std::string& socketPath);

}  // namespace platform::ui::wire
