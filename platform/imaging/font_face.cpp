#include "platform/imaging/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace platform::imaging {

struct FontFace::Library {
    FT_Library handle = nullptr;
    Library() {
        if (FT_Init_FreeType(&handle) != 0)
            handle = nullptr;
    }
    ~Library() {
        if (handle)
            FT_Done_FreeType(handle);
    }
};

namespace {

FT_Face asFace(void* face) {
    return static_cast<FT_Face>(face);
}

// Outlines of a synthesised bold face grow by this share of the pixel size.
constexpr int kEmboldenDivisor = 24;

}  // namespace

FontFace::FontFace(const std::string& file, int pixelHeight, int faceIndex, bool embolden)
    : library_(std::make_shared<Library>()), pixelHeight_(pixelHeight), embolden_(embolden) {
    if (!library_->handle) {
        error_ = "FreeType could not be initialised";
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library_->handle, file.c_str(), faceIndex, &face) != 0) {
        error_ = "cannot load the font " + file;
        return;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight > 0 ? pixelHeight : 1)) != 0) {
        FT_Done_Face(face);
        error_ = "the font " + file + " has no size " + std::to_string(pixelHeight);
        return;
    }
    face_ = face;
    // Line metrics as browsers take them: ascent, descent and line gap of the face's
    // design, each scaled and rounded on its own (hinting would round them up).
    if (FT_IS_SCALABLE(face)) {
        const double scale =
            static_cast<double>(pixelHeight_ > 0 ? pixelHeight_ : 1) / face->units_per_EM;
        ascent_ = static_cast<int>(std::lround(face->ascender * scale));
        const int descent = static_cast<int>(std::lround(-face->descender * scale));
        const int gap = static_cast<int>(
            std::lround(std::max(0, face->height - face->ascender + face->descender) * scale));
        lineHeight_ = ascent_ + descent + gap;
        descent_ = descent;
    } else {
        ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
        lineHeight_ =
            static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
        descent_ = lineHeight_ - ascent_;
    }
    xHeight_ = ascent_ / 2;
    if (FT_Load_Char(face, 'x', FT_LOAD_DEFAULT) == 0)
        xHeight_ = static_cast<int>((face->glyph->metrics.height + 32) >> 6);
}

FontFace::~FontFace() {
    if (face_)
        FT_Done_Face(asFace(face_));
}

GlyphImage FontFace::glyph(char32_t character) const {
    GlyphImage image;
    if (!face_)
        return image;
    // The advance first: measuring loads the glyph slot, which rendering then fills.
    image.advance = advance(character);
    FT_Face face = asFace(face_);
    if (FT_Load_Char(face, character, FT_LOAD_DEFAULT) != 0)
        return image;
    const FT_GlyphSlot slot = face->glyph;
    if (embolden_ && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Embolden(&slot->outline, (pixelHeight_ << 6) / kEmboldenDivisor);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return image;
    const FT_Bitmap& bitmap = slot->bitmap;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.coverage.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.coverage[static_cast<std::size_t>(y) * image.width + x] =
                bitmap.buffer[y * bitmap.pitch + x];
    return image;
}

int FontFace::advance(char32_t character) const {
    if (!face_)
        return 0;
    if (auto known = advances_.find(character); known != advances_.end())
        return known->second;
    FT_Face face = asFace(face_);
    int pixels = 0;
    if (FT_Load_Char(face, character, FT_LOAD_DEFAULT) == 0)
        pixels = static_cast<int>((face->glyph->advance.x + 32) >> 6) +
                 (embolden_ ? pixelHeight_ / kEmboldenDivisor : 0);
    advances_.emplace(character, pixels);
    return pixels;
}

int FontFace::textWidth(std::u32string_view text) const {
    int width = 0;
    for (char32_t c : text)
        width += advance(c);
    return width;
}

}  // namespace platform::imaging
