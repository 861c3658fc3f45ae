// An EPUB 2.0 book written as it is built: the stored "mimetype" entry first, then
// META-INF/container.xml, each XHTML page (and the pictures it shows) as it is added, an
// optional index page, the package document (OEBPS/package.opf) and the navigation
// (OEBPS/toc.ncx) when it is finished. Only the pages' titles stay in memory, so a book
// of any number of entries needs the memory of one page.
//
// Contract: one thread per object. Pages' markup goes through the book form of the
// markup sanitiser (valid XHTML 1.1, pictures stored in the book or replaced by their alt
// text). The file is written whole or not at all: it appears at `path` only when `finish`
// succeeds, and a book abandoned before (failure, cancel, destruction) leaves nothing.
// Every operation returns false with the reason in `error()` once something failed.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/export/book_pictures.h"
#include "plugin/export/export_codes.h"
#include "plugin/export/output_file.h"
#include "plugin/zip/zip_writer.h"

namespace plugin {

class EpubBook {
  public:
    // `withIndex`: an index page "Main Index" linking every page comes first. A book
    // without pages always gets it, so that its spine and navigation are never empty.
    EpubBook(std::wstring_view name, bool withIndex, ExportControl* control = nullptr);
    EpubBook(const EpubBook&) = delete;
    EpubBook& operator=(const EpubBook&) = delete;
    ~EpubBook();

    // Starts the book that `finish` puts at `path`.
    bool begin(const std::wstring& path);
    // Adds a content page with the given title and HTML; relative picture addresses are
    // read against `base` (the clip's page). `id` names it ("item-" + id and file
    // "item-" + id + ".html"); an id that is not a plain token of letters, digits, "-"
    // and "_", or that is taken already, is replaced by the page's number.
    bool addPage(std::wstring_view id, std::wstring_view title, std::wstring_view html,
                 std::wstring_view base);
    // Adds the page of a single clip: id "content", file "content.html".
    bool addContentPage(std::wstring_view title, std::wstring_view html, std::wstring_view base);
    // Writes the index, package and navigation and puts the book at its path.
    bool finish();

    const std::wstring& error() const { return error_; }

  private:
    struct Page {
        std::string id;
        std::string file;
        std::string title;  // XML-escaped UTF-8
    };

    bool add(std::string id, std::wstring_view title, std::wstring_view html,
             std::wstring_view base);
    // A file of the content folder OEBPS, and any entry of the archive.
    bool store(const std::string& file, std::string_view bytes);
    bool storeEntry(const std::wstring& name, std::string_view bytes);
    bool failed(const std::wstring& reason);
    // Closes the archive after `code` failed and keeps the reason, the disk's part named.
    bool archiveFailed(int code);
    std::string indexPage() const;
    std::string packageDocument(bool hasIndex) const;
    std::string navigation(bool indexInNavigation) const;

    std::string name_;  // XML-escaped UTF-8
    std::string identifier_;
    bool withIndex_;
    ExportControl* control_;
    std::wstring path_;
    std::unique_ptr<OutputFile> output_;
    zip::ZipWriter* archive_ = nullptr;
    BookPictures pictures_;
    std::vector<Page> pages_;
    std::set<std::string> ids_;
    std::wstring error_;
};

}  // namespace plugin
