// The messages exchanged with the synchronisation service: the entry element (an
// `EntryRecord` as XML, both ways), the upload request and its compressed body, and the
// response with the changes to apply locally.
//
// Contract: pure functions over their arguments except `BuildSyncRequest`, which reads the
// entries it sends from the repository. Callable from any thread; one document per call.
// Malformed input never throws: it gives an invalid response or nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/xml/xml_document.h"
#include "plugin/repository/entry_record.h"

namespace plugin {

// Kinds of change selected by a mask.
inline constexpr int kSyncDeletes = 1;
inline constexpr int kSyncUpdates = 2;
inline constexpr int kSyncInserts = 4;
inline constexpr int kSyncAllChanges = kSyncDeletes | kSyncUpdates | kSyncInserts;

// The number of changes whose kind the mask selects.
int countChanges(const std::vector<ChangeRecord>& changes, int mask);

// Appends an "item" element for `record` to `parent`: its attributes in column order
// (then command and mode), description, text and html as child elements.
void appendEntryElement(const common::CXMLDOMDocument& document, const common::CXMLDOMNode& parent,
                        const EntryRecord& record);
// The record an "item" element carries; what is missing stays empty (mode 0).
EntryRecord readEntryElement(const common::CXMLDOMNode& item);

// The upload request text: a "request" root (version, name "sync", key, lastUpdateTime)
// with one item per selected change, newest first. A deletion is sent as guid, updateTime
// and command; an insert or update as the whole entry as it is now, stamped with the
// change's time, and not at all when the entry no longer exists. nullopt when an entry
// cannot be read (the repository is unavailable): sending the rest would drop that change.
std::optional<std::wstring> BuildSyncRequest(const std::wstring& key,
                                             const std::vector<ChangeRecord>& changes, int mask,
                                             const std::wstring& lastUpdateTime);

// The request text as UTF-16LE code units, compressed with zlib (stream format, default
// level) into at most as many bytes as the uncompressed text; nullopt when it does not
// fit or zlib fails.
std::optional<std::vector<std::uint8_t>> compressRequestBody(const std::wstring& text);

struct SyncResponse {
    bool valid = false;  // the document has a "response" root
    std::wstring updateTime;
    std::vector<EntryRecord> records;
};

// Reads the "response" root: its updateTime and its "item" children in order; other
// elements are passed over.
SyncResponse ParseSyncResponse(const common::CXMLDOMDocument& document);

}  // namespace plugin
