#include "platform/ui/alpha_blend.h"

#include <algorithm>

namespace platform::ui {

namespace {

constexpr std::uint32_t kFull = 255 * 255;

// A source channel above its alpha (not premultiplied) would overflow; it saturates.
std::uint32_t blendChannel(std::uint32_t source, std::uint32_t target, std::uint32_t sourceAlpha,
                           std::uint32_t constant) {
    const std::uint32_t sum = source * constant * 255 + target * (kFull - sourceAlpha * constant);
    return std::min<std::uint32_t>((sum + kFull / 2) / kFull, 255);
}

}  // namespace

void alphaBlend(imaging::Bitmap& target, const imaging::Bitmap& source, int x, int y,
                int constantAlpha) {
    const auto constant = static_cast<std::uint32_t>(std::clamp(constantAlpha, 0, 255));
    const int left = std::max(0, -x);
    const int top = std::max(0, -y);
    const int right = std::min(source.width(), target.width() - x);
    const int bottom = std::min(source.height(), target.height() - y);
    for (int row = top; row < bottom; ++row) {
        for (int column = left; column < right; ++column) {
            const std::uint32_t from = source.pixel(column, row);
            const std::uint32_t to = target.pixel(column + x, row + y);
            const std::uint32_t sourceAlpha = from >> 24;
            std::uint32_t result = 0;
            for (int shift = 0; shift <= 24; shift += 8) {
                result |= blendChannel((from >> shift) & 0xFF, (to >> shift) & 0xFF, sourceAlpha,
                                       constant)
                          << shift;
            }
            target.setPixel(column + x, row + y, result);
        }
    }
}

}  // namespace platform::ui
