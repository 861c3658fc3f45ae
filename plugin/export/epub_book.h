// An EPUB 2.0 book assembled in memory and written as one ZIP archive: the stored
// "mimetype" entry first, then META-INF/container.xml, the XHTML pages, an optional index
// page, the package document (OEBPS/package.opf) and the navigation (OEBPS/toc.ncx).
//
// Contract: one thread per object. Titles and content are made fit for XML when added
// (xhtml_content.h). `write` produces the file whole or not at all.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace plugin {

class EpubBook {
  public:
    // `withIndex`: an index page "Main Index" linking every page comes first. A book
    // without pages always gets it, so that its spine and navigation are never empty.
    EpubBook(std::wstring_view name, bool withIndex);

    // Adds a content page with the given title and HTML. `id` names it ("item-" + id and
    // file "item-" + id + ".html"); an id that is not a plain token of letters, digits, "-"
    // and "_", or that is taken already, is replaced by the page's number.
    void addPage(std::wstring_view id, std::wstring_view title, std::wstring_view html);
    // Adds the page of a single clip: id "content", file "content.html".
    void addContentPage(std::wstring_view title, std::wstring_view html);

    // Writes the book to `path`; false with the reason in `error` on failure.
    bool write(const std::wstring& path, std::wstring& error) const;

  private:
    struct Page {
        std::string id;
        std::string file;
        std::string title;  // XML-escaped UTF-8
        std::string xhtml;
    };

    void add(std::string id, std::string_view title, std::wstring_view html);
    std::string indexPage() const;
    std::string packageDocument(bool hasIndex) const;
    std::string navigation(bool indexInNavigation) const;

    std::string name_;  // XML-escaped UTF-8
    std::string identifier_;
    bool withIndex_;
    std::vector<Page> pages_;
    std::set<std::string> ids_;
};

}  // namespace plugin
