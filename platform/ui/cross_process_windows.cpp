#include "platform/ui/cross_process_windows.h"
#include "platform/ui/pointer_messages.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/system/folders.h"
#include "platform/system/named_mutex.h"

namespace platform::ui {

namespace {

enum Operation : std::uint8_t {
    kIsWindow = 1,
    kFindChild,
    kClassName,
    kWindowRect,
    kParent,
    kSetWindowPos,
    kInvalidate,
    kUserData,
    kSetUserData,
    kSetParentLocal,
    kAdopt,
    kCopyData,
    kStatus,
    kSetRedraw,
    kImage,
    kImageVersion,
    kPointer,
};

// Messages of the agent window and of the stand-ins.
constexpr UINT kAdoptMessage = WM_USER + 0x6A1;
constexpr std::uintptr_t kProxyTimer = 0x6A2;
constexpr wchar_t kAgentClass[] = L"CrossProcessAgent";
// The serving thread's backstop should the wake-up byte of the destructor not arrive.
constexpr std::chrono::milliseconds kServePoll{1000};
// Room in a record for what frames an image's pixels.
constexpr std::size_t kImageRecordSlack = 64;

std::uint32_t ownProcess() {
    return static_cast<std::uint32_t>(::getpid());
}

std::string socketPathOf(std::uint32_t processId) {
    const std::string folder = CrossProcessWindows::folder();
    return folder.empty() ? std::string() : folder + "/" + std::to_string(processId) + ".sock";
}

bool processGone(std::uint32_t processId) {
    return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
}

bool makeFolder(const std::string& path) {
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    ::chmod(path.c_str(), 0700);
    return std::filesystem::is_directory(path, error);
}

wire::Writer request(Operation operation, HWND window) {
    wire::Writer writer;
    writer.u8(operation).u64(window.value);
    return writer;
}

}  // namespace

CrossProcessWindows::CrossProcessWindows(WindowSystem& system) : system_(system) {}

CrossProcessWindows::~CrossProcessWindows() {
    system_.stopObservingForeground(this);
    stopping_ = true;
    if (server_.joinable()) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(wakeUp_[1], &byte, 1);
        server_.join();
    }
    for (const int end : wakeUp_)
        if (end >= 0)
            ::close(end);
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(socketPath_.c_str());
    }
    std::map<HWND, std::string> published;
    std::map<HWND, RemoteWindow> proxied;
    {
        std::lock_guard lock(mutex_);
        published.swap(published_);
        proxied = proxied_;
    }
    for (const auto& [window, path] : published)
        ::unlink(path.c_str());
    for (const auto& [proxy, foreign] : proxied)
        system_.destroyWindow(proxy);
    system_.destroyWindow(agent_);
}

std::string CrossProcessWindows::folder() {
    const std::string runtime = platform::system::runtimeFolder();
    return runtime.empty() ? std::string() : runtime + "/olvan-windows";
}

RemoteWindow CrossProcessWindows::local(HWND window) {
    return RemoteWindow{ownProcess(), window};
}

bool CrossProcessWindows::start() {
    const std::string where = folder();
    if (where.empty()) {
        error_ = "no runtime folder";
        return false;
    }
    if (!makeFolder(where)) {
        error_ = "cannot make " + where;
        return false;
    }
    socketPath_ = socketPathOf(ownProcess());
    listener_ = wire::listenOn(socketPath_);
    if (listener_ < 0) {
        error_ = "cannot listen on " + socketPath_;
        return false;
    }
    if (::pipe2(wakeUp_, O_CLOEXEC) != 0) {
        error_ = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    agent_ = system_.createWindow(
        {.className = kAgentClass, .visible = false, .proc = [this](const Message& message) {
             return message.id == kAdoptMessage && message.copyData
                        ? adoptOnOwnThread(message.copyData->bytes)
                        : LRESULT{0};
         }});
    server_ = std::thread([this] { serveLoop(); });
    system_.observeForeground(this, [this](HWND window) { recordForeground(window); });
    if (const HWND front = system_.foreground())
        recordForeground(front);
    return true;
}

void CrossProcessWindows::serveLoop() {
    while (!stopping_) {
        pollfd waiting[] = {{listener_, POLLIN, 0}, {wakeUp_[0], POLLIN, 0}};
        if (::poll(waiting, 2, static_cast<int>(kServePoll.count())) <= 0 ||
            !(waiting[0].revents & POLLIN))
            continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        wire::limitSocket(connection, kCallLimit);
        if (const auto received = wire::receiveRecord(connection))
            wire::sendRecord(connection, serve(*received));
        ::close(connection);
    }
}

std::string CrossProcessWindows::registrationPath(HWND window, const std::wstring& title) const {
    return folder() + "/" + platform::system::lockFileName(title) + "@" +
           std::to_string(ownProcess()) + "-" + std::to_string(window.value) + ".window";
}

bool CrossProcessWindows::publish(HWND window) {
    return publishAs(window, system_.text(window));
}

bool CrossProcessWindows::publishAs(HWND window, const std::wstring& name) {
    if (!system_.isWindow(window) || !makeFolder(folder()))
        return false;
    const std::string path = registrationPath(window, name);
    std::ofstream(path).close();
    if (!std::filesystem::exists(path))
        return false;
    withdraw(window);
    std::lock_guard lock(mutex_);
    published_[window] = path;
    return true;
}

void CrossProcessWindows::withdraw(HWND window) {
    std::lock_guard lock(mutex_);
    const auto it = published_.find(window);
    if (it == published_.end())
        return;
    ::unlink(it->second.c_str());
    published_.erase(it);
}

RemoteWindow CrossProcessWindows::findWindow(const std::wstring& title) const {
    const std::vector<RemoteWindow> found = findWindows(title);
    return found.empty() ? RemoteWindow{} : found.front();
}

std::vector<RemoteWindow> CrossProcessWindows::findWindows(const std::wstring& title) const {
    const std::string prefix = platform::system::lockFileName(title) + "@";
    std::vector<RemoteWindow> windows;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0 || !name.ends_with(".window"))
            continue;
        const std::string numbers = name.substr(prefix.size());
        const auto dash = numbers.find('-');
        if (dash == std::string::npos)
            continue;
        RemoteWindow found;
        try {
            found.processId = static_cast<std::uint32_t>(std::stoul(numbers.substr(0, dash)));
            found.handle = HWND{std::stoull(numbers.substr(dash + 1))};
        } catch (const std::exception&) {
            continue;
        }
        if (isWindow(found))
            windows.push_back(found);
        else if (processGone(found.processId))
            std::filesystem::remove(entry.path(), error);
    }
    std::sort(windows.begin(), windows.end());
    return windows;
}

void CrossProcessWindows::recordForeground(HWND window) const {
    const std::string path = folder() + "/foreground";
    const std::string temporary = path + "." + std::to_string(ownProcess());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << ownProcess() << ' ' << window.value << '\n';
        if (!out)
            return;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
}

RemoteWindow CrossProcessWindows::foreground() const {
    std::ifstream in(folder() + "/foreground");
    RemoteWindow front;
    std::uint64_t handle = 0;
    if (!(in >> front.processId >> handle) || processGone(front.processId))
        return {};
    front.handle = HWND{handle};
    return front;
}

std::optional<wire::Bytes> CrossProcessWindows::callProcess(std::uint32_t processId,
                                                            const wire::Bytes& request,
                                                            std::chrono::milliseconds limit) const {
    if (processId == 0)
        return std::nullopt;
    if (processId == ownProcess())
        return const_cast<CrossProcessWindows*>(this)->serve(request);
    // The other process's server may need to send to a window of this thread to answer,
    // so this thread keeps handling the messages sent to it while it waits.
    std::optional<wire::Bytes> reply;
    system_.serveSentWhile([&] { reply = wire::call(socketPathOf(processId), request, limit); });
    return reply;
}

bool CrossProcessWindows::isWindow(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kIsWindow, window.handle).data(), kCallLimit);
    if (!reply)
        return false;
    wire::Reader reader(*reply);
    return reader.u8() == 1 && reader.ok();
}

RemoteWindow CrossProcessWindows::findChild(RemoteWindow parent, const std::wstring& title) const {
    const auto reply = callProcess(
        parent.processId, request(kFindChild, parent.handle).text(title).data(), kCallLimit);
    if (!reply)
        return {};
    wire::Reader reader(*reply);
    const HWND child{reader.u64()};
    return reader.ok() && child ? RemoteWindow{parent.processId, child} : RemoteWindow{};
}

std::wstring CrossProcessWindows::className(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kClassName, window.handle).data(), kCallLimit);
    if (!reply)
        return {};
    wire::Reader reader(*reply);
    std::wstring name = reader.text();
    return reader.ok() ? name : std::wstring();
}

Rect CrossProcessWindows::windowRect(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kWindowRect, window.handle).data(), kCallLimit);
    if (!reply)
        return {};
    wire::Reader reader(*reply);
    const Rect rect = reader.rect();
    return reader.ok() ? rect : Rect{};
}

RemoteWindow CrossProcessWindows::parent(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kParent, window.handle).data(), kCallLimit);
    if (!reply)
        return {};
    wire::Reader reader(*reply);
    RemoteWindow above;
    above.processId = reader.u32();
    above.handle = HWND{reader.u64()};
    return reader.ok() ? above : RemoteWindow{};
}

RemoteWindow CrossProcessWindows::adopter(HWND window) const {
    for (HWND above = window; above; above = system_.parent(above)) {
        std::lock_guard lock(mutex_);
        if (const auto it = proxied_.find(above); it != proxied_.end())
            return it->second;
    }
    return {};
}

bool CrossProcessWindows::setWindowPos(RemoteWindow window, int x, int y, int width, int height,
                                       UINT flags) const {
    const auto reply = callProcess(
        window.processId,
        request(kSetWindowPos, window.handle).rect({x, y, width, height}).u32(flags).data(),
        kCallLimit);
    return reply && wire::Reader(*reply).u8() == 1;
}

bool CrossProcessWindows::invalidate(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kInvalidate, window.handle).data(), kCallLimit);
    return reply && wire::Reader(*reply).u8() == 1;
}

bool CrossProcessWindows::setRedraw(RemoteWindow window, bool redraw) const {
    const auto reply = callProcess(
        window.processId, request(kSetRedraw, window.handle).u8(redraw ? 1 : 0).data(), kCallLimit);
    return reply && wire::Reader(*reply).u8() == 1;
}

std::uint64_t CrossProcessWindows::imageVersion(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kImageVersion, window.handle).data(), kCallLimit);
    if (!reply)
        return 0;
    wire::Reader reader(*reply);
    const std::uint64_t version = reader.u64();
    return reader.ok() ? version : 0;
}

imaging::Bitmap CrossProcessWindows::image(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kImage, window.handle).data(), kCallLimit);
    if (!reply)
        return {};
    wire::Reader reader(*reply);
    const std::uint32_t width = reader.u32();
    const std::uint32_t height = reader.u32();
    const wire::Bytes pixels = reader.bytes();
    if (!reader.ok() || width > wire::kMaxRecord || height > wire::kMaxRecord ||
        pixels.size() != static_cast<std::size_t>(width) * height * 4)
        return {};
    imaging::Bitmap image(static_cast<int>(width), static_cast<int>(height),
                          imaging::PixelFormat::Argb32);
    if (!pixels.empty())
        std::memcpy(image.row(0), pixels.data(), pixels.size());
    return image;
}

std::intptr_t CrossProcessWindows::userData(RemoteWindow window) const {
    const auto reply =
        callProcess(window.processId, request(kUserData, window.handle).data(), kCallLimit);
    if (!reply)
        return 0;
    wire::Reader reader(*reply);
    const std::int64_t value = reader.i64();
    return reader.ok() ? static_cast<std::intptr_t>(value) : 0;
}

bool CrossProcessWindows::setUserData(RemoteWindow window, std::intptr_t value) const {
    const auto reply = callProcess(
        window.processId, request(kSetUserData, window.handle).i64(value).data(), kCallLimit);
    return reply && wire::Reader(*reply).u8() == 1;
}

bool CrossProcessWindows::setParent(RemoteWindow child, RemoteWindow newParent) const {
    std::optional<wire::Bytes> reply;
    if (!newParent || newParent.processId == child.processId) {
        reply = callProcess(
            child.processId,
            request(kSetParentLocal, child.handle).u64(newParent.handle.value).data(), kCallLimit);
    } else if (newParent.processId == ownProcess() && system_.isWindow(newParent.handle)) {
        reply = callProcess(child.processId,
                            request(kAdopt, child.handle)
                                .u32(newParent.processId)
                                .u64(newParent.handle.value)
                                .text(system_.className(newParent.handle))
                                .text(system_.text(newParent.handle))
                                .rect(system_.windowRect(newParent.handle))
                                .data(),
                            kCallLimit + WindowSystem::kDefaultSendLimit);
    }
    const bool moved = reply && wire::Reader(*reply).u8() == 1;
    if (moved && newParent.processId == ownProcess() && child.processId != ownProcess()) {
        std::lock_guard lock(mutex_);
        std::erase_if(adopted_, [&](const auto& entry) { return entry.second == child; });
        adopted_.emplace(newParent.handle, child);
    }
    return moved;
}

namespace {

bool holds(const Rect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

std::vector<RemoteWindow> CrossProcessWindows::adoptedUnder(HWND window) const {
    std::vector<std::pair<HWND, RemoteWindow>> adoptions;
    {
        std::lock_guard lock(mutex_);
        for (auto entry = adopted_.begin(); entry != adopted_.end();) {
            // Records of parents that are gone go with them.
            if (!system_.isWindow(entry->first)) {
                entry = adopted_.erase(entry);
                continue;
            }
            adoptions.emplace_back(entry->first, entry->second);
            ++entry;
        }
    }
    std::vector<RemoteWindow> under;
    // The latest adopted lies on top.
    for (auto adoption = adoptions.rbegin(); adoption != adoptions.rend(); ++adoption) {
        const auto& [parent, child] = *adoption;
        bool shown = true;
        HWND above = parent;
        while (above && above != window) {
            shown = shown && system_.isVisible(above);
            above = system_.parent(above);
        }
        if (above && shown && this->parent(child) == local(parent))
            under.push_back(child);
    }
    return under;
}

imaging::Bitmap CrossProcessWindows::screenImage(HWND window) const {
    imaging::Bitmap picture = system_.image(window);
    const Rect origin = system_.windowRect(window);
    const std::vector<RemoteWindow> under = adoptedUnder(window);
    for (auto child = under.rbegin(); child != under.rend(); ++child) {
        const imaging::Bitmap part = image(*child);
        const Rect at = windowRect(*child);
        picture.drawBitmap(part, {0, 0, part.width(), part.height()}, at.left - origin.left,
                           at.top - origin.top);
    }
    return picture;
}

ScreenImageState CrossProcessWindows::screenImageState(HWND window) const {
    ScreenImageState state{.own = system_.imageVersion(window), .adopted = {}};
    for (const RemoteWindow& child : adoptedUnder(window))
        state.adopted.push_back({child, imageVersion(child), windowRect(child)});
    return state;
}

bool CrossProcessWindows::postPointer(HWND window, UINT message, WPARAM wParam, int x,
                                      int y) const {
    for (const RemoteWindow& child : adoptedUnder(window)) {
        if (!holds(windowRect(child), x, y))
            continue;
        const auto reply = callProcess(
            child.processId,
            request(kPointer, child.handle).u32(message).u64(wParam).i64(x).i64(y).data(),
            kCallLimit);
        return reply && wire::Reader(*reply).u8() == 1;
    }
    return false;
}

bool CrossProcessWindows::sendCopyData(RemoteWindow target, HWND sender, const CopyData& record,
                                       LRESULT* result, std::chrono::milliseconds limit) const {
    if (target.processId == ownProcess())
        return system_.sendCopyData(target.handle, sender, record, result, limit);
    const auto reply = callProcess(target.processId,
                                   request(kCopyData, target.handle)
                                       .u64(sender.value)
                                       .u64(record.code)
                                       .bytes(record.bytes)
                                       .u64(static_cast<std::uint64_t>(limit.count()))
                                       .data(),
                                   limit + kCallLimit);
    if (!reply)
        return false;
    wire::Reader reader(*reply);
    const bool delivered = reader.u8() == 1;
    const std::int64_t answer = reader.i64();
    if (!reader.ok() || !delivered)
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

wire::Bytes CrossProcessWindows::serve(const wire::Bytes& received) {
    wire::Reader reader(received);
    const auto operation = static_cast<Operation>(reader.u8());
    const HWND window{reader.u64()};
    wire::Writer reply;
    const auto flag = [&](bool value) { return reply.u8(value ? 1 : 0).data(); };
    if (!reader.ok())
        return flag(false);
    switch (operation) {
        case kIsWindow:
            return flag(system_.isWindow(window));
        case kFindChild: {
            const std::wstring title = reader.text();
            const HWND child = system_.findWindowEx(window, {}, L"", title);
            return reply.u64(system_.isWindow(window) ? child.value : 0).data();
        }
        case kClassName:
            return reply.text(system_.className(window)).data();
        case kWindowRect:
            return reply.rect(system_.windowRect(window)).data();
        case kParent: {
            const HWND above = system_.parent(window);
            std::lock_guard lock(mutex_);
            const auto it = proxied_.find(above);
            const RemoteWindow named = it != proxied_.end() ? it->second
                                       : above              ? local(above)
                                                            : RemoteWindow{};
            return reply.u32(named.processId).u64(named.handle.value).data();
        }
        case kSetWindowPos: {
            const Rect place = reader.rect();
            const UINT flags = reader.u32();
            return flag(reader.ok() && system_.setWindowPos(window, place.left, place.top,
                                                            place.right, place.bottom, flags));
        }
        case kInvalidate:
            return flag(system_.invalidate(window));
        case kSetRedraw: {
            const std::uint8_t redraw = reader.u8();
            return flag(reader.ok() && system_.isWindow(window) &&
                        system_.sendMessage(Message{window, WM_SETREDRAW, redraw, 0, nullptr},
                                            nullptr, WindowSystem::kDefaultSendLimit));
        }
        case kUserData:
            return reply.i64(system_.userData(window)).data();
        case kImage: {
            const imaging::Bitmap image = system_.image(window);
            const std::size_t size = image.stride() * static_cast<std::size_t>(image.height());
            // A picture too large for one record is not sent: the caller sees none.
            if (image.empty() || size + kImageRecordSlack > wire::kMaxRecord)
                return reply.u32(0).u32(0).bytes({}).data();
            return reply.u32(static_cast<std::uint32_t>(image.width()))
                .u32(static_cast<std::uint32_t>(image.height()))
                .bytes(wire::Bytes(image.row(0), image.row(0) + size))
                .data();
        }
        case kImageVersion:
            return reply.u64(system_.imageVersion(window)).data();
        case kPointer: {
            const UINT message = reader.u32();
            const WPARAM wParam = reader.u64();
            const auto x = static_cast<int>(reader.i64());
            const auto y = static_cast<int>(reader.i64());
            if (!reader.ok() || !system_.isWindow(window))
                return flag(false);
            // The deepest shown window at the point takes it, as a screen's pointer goes.
            HWND target = window;
            for (bool deeper = true; deeper;) {
                deeper = false;
                for (const HWND child : system_.children(target))
                    if (system_.isVisible(child) && holds(system_.windowRect(child), x, y)) {
                        target = child;
                        deeper = true;
                        break;
                    }
            }
            const Rect at = system_.windowRect(target);
            return flag(
                system_.postMessage(target, message, wParam, pointParam(x - at.left, y - at.top)));
        }
        case kSetUserData: {
            const std::int64_t value = reader.i64();
            return flag(reader.ok() &&
                        system_.setUserData(window, static_cast<std::intptr_t>(value)));
        }
        case kSetParentLocal: {
            const HWND newParent{reader.u64()};
            if (!reader.ok() || !system_.isWindow(window) ||
                (newParent && !system_.isWindow(newParent)))
                return flag(false);
            system_.setParent(window, newParent);
            return flag(true);
        }
        case kAdopt: {
            LRESULT adopted = 0;
            const bool answered = system_.sendMessage(
                Message{agent_, kAdoptMessage, 0, 0,
                        std::make_shared<const CopyData>(CopyData{0, received})},
                &adopted, WindowSystem::kDefaultSendLimit);
            return flag(answered && adopted == 1);
        }
        case kCopyData: {
            const HWND sender{reader.u64()};
            CopyData record;
            record.code = static_cast<std::uintptr_t>(reader.u64());
            record.bytes = reader.bytes();
            const std::chrono::milliseconds limit{static_cast<std::int64_t>(reader.u64())};
            LRESULT answer = 0;
            const bool delivered =
                reader.ok() &&
                system_.sendCopyData(window, sender, std::move(record), &answer,
                                     std::min(limit, WindowSystem::kDefaultSendLimit));
            return reply.u8(delivered ? 1 : 0).i64(answer).data();
        }
        case kStatus: {
            const bool exists = system_.isWindow(window);
            const HWND foreground = system_.foreground();
            const bool inFront =
                exists && foreground && system_.topLevel(foreground) == system_.topLevel(window);
            return reply.u8(exists ? 1 : 0)
                .rect(system_.windowRect(window))
                .u8(inFront ? 1 : 0)
                .data();
        }
    }
    return flag(false);
}

LRESULT CrossProcessWindows::adoptOnOwnThread(const wire::Bytes& received) {
    wire::Reader reader(received);
    reader.u8();
    const HWND child{reader.u64()};
    RemoteWindow foreign;
    foreign.processId = reader.u32();
    foreign.handle = HWND{reader.u64()};
    const std::wstring className = reader.text();
    const std::wstring title = reader.text();
    const Rect rect = reader.rect();
    if (!reader.ok() || !system_.isWindow(child) || !foreign)
        return 0;
    const HWND proxy = proxyFor(foreign, className, title, rect);
    if (!proxy)
        return 0;
    system_.setParent(child, proxy);
    return 1;
}

HWND CrossProcessWindows::proxyFor(RemoteWindow foreign, const std::wstring& className,
                                   const std::wstring& title, Rect rect) {
    {
        std::lock_guard lock(mutex_);
        const auto it = proxies_.find(foreign);
        if (it != proxies_.end() && system_.isWindow(it->second))
            return it->second;
    }
    auto proxy = std::make_shared<HWND>();
    const HWND made = system_.createWindow(
        {.className = className,
         .title = title,
         .rect = rect,
         .proc = [this, proxy](const Message& message) { return proxyProc(*proxy, message); }});
    if (!made)
        return {};
    *proxy = made;
    {
        std::lock_guard lock(mutex_);
        proxies_[foreign] = made;
        proxied_[made] = foreign;
    }
    system_.setTimer(made, kProxyTimer, kProxyCheck);
    return made;
}

LRESULT CrossProcessWindows::proxyProc(HWND proxy, const Message& message) {
    RemoteWindow foreign;
    {
        std::lock_guard lock(mutex_);
        const auto it = proxied_.find(proxy);
        if (it == proxied_.end())
            return 0;
        foreign = it->second;
        if (message.id == WM_DESTROY) {
            proxies_.erase(foreign);
            proxied_.erase(it);
            return 0;
        }
    }
    if (message.id == WM_COPYDATA && message.copyData) {
        LRESULT result = 0;
        sendCopyData(foreign, HWND{message.wParam}, *message.copyData, &result);
        return result;
    }
    if (message.id != WM_TIMER || message.wParam != kProxyTimer)
        return 0;
    const auto reply =
        callProcess(foreign.processId, request(kStatus, foreign.handle).data(), kCallLimit);
    // The reader keeps a reference: the bytes must outlive it.
    const wire::Bytes status = reply ? *reply : wire::Bytes{};
    wire::Reader reader(status);
    const bool exists = reader.u8() == 1;
    const Rect rect = reader.rect();
    const bool inFront = reader.u8() == 1;
    if (!reader.ok() || !exists || system_.children(proxy).empty()) {
        system_.destroyWindow(proxy);
        return 0;
    }
    if (system_.windowRect(proxy) != rect)
        system_.setWindowPos(proxy, rect.left, rect.top, rect.width(), rect.height(), SWP_NOZORDER);
    if (inFront && system_.topLevel(system_.foreground()) != proxy)
        system_.setForeground(proxy);
    return 0;
}

}  // namespace platform::ui
