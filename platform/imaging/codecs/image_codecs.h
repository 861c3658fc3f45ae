// Encoding bitmaps to picture files chosen by MIME type ("image/png", "image/jpeg",
// "image/bmp", "image/gif"), and decoding PNG, JPEG and GIF files back into bitmaps.
//
// Contract: thread-safe (no shared state; every call has its own encoder). Failures are
// returned as a Status, never thrown (bad_alloc becomes OutOfMemory). Files are written
// whole or not at all: a failed save leaves the old file as it was. Encodings:
//   PNG  8-bit RGB, or RGBA for a 32-bit bitmap; lossless.
//   JPEG baseline JFIF 1.1, quality 75 (quantization tables of the standard scaled by
//        one half), no chroma subsampling, the standard Huffman tables; alpha dropped.
//   BMP  uncompressed, 24-bit or 32-bit as the bitmap is, bottom-up rows.
//   GIF  GIF89a; the exact colours when there are at most 256 of them, else a median-cut
//        palette of 256; alpha dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/image_status.h"

namespace platform::imaging {

struct ImageEncoder {
    std::string mimeType;
    std::string formatDescription;
    // The file name patterns, e.g. "*.JPG;*.JPEG;*.JPE;*.JFIF".
    std::string filenameExtension;
};

// The encoders, in a fixed order: BMP, JPEG, GIF, PNG.
const std::vector<ImageEncoder>& imageEncoders();

// The encoded file in `bytes`. An empty bitmap gives InvalidParameter, an unknown MIME
// type (compared exactly) UnknownImageFormat.
Status encodeBitmap(const Bitmap& bitmap, std::string_view mimeType, std::string& bytes);

// encodeBitmap, then the bytes to `path`; Win32Error when the file cannot be written.
Status saveBitmap(const Bitmap& bitmap, const std::string& path, std::string_view mimeType);

// A PNG, JPEG or GIF picture (the first frame) as a 24-bit bitmap, or 32-bit when it has
// transparency; an SVG picture drawn at its own size as a 32-bit bitmap (svg_decoder.cpp).
// UnknownImageFormat for bytes of none of these formats, GenericError for a damaged picture; a
// picture of more than 40 million pixels is refused with an error.
Status decodeBitmap(std::string_view bytes, Bitmap& bitmap);

// An SVG picture drawn at `width` by `height` pixels (both positive), as a browser draws
// one in a box of that size: sharp at any scale. UnknownImageFormat for bytes that are not
// SVG, InvalidParameter for a size that is not positive.
Status decodeSvgAtSize(std::string_view bytes, int width, int height, Bitmap& bitmap);

// decodeBitmap on the file's bytes; FileNotFound when it cannot be read. `bitmap` is
// empty after any failure.
Status loadBitmap(const std::string& path, Bitmap& bitmap);

}  // namespace platform::imaging
