#include "plugin/export/book_pictures.h"

namespace plugin {

BookPictures::BookPictures(Store store, ExportControl* control)
    : store_(std::move(store)), reader_(control) {}

std::string BookPictures::place(const std::string& reference, const std::string& base) {
    const std::string url = absolutePictureUrl(reference, base);
    if (url.empty())
        return {};
    if (const auto known = byAddress_.find(url); known != byAddress_.end())
        return known->second;
    std::string& placed = byAddress_[url];  // "" also remembers a picture that failed
    const std::optional<std::string> bytes = reader_.read(url, base);
    const std::optional<PictureKind> kind = bytes ? pictureKind(*bytes) : std::nullopt;
    if (!kind)
        return {};
    const std::string key =
        std::to_string(bytes->size()) + ":" + std::to_string(std::hash<std::string>()(*bytes));
    if (const auto same = byContent_.find(key); same != byContent_.end())
        return placed = same->second;
    const std::string id = "picture-" + std::to_string(++count_);
    const std::string name = "images/" + id + "." + std::string(kind->extension);
    if (!store_(name, *bytes))
        return {};
    manifest_ += "<item id=\"" + id + "\" href=\"" + name + "\" media-type=\"" +
                 std::string(kind->mediaType) + "\"/>";
    byContent_[key] = name;
    return placed = name;
}

}  // namespace plugin
