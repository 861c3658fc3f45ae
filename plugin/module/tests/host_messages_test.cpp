#include <gtest/gtest.h>

#include "platform/ui/window_system.h"
#include "plugin/module/host_messages.h"
#include "plugin/module/tamrix_plugin.h"

namespace {

using platform::ui::HWND;

// A host window of `className` that records the WM_COPYDATA records it receives, with a
// page window inside an intermediate child, as the side pane nests them.
struct HostWindows {
    explicit HostWindows(const std::wstring& className) {
        auto& windows = platform::ui::windows();
        host = windows.createWindow(
            {.className = className, .proc = [this](const platform::ui::Message& message) {
                 if (message.id == platform::ui::WM_COPYDATA) {
                     received.push_back(*message.copyData);
                     senders.push_back(HWND{message.wParam});
                 }
                 return platform::ui::LRESULT{0};
             }});
        const HWND middle = windows.createWindow({.className = L"Pane", .parent = host});
        page = windows.createWindow({.className = L"Page", .parent = middle});
    }
    ~HostWindows() { platform::ui::windows().destroyWindow(host); }

    HWND host;
    HWND page;
    std::vector<platform::ui::CopyData> received;
    std::vector<HWND> senders;
};

}  // namespace

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
