// The pictures of exported HTML pages, carried inside the page: each picture a clip shows
// is read once (from a file, the markup or the web) and written into the page as a
// "data:" address, so the page shows it wherever it is moved or copied. A picture that
// cannot be read keeps its address made absolute against the clip's page (web addresses
// only: a local file's address would break once the page moves), or its address as written.
//
// Contract: one thread per object (the export's). `place` blocks while it reads a picture
// (picture_source.h limits, one time budget for all its downloads) and reads nothing once
// the export is cancelled.
#pragma once

#include <map>
#include <string>

#include "plugin/export/export_codes.h"
#include "plugin/export/picture_source.h"

namespace plugin {

class PagePictures {
  public:
    explicit PagePictures(ExportControl* control) : reader_(control) {}

    // The address to write for the picture `reference` of a page whose address is `base`;
    // "" keeps the reference as written.
    std::string place(const std::string& reference, const std::string& base);

  private:
    PictureReader reader_;
    std::map<std::string, std::string> placed_;  // absolute address -> address written
};

}  // namespace plugin
