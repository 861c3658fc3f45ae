#include "platform/browser/bar_size.h"

#include <array>
#include <optional>
#include <vector>

#include "platform/registry/registry.h"

namespace platform::browser {

namespace {

namespace reg = platform::registry;

constexpr const wchar_t* kExplorerBars = L"Software\\Microsoft\\Internet Explorer\\Explorer Bars";
// Wider or narrower bars are taken as damaged entries.
constexpr int kNarrowest = 50;
constexpr int kWidest = 4000;

class OpenKey {
  public:
    OpenKey(reg::HKEY root, const std::wstring& path) {
        if (reg::RegOpenKeyExW(root, path.c_str(), 0, reg::KEY_READ, &key_) != reg::ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey() {
        if (key_)
            reg::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    reg::HKEY get() const { return key_; }

  private:
    reg::HKEY key_ = nullptr;
};

std::optional<std::wstring> defaultText(reg::HKEY key) {
    std::array<wchar_t, 256> text{};
    reg::DWORD type = 0;
    reg::DWORD size = sizeof(text) - sizeof(wchar_t);
    if (reg::RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<reg::BYTE*>(text.data()),
                              &size) != reg::ERROR_SUCCESS ||
        type != reg::REG_SZ)
        return std::nullopt;
    return std::wstring(text.data());
}

std::optional<int> barSize(reg::HKEY key) {
    std::array<reg::BYTE, 16> data{};
    reg::DWORD type = 0;
    reg::DWORD size = data.size();
    if (reg::RegQueryValueExW(key, L"BarSize", nullptr, &type, data.data(), &size) !=
            reg::ERROR_SUCCESS ||
        type != reg::REG_BINARY || size < 4)
        return std::nullopt;
    const int width = data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24;
    if (width < kNarrowest || width > kWidest)
        return std::nullopt;
    return width;
}

std::optional<int> widthUnder(reg::HKEY root, const std::wstring& classKey,
                              const std::wstring& title) {
    const std::wstring bars = kExplorerBars;
    if (OpenKey own(root, bars + L"\\" + classKey); own)
        if (const auto width = barSize(own.get()))
            return width;
    OpenKey all(root, bars);
    if (!all || title.empty())
        return std::nullopt;
    std::array<wchar_t, 256> name{};
    for (reg::DWORD index = 0;; ++index) {
        reg::DWORD chars = name.size();
        const reg::LONG listed = reg::RegEnumKeyExW(all.get(), index, name.data(), &chars);
        if (listed == reg::ERROR_MORE_DATA)
            continue;  // a name longer than any bar's entry
        if (listed != reg::ERROR_SUCCESS)
            return std::nullopt;
        OpenKey entry(root, bars + L"\\" + std::wstring(name.data(), chars));
        if (entry && defaultText(entry.get()) == title)
            if (const auto width = barSize(entry.get()))
                return width;
    }
}

}  // namespace

int registeredBarWidth(const com::GUID& classId, const std::wstring& title) {
    const std::wstring classKey = com::formatGuidWide(classId);
    for (reg::HKEY root : {reg::HKEY_CURRENT_USER, reg::HKEY_LOCAL_MACHINE})
        if (const auto width = widthUnder(root, classKey, title))
            return *width;
    return kDefaultBarWidth;
}

}  // namespace platform::browser
