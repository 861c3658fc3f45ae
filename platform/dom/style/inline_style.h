// The inline style object of an element: its "style" attribute seen as named properties.
//
// Contract: a view that holds its element; every write rewrites the "style" attribute at
// once, so attribute and object never disagree. Names may be given in either form
// ("backgroundColor" or "background-color"); reading an unset property gives "". Setting a
// longhand after a shorthand that covers it overrides that part; removing a longhand that
// a shorthand covers splits the shorthand first. Owner thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/style/css_parser.h"

namespace platform::dom {

class Element;

class Style {
  public:
    explicit Style(std::shared_ptr<Element> element) : element_(std::move(element)) {}

    std::wstring cssText() const;
    void setCssText(std::wstring_view text);

    std::wstring getAttribute(std::wstring_view name) const;
    // An empty value removes the property.
    void setAttribute(std::wstring_view name, std::wstring_view value);
    bool removeAttribute(std::wstring_view name);

    // Integer pixels of left, top, width and height (0 when not in "px").
    int pixelLeft() const { return pixels(L"left"); }
    int pixelTop() const { return pixels(L"top"); }
    int pixelWidth() const { return pixels(L"width"); }
    int pixelHeight() const { return pixels(L"height"); }
    void setPixelLeft(int value) { setPixels(L"left", value); }
    void setPixelTop(int value) { setPixels(L"top", value); }
    void setPixelWidth(int value) { setPixels(L"width", value); }
    void setPixelHeight(int value) { setPixels(L"height", value); }

  private:
    std::vector<Declaration> declarations() const;
    void store(const std::vector<Declaration>& declarations);
    // Takes the property out of the list (splitting a shorthand that covers it); whether
    // anything went.
    static bool removeFrom(std::vector<Declaration>& list, const std::wstring& cssName);
    int pixels(std::wstring_view name) const;
    void setPixels(std::wstring_view name, int value);

    std::shared_ptr<Element> element_;
};

}  // namespace platform::dom
