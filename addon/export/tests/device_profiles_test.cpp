#include <gtest/gtest.h>

#include <set>
#include <string>

#include "addon/export/device_profiles.h"
#include "platform/system/atomic_file.h"
#include "testing/environment/temporary_home.h"

using addon::DeviceList;
using addon::DevicePageSize;
using common::StringPair;

namespace {

const std::wstring kSample = L"" TAMRIX_TEST_DATA "/devices_sample.xml";
const std::wstring kShipped = L"" TAMRIX_TEST_DATA "/../../../../data/devices.xml";
}  // namespace

TEST(DeviceProfiles, ReadsDevicesWithNestedItemsInFileOrder) {
    DeviceList list;
    ASSERT_EQ(list.loadDevices(kSample), 0);
    EXPECT_EQ(list.loadError(), L"");
    ASSERT_EQ(list.profiles().size(), 4u);
    const auto& alpha = list.profiles()[0];
    EXPECT_EQ(alpha.name, L"alpha");
    EXPECT_EQ(alpha.vender, L"Maker A");
    EXPECT_EQ(alpha.title, L"Reader");
    // Parents before children, three levels at most, other elements skipped everywhere.
    EXPECT_EQ(alpha.items, (std::vector<StringPair>{{L"pdf", L""},
                                                    {L"pdf/width", L"500"},
                                                    {L"pdf/height", L"700"},
                                                    {L"level1", L"1"},
                                                    {L"level1/level2", L"2"},
                                                    {L"level1/level2/level3", L"3"}}));
    EXPECT_EQ(list.profiles()[1].vender, L"");  // a missing attribute reads as empty
}

TEST(DeviceProfiles, LookupsMatchNameOrTitleExactlyAndTheFirstProfileWins) {
    DeviceList list;
    ASSERT_EQ(list.loadDevices(kSample), 0);
    // "Reader" is alpha's title and the second device's name: alpha comes first.
    EXPECT_EQ(list.findDeviceValue(L"Reader", L"pdf/width"), L"500");
    EXPECT_EQ(list.findDeviceValue(L"Beta", L"width"), L"300");
    EXPECT_EQ(list.findDeviceValue(L"Beta", L"pdf/width"), L"");  // "PDF/width" differs
    EXPECT_EQ(list.findDeviceValue(L"beta", L"width"), L"");
    EXPECT_EQ(list.findDeviceValue(L"nobody", L"width"), L"");
    EXPECT_EQ(list.listDeviceTitles(), (std::vector<std::wstring>{L"Reader", L"Beta", L"Bad"}));

    EXPECT_EQ(list.pageSize(L"alpha", false), (DevicePageSize{500, 700}));
    EXPECT_EQ(list.pageSize(L"alpha", true), (DevicePageSize{700, 500}));  // swapped
    EXPECT_EQ(list.pageSize(L"Beta", false), (DevicePageSize{300, 400}));
    EXPECT_EQ(list.pageSize(L"Beta", true), (DevicePageSize{400, 300}));
    EXPECT_EQ(list.pageSize(L"gamma", false), (DevicePageSize{111, 0}));
    // Sizes that are not positive decimal numbers are 0; a landscape size of its own wins.
    EXPECT_EQ(list.pageSize(L"Bad", false), (DevicePageSize{0, 0}));
    EXPECT_EQ(list.pageSize(L"Bad", true), (DevicePageSize{1000, 0}));
    EXPECT_EQ(list.pageSize(L"nobody", false), (DevicePageSize{0, 0}));
}

TEST(DeviceProfiles, MissingOrMalformedFilesLeaveAnEmptyListAndSayWhy) {
    testing_environment::TemporaryHome home;
    DeviceList list;
    ASSERT_EQ(list.loadDevices(kSample), 0);
    const auto write = [&](const char* name, const char* text) {
        const auto path = home.root() / name;
        EXPECT_TRUE(platform::system::writeFileAtomically(path.string(), text));
        return path.wstring();
    };
    const std::wstring broken = write("broken.xml", "<devices><device name='a'>");
    const std::wstring wrongRoot = write("other.xml", "<profiles><device name='a'/></profiles>");
    const std::wstring entity =
        write("entity.xml", "<!DOCTYPE d [<!ENTITY x 'y'>]><devices>&x;</devices>");
    const std::wstring missing = (home.root() / "missing.xml").wstring();
    for (const std::wstring& path : {std::wstring(), missing, broken, wrongRoot, entity}) {
        EXPECT_EQ(list.loadDevices(path), -1);
        EXPECT_TRUE(list.profiles().empty());
        EXPECT_TRUE(list.listDeviceTitles().empty());
        EXPECT_EQ(list.findDeviceValue(L"a", L"width"), L"");
        EXPECT_EQ(list.pageSize(L"a", false), (DevicePageSize{0, 0}));
        EXPECT_FALSE(list.loadError().empty());
        if (!path.empty()) {
            EXPECT_NE(list.loadError().find(path), std::wstring::npos) << list.loadError().size();
        }
    }
    EXPECT_EQ(list.loadDevices(wrongRoot), -1);
    EXPECT_EQ(list.loadError(), L"the devices file " + wrongRoot + L" has no \"devices\" element");
    // An empty list of devices is a file read well.
    EXPECT_EQ(list.loadDevices(write("empty.xml", "<devices/>")), 0);
    EXPECT_EQ(list.loadError(), L"");
}

TEST(DeviceProfiles, ShippedDevicesHaveUsablePagesAndTheDefaultDevice) {
    DeviceList list;
    ASSERT_EQ(list.loadDevices(kShipped), 0) << list.loadError().size();
    EXPECT_EQ(list.pageSize(L"Amazon Kindle DX", false), (DevicePageSize{824, 1200}));
    EXPECT_EQ(list.pageSize(L"Amazon Kindle DX", true), (DevicePageSize{1200, 824}));
    std::set<std::wstring> names;
    for (const auto& profile : list.profiles()) {
        EXPECT_TRUE(names.insert(profile.name).second) << "two devices share a name";
        EXPECT_FALSE(profile.title.empty());
        for (bool landscape : {false, true}) {
            const DevicePageSize size = list.pageSize(profile.title, landscape);
            EXPECT_GT(size.width, 0);
            EXPECT_GT(size.height, 0);
            EXPECT_LE(size.width, 14400);
            EXPECT_LE(size.height, 14400);
        }
    }
    EXPECT_EQ(list.listDeviceTitles().size(), list.profiles().size());
}

TEST(DeviceProfiles, BodyTextShowsAtLeastTwoMillimetresTallOnEveryShippedReader) {
    DeviceList list;
    ASSERT_EQ(list.loadDevices(kShipped), 0);
    for (const auto& profile : list.profiles()) {
        const double ppi = std::stod(profile.value(L"ppi"));
        ASSERT_GT(ppi, 50.0) << "every device states its pixel density";
        const double screenWidth = std::stod(profile.value(L"width"));
        const double screenHeight = std::stod(profile.value(L"height"));
        for (bool landscape : {false, true}) {
            const DevicePageSize page = list.pageSize(profile.title, landscape);
            // The reader fits the page's width to its screen's.
            const double enlarged = (landscape ? screenHeight : screenWidth) / page.width;
            const double millimetres = 16.0 * enlarged / ppi * 25.4;
            EXPECT_GE(millimetres, 2.0) << std::string(profile.name.begin(), profile.name.end())
                                        << (landscape ? " landscape" : " portrait");
            // ...and its height to the screen's as well: no band is left unused.
            const double tall = (landscape ? screenWidth : screenHeight) / page.height;
            EXPECT_NEAR(tall, enlarged, 0.01);
        }
    }
}

TEST(DeviceProfiles, SmallestScaleKeepsBodyTextTwoMillimetresTall) {
    testing_environment::TemporaryHome home;
    const auto path = home.root() / "devices.xml";
    ASSERT_TRUE(platform::system::writeFileAtomically(
        path.string(),
        "<devices><device name='dense'><item name='width' value='1072'/>"
        "<item name='height' value='1448'/><item name='ppi' value='300'/><item name='pdf'>"
        "<item name='width' value='714'/><item name='height' value='965'/></item></device>"
        "<device name='plain'><item name='width' value='824'/><item name='height' value='1200'/>"
        "<item name='ppi' value='150'/></device>"
        "<device name='unknown'><item name='width' value='600'/>"
        "<item name='height' value='800'/></device></devices>"));
    DeviceList list;
    ASSERT_EQ(list.loadDevices(path.wstring()), 0);
    // 16 px at 1448/965 screen pixels each (the page fits the screen's height first), 300
    // an inch: 2.03 mm at scale 1.
    EXPECT_NEAR(list.smallestScale(L"dense", false), 0.9839, 0.0005);
    EXPECT_NEAR(list.smallestScale(L"dense", true), 0.9839, 0.0005);
    // 16 px at 150 ppi is 2.71 mm: the page may be painted at three quarters.
    EXPECT_NEAR(list.smallestScale(L"plain", false), 0.7382, 0.0005);
    EXPECT_EQ(list.smallestScale(L"unknown", false), 0.0);
    EXPECT_EQ(list.smallestScale(L"nobody", false), 0.0);

    // Every shipped reader takes pages painted at their own size.
    ASSERT_EQ(list.loadDevices(kShipped), 0);
    for (const auto& profile : list.profiles())
        for (bool landscape : {false, true}) {
            const double smallest = list.smallestScale(profile.name, landscape);
            EXPECT_GT(smallest, 0.5);
            EXPECT_LE(smallest, 1.0);
        }
}
