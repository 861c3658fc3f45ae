#include "plugin/module/host_messages.h"

#include <gtest/gtest.h>

TEST(HostMessages, RecordsHaveFixedFieldsAndCutLongTexts) {
    const auto status = plugin::statusRecord(std::wstring(2000, L's'));
    ASSERT_EQ(status.size(), 2048u);
    EXPECT_EQ(*plugin::readStatusRecord(status), std::wstring(1023, L's'));
    EXPECT_EQ(status[2046], 0);
    EXPECT_EQ(status[2047], 0);

    const auto navigate = plugin::navigateRecord(
        {0x800, L"http://example.org/\u00e9\U0001F600", std::wstring(300, L't')});
    ASSERT_EQ(navigate.size(), 2564u);
    EXPECT_EQ(navigate[0], 0x00);
    EXPECT_EQ(navigate[1], 0x08);
    const auto request = plugin::readNavigateRecord(navigate);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->flags, 0x800u);
    EXPECT_EQ(request->url, L"http://example.org/\u00e9\U0001F600");
    EXPECT_EQ(request->targetFrame, std::wstring(255, L't'));
    // The emoji is a surrogate pair in UTF-16: four bytes after the 20 plain characters.
    EXPECT_EQ(navigate[4 + 2 * 19], 0xE9);
    EXPECT_EQ(navigate[4 + 2 * 20 + 1], 0xD8);

    // A pair that would not fit whole is left out rather than cut in half.
    const auto cut = plugin::statusRecord(std::wstring(1022, L'x') + L"\U0001F600");
    EXPECT_EQ(*plugin::readStatusRecord(cut), std::wstring(1022, L'x'));
    EXPECT_FALSE(plugin::readStatusRecord(navigate));
    EXPECT_FALSE(plugin::readNavigateRecord(status));
}
