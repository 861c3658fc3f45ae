#include "platform/imaging/codecs/gif_dither.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace platform::imaging::detail {

namespace {

constexpr int kPaletteSize = 256;

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

Rgb rgbOf(std::uint32_t argb) {
    return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
            static_cast<int>(argb & 0xFF)};
}

// The palette entry nearest a colour (weighted for the eye), remembered per colour.
class Nearest {
  public:
    explicit Nearest(const std::vector<GifColorType>& palette) : palette_(palette) {}

    GifByteType operator()(const Rgb& colour) {
        const std::uint32_t key =
            static_cast<std::uint32_t>(colour.red << 16 | colour.green << 8 | colour.blue);
        if (auto known = found_.find(key); known != found_.end())
            return known->second;
        const GifByteType index = search(colour);
        found_.emplace(key, index);
        return index;
    }

  private:
    GifByteType search(const Rgb& colour) const {
        int best = 0;
        long bestDistance = std::numeric_limits<long>::max();
        for (int i = 0; i < static_cast<int>(palette_.size()); ++i) {
            const long dr = colour.red - palette_[i].Red;
            const long dg = colour.green - palette_[i].Green;
            const long db = colour.blue - palette_[i].Blue;
            const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
                if (distance == 0)
                    break;
            }
        }
        return static_cast<GifByteType>(best);
    }

    const std::vector<GifColorType>& palette_;
    std::unordered_map<std::uint32_t, GifByteType> found_;
};

bool medianCut(const Bitmap& bitmap, std::vector<GifColorType>& palette,
               std::vector<GifByteType>& boxes) {
    const std::size_t count = static_cast<std::size_t>(bitmap.width()) * bitmap.height();
    std::vector<GifByteType> red(count), green(count), blue(count);
    std::size_t i = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x, ++i) {
            const Rgb colour = rgbOf(bitmap.pixel(x, y));
            red[i] = static_cast<GifByteType>(colour.red);
            green[i] = static_cast<GifByteType>(colour.green);
            blue[i] = static_cast<GifByteType>(colour.blue);
        }
    }
    int size = kPaletteSize;
    palette.assign(kPaletteSize, GifColorType{0, 0, 0});
    boxes.assign(count, 0);
    return GifQuantizeBuffer(static_cast<unsigned>(bitmap.width()),
                             static_cast<unsigned>(bitmap.height()), &size, red.data(),
                             green.data(), blue.data(), boxes.data(), palette.data()) == GIF_OK;
}

// Each entry becomes the mean of its pixels; white and black are put back exactly.
void refinePalette(const Bitmap& bitmap, const std::vector<GifByteType>& boxes,
                   std::vector<GifColorType>& palette) {
    std::array<std::array<long long, 4>, kPaletteSize> sums{};
    bool white = false;
    bool black = false;
    std::size_t i = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x, ++i) {
            const Rgb colour = rgbOf(bitmap.pixel(x, y));
            auto& sum = sums[boxes[i]];
            sum[0] += colour.red;
            sum[1] += colour.green;
            sum[2] += colour.blue;
            ++sum[3];
            white = white || (colour.red == 255 && colour.green == 255 && colour.blue == 255);
            black = black || (colour.red == 0 && colour.green == 0 && colour.blue == 0);
        }
    }
    for (int entry = 0; entry < kPaletteSize; ++entry) {
        const auto& sum = sums[entry];
        if (sum[3] == 0)
            continue;
        palette[entry] = {static_cast<GifByteType>((sum[0] + sum[3] / 2) / sum[3]),
                          static_cast<GifByteType>((sum[1] + sum[3] / 2) / sum[3]),
                          static_cast<GifByteType>((sum[2] + sum[3] / 2) / sum[3])};
    }
    Nearest nearest(palette);
    if (white)
        palette[nearest({255, 255, 255})] = {255, 255, 255};
    if (black)
        palette[nearest({0, 0, 0})] = {0, 0, 0};
}

}  // namespace

bool quantizeDithered(const Bitmap& bitmap, IndexedPicture& out) {
    std::vector<GifByteType> boxes;
    if (!medianCut(bitmap, out.palette, boxes))
        return false;
    refinePalette(bitmap, boxes, out.palette);

    const int width = bitmap.width();
    out.pixels.assign(static_cast<std::size_t>(width) * bitmap.height(), 0);
    Nearest nearest(out.palette);
    // The error carried to this row and the next, per channel, in sixteenths.
    std::vector<Rgb> current(width + 2), next(width + 2);
    for (int y = 0; y < bitmap.height(); ++y) {
        std::fill(next.begin(), next.end(), Rgb{});
        for (int x = 0; x < width; ++x) {
            const Rgb source = rgbOf(bitmap.pixel(x, y));
            const Rgb& carried = current[x + 1];
            const Rgb wanted{std::clamp(source.red + carried.red / 16, 0, 255),
                             std::clamp(source.green + carried.green / 16, 0, 255),
                             std::clamp(source.blue + carried.blue / 16, 0, 255)};
            const GifByteType index = nearest(wanted);
            out.pixels[static_cast<std::size_t>(y) * width + x] = index;
            const GifColorType& got = out.palette[index];
            const Rgb error{wanted.red - got.Red, wanted.green - got.Green, wanted.blue - got.Blue};
            const auto spread = [](Rgb& into, const Rgb& error, int weight) {
                into.red += error.red * weight;
                into.green += error.green * weight;
                into.blue += error.blue * weight;
            };
            spread(current[x + 2], error, 7);
            spread(next[x], error, 3);
            spread(next[x + 1], error, 5);
            spread(next[x + 2], error, 1);
        }
        std::swap(current, next);
    }
    return true;
}

}  // namespace platform::imaging::detail
