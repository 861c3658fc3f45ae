#include "plugin/module/plugin_interface.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "platform/ui/window_system.h"
#include "plugin/module/host_messages.h"

namespace plugin {

namespace {

constexpr wchar_t kHostClass[] = L"LorvaneClient";

bool equalsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

// The first ancestor of `window` of the host class, none when there is no such window.
HWND hostAncestor(HWND window) {
    auto& windows = platform::ui::windows();
    for (HWND above = windows.parent(window); above; above = windows.parent(above))
        if (equalsIgnoringCase(windows.className(above), kHostClass))
            return above;
    return {};
}

void sendToHost(HWND host, std::uintptr_t code, std::vector<std::uint8_t> record) {
    const HWND target = hostAncestor(host);
    if (!target)
        return;
    platform::ui::windows().sendCopyData(target, host,
                                         platform::ui::CopyData{code, std::move(record)});
}

}  // namespace

int IPluginInterface::Initialize(HWND host, SiteRef site) {
    host_ = host;
    site_ = std::move(site);
    return 0;
}

int IPluginInterface::PostStatusText(const std::wstring& text) {
    sendToHost(host_, kStatusTextCode, statusRecord(GetName() + L": " + text));
    return 0;
}

int IPluginInterface::PostNavigate(const std::wstring& url, int flags,
                                   const std::wstring& targetFrame) {
    sendToHost(host_, kNavigateCode,
               navigateRecord({static_cast<std::uint32_t>(flags), url, targetFrame}));
    return 0;
}

}  // namespace plugin
