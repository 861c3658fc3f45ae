// Internal to the imaging library: one encoder function per file format and the PNG
// decoder, behind the MIME-type table of image_codecs.cpp.
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

Status decodePng(std::string_view bytes, Bitmap& bitmap);

}  // namespace platform::imaging::detail
