// The synchronisation settings under HKCU "Software\Olvan\Tamrix\Sync": the service's base
// address, the account key, the service time of the last applied download, this machine's
// time of the last acknowledged exchange and of the last failed request, and the automatic
// synchronisation switch, interval and time limit.
//
// Contract: every value is read from the registry when `readSyncSettings` is called and
// written at once by the store functions; nothing is cached. Callable from any thread
// (each call opens and closes its own key). Registry failures give the defaults on reading
// and are passed over on writing.
#pragma once

#include <chrono>
#include <string>

namespace plugin {

// The service the client talks to when no server has been set.
inline constexpr const wchar_t* kDefaultSyncServer = L"https://sync.tamrix.example/";

struct SyncSettings {
    std::wstring server = kDefaultSyncServer;
    std::wstring key;
    std::wstring updateTime;     // service time, "%Y-%m-%d %H:%M:%S"
    std::wstring lastSyncTime;   // UTC of the last exchange the service acknowledged, same form
    std::wstring lastErrorTime;  // UTC, same form
    int autoSync = 0;
    int interval = 300;  // seconds, as stored
    int timeout = 300;   // seconds, as stored
};

SyncSettings readSyncSettings();

void storeSyncServer(const std::wstring& server);
void storeSyncKey(const std::wstring& key);
void storeSyncAuto(int autoSync);
void storeSyncUpdateTime(const std::wstring& updateTime);
void storeSyncLastSyncTime(const std::wstring& lastSyncTime);
void storeSyncLastErrorTime(const std::wstring& lastErrorTime);

// The address with a "/" at its end ("" stays "").
std::wstring withTrailingSlash(std::wstring server);
// The seconds between automatic synchronisations: values below 301 mean 300.
std::chrono::seconds effectiveInterval(int stored);
// The time limit of one synchronisation: the stored seconds clamped to 30..3600.
std::chrono::seconds effectiveTimeout(int stored);

}  // namespace plugin
