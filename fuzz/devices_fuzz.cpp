// Reading-device profiles from devices.xml, and the look-ups the print dialog makes.
#include <cstdint>

#include "addon/export/device_profiles.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    addon::DeviceList devices;
    if (devices.loadDevices(fuzz::scratchFile("devices", fuzz::bytesOf(data, size))) != 0)
        return 0;
    for (const std::wstring& title : devices.listDeviceTitles()) {
        const addon::DevicePageSize portrait = devices.pageSize(title, false);
        const addon::DevicePageSize landscape = devices.pageSize(title, true);
        if (portrait.width < 0 || portrait.height < 0 || landscape.width < 0 ||
            landscape.height < 0)
            fuzz::fuzzFailure("a negative page size");
        devices.findDeviceValue(title, L"pdf/width");
    }
    return 0;
}
