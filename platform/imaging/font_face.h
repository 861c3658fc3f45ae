// A TrueType face loaded through FreeType at one pixel size, giving the coverage bitmap of
// each character and the advance between characters. The DejaVu Sans faces of the system
// serve as the stand-in for the platform's user-interface fonts.
//
// Contract: a face belongs to one thread at a time. A face whose file cannot be loaded is
// not valid(): it measures every text as empty and draws nothing; error() tells why.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
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

    FontFace(const std::string& file, int pixelHeight);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool valid() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }
    int pixelHeight() const { return pixelHeight_; }
    // Distance from the top of a line to its baseline, and the line's height.
    int ascent() const { return ascent_; }
    int lineHeight() const { return lineHeight_; }

    GlyphImage glyph(char32_t character) const;
    int textWidth(const std::u32string& text) const;

  private:
    struct Library;
    std::shared_ptr<Library> library_;
    void* face_ = nullptr;
    int pixelHeight_;
    int ascent_ = 0;
    int lineHeight_ = 0;
    std::string error_;
};

}  // namespace platform::imaging
