#include "plugin/zip/zip_writer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
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

// Where an entry's bytes come from: a memory buffer handed out in pieces, or a file read
// piece by piece.
struct EntrySource {
    const unsigned char* data = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;
    int fd = -1;
    std::vector<unsigned char>* buffer = nullptr;  // the writer's read buffer, for files

    // The next piece at `piece`: its length, 0 at the end, -1 when a read failed.
    long next(const unsigned char*& piece) {
        if (fd < 0) {
            const std::size_t take = std::min(kChunkSize, length - position);
            piece = data + position;
            position += take;
            return static_cast<long>(take);
        }
        buffer->resize(kChunkSize);
        for (;;) {
            const ssize_t got = ::read(fd, buffer->data(), buffer->size());
            if (got < 0 && errno == EINTR)
                continue;
            piece = buffer->data();
            return got < 0 ? -1 : static_cast<long>(got);
        }
    }
};

}  // namespace

struct ZipWriter {
    int fd = -1;
    unsigned char* memory = nullptr;  // memory target
    std::size_t capacity = 0;
    bool ownsMapping = false;
    bool canSeek = false;
    off_t startOffset = 0;
    std::uint64_t writePosition = 0;  // bytes written since startOffset
    int error = kZipOk;
    int systemError = 0;  // errno of the first failure, when a system call failed
    bool finished = false;
    std::atomic<bool> aborted{false};
    std::vector<EntryRecord> entries;
    std::unique_ptr<DeflateStream> deflater;  // made on the first deflated entry
    std::vector<unsigned char> outputBuffer;
    std::vector<unsigned char> readBuffer;

    ~ZipWriter() {
        if (fd >= 0)
            ::close(fd);
        if (ownsMapping)
            ::munmap(memory, capacity);
    }

    // Where the next byte lands, counted from the start of the file, which is what every
    // offset in the archive counts from (so an archive placed after other data in a file
    // is read correctly).
    std::uint64_t archiveOffset() const {
        return static_cast<std::uint64_t>(startOffset) + writePosition;
    }

    // Keeps the first failure, and with it the system's error number when a call of the
    // system failed.
    bool fail(int code, int errnum = 0) {
        if (error == kZipOk) {
            error = code;
            systemError = errnum;
        }
        return false;
    }

    // The first failure, else kZipAborted once abortZip was called.
    int status() {
        if (error == kZipOk && aborted)
            error = kZipAborted;
        return error;
    }

    bool write(const void* bytes, std::size_t length) {
        if (status() != kZipOk)
            return false;
        if (archiveOffset() + length > std::numeric_limits<std::uint32_t>::max())
            return fail(kZipWriteFailed, EFBIG);
        if (memory != nullptr) {
            if (writePosition + length > capacity)
                return fail(kZipMemoryFull);
            if (length > 0)
                std::memcpy(memory + writePosition, bytes, length);
            writePosition += length;
            return true;
        }
        const auto* cursor = static_cast<const char*>(bytes);
        std::size_t left = length;
        while (left > 0) {
            const ssize_t written = ::write(fd, cursor, left);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return fail(kZipWriteFailed, written < 0 ? errno : ENOSPC);
            cursor += written;
            left -= static_cast<std::size_t>(written);
        }
        writePosition += length;
        return true;
    }

    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }

    // Puts `bytes` over what was written at archive offset `position`, leaving the write
    // position where it is.
    bool rewrite(std::uint64_t position, const std::string& bytes) {
        if (status() != kZipOk)
            return false;
        if (memory != nullptr) {
            if (position < static_cast<std::uint64_t>(startOffset) ||
                position + bytes.size() > archiveOffset())
                return fail(kZipSeekFailed);
            std::memcpy(memory + (position - static_cast<std::uint64_t>(startOffset)), bytes.data(),
                        bytes.size());
            return true;
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                             static_cast<off_t>(position + done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return fail(kZipSeekFailed, written < 0 ? errno : ENOSPC);
            done += static_cast<std::size_t>(written);
        }
        return true;
    }

    bool startDeflating() {
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
            return true;
        }
        return deflateReset(&deflater->stream) == Z_OK || fail(kZipNoMemory);
    }

    // Runs the compressor over one piece (null and 0 with Z_FINISH at the end), writing
    // what it gives; adds the compressed bytes to `compressed`.
    bool deflatePiece(const unsigned char* piece, std::size_t length, int flush,
                      std::uint64_t& compressed) {
        z_stream& stream = deflater->stream;
        stream.next_in = const_cast<unsigned char*>(piece);
        stream.avail_in = static_cast<uInt>(length);
        int result = Z_OK;
        do {
            stream.next_out = outputBuffer.data();
            stream.avail_out = static_cast<uInt>(outputBuffer.size());
            result = deflate(&stream, flush);
            if (result == Z_STREAM_ERROR)
                return fail(kZipNoMemory);
            const std::size_t produced = outputBuffer.size() - stream.avail_out;
            if (produced > 0 && !write(outputBuffer.data(), produced))
                return false;
            compressed += produced;
        } while (stream.avail_out == 0 && result != Z_STREAM_END);
        return true;
    }

    // Writes the entry's data, stored or deflated, with its CRC-32 and both sizes.
    bool writeData(EntryRecord& entry, EntrySource& source) {
        const bool deflated = entry.method == kMethodDeflated;
        if (deflated && !startDeflating())
            return false;
        std::uint64_t compressed = 0;
        std::uint64_t uncompressed = 0;
        std::uint32_t crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
        for (;;) {
            const unsigned char* piece = nullptr;
            const long got = source.next(piece);
            if (got < 0)
                return fail(kZipReadFailed);
            if (got == 0)
                break;
            const auto length = static_cast<std::size_t>(got);
            crc = static_cast<std::uint32_t>(crc32(crc, piece, static_cast<uInt>(length)));
            uncompressed += length;
            if (uncompressed > std::numeric_limits<std::uint32_t>::max())
                return fail(kZipWriteFailed);
            if (deflated ? !deflatePiece(piece, length, Z_NO_FLUSH, compressed)
                         : !write(piece, length))
                return false;
            if (!deflated)
                compressed += length;
        }
        if (deflated && !deflatePiece(nullptr, 0, Z_FINISH, compressed))
            return false;
        entry.crc = crc;
        entry.uncompressedSize = static_cast<std::uint32_t>(uncompressed);
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

// An unpacker would write the entry outside its target folder: an absolute name ("/x",
// "C:x") or a ".." step.
bool climbs(std::string_view name) {
    if (name.starts_with('/') || (name.size() >= 2 && name[1] == ':'))
        return true;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
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
    if (bytes.size() > kMaxNameBytes || climbs(bytes))
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

int createZipInMemory(ZipWriter** out, void* buffer, std::size_t capacity, const char* password) {
    if (out == nullptr)
        return kZipBadArgument;
    *out = nullptr;
    if (hasPassword(password))
        return kZipBadArgument;
    if (capacity == 0)
        return kZipMemoryFull;
    auto* zip = new (std::nothrow) ZipWriter;
    if (zip == nullptr)
        return kZipNoMemory;
    zip->memory = static_cast<unsigned char*>(buffer);
    if (buffer == nullptr) {
        void* mapping =
            ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping == MAP_FAILED) {
            delete zip;
            return kZipNoMemory;
        }
        zip->memory = static_cast<unsigned char*>(mapping);
        zip->ownsMapping = true;
    }
    zip->capacity = capacity;
    zip->canSeek = true;
    *out = zip;
    return kZipOk;
}

namespace {

int addEntry(ZipWriter* zip, const wchar_t* name, EntrySource& source) {
    if (zip->finished)
        return kZipClosed;
    if (zip->status() != kZipOk)
        return zip->error;
    bool forceStored = false;
    EntryRecord entry;
    entry.name = name != nullptr ? storedName(name, forceStored) : std::string();
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
    if (!zip->write(localHeader(entry)) || !zip->writeData(entry, source))
        return zip->error;

    if (zip->canSeek) {
        entry.flags &= static_cast<std::uint16_t>(~kFlagDataDescriptor);
        if (!zip->rewrite(entry.localHeaderOffset, localHeader(entry)))
            return zip->error;
    } else {
        if (!zip->write(dataDescriptor(entry)))
            return zip->error;
        // Readers that stream the archive trust the size the source had when the entry
        // began; a file that changed meanwhile makes an entry they would misread.
        if (source.fd >= 0 && source.length != entry.uncompressedSize) {
            zip->fail(kZipSizeMismatch);
            return zip->error;
        }
    }
    try {
        zip->entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        zip->fail(kZipNoMemory);
        return zip->error;
    }
    return kZipOk;
}

}  // namespace

int addZipEntry(ZipWriter* zip, const wchar_t* name, const void* data, unsigned length) {
    if (zip == nullptr || (data == nullptr && length > 0))
        return kZipBadArgument;
    EntrySource source;
    source.data = static_cast<const unsigned char*>(data);
    source.length = length;
    return addEntry(zip, name, source);
}

int addZipFileEntry(ZipWriter* zip, const wchar_t* name, const wchar_t* path) {
    if (zip == nullptr || path == nullptr)
        return kZipBadArgument;
    if (zip->finished)
        return kZipClosed;
    std::string native = platform::text::toUtf8(path);
    for (char& c : native)
        if (c == '\\')
            c = '/';
    EntrySource source;
    source.fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (source.fd < 0)
        return kZipCannotCreate;
    struct stat status {};
    if (::fstat(source.fd, &status) == 0)
        source.length = static_cast<std::size_t>(status.st_size);
    source.buffer = &zip->readBuffer;
    const int result = addEntry(zip, name, source);
    ::close(source.fd);
    return result;
}

int finishZip(ZipWriter* zip) {
    if (zip == nullptr)
        return kZipBadArgument;
    if (zip->finished)
        return kZipClosed;
    zip->finished = true;
    const std::uint64_t directoryStart = zip->archiveOffset();
    for (const EntryRecord& entry : zip->entries)
        if (!zip->write(centralHeader(entry)))
            break;
    const std::uint64_t directorySize = zip->archiveOffset() - directoryStart;
    zip->write(endRecord(static_cast<std::uint16_t>(zip->entries.size()),
                         static_cast<std::uint32_t>(directorySize),
                         static_cast<std::uint32_t>(directoryStart)));
    return zip->status();
}

int zipMemory(ZipWriter* zip, const void** data, std::size_t* length) {
    if (zip == nullptr || data == nullptr || length == nullptr)
        return kZipBadArgument;
    *data = zip->memory;
    *length = zip->memory != nullptr ? static_cast<std::size_t>(zip->writePosition) : 0;
    return kZipOk;
}

void abortZip(ZipWriter* zip) {
    if (zip != nullptr)
        zip->aborted = true;
}

int closeZip(ZipWriter* zip, int* systemError) {
    if (systemError != nullptr)
        *systemError = 0;
    if (zip == nullptr)
        return kZipBadArgument;
    std::unique_ptr<ZipWriter> owned(zip);
    if (!zip->finished)
        finishZip(zip);
    if (zip->fd < 0) {
        if (systemError != nullptr)
            *systemError = zip->systemError;
        return zip->status();
    }
    if (zip->canSeek && zip->status() == kZipOk && ::fsync(zip->fd) != 0 && errno != EINVAL)
        zip->fail(kZipWriteFailed, errno);
    const int fd = zip->fd;
    zip->fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        zip->fail(kZipWriteFailed, errno);
    if (systemError != nullptr)
        *systemError = zip->systemError;
    return zip->status();
}

}  // namespace plugin::zip
