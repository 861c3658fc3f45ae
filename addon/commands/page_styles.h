// Page styles: named sets of CSS class names and CSS files that dress a readable page,
// declared in "pagestyles.xml":
//   <styles>
//     <style name="Novel">
//       <item name="body" type="class" value="novel"/>
//       <item name="sheet" type="style" value="novel.css"/>
//     </style>
//   </styles>
// A missing attribute reads as the empty string. CSS files lie in the page-style folder,
// "pagestyles" in the data folder's "resources".
//
// Contract: `PageStyleSet` is a plain value. The process-wide set is filled once at
// start-up by `loadPageStyles` and only read afterwards (from any thread). Failures give
// -1 or the empty string and leave the set empty; nothing throws but bad_alloc.
#pragma once

#include <string>
#include <vector>

namespace addon {

struct PageStyleItem {
    std::wstring type;  // "class" or "style"
    std::wstring name;
    std::wstring value;  // a CSS class name, or a CSS file name in the page-style folder
};

struct PageStyle {
    std::wstring name;
    std::vector<PageStyleItem> items;
};

class PageStyleSet {
  public:
    // Reads the file; the styles' CSS files lie in `cssFolder`. 0, or -1 (and an empty
    // set) for an empty path, a file that does not load or one without a "styles" element.
    int load(const std::wstring& path, const std::wstring& cssFolder);
    const std::vector<PageStyle>& styles() const { return styles_; }

    std::vector<std::wstring> names() const;
    // The "class" values of the first style with exactly that name, joined by single
    // spaces (an empty value keeps its separator); "" for an unknown name.
    std::wstring classes(const std::wstring& name) const;
    // The whole contents of the first such style's CSS files, in item order; files that
    // are missing or empty add nothing; "" for an unknown name.
    std::wstring css(const std::wstring& name) const;

  private:
    const PageStyle* find(const std::wstring& name) const;

    std::vector<PageStyle> styles_;
    std::wstring cssFolder_;
};

// The folder of the shipped page-style CSS files: the data folder's "resources/pagestyles/".
std::wstring pageStyleFolder();

// The process-wide set; the CSS folder defaults to pageStyleFolder().
int loadPageStyles(const std::wstring& path, const std::wstring& cssFolder = pageStyleFolder());
std::vector<std::wstring> listPageStyleNames();
std::wstring getStyleClasses(const std::wstring& name);
std::wstring getStyleCss(const std::wstring& name);

}  // namespace addon
