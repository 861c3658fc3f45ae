// PDFWriter::PDF: an image-only PDF 1.4 document. Pictures are written as image objects
// when they are added; save() finishes the file (resources, info, page tree, pages,
// catalog, cross-reference table, trailer) and writes it. The document carries no fonts
// and no text: its resources have an empty font dictionary.
//
// Contract: build, add pages and pictures, save; the document owns its pages and
// pictures. Title, subject, author and producer are written as UTF-16BE hexadecimal
// strings, so no text needs escaping. save() writes the file whole or not at all and
// returns false when it cannot; saving again writes the same bytes. One thread at a
// time per document.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addon/export/pdf/memory_stream.h"
#include "addon/export/pdf/pdf_image.h"
#include "addon/export/pdf/pdf_page.h"

namespace addon::PDFWriter {

class PDF {
  public:
    PDF();

    void setTitle(std::wstring_view title) { title_ = title; }
    void setSubject(std::wstring_view subject) { subject_ = subject; }
    void setAuthor(std::wstring_view author) { author_ = author; }

    Page& addPage(double width, double height);
    // Encodes `rect` of `bitmap` (PdfImage) and writes its image object at once.
    PdfImage& addImage(const platform::imaging::Bitmap& bitmap, platform::imaging::Rect rect,
                       std::wstring_view mode);

    const std::vector<std::unique_ptr<Page>>& pages() const { return pages_; }
    const std::vector<std::unique_ptr<PdfImage>>& images() const { return images_; }

    // Finishes the document (once) and writes it to `path`.
    bool save(std::wstring_view path);
    // The finished file's bytes.
    const std::string& finishedBytes();

  private:
    int beginObject();
    void endObject();
    void writeImageObject(PdfImage& image);
    void finish();
    int writeResources();
    int writeInfo();
    void writePage(const Page& page, int pageNumber, int pagesNumber, int resourcesNumber);

    MemoryStream out_;
    int objectCount_ = 0;
    std::vector<std::size_t> offsets_;
    std::vector<std::unique_ptr<PdfImage>> images_;
    std::vector<std::unique_ptr<Page>> pages_;
    std::wstring title_;
    std::wstring subject_;
    std::wstring author_;
    std::wstring producer_;
    bool finished_ = false;
};

}  // namespace addon::PDFWriter
