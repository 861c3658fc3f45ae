#include <algorithm>

#include "platform/ui/window_system_impl.h"

namespace platform::ui {

namespace {

void eraseHandle(std::vector<HWND>& list, HWND window) {
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

bool matches(const WindowRecord& record, const std::wstring& className, const std::wstring& title) {
    return (className.empty() || record.className == className) &&
           (title.empty() || record.title == title);
}

}  // namespace

WindowSystem::WindowSystem() : impl_(std::make_unique<Impl>()) {}

WindowSystem::~WindowSystem() = default;

WindowSystem& WindowSystem::instance() {
    static WindowSystem system;
    return system;
}

WindowSystem& windows() {
    return WindowSystem::instance();
}

void WindowSystem::reset() {
    std::lock_guard lock(impl_->mutex);
    impl_->windows.clear();
    impl_->topLevel.clear();
    impl_->queues.clear();
    impl_->timers.clear();
    impl_->clock = std::make_shared<SteadyClock>();
    impl_->foreground = impl_->active = impl_->focus = HWND{};
}

void WindowSystem::setClock(std::shared_ptr<Clock> clock) {
    std::lock_guard lock(impl_->mutex);
    impl_->clock = std::move(clock);
}

std::shared_ptr<Clock> WindowSystem::clock() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->clock;
}

std::uint64_t WindowSystem::tickCount() const {
    return static_cast<std::uint64_t>(clock()->now().count());
}

HWND WindowSystem::createWindow(WindowSpec spec) {
    HWND window;
    {
        std::lock_guard lock(impl_->mutex);
        if (spec.parent && !impl_->find(spec.parent))
            return {};
        window = HWND{impl_->nextHandle++};
        WindowRecord record;
        record.className = std::move(spec.className);
        record.title = std::move(spec.title);
        record.parent = spec.parent;
        record.owner = impl_->find(spec.owner) ? spec.owner : HWND{};
        record.rect = spec.rect;
        record.visible = spec.visible;
        record.enabled = spec.enabled;
        record.controlId = spec.controlId;
        record.control = std::move(spec.control);
        record.thread = std::this_thread::get_id();
        record.proc = std::make_shared<WindowProc>(std::move(spec.proc));
        auto& siblings = spec.parent ? impl_->windows.at(spec.parent).children : impl_->topLevel;
        siblings.push_back(window);
        impl_->windows.emplace(window, std::move(record));
        impl_->imageTouched(window);
    }
    send(window, WM_CREATE);
    return window;
}

bool WindowSystem::destroyWindow(HWND window) {
    // Collect the subtree first (window, then children and owned windows), so the
    // procedures can run without the lock.
    std::vector<HWND> doomed;
    {
        std::lock_guard lock(impl_->mutex);
        if (!impl_->find(window))
            return false;
        doomed.push_back(window);
        for (std::size_t i = 0; i < doomed.size(); ++i) {
            const auto& record = impl_->windows.at(doomed[i]);
            doomed.insert(doomed.end(), record.children.begin(), record.children.end());
            for (const auto& [handle, other] : impl_->windows)
                if (other.owner == doomed[i] && !other.parent)
                    doomed.push_back(handle);
        }
    }
    for (HWND each : doomed)
        send(each, WM_DESTROY);
    std::lock_guard lock(impl_->mutex);
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        WindowRecord* record = impl_->find(*it);
        if (!record)
            continue;
        if (record->parent && impl_->find(record->parent)) {
            eraseHandle(impl_->windows.at(record->parent).children, *it);
            impl_->imageTouched(record->parent);
        }
        eraseHandle(impl_->topLevel, *it);
        impl_->windows.erase(*it);
        std::erase_if(impl_->timers, [&](const Timer& timer) { return timer.window == *it; });
        for (auto& [thread, queue] : impl_->queues)
            std::erase_if(queue.posted, [&](const Message& m) { return m.window == *it; });
        for (HWND* slot : {&impl_->foreground, &impl_->active, &impl_->focus})
            if (*slot == *it)
                *slot = HWND{};
    }
    return true;
}

bool WindowSystem::isWindow(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->find(window) != nullptr;
}

void WindowSystem::setProc(HWND window, WindowProc proc) {
    std::lock_guard lock(impl_->mutex);
    if (WindowRecord* record = impl_->find(window))
        record->proc = std::make_shared<WindowProc>(std::move(proc));
}

WindowProc WindowSystem::proc(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record && record->proc ? *record->proc : WindowProc{};
}

std::wstring WindowSystem::className(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->className : std::wstring{};
}

std::wstring WindowSystem::text(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->title : std::wstring{};
}

bool WindowSystem::setText(HWND window, std::wstring text) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    record->title = std::move(text);
    return true;
}

int WindowSystem::controlId(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->controlId : 0;
}

std::uint32_t WindowSystem::processId(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->processId : 0;
}

std::thread::id WindowSystem::threadOf(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->thread : std::thread::id{};
}

HWND WindowSystem::parent(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->parent : HWND{};
}

HWND WindowSystem::owner(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->owner : HWND{};
}

HWND WindowSystem::setParent(HWND window, HWND newParent) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record || (newParent && !impl_->find(newParent)))
        return {};
    for (HWND up = newParent; up; up = impl_->windows.at(up).parent)
        if (up == window)
            return {};  // would make a cycle
    const HWND former = record->parent;
    eraseHandle(impl_->siblingsOf(*record), window);
    record->parent = newParent;
    auto& siblings = impl_->siblingsOf(*record);
    siblings.insert(siblings.begin(), window);
    impl_->imageTouched(former);
    impl_->imageTouched(window);
    return former;
}

std::vector<HWND> WindowSystem::children(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->children : std::vector<HWND>{};
}

std::vector<HWND> WindowSystem::topLevelWindows() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->topLevel;
}

HWND WindowSystem::topLevel(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    if (!record)
        return {};
    while (record->parent) {
        window = record->parent;
        record = impl_->find(window);
    }
    return window;
}

HWND WindowSystem::findWindowEx(HWND parent, HWND after, const std::wstring& className,
                                const std::wstring& title) const {
    std::lock_guard lock(impl_->mutex);
    const std::vector<HWND>* list = &impl_->topLevel;
    if (parent) {
        const WindowRecord* record = impl_->find(parent);
        if (!record)
            return {};
        list = &record->children;
    }
    auto it = list->begin();
    if (after) {
        it = std::find(list->begin(), list->end(), after);
        if (it == list->end())
            return {};
        ++it;
    }
    for (; it != list->end(); ++it)
        if (matches(impl_->windows.at(*it), className, title))
            return *it;
    return {};
}

HWND WindowSystem::findWindow(const std::wstring& className, const std::wstring& title) const {
    return findWindowEx({}, {}, className, title);
}

HWND WindowSystem::childById(HWND parent, int controlId) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(parent);
    if (!record)
        return {};
    for (HWND child : record->children)
        if (impl_->windows.at(child).controlId == controlId)
            return child;
    return {};
}

Rect WindowSystem::windowRect(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    if (!record)
        return {};
    Rect rect = record->rect;
    for (const WindowRecord* up = impl_->find(record->parent); up; up = impl_->find(up->parent))
        rect = rect.offset(up->rect.left, up->rect.top);
    return rect;
}

Rect WindowSystem::placement(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->rect : Rect{};
}

Rect WindowSystem::clientRect(HWND window) const {
    const Rect rect = placement(window);
    return {0, 0, rect.width(), rect.height()};
}

bool WindowSystem::setWindowPos(HWND window, int x, int y, int width, int height, UINT flags) {
    Rect rect;
    bool ownThread = false;
    {
        std::lock_guard lock(impl_->mutex);
        const WindowRecord* record = impl_->find(window);
        if (!record)
            return false;
        rect = record->rect;
        if (!(flags & SWP_NOMOVE))
            rect = rect.offset(x - rect.left, y - rect.top);
        if (!(flags & SWP_NOSIZE)) {
            rect.right = rect.left + std::max(0, width);
            rect.bottom = rect.top + std::max(0, height);
        }
        ownThread = rect != record->rect && record->thread == std::this_thread::get_id();
    }
    if (ownThread)
        send(window, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&rect));
    bool resized = false;
    {
        std::lock_guard lock(impl_->mutex);
        WindowRecord* record = impl_->find(window);
        if (!record)
            return false;
        resized = rect.width() != record->rect.width() || rect.height() != record->rect.height();
        if (rect != record->rect || !(flags & SWP_NOZORDER))
            impl_->imageTouched(window);
        record->rect = rect;
        if (!(flags & SWP_NOZORDER)) {
            auto& siblings = impl_->siblingsOf(*record);
            eraseHandle(siblings, window);
            siblings.insert(siblings.begin(), window);
        }
    }
    if (resized)
        send(window, WM_SIZE, 0,
             static_cast<LPARAM>(makeWParam(static_cast<unsigned>(rect.width()),
                                            static_cast<unsigned>(rect.height()))));
    return true;
}

bool WindowSystem::show(HWND window, bool visible) {
    bool was = false;
    bool ownThread = false;
    {
        std::lock_guard lock(impl_->mutex);
        WindowRecord* record = impl_->find(window);
        if (!record)
            return false;
        was = record->visible;
        record->visible = visible;
        if (was != visible)
            impl_->imageTouched(window);
        ownThread = record->thread == std::this_thread::get_id();
    }
    if (was != visible) {
        if (ownThread)
            send(window, WM_SHOWWINDOW, visible ? 1 : 0);
        else
            postMessage(window, WM_SHOWWINDOW, visible ? 1 : 0);
    }
    return was;
}

bool WindowSystem::isVisible(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    for (; record; record = impl_->find(record->parent))
        if (!record->visible)
            return false;
    return true;
}

bool WindowSystem::enable(HWND window, bool enabled) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    const bool wasDisabled = !record->enabled;
    record->enabled = enabled;
    return wasDisabled;
}

bool WindowSystem::isEnabled(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record && record->enabled;
}

bool WindowSystem::invalidate(HWND window) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    record->needsPaint = true;
    impl_->changed.notify_all();
    return true;
}

std::intptr_t WindowSystem::userData(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->userData : 0;
}

bool WindowSystem::setUserData(HWND window, std::intptr_t value) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    record->userData = value;
    return true;
}

std::optional<ControlState> WindowSystem::control(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    if (!record)
        return std::nullopt;
    return record->control;
}

bool WindowSystem::updateControl(HWND window, const std::function<void(ControlState&)>& change) {
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    change(record->control);
    return true;
}

HWND WindowSystem::foreground() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->foreground;
}

bool WindowSystem::setForeground(HWND window) {
    const HWND top = topLevel(window);
    std::shared_ptr<std::function<void(HWND)>> observer;
    {
        std::lock_guard lock(impl_->mutex);
        if (!top)
            return false;
        impl_->foreground = top;
        auto& list = impl_->topLevel;
        eraseHandle(list, top);
        list.insert(list.begin(), top);
        observer = impl_->foregroundObserver;
    }
    if (observer && *observer)
        (*observer)(top);
    return true;
}

void WindowSystem::observeForeground(const void* owner, std::function<void(HWND)> observer) {
    std::lock_guard lock(impl_->mutex);
    impl_->foregroundOwner = owner;
    impl_->foregroundObserver = std::make_shared<std::function<void(HWND)>>(std::move(observer));
}

void WindowSystem::stopObservingForeground(const void* owner) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->foregroundOwner != owner)
        return;
    impl_->foregroundOwner = nullptr;
    impl_->foregroundObserver.reset();
}

HWND WindowSystem::active() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->active;
}

void WindowSystem::setActive(HWND window) {
    std::lock_guard lock(impl_->mutex);
    impl_->active = impl_->find(window) ? window : HWND{};
}

HWND WindowSystem::focus() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->focus;
}

void WindowSystem::setFocus(HWND window) {
    std::lock_guard lock(impl_->mutex);
    impl_->focus = impl_->find(window) ? window : HWND{};
}

void centerWindow(HWND window, HWND reference) {
    WindowSystem& system = windows();
    if (!reference)
        reference = system.parent(window);
    if (!reference)
        reference = system.owner(window);
    const Rect outer = reference ? system.windowRect(reference) : WindowSystem::kScreen;
    const Rect own = system.windowRect(window);
    int x = outer.left + (outer.width() - own.width()) / 2;
    int y = outer.top + (outer.height() - own.height()) / 2;
    if (const HWND parent = system.parent(window)) {
        const Rect origin = system.windowRect(parent);
        x -= origin.left;
        y -= origin.top;
    }
    system.setWindowPos(window, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace platform::ui
