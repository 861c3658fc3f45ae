#include "plugin/zip/zip_writer.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/text/utf.h"
#include "plugin/zip/zip_format.h"

namespace plugin::zip {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::size_t kMaxEntries = 0xFFFF;
constexpr int kCompressionLevel = 8;

struct DeflateStream {
    z_stream stream{};
    ~DeflateStream() { deflateEnd(&stream); }
};

}  // namespace

struct ZipWriter {
    int fd = -1;
    bool canSeek = false;
    off_t startOffset = 0;
    std::uint64_t writePosition = 0;  // bytes written since startOffset
    int error = kZipOk;
    std::vector<EntryRecord> entries;
    std::unique_ptr<DeflateStream> deflater;  // made on the first deflated entry
    std::vector<unsigned char> outputBuffer;

    ~ZipWriter() {
        if (fd >= 0)
            ::close(fd);
    }

    // Where the next byte lands, counted from the start of the file, which is what every
    // offset in the archive counts from (so an archive placed after other data in a file
    // is read correctly).
    std::uint64_t archiveOffset() const {
        return static_cast<std::uint64_t>(startOffset) + writePosition;
    }

    bool fail(int code) {
        if (error == kZipOk)
            error = code;
        return false;
    }

    bool write(const void* bytes, std::size_t length) {
        if (error != kZipOk)
            return false;
        if (archiveOffset() + length > std::numeric_limits<std::uint32_t>::max())
            return fail(kZipWriteFailed);
        const auto* cursor = static_cast<const char*>(bytes);
        std::size_t left = length;
        while (left > 0) {
            const ssize_t written = ::write(fd, cursor, left);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return fail(kZipWriteFailed);
            cursor += written;
            left -= static_cast<std::size_t>(written);
        }
        writePosition += length;
        return true;
    }

    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }

    // Puts `bytes` over what was written at file offset `position`, leaving the write
    // position where it is.
    bool rewrite(std::uint64_t position, const std::string& bytes) {
        if (error != kZipOk)
            return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                             static_cast<off_t>(position + done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return fail(kZipSeekFailed);
            done += static_cast<std::size_t>(written);
        }
        return true;
    }

    bool writeStored(EntryRecord& entry, const unsigned char* data, unsigned length) {
        entry.compressedSize = length;
        return length == 0 || write(data, length);
    }

    bool writeDeflated(EntryRecord& entry, const unsigned char* data, unsigned length) {
        if (!deflater) {
            deflater = std::unique_ptr<DeflateStream>(new (std::nothrow) DeflateStream);
            if (!deflater)
                return fail(kZipNoMemory);
            if (deflateInit2(&deflater->stream, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8,
                             Z_DEFAULT_STRATEGY) != Z_OK) {
                deflater.reset();
                return fail(kZipNoMemory);
            }
            outputBuffer.resize(kChunkSize);
        } else if (deflateReset(&deflater->stream) != Z_OK) {
            return fail(kZipNoMemory);
        }
        z_stream& stream = deflater->stream;
        std::size_t consumed = 0;
        std::uint64_t compressed = 0;
        int status = Z_OK;
        do {
            const std::size_t take = std::min<std::size_t>(kChunkSize, length - consumed);
            stream.next_in = const_cast<unsigned char*>(data) + consumed;
            stream.avail_in = static_cast<uInt>(take);
            consumed += take;
            const int flush = consumed == length ? Z_FINISH : Z_NO_FLUSH;
            do {
                stream.next_out = outputBuffer.data();
                stream.avail_out = static_cast<uInt>(outputBuffer.size());
                status = deflate(&stream, flush);
                if (status == Z_STREAM_ERROR)
                    return fail(kZipNoMemory);
                const std::size_t produced = outputBuffer.size() - stream.avail_out;
                if (produced > 0 && !write(outputBuffer.data(), produced))
                    return false;
                compressed += produced;
            } while (stream.avail_out == 0);
        } while (status != Z_STREAM_END);
        entry.compressedSize = static_cast<std::uint32_t>(compressed);
        return true;
    }
};

namespace {

bool hasPassword(const char* password) {
    return password != nullptr && password[0] != '\0';
}

int adopt(ZipWriter** out, int fd) {
    auto* zip = new (std::nothrow) ZipWriter;
    if (zip == nullptr) {
        ::close(fd);
        return kZipNoMemory;
    }
    zip->fd = fd;
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    zip->canSeek = position >= 0;
    zip->startOffset = position >= 0 ? position : 0;
    *out = zip;
    return kZipOk;
}

// The entry's name as stored: UTF-8, "/" for "\", a trailing "*" removed. Empty when the
// name is unusable.
std::string storedName(const wchar_t* name, bool& forceStored) {
    std::string bytes = platform::text::toUtf8(name);
    for (char& c : bytes)
        if (c == '\\')
            c = '/';
    forceStored = !bytes.empty() && bytes.back() == '*';
    if (forceStored)
        bytes.pop_back();
    if (bytes.size() > kMaxNameBytes)
        return {};
    return bytes;
}

bool isAscii(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void stampTimes(EntryRecord& entry) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    entry.dosDate = dosDate(local);
    entry.dosTime = dosTime(local);
    entry.unixTime = static_cast<std::uint32_t>(now);
}

}  // namespace

int createZipFile(ZipWriter** out, const wchar_t* path, const char* password) {
    if (out == nullptr)
        return kZipBadArgument;
    *out = nullptr;
    if (path == nullptr || path[0] == L'\0' || hasPassword(password))
        return kZipBadArgument;
    std::string native = platform::text::toUtf8(path);
    for (char& c : native)
        if (c == '\\')
            c = '/';
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return kZipCannotCreate;
    return adopt(out, fd);
}

int createZipOnDescriptor(ZipWriter** out, int fd, const char* password) {
    if (out == nullptr)
        return kZipBadArgument;
    *out = nullptr;
    if (fd < 0 || hasPassword(password))
        return kZipBadArgument;
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return kZipCannotCreate;
    return adopt(out, copy);
}

int addZipEntry(ZipWriter* zip, const wchar_t* name, const void* data, unsigned length) {
    if (zip == nullptr)
        return kZipBadArgument;
    if (zip->error != kZipOk)
        return zip->error;
    if (name == nullptr || (data == nullptr && length > 0))
        return kZipBadArgument;
    bool forceStored = false;
    EntryRecord entry;
    entry.name = storedName(name, forceStored);
    if (entry.name.empty() || zip->entries.size() >= kMaxEntries)
        return kZipBadArgument;

    const bool stored = forceStored || isCompressedExtension(entry.name);
    entry.method = stored ? kMethodStored : kMethodDeflated;
    entry.flags = kFlagDataDescriptor;
    if (!stored)
        entry.flags |= kFlagMaximumCompression;
    if (!isAscii(entry.name))
        entry.flags |= kFlagUtf8Name;
    entry.hasLocalExtra = !forceStored;
    entry.externalAttributes = externalAttributesFor(entry.name);
    stampTimes(entry);
    entry.localHeaderOffset = static_cast<std::uint32_t>(zip->archiveOffset());
    if (!zip->write(localHeader(entry)))
        return zip->error;

    const auto* bytes = static_cast<const unsigned char*>(data);
    entry.crc = static_cast<std::uint32_t>(crc32(0L, bytes, length));
    entry.uncompressedSize = length;
    const bool written =
        stored ? zip->writeStored(entry, bytes, length) : zip->writeDeflated(entry, bytes, length);
    if (!written)
        return zip->error;

    if (zip->canSeek) {
        entry.flags &= static_cast<std::uint16_t>(~kFlagDataDescriptor);
        if (!zip->rewrite(entry.localHeaderOffset, localHeader(entry)))
            return zip->error;
    } else if (!zip->write(dataDescriptor(entry))) {
        return zip->error;
    }
    try {
        zip->entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        zip->fail(kZipNoMemory);
        return zip->error;
    }
    return kZipOk;
}

int closeZip(ZipWriter* zip) {
    if (zip == nullptr)
        return kZipBadArgument;
    std::unique_ptr<ZipWriter> owned(zip);
    const std::uint64_t directoryStart = zip->archiveOffset();
    for (const EntryRecord& entry : zip->entries)
        if (!zip->write(centralHeader(entry)))
            break;
    const std::uint64_t directorySize = zip->archiveOffset() - directoryStart;
    zip->write(endRecord(static_cast<std::uint16_t>(zip->entries.size()),
                         static_cast<std::uint32_t>(directorySize),
                         static_cast<std::uint32_t>(directoryStart)));
    if (zip->canSeek && zip->error == kZipOk && ::fsync(zip->fd) != 0 && errno != EINVAL)
        zip->fail(kZipWriteFailed);
    const int fd = zip->fd;
    zip->fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        zip->fail(kZipWriteFailed);
    return zip->error;
}

}  // namespace plugin::zip
