#include "plugin/sync/sync_settings.h"

#include <algorithm>

#include "common/util/registry_tools.h"

namespace plugin {

namespace {

const std::wstring kSyncKey = L"Software\\Olvan\\Tamrix\\Sync\\";

std::wstring readText(const wchar_t* name, const std::wstring& fallback) {
    return common::readUserText(kSyncKey + name, fallback);
}

int readNumber(const wchar_t* name, int fallback) {
    return common::readUserNumber(kSyncKey + name, fallback);
}

void storeText(const wchar_t* name, const std::wstring& text) {
    common::storeUserText(kSyncKey + name, text);
}

}  // namespace

SyncSettings readSyncSettings() {
    SyncSettings settings;
    settings.server = readText(L"Server", kDefaultSyncServer);
    settings.key = readText(L"Key", L"");
    settings.updateTime = readText(L"UpdateTime", L"");
    settings.lastSyncTime = readText(L"LastSyncTime", L"");
    settings.lastErrorTime = readText(L"LastErrorTime", L"");
    settings.autoSync = readNumber(L"Auto", 0);
    settings.interval = readNumber(L"Interval", 300);
    settings.timeout = readNumber(L"Timeout", 300);
    return settings;
}

void storeSyncServer(const std::wstring& server) {
    storeText(L"Server", server);
}

void storeSyncKey(const std::wstring& key) {
    storeText(L"Key", key);
}

void storeSyncAuto(int autoSync) {
    common::storeUserNumber(kSyncKey + L"Auto", autoSync);
}

void storeSyncUpdateTime(const std::wstring& updateTime) {
    storeText(L"UpdateTime", updateTime);
}

void storeSyncLastSyncTime(const std::wstring& lastSyncTime) {
    storeText(L"LastSyncTime", lastSyncTime);
}

void storeSyncLastErrorTime(const std::wstring& lastErrorTime) {
    storeText(L"LastErrorTime", lastErrorTime);
}

std::wstring withTrailingSlash(std::wstring server) {
    if (!server.empty() && server.back() != L'/')
        server += L'/';
    return server;
}

std::chrono::seconds effectiveInterval(int stored) {
    return std::chrono::seconds(stored < 301 ? 300 : stored);
}

std::chrono::seconds effectiveTimeout(int stored) {
    return std::chrono::seconds(std::clamp(stored, 30, 3600));
}

}  // namespace plugin
