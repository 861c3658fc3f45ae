// Shared by the add-on's tests: the fixture pages (tests/data/readable), pages parsed as the
// browser loads them, explicit boxes and the marked article body.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addon/page/dom_helpers.h"
#include "platform/dom/layout_engine.h"
#include "platform/text/utf.h"

namespace page_fixtures {

inline const std::vector<std::string> kPages = {"news.html",   "blog.html",  "docs.html",
                                                "forum.html",  "table.html", "form.html",
                                                "images.html", "short.html"};

// The text of a UTF-8 file.
inline std::wstring readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return platform::text::fromUtf8(bytes.str());
}

inline std::wstring readPage(const std::string& name) {
    return readText(std::filesystem::path(TAMRIX_SOURCE_DIR) / "addon/page/tests/data/readable" /
                    name);
}

// A page parsed as the browser loads it.
inline std::shared_ptr<addon::dom::Document> parsePage(const std::wstring& markup,
                                                       const std::wstring& url = L"about:blank") {
    return addon::dom::Document::parse(std::wstring_view(markup), url);
}

inline std::shared_ptr<addon::dom::Document> loadPage(const std::string& name) {
    return parsePage(readPage(name), L"http://example.test/" + platform::text::fromUtf8(name));
}

inline std::wstring serialize(const addon::dom::Document& document) {
    return document.markup();
}

// Gives the element a fixed box (x, y, width, height) in document coordinates.
inline void setBox(const addon::ElementPtr& element, const addon::Rect& box) {
    element->ownerDocument()->setExplicitBox(element,
                                             {box.x, box.y, box.x + box.width, box.y + box.height});
}

// A layout that places nothing: the page as it is before the browser has laid it out.
class NoLayout : public addon::dom::LayoutEngine {
  public:
    void layout(const addon::dom::Document&, addon::dom::Size) override {}
    std::optional<addon::dom::Rect> borderBox(const addon::dom::Element&) const override {
        return std::nullopt;
    }
    std::vector<addon::dom::Rect> clientRects(const addon::dom::Element&) const override {
        return {};
    }
    std::vector<addon::dom::Rect> textRects(const addon::dom::Text&, std::size_t,
                                            std::size_t) const override {
        return {};
    }
    addon::dom::Size contentSize() const override { return {}; }
    void paint(platform::imaging::Canvas&, addon::dom::Rect, double) const override {}
    const std::string& failure() const override { return failure_; }

  private:
    std::string failure_;
};

// The element marked as the page's article body.
inline addon::ElementPtr expectedMain(const addon::dom::Document& document) {
    for (const auto& element : addon::allElements(document)) {
        if (element->hasAttribute(L"data-expected")) {
            return element;
        }
    }
    return nullptr;
}

}  // namespace page_fixtures
