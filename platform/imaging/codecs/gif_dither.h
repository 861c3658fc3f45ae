// Internal to the GIF encoder: a picture of more than 256 colours reduced to a palette of
// 256 and indices into it. giflib's median cut chooses the boxes of colour; each palette
// entry is then the exact mean of the pixels in its box (so a box of white pixels is white,
// not white cut to five bits a channel), pure white and black stay exact where the picture
// has them, and pixels are mapped with Floyd-Steinberg error diffusion, so photographs keep
// their gradients instead of bands, while flat areas of a palette colour stay flat.
//
// Contract: pure function; false when giflib cannot quantize the picture.
#pragma once

#include <gif_lib.h>

#include <vector>

#include "platform/imaging/bitmap.h"

namespace platform::imaging::detail {

struct IndexedPicture {
    std::vector<GifColorType> palette;
    std::vector<GifByteType> pixels;
};

bool quantizeDithered(const Bitmap& bitmap, IndexedPicture& out);

}  // namespace platform::imaging::detail
