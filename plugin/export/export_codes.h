// The format and scope codes of the exports, and the control block through which a caller
// (an export dialog's worker) learns why an export failed and can stop it early.
//
// Contract: ExportControl is shared between the exporting thread, which writes `error`,
// and a controlling thread, which may call `cancel` at any time; read `error` only after
// the export has returned.
#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "platform/net/http_client.h"

namespace plugin {

// Format codes: the low 12 bits choose the format; kExportTableOfContents asks for an index
// page at the front of an EPUB.
inline constexpr int kExportTextPerEntry = 1;  // a folder, one ".txt" file per entry
inline constexpr int kExportText = 2;          // one text file
inline constexpr int kExportHtmlPerEntry = 3;  // a folder, one ".html" file per entry
inline constexpr int kExportHtml = 4;          // one HTML file
inline constexpr int kExportEpub = 6;
inline constexpr int kExportMobi = 7;
inline constexpr int kExportFormatMask = 0x0FFF;
inline constexpr int kExportTableOfContents = 0x1000;

// Scope codes of the export dialogs.
inline constexpr int kScopeItem = 1;
inline constexpr int kScopeFolder = 2;
inline constexpr int kScopeSite = 3;
inline constexpr int kScopeCategory = 4;
inline constexpr int kScopeLatest = 5;

// How long the downloads of all the pictures of one export may take together; a picture
// not had by then is left out (its alternative text stands in its place).
inline constexpr std::chrono::milliseconds kPictureFetchBudget{30000};

struct ExportControl {
    std::atomic<bool> cancelled{false};
    platform::net::HttpCancel fetches;  // ends the picture download under way
    std::wstring error;                 // why the export failed; "" after a success
    std::chrono::milliseconds pictureBudget = kPictureFetchBudget;

    void cancel() {
        cancelled = true;
        fetches.cancel();
    }
};

}  // namespace plugin
