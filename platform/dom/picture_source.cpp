#include "platform/dom/picture_source.h"

#include <algorithm>
#include <cwctype>
#include <limits>
#include <vector>

#include "platform/dom/element.h"

namespace platform::dom {

namespace {

// The attributes lazy-loading scripts keep the real address in, most common first.
constexpr std::wstring_view kLazySources[] = {L"data-src",  L"data-lazy-src", L"data-original",
                                              L"data-lazy", L"data-url",      L"data-hi-res-src"};
constexpr std::wstring_view kLazySrcsets[] = {L"data-srcset", L"data-lazy-srcset"};

// Picture types the codecs decode; a <source> of another type is passed over.
constexpr std::wstring_view kDecodedTypes[] = {L"image/jpeg", L"image/jpg", L"image/png",
                                               L"image/gif",  L"image/bmp", L"image/svg+xml"};

std::wstring lowered(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result)
        c = static_cast<wchar_t>(std::towlower(c));
    return result;
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

struct Candidate {
    std::wstring address;
    double density = 0;  // 0 when given by width
    int width = 0;
};

std::vector<Candidate> candidatesOf(std::wstring_view srcset) {
    std::vector<Candidate> candidates;
    std::size_t pos = 0;
    while (pos < srcset.size()) {
        while (pos < srcset.size() && (std::iswspace(srcset[pos]) || srcset[pos] == L','))
            ++pos;
        const std::size_t start = pos;
        while (pos < srcset.size() && !std::iswspace(srcset[pos]))
            ++pos;
        std::wstring_view address = srcset.substr(start, pos - start);
        // An address ending in commas ends the candidate there.
        const bool ended = !address.empty() && address.back() == L',';
        while (!address.empty() && address.back() == L',')
            address.remove_suffix(1);
        if (address.empty())
            continue;
        std::wstring_view descriptor;
        if (!ended) {
            const std::size_t comma = srcset.find(L',', pos);
            descriptor = trimmed(srcset.substr(
                pos, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - pos));
            pos = comma == std::wstring_view::npos ? srcset.size() : comma + 1;
        }
        Candidate candidate{std::wstring(address), 1.0, 0};
        if (!descriptor.empty()) {
            const wchar_t unit = static_cast<wchar_t>(std::towlower(descriptor.back()));
            const std::wstring number(descriptor.substr(0, descriptor.size() - 1));
            try {
                if (unit == L'w') {
                    candidate.width = std::stoi(number);
                    candidate.density = 0;
                } else if (unit == L'x') {
                    candidate.density = std::stod(number);
                }
            } catch (const std::exception&) {
                continue;  // a descriptor that is not a number: the candidate is dropped
            }
            if (candidate.density < 0 || candidate.width < 0)
                continue;
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

// The slot width a sizes attribute gives in plain pixels ("(max-width: 600px) 100vw,
// 600px" takes its last entry); the viewport otherwise.
int slotWidthOf(const Element& image, int viewportWidth) {
    const std::wstring sizes = image.getAttribute(L"sizes").value_or(L"");
    const std::wstring_view last = trimmed(std::wstring_view(sizes).substr(sizes.rfind(L',') + 1));
    if (last.ends_with(L"px")) {
        try {
            return std::max(1, std::stoi(std::wstring(last.substr(0, last.size() - 2))));
        } catch (const std::exception&) {
        }
    }
    return viewportWidth;
}

std::wstring attribute(const Element& element, std::wstring_view name) {
    return std::wstring(trimmed(element.getAttribute(name).value_or(L"")));
}

// The srcset of the element, or that of its lazy-loading attributes when they are read.
std::wstring srcsetOf(const Element& element, bool readLazy) {
    std::wstring srcset = attribute(element, L"srcset");
    for (std::wstring_view lazy : kLazySrcsets)
        if (srcset.empty() && readLazy)
            srcset = attribute(element, lazy);
    return srcset;
}

const Element* elementSibling(const std::vector<std::shared_ptr<Node>>& nodes, std::size_t at,
                              int step) {
    for (auto i = static_cast<std::ptrdiff_t>(at) + step;
         i >= 0 && i < static_cast<std::ptrdiff_t>(nodes.size()); i += step)
        if (nodes[i]->nodeType() == NodeType::Element)
            return static_cast<const Element*>(nodes[i].get());
    return nullptr;
}

// Whether the page gives the picture's fallback for readers without scripts beside it: a
// noscript holding a picture next to the image. Without scripts that fallback shows the
// picture, as a browser without scripts shows it, so the lazy-loading attributes are not
// read and the picture is not shown twice.
bool hasScriptlessFallback(const Element& image) {
    const auto parent = image.parentNode();
    if (!parent)
        return false;
    const auto& nodes = parent->childNodes();
    const auto at = std::find_if(nodes.begin(), nodes.end(),
                                 [&](const auto& node) { return node.get() == &image; });
    if (at == nodes.end())
        return false;
    const auto index = static_cast<std::size_t>(at - nodes.begin());
    for (const Element* sibling :
         {elementSibling(nodes, index, -1), elementSibling(nodes, index, 1)})
        if (sibling && sibling->hasTag(L"NOSCRIPT") &&
            !sibling->getElementsByTagName(L"img").empty())
            return true;
    return false;
}

// The srcset of the first fitting <source> before the image in its <picture>.
std::wstring pictureParentSrcset(const Element& image, bool readLazy) {
    const auto parent = image.parentNode();
    if (!parent || parent->nodeType() != NodeType::Element ||
        !static_cast<const Element&>(*parent).hasTag(L"PICTURE"))
        return {};
    for (const auto& child : parent->childNodes()) {
        if (child.get() == &image)
            break;
        if (child->nodeType() != NodeType::Element)
            continue;
        const auto& source = static_cast<const Element&>(*child);
        if (!source.hasTag(L"SOURCE"))
            continue;
        const std::wstring media = lowered(attribute(source, L"media"));
        if (!media.empty() && media != L"all" && media != L"screen")
            continue;
        const std::wstring type = lowered(attribute(source, L"type"));
        if (!type.empty() && std::find(std::begin(kDecodedTypes), std::end(kDecodedTypes), type) ==
                                 std::end(kDecodedTypes))
            continue;
        if (std::wstring srcset = srcsetOf(source, readLazy); !srcset.empty())
            return srcset;
    }
    return {};
}

}  // namespace

std::wstring chooseFromSrcset(std::wstring_view srcset, int slotWidth) {
    const std::vector<Candidate> candidates = candidatesOf(srcset);
    const Candidate* best = nullptr;
    double bestDensity = 0;
    for (const Candidate& candidate : candidates) {
        const double density = candidate.width > 0
                                   ? static_cast<double>(candidate.width) / std::max(slotWidth, 1)
                                   : candidate.density;
        if (density <= 0)
            continue;
        // The least density of at least 1x, else the greatest below it.
        const bool better = !best || (bestDensity < 1 ? density > bestDensity
                                                      : density >= 1 && density < bestDensity);
        if (better) {
            best = &candidate;
            bestDensity = density;
        }
    }
    return best ? best->address : std::wstring();
}

bool isPlaceholderSource(std::wstring_view source) {
    const std::wstring value = lowered(trimmed(source));
    if (value.empty() || value == L"#" || value == L"about:blank")
        return true;
    // A data: picture of a few hundred bytes is a transparent pixel or a blurred stand-in.
    if (value.starts_with(L"data:"))
        return value.size() < 400;
    for (std::wstring_view marker : {L"blank.gif", L"spacer.gif", L"pixel.gif", L"placeholder",
                                     L"lazy-load", L"lazyload", L"transparent.png"})
        if (value.find(marker) != std::wstring::npos)
            return true;
    return false;
}

std::wstring pictureSource(const Element& image, int viewportWidth) {
    const int slot = slotWidthOf(image, viewportWidth);
    const bool readLazy = !hasScriptlessFallback(image);
    if (std::wstring chosen = chooseFromSrcset(pictureParentSrcset(image, readLazy), slot);
        !chosen.empty())
        return chosen;
    std::wstring source = attribute(image, L"src");
    const bool lazyPlaceholder = isPlaceholderSource(source) && readLazy;
    if (lazyPlaceholder)
        for (std::wstring_view lazy : kLazySources)
            if (std::wstring real = attribute(image, lazy); !real.empty())
                return real;
    std::wstring srcset = attribute(image, L"srcset");
    if (srcset.empty() && lazyPlaceholder)
        srcset = srcsetOf(image, true);
    if (!srcset.empty()) {
        // The src counts as the 1x candidate of a density srcset that names none.
        const std::vector<Candidate> candidates = candidatesOf(srcset);
        const bool oneX = std::any_of(candidates.begin(), candidates.end(), [](const Candidate& c) {
            return c.width > 0 || c.density == 1.0;
        });
        if (!source.empty() && !lazyPlaceholder && !oneX)
            srcset += L", " + source + L" 1x";
        if (std::wstring chosen = chooseFromSrcset(srcset, slot); !chosen.empty())
            return chosen;
    }
    return source;
}

}  // namespace platform::dom
