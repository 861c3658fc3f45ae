#include <cerrno>
#include <functional>

#include "platform/system/atomic_file.h"
#include "platform/system/temporary_files.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"
#include "plugin/export/epub_book.h"
#include "plugin/export/export_failure.h"
#include "plugin/export/exports.h"
#include "plugin/export/mobi_converter.h"
#include "plugin/export/output_file.h"
#include "plugin/export/plain_export.h"
#include "plugin/repository/repository.h"
#include "plugin/util/files.h"

namespace plugin {

namespace {

// Hands each readable entry among `guids` to `each`, one at a time, in their order, so that
// only one entry is in memory; 0, or -1 when cancelled (the reason in the control block)
// or when `each` failed (it has reported why).
int forEachEntry(const std::vector<std::wstring>& guids, ExportControl* control,
                 const std::function<bool(const EntryRecord&)>& each) {
    for (const std::wstring& guid : guids) {
        if (exportCancelled(control))
            return exportFailure(control, kExportCancelled);
        EntryRecord entry;
        if (readEntry(guid, entry) && !each(entry))
            return -1;
    }
    return 0;
}

// Reports the failed write of `path` with its reason; -1.
int cannotWrite(const std::wstring& path, ExportControl* control) {
    return exportFailure(control, L"Cannot write " + path + L": " +
                                      platform::system::writeFailureText(errno) + L".");
}

int writeText(const std::wstring& path, const std::wstring& text, ExportControl* control) {
    if (!writeFile(path, platform::text::toUtf8(text)))
        return cannotWrite(path, control);
    return 0;
}

int writePerEntry(const std::vector<std::wstring>& guids, const std::wstring& folder, bool asHtml,
                  ExportControl* control) {
    if (!platform::system::createFolders(nativeFilePath(folder)))
        return exportFailure(control, L"Cannot create the folder " + folder + L".");
    FileNamer names(folder);
    PagePictures pictures(control);
    return forEachEntry(guids, control, [&](const EntryRecord& entry) {
        const std::wstring path = names.pathFor(entry.title, asHtml ? L".html" : L".txt");
        const std::wstring content =
            asHtml ? htmlPage(entry.title, entry.html, entry.url, pictures) : textBlock(entry);
        return writeText(path, content, control) == 0;
    });
}

// One file of every entry's piece with `separator` between them, between `start` and `end`,
// written as the entries are read.
int writeJoined(const std::vector<std::wstring>& guids, const std::wstring& path,
                std::wstring_view start, std::wstring_view separator, std::wstring_view end,
                const std::function<std::wstring(const EntryRecord&)>& piece,
                ExportControl* control) {
    OutputFile output(nativeFilePath(path));
    const auto append = [&](std::wstring_view text) {
        if (output.append(platform::text::toUtf8(text)))
            return true;
        cannotWrite(path, control);
        return false;
    };
    if (output.descriptor() < 0 || !append(start))
        return cannotWrite(path, control);
    bool first = true;
    const int walked = forEachEntry(guids, control, [&](const EntryRecord& entry) {
        const bool written = (first || append(separator)) && append(piece(entry));
        first = false;
        return written;
    });
    if (walked != 0)
        return -1;
    if (!append(end) || !output.commit())
        return cannotWrite(path, control);
    return 0;
}

int bookResult(const EpubBook& book, bool written, ExportControl* control) {
    if (written)
        return 0;
    if (control != nullptr && !book.error().empty())
        control->error = book.error();
    return -1;
}

// MOBI: the EPUB goes to a folder in the user's temporary folder, the converter turns it
// into the output, and the folder goes with everything the converter left in it.
int writeMobi(const std::wstring& name, const std::wstring& output, ExportControl* control,
              const std::function<int(const std::wstring&)>& writeEpub) {
    platform::system::TemporaryFolder temporary;
    if (temporary.path().empty())
        return exportFailure(control, L"Cannot create a temporary folder.");
    const std::wstring epub = platform::text::fromUtf8(temporary.path() + "/book.epub");
    if (writeEpub(epub) != 0)
        return -1;
    return ConvertToMobi(name, epub, output, control);
}

int unknownFormat(int format, ExportControl* control) {
    return exportFailure(control, L"Unknown export format " + std::to_wstring(format) + L".");
}

}  // namespace

int WriteEpub(const std::vector<std::wstring>& guids, const std::wstring& name,
              const std::wstring& path, int format, ExportControl* control) {
    EpubBook book(name, (format & kExportTableOfContents) != 0, control);
    if (!book.begin(path))
        return bookResult(book, false, control);
    const int walked = forEachEntry(guids, control, [&](const EntryRecord& entry) {
        if (book.addPage(entry.id, entry.title, entry.html, entry.url))
            return true;
        bookResult(book, false, control);
        return false;
    });
    if (walked != 0)
        return -1;
    // A cancel while the last page's pictures were fetched leaves a book without them.
    if (exportCancelled(control))
        return exportFailure(control, kExportCancelled);
    return bookResult(book, book.finish(), control);
}

int writeEpubContent(const std::wstring& url, const std::wstring& title, const std::wstring& html,
                     const std::wstring& path, ExportControl* control) {
    EpubBook book(title, false, control);
    if (!book.begin(path) || !book.addContentPage(title, html, url))
        return bookResult(book, false, control);
    if (exportCancelled(control))
        return exportFailure(control, kExportCancelled);
    return bookResult(book, book.finish(), control);
}

int exportEntries(const std::vector<std::wstring>& guids, const std::wstring& name,
                  const std::wstring& output, int format, ExportControl* control) {
    const int kind = format & kExportFormatMask;
    if (kind == kExportEpub)
        return WriteEpub(guids, name, output, format, control);
    if (kind == kExportMobi)
        return writeMobi(name, output, control, [&](const std::wstring& epub) {
            return WriteEpub(guids, name, epub, format, control);
        });
    if (kind != kExportTextPerEntry && kind != kExportText && kind != kExportHtmlPerEntry &&
        kind != kExportHtml)
        return unknownFormat(format, control);

    switch (kind) {
        case kExportTextPerEntry:
            return writePerEntry(guids, output, false, control);
        case kExportHtmlPerEntry:
            return writePerEntry(guids, output, true, control);
        case kExportText:
            return writeJoined(guids, output, L"", kTextSeparator, L"", textBlock, control);
        default: {
            PagePictures pictures(control);
            return writeJoined(
                guids, output, htmlPageStart(name), kHtmlSeparator, kHtmlPageEnd,
                [&](const EntryRecord& entry) { return htmlBlock(entry, pictures); }, control);
        }
    }
}

int exportContent(const std::wstring& url, const std::wstring& title, const std::wstring& text,
                  const std::wstring& html, const std::wstring& output, int format,
                  ExportControl* control) {
    switch (format & kExportFormatMask) {
        case kExportText:
            return writeText(output, clipText(text, html) + L"\r\n\r\nlink:\t" + url + L"\r\n",
                             control);
        case kExportHtml: {
            PagePictures pictures(control);
            return writeText(output, htmlPage(title, html, url, pictures), control);
        }
        case kExportEpub:
            return writeEpubContent(url, title, html, output, control);
        case kExportMobi:
            return writeMobi(title, output, control, [&](const std::wstring& epub) {
                return writeEpubContent(url, title, html, epub, control);
            });
        default:
            return unknownFormat(format, control);
    }
}

}  // namespace plugin
