#include <gtest/gtest.h>

#include "host_windows.h"
#include "plugin/module/host_messages.h"
#include "plugin/module/tamrix_plugin.h"

TEST(HostMessages, PluginSendsToItsLorvaneClientAncestorOnly) {
    HostWindows windows(L"lorvaneCLIENT");
    plugin::TamrixPlugin plugin(windows.page, nullptr);
    EXPECT_EQ(plugin.PostStatusText(std::wstring(2000, L'x')), 0);
    EXPECT_EQ(plugin.PostNavigate(L"tarn://tamrix/item?A1", 1, L"_blank"), 0);
    ASSERT_EQ(windows.received.size(), 2u);
    EXPECT_EQ(windows.received[0].code, plugin::kStatusTextCode);
    EXPECT_EQ(*plugin::readStatusRecord(windows.received[0].bytes),
              (L"Tamrix: " + std::wstring(2000, L'x')).substr(0, 1023));
    EXPECT_EQ(windows.received[1].code, plugin::kNavigateCode);
    const auto request = plugin::readNavigateRecord(windows.received[1].bytes);
    EXPECT_EQ(request->url, L"tarn://tamrix/item?A1");
    EXPECT_EQ(request->flags, 1u);
    EXPECT_EQ(request->targetFrame, L"_blank");
    EXPECT_EQ(windows.senders[0], windows.page);

    HostWindows other(L"SomethingElse");
    plugin::TamrixPlugin lonely(other.page, nullptr);
    EXPECT_EQ(lonely.PostStatusText(L"nobody hears this"), 0);
    EXPECT_TRUE(other.received.empty());
}
