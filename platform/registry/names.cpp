#include "platform/registry/names.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>

namespace platform::registry {
namespace {

locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

}  // namespace

wchar_t foldCase(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
    }
    const locale_t locale = unicodeLocale();
    return locale != locale_t{} ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale))
                                : c;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return foldCase(x) == foldCase(y); });
}

bool NameLess::operator()(std::wstring_view a, std::wstring_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](wchar_t x, wchar_t y) { return foldCase(x) < foldCase(y); });
}

}  // namespace platform::registry
