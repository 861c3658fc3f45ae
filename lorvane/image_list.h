// An image list: pictures of one size, added with a mask colour that becomes transparent,
// drawn by index. Icon files (".ico") are read by loadIconFile: the entry of the asked
// size (else the nearest), stored as PNG or as a 32-bit or 24-bit bitmap with its mask.
//
// Contract: a value type (copies duplicate the pictures); single-threaded. A missing or
// unreadable icon file gives an empty bitmap, never an exception.
#pragma once

#include <string>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/ui/system_colors.h"

namespace lorvane {

class ImageList {
  public:
    ImageList(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return static_cast<int>(images_.size()); }
    // The picture at `index`; nullptr outside the list.
    const platform::imaging::Bitmap* image(int index) const;

    // Adds the picture (scaled to the list's size when it differs), its pixels of colour
    // `mask` made transparent; returns its index.
    int addMasked(const platform::imaging::Bitmap& picture, platform::ui::COLORREF mask);

  private:
    int width_;
    int height_;
    std::vector<platform::imaging::Bitmap> images_;
};

// The icon of `path` at `size` x `size` pixels as a 32-bit picture; empty when it cannot be
// read.
platform::imaging::Bitmap loadIconFile(const std::string& path, int size);

}  // namespace lorvane
