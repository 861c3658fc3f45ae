// The pictures of one e-book: each picture a page shows is read once, stored once in the
// archive under a name of our own ("images/picture-N.jpg"), and listed for the manifest
// with its media type.
//
// Contract: one thread per object (the book's). `place` blocks while it reads a picture
// (picture_source.h limits, one time budget for all its downloads). Names never come from
// the markup, so no picture can land outside the book's folder.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "plugin/export/export_codes.h"
#include "plugin/export/picture_source.h"

namespace plugin {

class BookPictures {
  public:
    // Stores a file under the book's content folder (name relative to it); false when
    // the archive refused it.
    using Store = std::function<bool(const std::string& name, std::string_view bytes)>;

    BookPictures(Store store, ExportControl* control);

    // The picture `reference` of a page whose address is `base`: its address relative to
    // the book's pages, or "" when it cannot be had or is no JPEG, PNG or GIF picture.
    std::string place(const std::string& reference, const std::string& base);

    // The manifest lines of the stored pictures, in the order they were stored.
    const std::string& manifestItems() const { return manifest_; }

  private:
    Store store_;
    PictureReader reader_;
    std::map<std::string, std::string> byAddress_;  // absolute address -> book address
    std::map<std::string, std::string> byContent_;  // size and hash -> book address
    std::string manifest_;
    int count_ = 0;
};

}  // namespace plugin
