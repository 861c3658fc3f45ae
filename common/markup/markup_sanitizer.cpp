#include "common/markup/markup_sanitizer.h"

#include "common/markup/display_markup.h"
#include "common/markup/markup_text.h"
#include "common/markup/parsed_markup.h"
#include "platform/text/utf.h"

namespace common {

std::string safeMarkupUtf8(std::string_view html) {
    const markup::ParsedMarkup parsed(html);
    return markup::displayMarkup(parsed.body());
}

std::wstring safeMarkup(std::wstring_view html) {
    return platform::text::fromUtf8(safeMarkupUtf8(platform::text::toUtf8(html)));
}

std::wstring safeMarkup(std::wstring_view html, const markup::PictureResolver& pictures) {
    const markup::ParsedMarkup parsed(platform::text::toUtf8(html));
    return platform::text::fromUtf8(markup::displayMarkup(parsed.body(), &pictures));
}

std::string bookPageMarkup(std::string_view html, const markup::PictureResolver& pictures) {
    const markup::ParsedMarkup parsed(html);
    return markup::bookMarkup(parsed.body(), pictures);
}

std::wstring markupText(std::wstring_view html) {
    const markup::ParsedMarkup parsed(platform::text::toUtf8(html));
    return platform::text::fromUtf8(markup::readableText(parsed.body()));
}

}  // namespace common
