// A writer of ZIP archives: a new archive is written entry by entry, each entry deflated
// (raw DEFLATE, zlib at level 8) or stored, and the central directory follows when the
// archive is finished. Targets are files, open descriptors and memory (a caller's buffer
// or a fresh mapping of the writer's own); sources are memory buffers and files. Names are
// wide texts stored as UTF-8 with "/" between folders.
//
// Contract: a C-style interface of handles and numeric result codes; nothing throws. The
// caller owns a ZipWriter from create to `closeZip`, which frees it whatever it returns;
// one thread at a time per writer, except `abortZip`, which any thread may call. The first
// failure sticks: later writes are skipped and `closeZip` reports it. A failed archive is
// left as far as it got; callers that need whole-or-nothing files write to a temporary
// file and rename it on success. Archives are limited to the classic format: 65535
// entries and 4 GiB.
#pragma once

#include <cstddef>

namespace plugin::zip {

enum ZipResult : int {
    kZipOk = 0,
    kZipCannotCreate = 1,  // the file could not be created or opened
    kZipNoMemory = 2,
    kZipWriteFailed = 3,    // a write failed, or the archive outgrew the classic format
    kZipReadFailed = 7,     // a read of the entry's source failed
    kZipBadArgument = 9,    // bad handle, empty, overlong or climbing name, missing data
    kZipMemoryFull = 11,    // the memory target is full or has no size
    kZipClosed = 13,        // the archive is already finished
    kZipSeekFailed = 16,    // the local header could not be rewritten in place
    kZipSizeMismatch = 17,  // (targets that cannot seek) the source's size changed meanwhile
    kZipAborted = 20,       // abortZip was called
};

struct ZipWriter;

// Creates or replaces the file at `path` ("\" or "/" separators). Passwords (encrypted
// entries) are not supported: a non-empty one gives kZipBadArgument. On failure *out is
// null.
int createZipFile(ZipWriter** out, const wchar_t* path, const char* password);
// Writes to a duplicate of the open descriptor `fd`, starting at its current position when
// it can seek (offsets in the archive count from the file's start, so the archive may
// follow other data); a descriptor that cannot seek (a pipe) gets each entry's sizes in a
// data descriptor after its data.
int createZipOnDescriptor(ZipWriter** out, int fd, const char* password);
// Writes into memory: the caller's `buffer` of `capacity` bytes, which must outlive the
// writer, or, when `buffer` is null, a fresh mapping of `capacity` bytes that the writer
// owns and unmaps in closeZip. Capacity 0 gives kZipMemoryFull; an archive that outgrows
// the capacity fails with kZipMemoryFull.
int createZipInMemory(ZipWriter** out, void* buffer, std::size_t capacity, const char* password);

// Adds one entry holding `length` bytes at `data` (null only when length is 0). A name
// ending in "*" is stored uncompressed, without the "*" and without extra fields (what an
// e-book's leading "mimetype" entry needs); names with an archive's extension (.zip, .gz,
// ...) are stored too, everything else is deflated. Names that climb out of the archive's
// folder ("..", "a/../../b") or are absolute ("/x", "\x", "C:x") give kZipBadArgument.
int addZipEntry(ZipWriter* zip, const wchar_t* name, const void* data, unsigned length);
// The same with the content read from the file at `path` in 64 KiB pieces: kZipCannotCreate
// when it cannot be opened, kZipReadFailed when a read fails.
int addZipFileEntry(ZipWriter* zip, const wchar_t* name, const wchar_t* path);

// Writes the central directory and the end record (unless a failure came first) and
// finishes the archive: later entries give kZipClosed, and so does a second finish.
// Returns the first failure's code, or kZipOk.
int finishZip(ZipWriter* zip);
// The archive written so far into a memory target (*data null for other targets); after
// finishZip it is the whole archive. Valid until closeZip.
int zipMemory(ZipWriter* zip, const void** data, std::size_t* length);
// Marks the writer aborted: nothing more is written, and every later call (closeZip too)
// gives kZipAborted unless an earlier failure had set another code.
void abortZip(ZipWriter* zip);

// Finishes the archive unless that was done (or it failed or was aborted), releases the
// target (closes an owned descriptor, unmaps the writer's own memory) and frees the
// writer. Returns the first failure's code, or kZipOk; `systemError`, when given, receives
// the error number of that failure when a write to the target failed (0 otherwise), so
// that a full disk can be told from other failures.
int closeZip(ZipWriter* zip, int* systemError = nullptr);

}  // namespace plugin::zip
