#include "addon/export/pdf/pdf_image.h"

#include <stdexcept>
#include <utility>

#include "platform/imaging/codecs/image_codecs.h"

namespace addon::PDFWriter {

namespace {

using platform::imaging::Bitmap;
using platform::imaging::PixelFormat;
using platform::imaging::Rect;

constexpr std::size_t kImageCapacity = 32768;

// The bytes of `rect` in red, green, blue order, as DeviceRGB wants them.
std::string rgbBytes(const Bitmap& bitmap, const Rect& rect) {
    const auto bgr = bitmap.copyRgb24(rect);
    std::string rgb(bgr.begin(), bgr.end());
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        std::swap(rgb[i], rgb[i + 2]);
    }
    return rgb;
}

bool encodeJpeg(const Bitmap& bitmap, const Rect& rect, std::string& jpeg) {
    Bitmap part(rect.width(), rect.height(), PixelFormat::Rgb24);
    part.drawBitmap(bitmap, rect, 0, 0);
    return platform::imaging::encodeBitmap(part, "image/jpeg", jpeg) ==
           platform::imaging::Status::Ok;
}

}  // namespace

PdfImage::PdfImage(const Bitmap& bitmap, Rect rect, std::wstring_view mode)
    : data_(kImageCapacity) {
    rect = bitmap.clampRect(rect);
    if (rect.empty()) {
        throw std::invalid_argument("a PDF picture needs at least one pixel");
    }
    pixelWidth_ = rect.width();
    pixelHeight_ = rect.height();
    width = pixelWidth_;
    height = pixelHeight_;

    const std::string rgb = rgbBytes(bitmap, rect);
    const bool automatic = mode == L"AUTO";
    if (automatic || mode == L"PNG") {
        encodeFlate(rgb);
        // Pictures that deflate to more than a fifth of a byte per pixel are photographs.
        const auto pixels = static_cast<std::size_t>(pixelWidth_) * pixelHeight_;
        if (!automatic || encoding_ != ImageEncoding::Flate || data_.size() <= pixels / 5) {
            return;
        }
    } else if (mode != L"JPEG") {
        data_.write(rgb);
        return;
    }
    std::string jpeg;
    if (encodeJpeg(bitmap, rect, jpeg)) {
        data_ = MemoryStream(jpeg.size());
        data_.write(jpeg);
        encoding_ = ImageEncoding::Jpeg;
    } else if (encoding_ != ImageEncoding::Flate) {
        encodeFlate(rgb);
    }
}

// Deflated RGB, or the raw bytes when compression fails, so the stream always matches
// the filter its object names.
void PdfImage::encodeFlate(const std::string& rgb) {
    data_ = MemoryStream(kImageCapacity);
    if (data_.writeCompressed(rgb.data(), rgb.size())) {
        encoding_ = ImageEncoding::Flate;
    } else {
        encoding_ = ImageEncoding::Raw;
        data_.write(rgb);
    }
}

}  // namespace addon::PDFWriter
