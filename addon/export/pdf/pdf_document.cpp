#include "addon/export/pdf/pdf_document.h"

#include <cstdio>
#include <ctime>

#include "common/util/file_tools.h"

namespace addon::PDFWriter {

namespace {

constexpr std::size_t kOutputCapacity = 8192;

// The header line and a comment of bytes above 127 that marks the file as binary.
constexpr unsigned char kBinaryMark[] = {37, 242, 243, 244, 245, 246, 10};

std::string localTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// A byte string as a PDF hexadecimal string: addresses reach the file as they are, and no
// character of theirs needs escaping.
void writeHexBytes(MemoryStream& out, const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.write("<");
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out.writeByte(static_cast<unsigned char>(kDigits[byte >> 4]));
        out.writeByte(static_cast<unsigned char>(kDigits[byte & 15]));
    }
    out.write(">");
}

}  // namespace

PDF::PDF() : out_(kOutputCapacity) {
    out_.write("%PDF-1.4\n");
    out_.writeBytes(kBinaryMark, sizeof kBinaryMark);
}

Page& PDF::addPage(double width, double height) {
    pages_.push_back(std::make_unique<Page>(width, height));
    return *pages_.back();
}

PdfImage& PDF::addImage(const platform::imaging::Bitmap& bitmap, platform::imaging::Rect rect,
                        std::wstring_view mode) {
    auto image = std::make_unique<PdfImage>(bitmap, rect, mode);
    writeImageObject(*image);
    images_.push_back(std::move(image));
    return *images_.back();
}

int PDF::beginObject() {
    ++objectCount_;
    offsets_.push_back(out_.size());
    out_.writeInt(objectCount_);
    out_.write(" 0 obj\n");
    return objectCount_;
}

void PDF::endObject() {
    out_.write("endobj\n");
}

void PDF::writeImageObject(PdfImage& image) {
    image.objectNumber_ = beginObject();
    out_.write("<<\n/Type /XObject\n/Subtype /Image\n");
    if (image.encoding() == ImageEncoding::Jpeg) {
        out_.write("/Filter /DCTDecode\n");
    } else if (image.encoding() == ImageEncoding::Flate) {
        out_.write("/Filter /FlateDecode\n");
    }
    out_.write("/Width ");
    out_.writeInt(image.pixelWidth());
    out_.write("\n/Height ");
    out_.writeInt(image.pixelHeight());
    out_.write("\n/ColorSpace /DeviceRGB\n/BitsPerComponent 8\n/Length ");
    out_.writeInt(static_cast<long long>(image.data().size()));
    out_.write("\n>>\nstream\n");
    out_.write(image.data().bytes());
    out_.write("\nendstream\n");
    endObject();
}

int PDF::writeResources() {
    const int number = beginObject();
    out_.write("<<\n/ProcSet [/PDF /Text /ImageC]\n/Font\n<<\n>>\n/XObject\n<<\n");
    for (const auto& image : images_) {
        out_.write("/Im");
        out_.writeInt(image->objectNumber());
        out_.write(" ");
        out_.writeInt(image->objectNumber());
        out_.write(" 0 R\n");
    }
    out_.write(">>\n>>\n");
    endObject();
    return number;
}

int PDF::writeInfo() {
    const int number = beginObject();
    const std::pair<const char*, const std::wstring*> entries[] = {
        {"/Title <", &title_},
        {"/Subject <", &subject_},
        {"/Author <", &author_},
        {"/Producer <", &producer_},
    };
    out_.write("<<\n");
    for (const auto& [key, text] : entries) {
        out_.write(key);
        out_.writeHexText(*text);
        out_.write(">\n");
    }
    out_.write("/CreationDate(D:");
    out_.write(localTimeText());
    out_.write(")\n>>\n");
    endObject();
    return number;
}

// The page object, its content stream, the stream's length and one annotation per link:
// objects in a row.
void PDF::writePage(const Page& page, int pageNumber, int pagesNumber, int resourcesNumber) {
    beginObject();
    out_.write("<<\n/Type /Page\n/Parent ");
    out_.writeInt(pagesNumber);
    out_.write(" 0 R\n/MediaBox [0 0 ");
    out_.writeReal(page.width());
    out_.write(" ");
    out_.writeReal(page.height());
    out_.write("]\n/Resources ");
    out_.writeInt(resourcesNumber);
    out_.write(" 0 R\n/Contents ");
    out_.writeInt(pageNumber + 1);
    out_.write(" 0 R\n");
    if (!page.links().empty()) {
        out_.write("/Annots [ ");
        for (std::size_t i = 0; i < page.links().size(); ++i) {
            out_.writeInt(pageNumber + 3 + static_cast<long long>(i));
            out_.write(" 0 R ");
        }
        out_.write("]\n");
    }
    out_.write(">>\n");
    endObject();

    beginObject();
    MemoryStream stream(page.content().size() + 64);
    // A stream that cannot be compressed is stored as it is, without the filter.
    const bool compressed =
        stream.writeCompressed(page.content().bytes().data(), page.content().size());
    if (!compressed) {
        stream.write(page.content().bytes());
    }
    out_.write(compressed ? "<<\n/Filter /FlateDecode\n/Length " : "<<\n/Length ");
    out_.writeInt(pageNumber + 2);
    out_.write(" 0 R\n>>\nstream\n");
    out_.write(stream.bytes());
    out_.write("\nendstream\n");
    endObject();

    beginObject();
    out_.writeInt(static_cast<long long>(stream.size()));
    out_.write("\n");
    endObject();

    for (const PdfLink& link : page.links()) {
        beginObject();
        out_.write("<<\n/Type /Annot\n/Subtype /Link\n/Rect [");
        out_.writeReal(link.x1);
        out_.write(" ");
        out_.writeReal(link.y1);
        out_.write(" ");
        out_.writeReal(link.x2);
        out_.write(" ");
        out_.writeReal(link.y2);
        out_.write("]\n/Border[0 0 0]\n/A <<\n/S /URI\n/URI ");
        writeHexBytes(out_, link.uri);
        out_.write("\n>>\n>>\n");
        endObject();
    }
}

void PDF::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    const int resourcesNumber = writeResources();
    const int infoNumber = writeInfo();

    const int pagesNumber = beginObject();
    out_.write("<<\n/Type /Pages\n/Kids [ ");
    // Each page takes three objects and one more per link.
    long long pageNumber = pagesNumber + 1;
    for (const auto& page : pages_) {
        out_.writeInt(pageNumber);
        out_.write(" 0 R ");
        pageNumber += 3 + static_cast<long long>(page->links().size());
    }
    out_.write("]\n/Count ");
    out_.writeInt(static_cast<long long>(pages_.size()));
    out_.write("\n>>\n");
    endObject();
    for (const auto& page : pages_) {
        writePage(*page, objectCount_ + 1, pagesNumber, resourcesNumber);
    }

    beginObject();
    out_.write("<<\n/Type /Catalog\n/Pages ");
    out_.writeInt(pagesNumber);
    out_.write(" 0 R\n/Base ()\n>>\n");
    endObject();

    const std::size_t xrefOffset = out_.size();
    out_.write("xref\n0 ");
    out_.writeInt(objectCount_ + 1);
    out_.write("\n0000000000 65535 f \n");
    for (const std::size_t offset : offsets_) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        out_.write(entry);
    }
    out_.write("trailer\n<<\n/Size ");
    out_.writeInt(objectCount_ + 1);
    out_.write("\n/Root ");
    out_.writeInt(objectCount_);
    out_.write(" 0 R\n/Info ");
    out_.writeInt(infoNumber);
    out_.write(" 0 R\n>>\nstartxref\n");
    out_.writeInt(static_cast<long long>(xrefOffset));
    out_.write("\n%%EOF\n");
}

const std::string& PDF::finishedBytes() {
    finish();
    return out_.bytes();
}

bool PDF::save(std::wstring_view path) {
    const std::string& bytes = finishedBytes();
    return common::writeFile(path, bytes.data(), bytes.size()) == bytes.size();
}

}  // namespace addon::PDFWriter
