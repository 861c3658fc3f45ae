#include "addon/shell/update_check.h"

#include <cstdio>
#include <cwchar>
#include <list>
#include <memory>
#include <mutex>

#include "addon/shell/localization.h"
#include "addon/shell/module_version.h"
#include "addon/shell/update_feed.h"
#include "common/language/language_table.h"
#include "common/thread/thread.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "common/util/time_text.h"
#include "common/xml/xml_http_request.h"
#include "platform/system/named_mutex.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {

namespace {

namespace reg = platform::registry;
namespace ui = platform::ui;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysBetweenChecks = 7;
constexpr std::int64_t kSecondsAfterFailure = 10800;
constexpr const wchar_t* kPrompt =
    L"A new version(#NewProductVersion#) of #ProductName# is available!\r\nDo you want to update?";

std::wstring valuePath(const std::wstring& keyPath, const wchar_t* name) {
    return keyPath + L"\\" + name;
}

std::wstring readText(reg::HKEY root, const std::wstring& keyPath, const wchar_t* name,
                      const std::wstring& fallback) {
    common::registry_string<std::wstring> value(valuePath(keyPath, name), root, fallback,
                                                common::kRegistryNoWriteBack);
    return value.value;
}

void storeText(reg::HKEY root, const std::wstring& keyPath, const wchar_t* name,
               const std::wstring& text) {
    common::registry_string<std::wstring> value(
        valuePath(keyPath, name), root, L"",
        common::kRegistryAlwaysStore | common::kRegistryNoWriteBack);
    value = text;
    value.save();
}

// A stored UTC time text as seconds since the epoch; 0 for an empty or unreadable text.
std::time_t storedTime(const std::wstring& text) {
    std::tm parts{};
    if (std::swscanf(text.c_str(), L"%d-%d-%d %d:%d:%d", &parts.tm_year, &parts.tm_mon,
                     &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec) != 6)
        return 0;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    return timegm(&parts);
}

std::wstring timeText(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    wchar_t text[32];
    std::wcsftime(text, 32, L"%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

void replaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (auto at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

void offerUpdate(const std::wstring& server, const std::wstring& productName,
                 const std::wstring& productVersion, const std::wstring& newVersion) {
    std::wstring text = common::languageTable().translate(L"Message", kPrompt);
    replaceAll(text, L"#ProductVersion#", productVersion);
    replaceAll(text, L"#ProductName#", productName);
    replaceAll(text, L"#NewProductVersion#", newVersion);
    if (showMessage({}, {}, text, ui::MB_YESNO) == ui::IDYES)
        ui::shellOpen({}, L"open", server);
}

// One check with `request`; `stopper` (when given) says the check should end before it
// shows anything.
int checkWith(reg::HKEY root, const std::wstring& keyPath, const common::CXMLHTTPRequest& request,
              std::chrono::milliseconds requestLimit, const common::CThreadT<1>* stopper) {
    std::wstring server = readText(root, keyPath, L"Server", kDefaultUpdateServer);
    if (server.empty())
        return kUpdateNoServer;
    if (server.back() != L'/')
        server += L'/';
    CModuleVersion version;
    std::wstring productName;
    std::wstring productVersion;
    std::wstring url;
    if (version.Load(thisModuleVersionName().c_str())) {
        productName = version.GetValue(L"ProductName");
        productVersion = version.GetValue(L"ProductVersion");
        url = server + L"checkupdate?product=" + productName + L"&version=" + productVersion +
              L"&time=" + common::currentTimeText(false);
    }
    std::optional<std::vector<FeedEntry>> entries;
    bool answered = false;
    try {
        request.Open(L"GET", url);
        request.SetTimeout(requestLimit);
        if (stopper && stopper->stopRequested())
            return kUpdateRequestFailed;
        request.Send();
        answered = request.GetStatus() == 200;
        if (answered)
            entries = readUpdateFeed(request.GetResponseXML());
    } catch (const common::CMyException&) {
        answered = false;
    }
    if (!answered || !entries) {
        storeText(root, keyPath, L"LastCheckErrorTime", common::currentTimeText(false));
        return answered ? kUpdateNotAFeed : kUpdateRequestFailed;
    }
    const bool stopped = stopper && stopper->stopRequested();
    if (!stopped && !entries->empty() && entries->front().id != productVersion)
        offerUpdate(server, productName, productVersion, entries->front().id);
    storeText(root, keyPath, L"LastCheckTime", common::currentTimeText(false));
    return kUpdateChecked;
}

class CheckThread : public common::CThreadImpl<CheckThread> {
  public:
    CheckThread(reg::HKEY root, std::wstring keyPath, std::wstring mutexName,
                UpdateCheckOptions options)
        : root_(root),
          keyPath_(std::move(keyPath)),
          mutexName_(std::move(mutexName)),
          options_(options),
          request_(common::CXMLHTTPRequest::Create()) {}
    ~CheckThread() override { stop(); }

    void stop() {
        requestStop();
        request_.Abort();
        stopAndJoin();
    }

    static std::uint32_t threadProc(CheckThread* self) {
        platform::system::NamedMutex mutex(self->mutexName_);
        if (!mutex.tryLock())
            return 1;
        if (!self->sleepUnlessStopped(self->options_.delay))
            return 2;
        const int result = checkWith(self->root_, self->keyPath_, self->request_,
                                     self->options_.requestLimit, self);
        return static_cast<std::uint32_t>(-result);
    }

  private:
    reg::HKEY root_;
    std::wstring keyPath_;
    std::wstring mutexName_;
    UpdateCheckOptions options_;
    common::CXMLHTTPRequest request_;
};

std::mutex checksMutex;

std::list<std::unique_ptr<CheckThread>>& runningChecks() {
    static std::list<std::unique_ptr<CheckThread>> checks;
    return checks;
}

}  // namespace

bool isUpdateCheckDue(reg::HKEY root, const std::wstring& keyPath) {
    return isUpdateCheckDue(root, keyPath, std::time(nullptr));
}

bool isUpdateCheckDue(reg::HKEY root, const std::wstring& keyPath, std::time_t now) {
    common::registry_int<std::int32_t> autoUpdate(valuePath(keyPath, L"AutoUpdate"), root, 1,
                                                  common::kRegistryNoWriteBack);
    if (autoUpdate.value == 0)
        return false;
    const std::wstring lastCheck = readText(root, keyPath, L"LastCheckTime", L"");
    if (lastCheck.empty()) {
        storeText(root, keyPath, L"LastCheckTime", timeText(now));
        return false;
    }
    const std::int64_t sinceCheck = static_cast<std::int64_t>(now) - storedTime(lastCheck);
    const std::int64_t sinceError = static_cast<std::int64_t>(now) -
                                    storedTime(readText(root, keyPath, L"LastCheckErrorTime", L""));
    return sinceCheck / kSecondsPerDay >= kDaysBetweenChecks && sinceError > kSecondsAfterFailure;
}

int runUpdateCheck(reg::HKEY root, const std::wstring& keyPath,
                   std::chrono::milliseconds requestLimit) {
    return checkWith(root, keyPath, common::CXMLHTTPRequest::Create(), requestLimit, nullptr);
}

bool startUpdateCheck(reg::HKEY root, const std::wstring& keyPath, const std::wstring& mutexName,
                      const UpdateCheckOptions& options) {
    if (!isUpdateCheckDue(root, keyPath))
        return false;
    std::lock_guard lock(checksMutex);
    auto& checks = runningChecks();
    checks.remove_if([](const std::unique_ptr<CheckThread>& check) { return !check->isRunning(); });
    checks.push_back(std::make_unique<CheckThread>(root, keyPath, mutexName, options));
    return checks.back()->resume();
}

void stopUpdateChecks() {
    std::list<std::unique_ptr<CheckThread>> ending;
    {
        std::lock_guard lock(checksMutex);
        ending.swap(runningChecks());
    }
    for (auto& check : ending)
        check->stop();
}

bool isUpdateCheckRunning() {
    std::lock_guard lock(checksMutex);
    for (const auto& check : runningChecks())
        if (check->isRunning())
            return true;
    return false;
}

}  // namespace addon
