#include "plugin/export/picture_source.h"

#include <libxml/uri.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <memory>

#include "common/markup/xml_output.h"
#include "platform/net/http_client.h"

namespace plugin {

namespace {

constexpr std::chrono::milliseconds kPictureTimeout{20000};
constexpr std::chrono::milliseconds kPictureConnectTimeout{10000};

struct XmlFree {
    void operator()(void* memory) const { xmlFree(memory); }
};

std::string percentDecoded(std::string_view text) {
    std::unique_ptr<char, XmlFree> decoded(
        xmlURIUnescapeString(text.data(), static_cast<int>(text.size()), nullptr));
    return decoded ? std::string(decoded.get()) : std::string();
}

std::optional<std::string> readFilePicture(const std::string& url) {
    std::string rest = url.substr(5);  // after "file:"
    if (rest.starts_with("//")) {
        const auto slash = rest.find('/', 2);
        const std::string host = rest.substr(2, slash == std::string::npos ? slash : slash - 2);
        if (!host.empty() && common::markup::lowerAscii(host) != "localhost")
            return std::nullopt;
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    const std::string path = percentDecoded(rest);
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

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

std::optional<std::string> base64Decoded(std::string_view text) {
    std::string bytes;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        if (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        const int value = base64Value(c);
        if (value < 0)
            return std::nullopt;
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return bytes;
}

// "data:[<media type>][;base64],<data>".
std::optional<std::string> readDataPicture(const std::string& url) {
    const auto comma = url.find(',');
    if (comma == std::string::npos || url.size() - comma > kMaxPictureBytes / 3 * 4 + 16)
        return std::nullopt;
    const std::string header =
        common::markup::lowerAscii(std::string_view(url).substr(5, comma - 5));
    const std::string_view data = std::string_view(url).substr(comma + 1);
    if (header.ends_with(";base64"))
        return base64Decoded(percentDecoded(data));
    return percentDecoded(data);
}

std::optional<std::string> readWebPicture(const std::string& url, ExportControl* control) {
    platform::net::HttpRequest request;
    request.url = url;
    request.timeout = kPictureTimeout;
    request.connectTimeout = kPictureConnectTimeout;
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

std::optional<PictureKind> pictureKind(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF"))
        return PictureKind{"image/jpeg", "jpg"};
    if (bytes.starts_with("\x89PNG\r\n\x1A\n"))
        return PictureKind{"image/png", "png"};
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        return PictureKind{"image/gif", "gif"};
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

std::optional<std::string> readPicture(const std::string& url, ExportControl* control) {
    if (control != nullptr && control->cancelled)
        return std::nullopt;
    const std::string scheme = common::markup::lowerAscii(url.substr(0, url.find(':') + 1));
    std::optional<std::string> bytes;
    if (scheme == "file:")
        bytes = readFilePicture(url);
    else if (scheme == "data:")
        bytes = readDataPicture(url);
    else if (scheme == "http:" || scheme == "https:")
        bytes = readWebPicture(url, control);
    if (bytes && bytes->size() > kMaxPictureBytes)
        return std::nullopt;
    return bytes;
}

}  // namespace plugin
