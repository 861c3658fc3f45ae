#include "plugin/export/page_pictures.h"

#include "common/markup/xml_output.h"
#include "platform/mail/mime_encoding.h"

namespace plugin {

namespace {

bool isWebAddress(const std::string& url) {
    const std::string scheme = common::markup::lowerAscii(url.substr(0, url.find(':') + 1));
    return scheme == "http:" || scheme == "https:";
}

}  // namespace

std::string PagePictures::place(const std::string& reference, const std::string& base) {
    const std::string url = absolutePictureUrl(reference, base);
    if (url.empty())
        return {};
    if (const auto known = placed_.find(url); known != placed_.end())
        return known->second;
    std::string& placed = placed_[url];
    const std::optional<std::string> bytes = reader_.read(url, base);
    if (const std::optional<PictureKind> kind = bytes ? pictureKind(*bytes) : std::nullopt)
        placed =
            "data:" + std::string(kind->mediaType) + ";base64," + platform::mail::base64(*bytes);
    else if (isWebAddress(url))
        placed = url;
    return placed;
}

}  // namespace plugin
