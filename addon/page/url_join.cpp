#include "addon/page/url_join.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "addon/page/text_case.h"

namespace addon {

namespace {

// Length of the scheme ("http" in "http://x") or 0 when the text has none.
std::size_t schemeLength(const std::wstring& url) {
    if (url.empty() || !std::iswalpha(url[0]))
        return 0;
    for (std::size_t i = 1; i < url.size(); ++i) {
        const wchar_t c = url[i];
        if (c == L':')
            return i;
        if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.')
            return 0;
    }
    return 0;
}

// End of "scheme://authority" in the base (the position of the path).
std::size_t authorityEnd(const std::wstring& base, std::size_t scheme) {
    std::size_t start = scheme + 1;
    if (base.compare(start, 2, L"//") != 0)
        return start;
    const std::size_t end = base.find_first_of(L"/?#", start + 2);
    return end == std::wstring::npos ? base.size() : end;
}

std::wstring withoutDotSegments(const std::wstring& path) {
    std::vector<std::wstring> segments;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find(L'/', start);
        const std::wstring segment =
            path.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
        const bool last = slash == std::wstring::npos;
        if (segment == L"..") {
            if (segments.size() > 1)
                segments.pop_back();
            if (last)
                segments.emplace_back();
        } else if (segment == L".") {
            if (last)
                segments.emplace_back();
        } else {
            segments.push_back(segment);
        }
        if (last)
            break;
        start = slash + 1;
    }
    std::wstring result;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0)
            result += L'/';
        result += segments[i];
    }
    return result;
}

}  // namespace

std::wstring joinUrl(const std::wstring& base, const std::wstring& untrimmed) {
    const std::wstring url = trimSpace(untrimmed);
    const std::size_t scheme = schemeLength(base);
    if (schemeLength(url) != 0 || scheme == 0)
        return url;
    if (url.compare(0, 2, L"//") == 0)
        return base.substr(0, scheme + 1) + url;
    const std::size_t pathStart = authorityEnd(base, scheme);
    const std::wstring origin = base.substr(0, pathStart);
    std::size_t pathEnd = base.find_first_of(L"?#", pathStart);
    if (pathEnd == std::wstring::npos)
        pathEnd = base.size();
    if (url.empty())
        return base;
    if (url[0] == L'#')
        return base.substr(0, base.find(L'#')) + url;
    if (url[0] == L'?')
        return base.substr(0, pathEnd) + url;
    const std::size_t tail = std::min(url.find_first_of(L"?#"), url.size());
    const std::wstring path = url.substr(0, tail);
    const std::wstring query = url.substr(tail);
    if (url[0] == L'/')
        return origin + withoutDotSegments(path) + query;
    std::wstring folder = base.substr(pathStart, pathEnd - pathStart);
    folder =
        folder.substr(0, folder.rfind(L'/') == std::wstring::npos ? 0 : folder.rfind(L'/') + 1);
    if (folder.empty())
        folder = L"/";
    return origin + withoutDotSegments(folder + path) + query;
}

}  // namespace addon
