#include "addon/export/paging/tile_marks.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>

namespace addon {

namespace {

bool isPicture(const std::wstring& tagName) {
    static constexpr std::array<std::wstring_view, 6> kPictureTags = {
        L"IMG", L"SVG", L"CANVAS", L"VIDEO", L"OBJECT", L"EMBED"};
    std::wstring upper = tagName;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return std::find(kPictureTags.begin(), kPictureTags.end(), upper) != kPictureTags.end();
}

}  // namespace

std::vector<platform::dom::Rect> documentPictures(const platform::dom::Document& page) {
    std::vector<platform::dom::Rect> pictures;
    for (const auto& element : *page.all()) {
        if (!isPicture(element->tagName()))
            continue;
        if (const auto box = page.boxOf(*element); box && !box->isEmpty())
            pictures.push_back(*box);
    }
    return pictures;
}

}  // namespace addon
