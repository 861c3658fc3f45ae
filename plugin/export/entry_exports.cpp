#include <functional>

#include "platform/system/atomic_file.h"
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

// The readable entries among `guids`, in their order; false when cancelled.
bool readEntries(const std::vector<std::wstring>& guids, std::vector<EntryRecord>& entries,
                 const ExportControl* control) {
    for (const std::wstring& guid : guids) {
        if (exportCancelled(control))
            return false;
        EntryRecord entry;
        if (readEntry(guid, entry))
            entries.push_back(std::move(entry));
    }
    return true;
}

int writeText(const std::wstring& path, const std::wstring& text, ExportControl* control) {
    if (!writeFile(path, platform::text::toUtf8(text)))
        return exportFailure(control, L"Cannot write " + path + L".");
    return 0;
}

int writePerEntry(const std::vector<EntryRecord>& entries, const std::wstring& folder, bool asHtml,
                  ExportControl* control) {
    if (!platform::system::createFolders(nativeFilePath(folder)))
        return exportFailure(control, L"Cannot create the folder " + folder + L".");
    FileNamer names(folder);
    for (const EntryRecord& entry : entries) {
        if (exportCancelled(control))
            return exportFailure(control, kExportCancelled);
        const std::wstring path = names.pathFor(entry.title, asHtml ? L".html" : L".txt");
        const std::wstring content = asHtml ? htmlPage(entry.title, entry.html) : textBlock(entry);
        if (writeText(path, content, control) != 0)
            return -1;
    }
    return 0;
}

template <class Piece>
std::wstring joined(const std::vector<EntryRecord>& entries, std::wstring_view separator,
                    Piece piece) {
    std::wstring text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            text += separator;
        text += piece(entries[i]);
    }
    return text;
}

int writeBook(const EpubBook& book, const std::wstring& path, ExportControl* control) {
    std::wstring error;
    if (!book.write(path, error))
        return exportFailure(control, error);
    return 0;
}

// MOBI: the EPUB goes to a private temporary folder, the converter turns it into the
// output, and the folder goes with everything the converter left in it.
int writeMobi(const std::wstring& name, const std::wstring& output, ExportControl* control,
              const std::function<int(const std::wstring&)>& writeEpub) {
    TemporaryFolder temporary;
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
    std::vector<EntryRecord> entries;
    if (!readEntries(guids, entries, control))
        return exportFailure(control, kExportCancelled);
    EpubBook book(name, (format & kExportTableOfContents) != 0);
    for (const EntryRecord& entry : entries)
        book.addPage(entry.id, entry.title, entry.html);
    return writeBook(book, path, control);
}

int writeEpubContent(const std::wstring& /*url*/, const std::wstring& title,
                     const std::wstring& html, const std::wstring& path, ExportControl* control) {
    EpubBook book(title, false);
    book.addContentPage(title, html);
    return writeBook(book, path, control);
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

    std::vector<EntryRecord> entries;
    if (!readEntries(guids, entries, control))
        return exportFailure(control, kExportCancelled);
    switch (kind) {
        case kExportTextPerEntry:
            return writePerEntry(entries, output, false, control);
        case kExportHtmlPerEntry:
            return writePerEntry(entries, output, true, control);
        case kExportText:
            return writeText(output, joined(entries, kTextSeparator, textBlock), control);
        default:
            return writeText(output, htmlPage(name, joined(entries, kHtmlSeparator, htmlBlock)),
                             control);
    }
}

int exportContent(const std::wstring& url, const std::wstring& title, const std::wstring& text,
                  const std::wstring& html, const std::wstring& output, int format,
                  ExportControl* control) {
    switch (format & kExportFormatMask) {
        case kExportText:
            return writeText(output, text + L"\r\n\r\nlink:\t" + url + L"\r\n", control);
        case kExportHtml:
            return writeText(output, htmlPage(title, html), control);
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
