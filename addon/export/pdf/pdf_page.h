// PDFWriter::Page and PdfLine: one page of the document and the drawing operations on
// its content stream. Coordinates are points with y counted from the page's top; the
// stream gets PDF's bottom-up y (page height minus y). State operators (stroke colour,
// line width, dash pattern) are written only when they change the page's current state,
// which starts at PDF's defaults: black, width 1, solid.
//
// A page also carries link annotations: rectangles that open an address when clicked.
//
// Contract: owned by its PDF (PDF::addPage); one thread at a time.
#pragma once

#include <string>
#include <vector>

#include "addon/export/pdf/memory_stream.h"

namespace addon::PDFWriter {

class PdfImage;

struct PdfLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double red = 0, green = 0, blue = 0;
    double width = 0.3;
    std::string dash = "[] 0";
    // Added to both points' coordinates.
    double offset = 0;
};

// A link annotation; the rectangle is in PDF's coordinates (y counted from the bottom).
struct PdfLink {
    std::string uri;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class Page {
  public:
    Page(double width, double height);

    double width() const { return width_; }
    double height() const { return height_; }
    const MemoryStream& content() const { return content_; }
    const std::vector<PdfLink>& links() const { return links_; }

    // A link to `uri` over the rectangle (y from the top), clipped to the page; a
    // rectangle that leaves nothing on the page adds no link.
    void addLink(std::string uri, double left, double top, double right, double bottom);

    void setStrokeColour(double red, double green, double blue);
    void setLineWidth(double width);
    // "[] 0" (or a pattern without both kinds of character) is a solid line; otherwise
    // the pattern's "-" characters count as dash and the others as gap, each halved.
    void setDash(const std::string& pattern);
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void stroke();

    void drawLine(const PdfLine& line);
    // The image at its placement moved by the offset.
    void drawImage(const PdfImage& image, double offsetX = 0, double offsetY = 0);

  private:
    void writePoint(double x, double y, const char* op);

    double width_;
    double height_;
    MemoryStream content_;
    double red_ = 0, green_ = 0, blue_ = 0;
    double lineWidth_ = 1;
    std::string dash_ = "[] 0";
    std::vector<PdfLink> links_;
};

}  // namespace addon::PDFWriter
