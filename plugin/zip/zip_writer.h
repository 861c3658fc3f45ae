// A writer of ZIP archives: a new archive is written entry by entry from memory buffers,
// each entry deflated (raw DEFLATE, zlib at level 8) or stored, and the central directory
// follows when the archive is closed. Names are wide texts stored as UTF-8 with "/" between
// folders.
//
// Contract: a C-style interface of handles and numeric result codes; nothing throws. The
// caller owns a ZipWriter from create to `closeZip`, which frees it whatever it returns;
// one thread at a time per writer. The first failure sticks: later writes are skipped and
// `closeZip` reports it. A failed archive is left as far as it got; callers that need
// whole-or-nothing files write to a temporary file and rename it on success. Archives are
// limited to the classic format: 65535 entries and 4 GiB.
#pragma once

namespace plugin::zip {

enum ZipResult : int {
    kZipOk = 0,
    kZipCannotCreate = 1,  // the file could not be created or opened
    kZipNoMemory = 2,
    kZipWriteFailed = 3,  // a write failed, or the archive outgrew the classic format
    kZipBadArgument = 9,  // bad handle, empty or overlong name, missing data, password
    kZipSeekFailed = 16,  // the local header could not be rewritten in place
};

struct ZipWriter;

// Creates or replaces the file at `path` ("\" or "/" separators). Passwords (encrypted
// entries) are not supported: a non-empty one gives kZipBadArgument. On failure *out is
// null.
int createZipFile(ZipWriter** out, const wchar_t* path, const char* password);
// Writes to a duplicate of the open descriptor `fd`, starting at its current position when
// it can seek (offsets in the archive count from the file's start, so the archive may
// follow other data); a descriptor that cannot seek
// (a pipe) gets each entry's sizes in a data descriptor after its data.
int createZipOnDescriptor(ZipWriter** out, int fd, const char* password);

// Adds one entry holding `length` bytes at `data` (null only when length is 0). A name
// ending in "*" is stored uncompressed, without the "*" and without extra fields (what an
// e-book's leading "mimetype" entry needs); names with an archive's extension (.zip, .gz,
// ...) are stored too, everything else is deflated.
int addZipEntry(ZipWriter* zip, const wchar_t* name, const void* data, unsigned length);

// Writes the central directory and the end record (unless a failure came first), closes
// the target and frees the writer. Returns the first failure's code, or kZipOk.
int closeZip(ZipWriter* zip);

}  // namespace plugin::zip
