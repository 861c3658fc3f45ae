#include "addon/export/device_profiles.h"

#include <algorithm>

#include "addon/page/xml_config.h"
#include "common/util/text_conversion.h"
#include "common/xml/xml_document.h"

namespace addon {

namespace {

// Items nest at most this deep; deeper ones are not read.
constexpr int kItemLevels = 3;
// Body text of this many CSS pixels must show at least this tall on a reader.
constexpr double kBodyTextPixels = 16.0;
constexpr double kSmallestTextMillimetres = 2.0;
constexpr double kMillimetresPerInch = 25.4;

void readItems(const common::CXMLDOMNode& parent, const std::wstring& prefix, int level,
               std::vector<common::StringPair>& items) {
    for (const common::CXMLDOMNode& item : childElementsNamed(parent, L"item")) {
        const std::wstring key = prefix + attributeText(item, L"name");
        items.push_back({key, attributeText(item, L"value")});
        if (level < kItemLevels) {
            readItems(item, key + L"/", level + 1, items);
        }
    }
}

// A size text read as a decimal integer; 0 unless it is all digits and positive.
int sizeFrom(const std::wstring& text) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return 0;
    }
    return std::max(common::toLong(text), 0);
}

std::wstring firstNonEmpty(std::initializer_list<std::wstring> texts) {
    for (const std::wstring& text : texts) {
        if (!text.empty()) {
            return text;
        }
    }
    return {};
}

}  // namespace

std::wstring DeviceProfile::value(const std::wstring& key) const {
    for (const common::StringPair& item : items) {
        if (item.name == key) {
            return item.value;
        }
    }
    return {};
}

int DeviceList::loadDevices(const std::wstring& path) {
    profiles_.clear();
    loadError_.clear();
    if (path.empty()) {
        loadError_ = L"no devices file was named";
        return -1;
    }
    try {
        const auto document = common::CXMLDOMDocument2::Create();
        if (!document.Load(path)) {
            loadError_ = L"cannot read the devices file " + path + L": " + document.GetParseError();
            return -1;
        }
        const common::CXMLDOMNode root = document.SelectSingleNode(L"devices");
        if (root.IsEmpty()) {
            loadError_ = L"the devices file " + path + L" has no \"devices\" element";
            return -1;
        }
        for (const common::CXMLDOMNode& device : childElementsNamed(root, L"device")) {
            DeviceProfile profile{attributeText(device, L"name"),
                                  attributeText(device, L"vender"),
                                  attributeText(device, L"title"),
                                  {}};
            readItems(device, L"", 1, profile.items);
            profiles_.push_back(std::move(profile));
        }
    } catch (const common::CComException&) {
        profiles_.clear();
        loadError_ = L"cannot read the devices file " + path;
        return -1;
    }
    return 0;
}

std::wstring DeviceList::findDeviceValue(const std::wstring& nameOrTitle,
                                         const std::wstring& key) const {
    for (const DeviceProfile& profile : profiles_) {
        if (profile.name == nameOrTitle || profile.title == nameOrTitle) {
            return profile.value(key);
        }
    }
    return {};
}

std::vector<std::wstring> DeviceList::listDeviceTitles() const {
    std::vector<std::wstring> titles;
    for (const DeviceProfile& profile : profiles_) {
        if (std::find(titles.begin(), titles.end(), profile.title) == titles.end()) {
            titles.push_back(profile.title);
        }
    }
    return titles;
}

DevicePageSize DeviceList::pageSize(const std::wstring& nameOrTitle, bool landscape) const {
    const auto value = [&](const wchar_t* key) { return findDeviceValue(nameOrTitle, key); };
    const std::wstring width = firstNonEmpty({value(L"pdf/width"), value(L"width")});
    const std::wstring height = firstNonEmpty({value(L"pdf/height"), value(L"height")});
    if (!landscape) {
        return {sizeFrom(width), sizeFrom(height)};
    }
    return {sizeFrom(firstNonEmpty({value(L"pdf/width-landscape"), height})),
            sizeFrom(firstNonEmpty({value(L"pdf/height-landscape"), width}))};
}

double DeviceList::smallestScale(const std::wstring& nameOrTitle, bool landscape) const {
    const auto value = [&](const wchar_t* key) {
        return sizeFrom(findDeviceValue(nameOrTitle, key));
    };
    const int ppi = value(L"ppi");
    const int screenWidth = landscape ? value(L"height") : value(L"width");
    const int screenHeight = landscape ? value(L"width") : value(L"height");
    const DevicePageSize page = pageSize(nameOrTitle, landscape);
    if (ppi == 0 || screenWidth == 0 || screenHeight == 0 || page.width == 0 || page.height == 0)
        return 0;
    // Screen pixels per page pixel: the whole page fits on the screen.
    const double enlarged = std::min(static_cast<double>(screenWidth) / page.width,
                                     static_cast<double>(screenHeight) / page.height);
    const double millimetresPerPixel = enlarged / ppi * kMillimetresPerInch;
    return kSmallestTextMillimetres / (kBodyTextPixels * millimetresPerPixel);
}

}  // namespace addon
