// Reading-device profiles from devices.xml: each device's name, maker ("vender"), the
// title shown in the Print-to-PDF dialog, and its properties as key and value pairs whose
// keys are the paths of nested "item" names joined by "/" ("pdf/width"). Sizes are PDF
// units (one per captured pixel) written as decimal integers.
//
// Contract: a DeviceList is a value filled by loadDevices; one thread at a time. A file
// that is missing, not well-formed or without a "devices" element leaves the list
// empty, returns -1 and says why in loadError(); lookups on an empty list give "" and
// page sizes of 0. Nothing throws but std::bad_alloc.
#pragma once

#include <string>
#include <vector>

#include "common/util/string_pair.h"

namespace addon {

struct DeviceProfile {
    std::wstring name;
    std::wstring vender;
    std::wstring title;
    // {key, value} in file order, a parent item's pair before its children's.
    std::vector<common::StringPair> items;

    // The value of the first pair whose key equals `key` exactly; "" when none does.
    std::wstring value(const std::wstring& key) const;
};

struct DevicePageSize {
    int width = 0;
    int height = 0;

    bool operator==(const DevicePageSize&) const = default;
};

class DeviceList {
  public:
    // 0 when the file was read, -1 when the path is empty or the file cannot be loaded or
    // has no "devices" element. The list is emptied first.
    int loadDevices(const std::wstring& path);
    // Why the last loadDevices failed; "" after a success.
    const std::wstring& loadError() const { return loadError_; }

    const std::vector<DeviceProfile>& profiles() const { return profiles_; }

    // value(key) of the first profile whose name or title equals `nameOrTitle` exactly;
    // "" when no profile matches.
    std::wstring findDeviceValue(const std::wstring& nameOrTitle, const std::wstring& key) const;
    // The titles in list order, each title once (its first place counts).
    std::vector<std::wstring> listDeviceTitles() const;

    // The page size for the device: portrait "pdf/width" and "pdf/height", each falling
    // back to "width" and "height"; landscape "pdf/width-landscape" falling back to the
    // portrait height and "pdf/height-landscape" to the portrait width. A size that is
    // missing, not a decimal number or not positive is 0.
    DevicePageSize pageSize(const std::wstring& nameOrTitle, bool landscape) const;

    // The smallest scale at which a page may be painted on the device's PDF pages so that
    // body text of 16 pixels still shows 2 mm tall on its screen ("ppi", the screen's
    // "width" and "height" in portrait; the reader fits the page to its screen). 0 when
    // the device states no pixel density or sizes.
    double smallestScale(const std::wstring& nameOrTitle, bool landscape) const;

  private:
    std::vector<DeviceProfile> profiles_;
    std::wstring loadError_;
};

}  // namespace addon
