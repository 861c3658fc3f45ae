#include "platform/ui/clipboard.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <mutex>
#include <thread>

namespace platform::ui {

namespace {

std::wstring folded(const std::wstring& name) {
    std::wstring lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return lower;
}

}  // namespace

struct Clipboard::State {
    mutable std::mutex mutex;
    std::optional<std::thread::id> holder;
    HWND owner;
    std::map<UINT, std::vector<std::uint8_t>> blocks;
    std::map<std::wstring, UINT> formatByName;  // folded name -> number
    std::map<UINT, std::wstring> nameByFormat;
    UINT nextFormat = 0xC000;
};

Clipboard& Clipboard::instance() {
    static Clipboard board;
    return board;
}

Clipboard& clipboard() {
    return Clipboard::instance();
}

Clipboard::State& Clipboard::state() const {
    static State shared;
    return shared;
}

bool Clipboard::open(HWND owner) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.holder && *s.holder != std::this_thread::get_id())
        return false;
    s.holder = std::this_thread::get_id();
    s.owner = owner;
    return true;
}

bool Clipboard::close() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.holder != std::this_thread::get_id())
        return false;
    s.holder.reset();
    return true;
}

bool Clipboard::empty() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.holder != std::this_thread::get_id())
        return false;
    s.blocks.clear();
    return true;
}

bool Clipboard::setData(UINT format, std::vector<std::uint8_t> bytes) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.holder != std::this_thread::get_id() || format == 0)
        return false;
    s.blocks[format] = std::move(bytes);
    return true;
}

std::optional<std::vector<std::uint8_t>> Clipboard::data(UINT format) const {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto it = s.blocks.find(format);
    if (it == s.blocks.end())
        return std::nullopt;
    return it->second;
}

std::vector<UINT> Clipboard::formats() const {
    State& s = state();
    std::lock_guard lock(s.mutex);
    std::vector<UINT> list;
    for (const auto& [format, bytes] : s.blocks)
        list.push_back(format);
    return list;
}

UINT Clipboard::registerFormat(const std::wstring& name) {
    if (name.empty())
        return 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto [it, added] = s.formatByName.try_emplace(folded(name), s.nextFormat);
    if (added) {
        s.nameByFormat[s.nextFormat] = name;
        ++s.nextFormat;
    }
    return it->second;
}

std::wstring Clipboard::formatName(UINT format) const {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto it = s.nameByFormat.find(format);
    return it == s.nameByFormat.end() ? std::wstring{} : it->second;
}

void Clipboard::reset() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.blocks.clear();
    s.holder.reset();
    s.owner = HWND{};
}

}  // namespace platform::ui
