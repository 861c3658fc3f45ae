#include "lorvane/image_list.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

#include "platform/imaging/codecs/image_codecs.h"

namespace lorvane {

using platform::imaging::Bitmap;
using platform::imaging::PixelFormat;

namespace {

std::uint32_t readLittle(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// The picture at the given size (nearest pixel) as a 32-bit bitmap.
Bitmap fitted(const Bitmap& picture, int width, int height) {
    Bitmap result(width, height, PixelFormat::Argb32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.setPixel(
                x, y, picture.pixel(x * picture.width() / width, y * picture.height() / height));
    return result;
}

// A bitmap entry of an icon file: a BITMAPINFOHEADER, the colour rows bottom up, then the
// one-bit mask rows. 24-bit and 32-bit colour only.
Bitmap decodeIconBitmap(const std::string& bytes, std::size_t at, std::size_t size) {
    if (size < 40 || readLittle(bytes, at, 4) < 40)
        return {};
    const int width = static_cast<int>(readLittle(bytes, at + 4, 4));
    const int height = static_cast<int>(readLittle(bytes, at + 8, 4)) / 2;
    const int bits = static_cast<int>(readLittle(bytes, at + 14, 2));
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || (bits != 24 && bits != 32))
        return {};
    const std::size_t colorStride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t colors = at + readLittle(bytes, at, 4);
    const std::size_t mask = colors + colorStride * height;
    if (mask + maskStride * height > at + size)
        return {};
    Bitmap picture(width, height, PixelFormat::Argb32);
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const std::size_t pixel =
                colors + colorStride * row + static_cast<std::size_t>(x) * (bits / 8);
            const std::uint32_t blue = static_cast<unsigned char>(bytes[pixel]);
            const std::uint32_t green = static_cast<unsigned char>(bytes[pixel + 1]);
            const std::uint32_t red = static_cast<unsigned char>(bytes[pixel + 2]);
            const bool masked =
                (static_cast<unsigned char>(bytes[mask + maskStride * row + x / 8]) >>
                 (7 - x % 8)) &
                1;
            std::uint32_t alpha = bits == 32 ? static_cast<unsigned char>(bytes[pixel + 3]) : 0xFFu;
            if (masked)
                alpha = 0;
            picture.setPixel(x, y, (alpha << 24) | (red << 16) | (green << 8) | blue);
        }
    }
    return picture;
}

}  // namespace

const Bitmap* ImageList::image(int index) const {
    return index >= 0 && index < count() ? &images_[static_cast<std::size_t>(index)] : nullptr;
}

int ImageList::addMasked(const Bitmap& picture, platform::ui::COLORREF mask) {
    Bitmap sized = fitted(picture, width_, height_);
    const std::uint32_t maskArgb = platform::ui::toArgb(mask) & 0xFFFFFFu;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if ((sized.pixel(x, y) & 0xFFFFFFu) == maskArgb)
                sized.setPixel(x, y, 0);
    images_.push_back(std::move(sized));
    return count() - 1;
}

Bitmap loadIconFile(const std::string& path, int size) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (bytes.size() < 6 || readLittle(bytes, 0, 2) != 0 || readLittle(bytes, 2, 2) != 1)
        return {};
    const std::size_t count = readLittle(bytes, 4, 2);
    if (bytes.size() < 6 + 16 * count)
        return {};
    std::size_t best = count;
    int bestDistance = 1 << 20;
    for (std::size_t i = 0; i < count; ++i) {
        const int width = static_cast<int>(readLittle(bytes, 6 + 16 * i, 1));
        const int distance = std::abs((width == 0 ? 256 : width) - size);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    if (best == count)
        return {};
    const std::size_t length = readLittle(bytes, 6 + 16 * best + 8, 4);
    const std::size_t offset = readLittle(bytes, 6 + 16 * best + 12, 4);
    if (offset > bytes.size() || length > bytes.size() - offset)
        return {};
    Bitmap picture;
    const std::string_view entry(bytes.data() + offset, length);
    if (entry.starts_with("\x89PNG")) {
        if (platform::imaging::decodeBitmap(entry, picture) != platform::imaging::Status::Ok)
            return {};
    } else {
        picture = decodeIconBitmap(bytes, offset, length);
    }
    if (picture.empty())
        return {};
    return fitted(picture, size, size);
}

}  // namespace lorvane
