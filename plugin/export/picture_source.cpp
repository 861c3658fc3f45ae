#include "plugin/export/picture_source.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/uri.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>

#include "common/markup/url_safety.h"
#include "common/markup/xml_output.h"
#include "platform/net/address_decoding.h"
#include "platform/net/http_client.h"

namespace plugin {

namespace {

constexpr std::chrono::milliseconds kPictureTimeout{20000};
constexpr std::chrono::milliseconds kPictureConnectTimeout{10000};

struct XmlFree {
    void operator()(void* memory) const { xmlFree(memory); }
};

std::optional<std::string> readFilePicture(const std::string& url, const std::string& pageAddress) {
    const std::optional<std::string> local = platform::net::pageLocalFilePath(url, pageAddress);
    if (!local)
        return std::nullopt;
    const std::string& path = *local;
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::size_t>(status.st_size) > kMaxPictureBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        return std::nullopt;
    return bytes;
}

// "data:[<media type>][;base64],<data>".
std::optional<std::string> readDataPicture(const std::string& url) {
    const auto comma = url.find(',');
    if (comma == std::string::npos || url.size() - comma > kMaxPictureBytes / 3 * 4 + 16)
        return std::nullopt;
    return platform::net::dataUrlBytes(url);
}

std::optional<std::string> readWebPicture(const std::string& url,
                                          std::chrono::milliseconds timeLeft,
                                          ExportControl* control) {
    if (timeLeft.count() <= 0)
        return std::nullopt;
    platform::net::HttpRequest request;
    request.url = url;
    request.timeout = std::min(kPictureTimeout, timeLeft);
    request.connectTimeout = std::min(kPictureConnectTimeout, timeLeft);
    request.maxRedirects = 5;
    request.maxResponseBytes = kMaxPictureBytes;
    try {
        platform::net::HttpResponse response =
            platform::net::performHttp(request, control != nullptr ? &control->fetches : nullptr);
        if (response.status != 200)
            return std::nullopt;
        return std::move(response.body);
    } catch (const platform::net::HttpError&) {
        return std::nullopt;
    }
}

}  // namespace

namespace {

bool named(const xmlNode* node, const char* name) {
    return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// True when no element or attribute below `node` can run a script or pull in a document.
bool holdsNothingActive(const xmlNode* node, int depth) {
    if (depth > 256)
        return false;
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (named(node, "script") || named(node, "foreignObject") || named(node, "handler") ||
            named(node, "iframe"))
            return false;
        for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
            const std::string name = reinterpret_cast<const char*>(attribute->name);
            if (common::markup::lowerAscii(name.substr(0, 2)) == "on")
                return false;
            std::unique_ptr<xmlChar, XmlFree> value(
                xmlNodeListGetString(node->doc, attribute->children, 1));
            const std::string text = value ? reinterpret_cast<const char*>(value.get()) : "";
            if (common::markup::isScriptUrl(text))
                return false;
        }
        if (!holdsNothingActive(node->children, depth + 1))
            return false;
    }
    return true;
}

// An SVG picture: a well-formed XML document whose root is the SVG element, with nothing
// in it that could run (it is shown in books and pages that move to other readers).
bool isPlainSvg(std::string_view bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (start == std::string_view::npos || bytes[start] != '<' ||
        bytes.substr(0, 4096).find("<svg") == std::string_view::npos)
        return false;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
    return root != nullptr && xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>("svg")) == 0 &&
           document->intSubset == nullptr && holdsNothingActive(root, 0);
}

}  // namespace

std::optional<PictureKind> pictureKind(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF"))
        return PictureKind{"image/jpeg", "jpg"};
    if (bytes.starts_with("\x89PNG\r\n\x1A\n"))
        return PictureKind{"image/png", "png"};
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        return PictureKind{"image/gif", "gif"};
    if (isPlainSvg(bytes))
        return PictureKind{"image/svg+xml", "svg"};
    return std::nullopt;
}

std::string absolutePictureUrl(std::string_view reference, std::string_view base) {
    const std::size_t start = reference.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos &&
        common::markup::lowerAscii(reference.substr(start, 5)) == "data:")
        return std::string(reference.substr(start));
    const std::string encoded = platform::net::escapeUrl(reference);
    const std::string encodedBase = platform::net::escapeUrl(base);
    std::unique_ptr<xmlChar, XmlFree> built(xmlBuildURI(
        reinterpret_cast<const xmlChar*>(encoded.c_str()),
        base.empty() ? nullptr : reinterpret_cast<const xmlChar*>(encodedBase.c_str())));
    if (!built)
        return {};
    std::string url(reinterpret_cast<const char*>(built.get()));
    const auto colon = url.find(':');
    const auto slash = url.find('/');
    if (colon == std::string::npos || colon == 0 || (slash != std::string::npos && slash < colon))
        return {};  // still relative
    return url;
}

PictureReader::PictureReader(ExportControl* control)
    : control_(control),
      budgetLeft_(control != nullptr ? control->pictureBudget : kPictureFetchBudget) {}

std::optional<std::string> PictureReader::read(const std::string& url,
                                               const std::string& pageAddress) {
    if (control_ != nullptr && control_->cancelled)
        return std::nullopt;
    const std::string scheme = common::markup::lowerAscii(url.substr(0, url.find(':') + 1));
    std::optional<std::string> bytes;
    if (scheme == "file:")
        bytes = readFilePicture(url, pageAddress);
    else if (scheme == "data:")
        bytes = readDataPicture(url);
    else if (scheme == "http:" || scheme == "https:") {
        const auto start = std::chrono::steady_clock::now();
        bytes = readWebPicture(url, budgetLeft_, control_);
        budgetLeft_ -= std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
    }
    if (bytes && bytes->size() > kMaxPictureBytes)
        return std::nullopt;
    return bytes;
}

}  // namespace plugin
