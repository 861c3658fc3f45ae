#include "platform/imaging/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

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

}  // namespace

FontFace::FontFace(const std::string& file, int pixelHeight)
    : library_(std::make_shared<Library>()), pixelHeight_(pixelHeight) {
    if (!library_->handle) {
        error_ = "FreeType could not be initialised";
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library_->handle, file.c_str(), 0, &face) != 0) {
        error_ = "cannot load the font " + file;
        return;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight > 0 ? pixelHeight : 1)) != 0) {
        FT_Done_Face(face);
        error_ = "the font " + file + " has no size " + std::to_string(pixelHeight);
        return;
    }
    face_ = face;
    ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
    lineHeight_ =
        static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
}

FontFace::~FontFace() {
    if (face_)
        FT_Done_Face(asFace(face_));
}

GlyphImage FontFace::glyph(char32_t character) const {
    GlyphImage image;
    if (!face_)
        return image;
    FT_Face face = asFace(face_);
    if (FT_Load_Char(face, character, FT_LOAD_RENDER) != 0)
        return image;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.advance = static_cast<int>(slot->advance.x >> 6);
    image.coverage.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.coverage[static_cast<std::size_t>(y) * image.width + x] =
                bitmap.buffer[y * bitmap.pitch + x];
    return image;
}

int FontFace::textWidth(const std::u32string& text) const {
    int width = 0;
    for (char32_t c : text)
        width += glyph(c).advance;
    return width;
}

}  // namespace platform::imaging
