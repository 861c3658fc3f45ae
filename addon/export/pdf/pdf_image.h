// PDFWriter::PdfImage: one picture of the document, encoded from a rectangle of a bitmap
// and written as an image object as soon as it is made (PDF::addImage).
//
// Modes: "AUTO" picks JPEG for pictures that deflate poorly (photographs) and deflated
// RGB for the rest; "PNG" deflated RGB (FlateDecode); "JPEG" baseline JPEG (DCTDecode);
// any other mode uncompressed RGB.
//
// Contract: owned by its PDF; holds only the encoded data, never the bitmap. The
// placement (x, y from the page's top left, width, height in points) starts at (0, 0) at
// one point per pixel.
#pragma once

#include <string>
#include <string_view>

#include "addon/export/pdf/memory_stream.h"
#include "platform/imaging/bitmap.h"

namespace addon::PDFWriter {

enum class ImageEncoding { Raw, Flate, Jpeg };

class PdfImage {
  public:
    // Encodes `rect` of `bitmap` (clamped to it); the area must not be empty.
    PdfImage(const platform::imaging::Bitmap& bitmap, platform::imaging::Rect rect,
             std::wstring_view mode);

    int objectNumber() const { return objectNumber_; }
    int pixelWidth() const { return pixelWidth_; }
    int pixelHeight() const { return pixelHeight_; }
    ImageEncoding encoding() const { return encoding_; }
    const MemoryStream& data() const { return data_; }

    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

  private:
    friend class PDF;

    void encodeFlate(const std::string& rgb);

    int objectNumber_ = 0;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    ImageEncoding encoding_ = ImageEncoding::Raw;
    MemoryStream data_;
};

}  // namespace addon::PDFWriter
