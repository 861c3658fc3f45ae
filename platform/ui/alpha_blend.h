// Blending one window picture onto another as the system's AlphaBlend does with
// AC_SRC_ALPHA and a source constant alpha: the source's pixels count as premultiplied by
// their alpha, the constant alpha scales the whole source, and each channel becomes
//     (source * constant + target * (255 - sourceAlpha * constant / 255)) / 255, rounded.
// An opaque source at constant alpha 128 thus gives (source * 128 + target * 127) / 255.
//
// Contract: pure; the target must be a 32-bit bitmap (a 24-bit source counts as opaque).
// The part of the source outside the target is left out.
#pragma once

#include "platform/imaging/bitmap.h"

namespace platform::ui {

void alphaBlend(imaging::Bitmap& target, const imaging::Bitmap& source, int x, int y,
                int constantAlpha);

}  // namespace platform::ui
