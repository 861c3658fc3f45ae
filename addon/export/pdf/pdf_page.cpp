#include "addon/export/pdf/pdf_page.h"

#include <algorithm>

#include "addon/export/pdf/pdf_image.h"

namespace addon::PDFWriter {

namespace {

constexpr std::size_t kContentCapacity = 8192;
constexpr const char* kSolid = "[] 0";

std::string dashArray(const std::string& pattern) {
    const auto dashes = std::count(pattern.begin(), pattern.end(), '-');
    const auto gaps = static_cast<std::ptrdiff_t>(pattern.size()) - dashes;
    if (pattern == kSolid || dashes == 0 || gaps == 0) {
        return kSolid;
    }
    // A dash array of zeros is not allowed, so each part is at least 1.
    return "[" + std::to_string(std::max<std::ptrdiff_t>(dashes / 2, 1)) + " " +
           std::to_string(std::max<std::ptrdiff_t>(gaps / 2, 1)) + "] 0";
}

}  // namespace

Page::Page(double width, double height)
    : width_(width), height_(height), content_(kContentCapacity) {}

void Page::addLink(std::string uri, double left, double top, double right, double bottom) {
    left = std::max(left, 0.0);
    top = std::max(top, 0.0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (right <= left || bottom <= top) {
        return;
    }
    links_.push_back({std::move(uri), left, height_ - bottom, right, height_ - top});
}

void Page::setStrokeColour(double red, double green, double blue) {
    if (red == red_ && green == green_ && blue == blue_) {
        return;
    }
    red_ = red;
    green_ = green;
    blue_ = blue;
    content_.writeReal(red);
    content_.write(" ");
    content_.writeReal(green);
    content_.write(" ");
    content_.writeReal(blue);
    content_.write(" RG\n");
}

void Page::setLineWidth(double width) {
    if (width == lineWidth_) {
        return;
    }
    lineWidth_ = width;
    content_.writeReal(width);
    content_.write(" w\n");
}

void Page::setDash(const std::string& pattern) {
    const std::string dash = dashArray(pattern);
    if (dash == dash_) {
        return;
    }
    dash_ = dash;
    content_.write(dash);
    content_.write(" d\n");
}

void Page::writePoint(double x, double y, const char* op) {
    content_.writeReal(x);
    content_.write(" ");
    content_.writeReal(height_ - y);
    content_.write(op);
}

void Page::moveTo(double x, double y) {
    writePoint(x, y, " m\n");
}

void Page::lineTo(double x, double y) {
    writePoint(x, y, " l\n");
}

void Page::stroke() {
    content_.write("S\n");
}

void Page::drawLine(const PdfLine& line) {
    setStrokeColour(line.red, line.green, line.blue);
    setLineWidth(line.width);
    setDash(line.dash);
    moveTo(line.x1 + line.offset, line.y1 + line.offset);
    lineTo(line.x2 + line.offset, line.y2 + line.offset);
    stroke();
}

void Page::drawImage(const PdfImage& image, double offsetX, double offsetY) {
    const double x = image.x + offsetX;
    const double y = image.y + offsetY;
    content_.write("q\n");
    content_.writeReal(image.width);
    content_.write(" 0 0 ");
    content_.writeReal(image.height);
    content_.write(" ");
    content_.writeReal(x);
    content_.write(" ");
    content_.writeReal(height_ - y - image.height);
    content_.write(" cm\n/Im");
    content_.writeInt(image.objectNumber());
    content_.write(" Do\nQ\n");
}

}  // namespace addon::PDFWriter
