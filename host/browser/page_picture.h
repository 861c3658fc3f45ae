// The picture of a page's viewport as the window shows it, painted by the one page painter
// (addon/export/capture/page_painter.h) into a cairo image surface. It is painted again only when
// something it shows changed: the page (content, styles, overlays), its viewport size or
// its scroll position. A scroll alone moves the former picture and paints only the strip
// that came into view.
//
// Contract: on the page's thread. The surface belongs to the picture and stays valid until
// the next call of `update` or the picture's end. Never throws but std::bad_alloc.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "platform/dom/document.h"

namespace host::browser {

class PagePicture {
  public:
    PagePicture() = default;
    ~PagePicture();
    PagePicture(const PagePicture&) = delete;
    PagePicture& operator=(const PagePicture&) = delete;

    // True when the page shows something else than the current picture.
    bool stale(const platform::dom::Document& page) const;
    // Brings the picture up to date with the page and returns it (null for an empty
    // viewport).
    cairo_surface_t* update(const platform::dom::Document& page);

    // Forgets what was shown, so the next update paints the whole view (another page).
    void forget() { shown_ = {}; }

    // How many pixels were painted by the last update (0 when nothing changed).
    std::int64_t paintedPixels() const { return paintedPixels_; }

  private:
    struct Shown {
        const platform::dom::Document* page = nullptr;
        std::uint64_t version = 0;
        std::uint64_t layoutPasses = 0;
        platform::dom::Size viewport;
        platform::dom::Point scroll;
        friend bool operator==(const Shown&, const Shown&) = default;
    };
    static Shown shownOf(const platform::dom::Document& page);
    void paintArea(const platform::dom::Document& page, platform::dom::Rect pageArea, int atX,
                   int atY);

    cairo_surface_t* surface_ = nullptr;
    Shown shown_;
    std::int64_t paintedPixels_ = 0;
};

}  // namespace host::browser
