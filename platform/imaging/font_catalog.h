// Finds the font file for a page's font request through fontconfig: a CSS family list
// ("Georgia, 'Times New Roman', serif"), a CSS weight (100..900) and a style. The first
// family of the list that the system has wins; the common Arial/Helvetica, Times and
// Courier names go to the Liberation faces, as do serif and sans-serif (the browsers'
// defaults here), the other generic names (monospace, cursive, fantasy) to fontconfig's
// own choice, and an unknown list to DejaVu Sans. Names are compared without case or
// spaces ("TimesNewRoman" is "Times New Roman").
//
// Contract: thread-safe (answers are cached under a lock). Never fails: when fontconfig
// has no answer the DejaVu Sans file is given.
#pragma once

#include <string>
#include <string_view>

namespace platform::imaging {

struct FontFile {
    std::string path;
    int index = 0;
    // The file's face is lighter than asked for, so its outlines are to be thickened.
    bool embolden = false;
    friend bool operator==(const FontFile&, const FontFile&) = default;
};

FontFile findFontFile(std::string_view families, int weight, bool italic);

}  // namespace platform::imaging
