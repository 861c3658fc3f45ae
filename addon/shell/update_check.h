// The weekly update check: in the background, at most once a week, the add-on asks its
// server (registry `Server` + "checkupdate?product=...&version=...&time=...") for the
// Atom feed of released versions and, when the newest names another version than this
// one, offers to open the server's site.
//
// Registry values under the key the starter names (HKCU "Software\Olvan\Tamrix"):
//   AutoUpdate (1; 0 switches the check off), LastCheckTime and LastCheckErrorTime (UTC
//   texts "%Y-%m-%d %H:%M:%S"; empty at first), Server (the service's base URL).
// A check is due when the last success is at least 7 whole days old and the last failure
// more than 3 hours; on first use the clock only starts (LastCheckTime becomes now).
//
// Contract: startUpdateCheck is called on a user-interface thread and never blocks: the
// check runs on its own thread, which waits (30 s by default) before it asks, every
// request has a time limit, and one check at a time runs across all processes of the
// user (the named mutex "Global\TamrixCheckUpdate"; a second one gives up at once).
// stopUpdateChecks ends the waits and requests of running checks and joins their threads
// (the add-on calls it when it unloads). The prompt is shown from the check's thread.
#pragma once

#include <chrono>
#include <ctime>
#include <string>

#include "platform/registry/types.h"

namespace addon {

inline constexpr const wchar_t* kUpdateCheckMutexName = L"Global\\TamrixCheckUpdate";
inline constexpr const wchar_t* kDefaultUpdateServer = L"http://www.tamrix.example/";

enum UpdateCheckResult : int {
    kUpdateChecked = 0,
    kUpdateNoServer = -1,       // `Server` is empty
    kUpdateRequestFailed = -2,  // no answer, or not 200
    kUpdateNotAFeed = -3,       // the answer is not an Atom feed
};

struct UpdateCheckOptions {
    // How long the check thread waits before it asks.
    std::chrono::milliseconds delay{30000};
    // The time limit of the request.
    std::chrono::milliseconds requestLimit{30000};
};

bool isUpdateCheckDue(platform::registry::HKEY root, const std::wstring& keyPath);
bool isUpdateCheckDue(platform::registry::HKEY root, const std::wstring& keyPath, std::time_t now);

// Runs one check on the calling thread (no waiting before it).
int runUpdateCheck(platform::registry::HKEY root, const std::wstring& keyPath,
                   std::chrono::milliseconds requestLimit = UpdateCheckOptions{}.requestLimit);

// Starts a check thread when a check is due; true when one was started.
bool startUpdateCheck(platform::registry::HKEY root, const std::wstring& keyPath,
                      const std::wstring& mutexName, const UpdateCheckOptions& options = {});

// Ends every check thread of this process and waits for them.
void stopUpdateChecks();
// True while a check thread of this process runs.
bool isUpdateCheckRunning();

}  // namespace addon
