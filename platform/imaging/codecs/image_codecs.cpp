#include "platform/imaging/codecs/image_codecs.h"

#include <new>

#include "platform/imaging/codecs/codec_formats.h"
#include "platform/system/atomic_file.h"

namespace platform::imaging {

namespace {

using EncodeFunction = Status (*)(const Bitmap&, std::string&);

struct EncoderEntry {
    ImageEncoder info;
    EncodeFunction encode;
};

const std::vector<EncoderEntry>& encoderTable() {
    static const std::vector<EncoderEntry> table = {
        {{"image/bmp", "BMP", "*.BMP;*.DIB;*.RLE"}, detail::encodeBmp},
        {{"image/jpeg", "JPEG", "*.JPG;*.JPEG;*.JPE;*.JFIF"}, detail::encodeJpeg},
        {{"image/gif", "GIF", "*.GIF"}, detail::encodeGif},
        {{"image/png", "PNG", "*.PNG"}, detail::encodePng},
    };
    return table;
}

}  // namespace

const std::vector<ImageEncoder>& imageEncoders() {
    static const std::vector<ImageEncoder> encoders = [] {
        std::vector<ImageEncoder> list;
        for (const EncoderEntry& entry : encoderTable()) {
            list.push_back(entry.info);
        }
        return list;
    }();
    return encoders;
}

Status encodeBitmap(const Bitmap& bitmap, std::string_view mimeType, std::string& bytes) {
    bytes.clear();
    if (bitmap.empty()) {
        return Status::InvalidParameter;
    }
    for (const EncoderEntry& entry : encoderTable()) {
        if (entry.info.mimeType == mimeType) {
            try {
                return entry.encode(bitmap, bytes);
            } catch (const std::bad_alloc&) {
                bytes.clear();
                return Status::OutOfMemory;
            }
        }
    }
    return Status::UnknownImageFormat;
}

Status saveBitmap(const Bitmap& bitmap, const std::string& path, std::string_view mimeType) {
    std::string bytes;
    const Status status = encodeBitmap(bitmap, mimeType, bytes);
    if (status != Status::Ok) {
        return status;
    }
    return system::writeFileAtomically(path, bytes) ? Status::Ok : Status::Win32Error;
}

Status decodeBitmap(std::string_view bytes, Bitmap& bitmap) {
    bitmap = Bitmap();
    try {
        for (auto decode :
             {detail::decodePng, detail::decodeJpeg, detail::decodeGif, detail::decodeSvg}) {
            const Status status = decode(bytes, bitmap);
            if (status != Status::UnknownImageFormat)
                return status;
        }
        return Status::UnknownImageFormat;
    } catch (const std::bad_alloc&) {
        bitmap = Bitmap();
        return Status::OutOfMemory;
    }
}

Status decodeSvgAtSize(std::string_view bytes, int width, int height, Bitmap& bitmap) {
    bitmap = Bitmap();
    try {
        return detail::decodeSvgAtSize(bytes, width, height, bitmap);
    } catch (const std::bad_alloc&) {
        bitmap = Bitmap();
        return Status::OutOfMemory;
    }
}

Status loadBitmap(const std::string& path, Bitmap& bitmap) {
    bitmap = Bitmap();
    std::string bytes;
    if (!system::readWholeFile(path, bytes)) {
        return Status::FileNotFound;
    }
    return decodeBitmap(bytes, bitmap);
}

}  // namespace platform::imaging
