#include "plugin/export/epub_book.h"

#include <cerrno>
#include <random>

#include "common/markup/markup_sanitizer.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"
#include "plugin/export/xhtml_content.h"

namespace plugin {

namespace {

constexpr const char* kOpfNamespace = "http://www.idpf.org/2007/opf";
constexpr const char* kDublinCoreNamespace = "http://purl.org/dc/elements/1.1/";
constexpr const char* kDcTermsNamespace = "http://purl.org/dc/terms/";
constexpr const char* kSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr const char* kNcxNamespace = "http://www.daisy.org/z3986/2005/ncx/";
constexpr const char* kContentTypeMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/>";
constexpr const char* kIndexId = "main-index";
constexpr const char* kIndexFile = "main.html";

constexpr const char* kContainer =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\r\n"
    "<rootfiles>\r\n"
    "<rootfile full-path=\"OEBPS/package.opf\" media-type=\"application/oebps-package+xml\"/>"
    "\r\n"
    "</rootfiles>\r\n"
    "</container>\r\n";

// Each book gets its own identifier, so that reading systems keep books apart.
std::string newBookIdentifier() {
    std::random_device random;
    unsigned char bytes[16];
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // variant 1
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "urn:uuid:";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

bool isPlainToken(std::wstring_view id) {
    if (id.empty())
        return false;
    for (const wchar_t c : id)
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
              c == L'-' || c == L'_'))
            return false;
    return true;
}

std::string xhtmlPage(std::string_view title, std::string_view heading, std::string_view body) {
    std::string page = std::string("<html xmlns=\"") + kXhtmlNamespace + "\"><head>" +
                       kContentTypeMeta + "<title>";
    page += title;
    page += "</title></head><body>";
    page += heading;
    page += body;
    page += "</body></html>";
    return page;
}

std::string manifestItem(std::string_view id, std::string_view file) {
    return "<item id=\"" + std::string(id) + "\" href=\"" + std::string(file) +
           "\" media-type=\"application/xhtml+xml\"/>";
}

std::string navPoint(std::string_view id, std::string_view file, std::string_view title,
                     std::size_t order) {
    return "<navPoint id=\"" + std::string(id) + "\" playOrder=\"" + std::to_string(order) +
           "\"><navLabel><text>" + std::string(title) + "</text></navLabel><content src=\"" +
           std::string(file) + "\"/></navPoint>";
}

std::wstring archiveName(const std::string& file) {
    return L"OEBPS\\" + platform::text::fromUtf8(file);
}

// Reading systems show navigation labels and book titles: an empty one is not allowed.
std::string labelOr(const std::string& text, const std::string& fallback) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos ? fallback : text;
}

}  // namespace

EpubBook::EpubBook(std::wstring_view name, bool withIndex, ExportControl* control)
    : name_(labelOr(xmlText(name), "Tamrix")),
      identifier_(newBookIdentifier()),
      withIndex_(withIndex),
      control_(control),
      pictures_(
          [this](const std::string& file, std::string_view bytes) { return store(file, bytes); },
          control) {}

EpubBook::~EpubBook() {
    if (archive_ != nullptr) {
        zip::abortZip(archive_);
        zip::closeZip(archive_);
    }
}

bool EpubBook::failed(const std::wstring& reason) {
    if (error_.empty())
        error_ = reason;
    return false;
}

bool EpubBook::archiveFailed(int code) {
    // The first failure sticks in the archive: closing it now loses nothing and tells
    // whether the system refused a write, and why.
    int systemError = 0;
    const int closed = archive_ != nullptr ? zip::closeZip(archive_, &systemError) : code;
    archive_ = nullptr;
    std::wstring reason = L"Cannot write the book " + path_;
    if (systemError != 0)
        reason += L": " + platform::system::writeFailureText(systemError);
    return failed(reason + L" (archive error " +
                  std::to_wstring(code != zip::kZipOk ? code : closed) + L")");
}

bool EpubBook::begin(const std::wstring& path) {
    path_ = path;
    output_ = std::make_unique<OutputFile>(nativeFilePath(path));
    if (output_->descriptor() < 0)
        return failed(L"Cannot create " + path + L": " + platform::system::writeFailureText(errno));
    const int code = zip::createZipOnDescriptor(&archive_, output_->descriptor(), nullptr);
    if (code != zip::kZipOk)
        return archiveFailed(code);
    return storeEntry(L"mimetype*", "application/epub+zip") &&
           storeEntry(L"META-INF\\container.xml", kContainer);
}

bool EpubBook::store(const std::string& file, std::string_view bytes) {
    return storeEntry(archiveName(file), bytes);
}

bool EpubBook::storeEntry(const std::wstring& name, std::string_view bytes) {
    if (!error_.empty() || archive_ == nullptr)
        return false;
    const int code =
        zip::addZipEntry(archive_, name.c_str(), bytes.data(), static_cast<unsigned>(bytes.size()));
    if (code != zip::kZipOk)
        return archiveFailed(code);
    return true;
}

bool EpubBook::addPage(std::wstring_view id, std::wstring_view title, std::wstring_view html,
                       std::wstring_view base) {
    std::string token = "item-" + platform::text::toUtf8(id);
    if (!isPlainToken(id) || ids_.count(token) > 0)
        token = "item-" + std::to_string(pages_.size() + 1);
    for (int extra = 2; ids_.count(token) > 0; ++extra)
        token = "item-" + std::to_string(pages_.size() + 1) + "-" + std::to_string(extra);
    return add(token, title, html, base);
}

bool EpubBook::addContentPage(std::wstring_view title, std::wstring_view html,
                              std::wstring_view base) {
    return add("content", title, html, base);
}

bool EpubBook::add(std::string id, std::wstring_view title, std::wstring_view html,
                   std::wstring_view base) {
    if (control_ != nullptr && control_->cancelled)
        return failed(L"The export was cancelled.");
    Page page;
    page.file = id + ".html";
    page.title = xmlText(title);
    page.id = std::move(id);
    const std::string baseUrl = platform::text::toUtf8(base);
    const std::string body = common::bookPageMarkup(
        platform::text::toUtf8(html),
        [&](const std::string& source) { return pictures_.place(source, baseUrl); });
    if (!store(page.file, xhtmlPage(page.title, "<h3>" + page.title + "</h3>", body)))
        return false;
    ids_.insert(page.id);
    pages_.push_back(std::move(page));
    return true;
}

std::string EpubBook::indexPage() const {
    std::string lines;
    for (const Page& page : pages_)
        lines += "<h3><a href=\"" + page.file + "\">" + labelOr(page.title, page.id) + "</a></h3>";
    if (lines.empty())
        lines = "<p>This book holds no clips.</p>";  // a body may not be empty
    return xhtmlPage("Main Index", "", lines);
}

std::string EpubBook::packageDocument(bool hasIndex) const {
    std::string opf = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") +
                      "<package xmlns=\"" + kOpfNamespace +
                      "\" unique-identifier=\"dcidid\" version=\"2.0\">" + "<metadata xmlns:dc=\"" +
                      kDublinCoreNamespace + "\"\t\t" + "xmlns:dcterms=\"" + kDcTermsNamespace +
                      "\"\t\t" + "xmlns:xsi=\"" + kSchemaInstanceNamespace + "\"\t\t" +
                      "xmlns:opf=\"" + kOpfNamespace + "\">" + "<dc:title>" + name_ +
                      "</dc:title>" + "<dc:language xsi:type=\"dcterms:RFC3066\">en</dc:language>" +
                      "<dc:identifier id=\"dcidid\" opf:scheme=\"URI\">" + identifier_ +
                      "</dc:identifier>" + "</metadata><manifest>";
    std::string spine;
    if (hasIndex) {
        opf += "<item id=\"" + std::string(kIndexId) + "\" href=\"" + kIndexFile +
               "\" media-type=\"application/xhtml+xml\" />";
        spine += "<itemref idref=\"" + std::string(kIndexId) + "\"/>";
    }
    opf += "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\" />";
    for (const Page& page : pages_) {
        opf += manifestItem(page.id, page.file);
        spine += "<itemref idref=\"" + page.id + "\"/>";
    }
    opf += pictures_.manifestItems();
    opf += "</manifest><spine toc=\"ncx\">" + spine + "</spine></package>";
    return opf;
}

std::string EpubBook::navigation(bool indexInNavigation) const {
    std::string points;
    std::size_t order = 0;
    if (indexInNavigation)
        points += navPoint(kIndexId, kIndexFile, "Main Index", ++order);
    for (const Page& page : pages_)
        points += navPoint(page.id, page.file, labelOr(page.title, page.id), ++order);
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + "<ncx xmlns=\"" +
           kNcxNamespace + "\" version=\"2005-1\"><head>" + "<meta name=\"dtb:uid\" content=\"" +
           identifier_ + "\"/>" + "<meta name=\"dtb:depth\" content=\"-1\"/>" +
           "<meta name=\"dtb:totalPageCount\" content=\"0\"/>" +
           "<meta name=\"dtb:maxPageNumber\" content=\"0\"/>" + "</head><docTitle><text>" + name_ +
           "</text></docTitle><navMap>" + points + "</navMap></ncx>";
}

bool EpubBook::finish() {
    if (!error_.empty() || archive_ == nullptr)
        return failed(L"The book was not started.");
    const bool hasIndex = withIndex_ || pages_.empty();
    if ((hasIndex && !store(kIndexFile, indexPage())) ||
        !store("package.opf", packageDocument(hasIndex)) ||
        !store("toc.ncx", navigation(pages_.empty())))
        return false;
    int systemError = 0;
    const int code = zip::closeZip(archive_, &systemError);
    archive_ = nullptr;
    if (code != zip::kZipOk)
        return failed(L"Cannot write the book " + path_ + L": " +
                      (systemError != 0 ? platform::system::writeFailureText(systemError)
                                        : L"archive error " + std::to_wstring(code)));
    if (!output_->commit())
        return failed(L"Cannot write the book " + path_ + L": " +
                      platform::system::writeFailureText(errno));
    return true;
}

}  // namespace plugin
