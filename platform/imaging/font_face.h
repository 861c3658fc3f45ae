// A TrueType or OpenType face loaded through FreeType at one pixel size, giving the
// coverage bitmap of each character and the advance between characters. The DejaVu Sans
// faces of the system serve as the stand-in for the platform's user-interface fonts; a
// page's text goes through text_font.h instead.
//
// Contract: a face belongs to one thread at a time. A face whose file cannot be loaded is
// not valid(): it measures every text as empty and draws nothing; error() tells why.
// Advances are cached per character, so measuring the same text again costs no rendering.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::imaging {

struct GlyphImage {
    int width = 0;
    int height = 0;
    int left = 0;                        // from the pen position to the first column
    int top = 0;                         // from the baseline up to the first row
    int advance = 0;                     // pen movement in pixels
    std::vector<std::uint8_t> coverage;  // width * height values, 0..255
};

class FontFace {
  public:
    static constexpr const char* kSansFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    static constexpr const char* kSansBoldFile =
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

    // `faceIndex` picks the face of a collection file; `embolden` thickens the outlines of
    // a regular face standing in for a bold one.
    FontFace(const std::string& file, int pixelHeight, int faceIndex = 0, bool embolden = false);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool valid() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }
    int pixelHeight() const { return pixelHeight_; }
    // Distance from the top of a line to its baseline, below the baseline to the bottom,
    // the line's height (both and the face's line gap), and the height of a lower-case x.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int lineHeight() const { return lineHeight_; }
    int xHeight() const { return xHeight_; }

    GlyphImage glyph(char32_t character) const;
    // Hinted advances in whole pixels, for the program's own interface text.
    int advance(char32_t character) const;
    int textWidth(std::u32string_view text) const;

  private:
    struct Library;
    std::shared_ptr<Library> library_;
    void* face_ = nullptr;
    int pixelHeight_;
    bool embolden_ = false;
    int ascent_ = 0;
    int descent_ = 0;
    int lineHeight_ = 0;
    int xHeight_ = 0;
    std::string error_;
    mutable std::unordered_map<char32_t, int> advances_;
};

}  // namespace platform::imaging
