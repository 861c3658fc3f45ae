#include "platform/imaging/canvas/font_catalog.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace platform::imaging {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n\"'");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n\"'");
    return text.substr(first, last - first + 1);
}

// A family name as it is compared: lower case, without spaces. The layout engine's reading
// of the font shorthand drops the spaces within family names ("Times New Roman" comes as
// "TimesNewRoman"), so names match whether or not they have them.
std::string comparable(std::string_view name) {
    std::string result;
    for (const char c : name)
        if (c != ' ')
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// The families installed, by their comparable names.
const std::map<std::string, std::string>& installedFamilies() {
    static const std::map<std::string, std::string> families = [] {
        std::map<std::string, std::string> found;
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            for (int k = 0;
                 FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; ++k) {
                const std::string name = reinterpret_cast<const char*>(family);
                found.emplace(comparable(name), name);
            }
        }
        if (fonts)
            FcFontSetDestroy(fonts);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        return found;
    }();
    return families;
}

// The family names of a CSS list, unquoted, with the names that stand for a Liberation
// face replaced by it and installed families named as the system names them.
std::vector<std::string> familyNames(std::string_view list) {
    static const std::map<std::string, std::string> kLiberation = {
        {"helvetica", "Liberation Sans"},    {"arial", "Liberation Sans"},
        {"times", "Liberation Serif"},       {"timesnewroman", "Liberation Serif"},
        {"courier", "Liberation Mono"},      {"couriernew", "Liberation Mono"},
        {"serif", "Liberation Serif"},       {"sans-serif", "Liberation Sans"},
        {"system-ui", "DejaVu Sans"},        {"-apple-system", "DejaVu Sans"},
        {"ui-monospace", "DejaVu Sans Mono"}};
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos)
            comma = list.size();
        const std::string_view name = trimmed(list.substr(start, comma - start));
        if (!name.empty()) {
            const std::string key = comparable(name);
            if (const auto mapped = kLiberation.find(key); mapped != kLiberation.end())
                names.push_back(mapped->second);
            else if (const auto installed = installedFamilies().find(key);
                     installed != installedFamilies().end())
                names.push_back(installed->second);
            else
                names.emplace_back(name);
        }
        start = comma + 1;
    }
    return names;
}

bool isGeneric(const std::string& name) {
    static const std::vector<std::string> kGeneric = {"serif", "sans-serif", "monospace", "cursive",
                                                      "fantasy"};
    return std::find(kGeneric.begin(), kGeneric.end(), lowered(name)) != kGeneric.end();
}

std::string lookUp(std::string_view families) {
    std::string list;
    for (const std::string& family : familyNames(families)) {
        if (!isGeneric(family) && !installedFamilies().contains(comparable(family)))
            continue;
        if (!list.empty())
            list += ',';
        list += family;
    }
    return list.empty() ? std::string(kFallbackFamily) : list;
}

}  // namespace

std::string fontFamilies(std::string_view families) {
    static std::mutex lock;
    static std::map<std::string, std::string, std::less<>> cache;
    std::lock_guard guard(lock);
    if (auto known = cache.find(families); known != cache.end())
        return known->second;
    return cache.emplace(std::string(families), lookUp(families)).first->second;
}

}  // namespace platform::imaging
