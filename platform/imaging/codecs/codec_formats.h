// Internal to the imaging library: one encoder and one decoder function per file format,
// behind the MIME-type table of image_codecs.cpp.
//
// Contract: as image_codecs.h; the bitmap is never empty when these are called.
#pragma once

#include <string>
#include <string_view>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/image_status.h"

namespace platform::imaging::detail {

Status encodePng(const Bitmap& bitmap, std::string& bytes);
Status encodeJpeg(const Bitmap& bitmap, std::string& bytes);
Status encodeBmp(const Bitmap& bitmap, std::string& bytes);
Status encodeGif(const Bitmap& bitmap, std::string& bytes);

// Decoders answer UnknownImageFormat for bytes of another format, so they can be tried in
// turn; a picture of more than kMaxDecodedPixels is refused before its pixels are read.
inline constexpr unsigned long long kMaxDecodedPixels = 40'000'000;
Status decodePng(std::string_view bytes, Bitmap& bitmap);
Status decodeJpeg(std::string_view bytes, Bitmap& bitmap);
Status decodeGif(std::string_view bytes, Bitmap& bitmap);
Status decodeSvg(std::string_view bytes, Bitmap& bitmap);
Status decodeSvgAtSize(std::string_view bytes, int width, int height, Bitmap& bitmap);

}  // namespace platform::imaging::detail
