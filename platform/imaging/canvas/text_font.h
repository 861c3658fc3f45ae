// A font of a page's text through Pango: the families of a CSS list, a CSS weight (100..900)
// and a style, matched by fontconfig to the face a browser on this system would use; each
// character the font lacks falls back to a face that has it, runs are shaped by HarfBuzz
// (kerning, ligatures, joined scripts) and ordered by their direction. Text is measured in
// fractional pixels without hinting, as browsers lay it out, and drawn with cairo onto a
// Canvas at any scale from the same outlines, so a page painted at 300 dpi has sharp glyphs
// placed where the layout put them.
//
// Contract: a font belongs to the thread that made it (Pango's font map is per thread).
// Never fails: a family nobody has gives fontconfig's default face.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/imaging/canvas/canvas.h"

typedef struct _PangoLayout PangoLayout;

namespace platform::imaging {

class TextFont {
  public:
    // `families` is a CSS family list as written or as the layout engine hands it over
    // (see font_catalog.h); `pixels` the em size in CSS pixels.
    TextFont(std::string_view families, int pixels, int weight, bool italic);
    ~TextFont();
    // Reads fontconfig's configuration and font list and the catalog of installed families
    // now, so that the first font made afterwards finds them ready: a program calls it on
    // a thread of its own while it starts, to overlap those tens of milliseconds with its
    // other work. Any thread; it may run beside fonts being made.
    static void prepare();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    int pixels() const { return pixels_; }
    // Whole pixels from the top of a line to its baseline, below the baseline, the line's
    // height (both and the face's line gap), and the height of a lower-case x.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int lineHeight() const { return lineHeight_; }
    int xHeight() const { return xHeight_; }
    // The height of a capital H's ink, from the baseline up (measured when asked).
    int capHeight() const;
    // The family fontconfig chose for the first character of the list (for tests and logs).
    std::string primaryFamily() const;
    // The weight of the face fontconfig chose, 100..1000.
    int primaryWeight() const;

    // Makes the line as tall as a line holding `sample` needs: the faces that fall back for
    // its characters count with their own ascent and descent, as in a browser's line (for
    // pages written mostly in a script the font lacks).
    void includeFallbackFor(std::string_view sample);

    // The advance of one run of UTF-8 text, shaped as a whole, in CSS pixels.
    double width(std::string_view utf8) const;
    // Draws the run with its pen starting at `x` on the baseline `baseline` (CSS pixels),
    // each CSS pixel `scale` canvas pixels wide, within the canvas's clip.
    void draw(Canvas& canvas, std::string_view utf8, double x, double baseline, std::uint32_t argb,
              double scale) const;

  private:
    // From the baseline up to the top of the sample's ink, in whole pixels.
    int inkAbove(const char* sample) const;

    PangoLayout* layout_ = nullptr;
    int pixels_;
    int ascent_ = 0;
    int descent_ = 0;
    int lineHeight_ = 0;
    int xHeight_ = 0;
};

}  // namespace platform::imaging
