#include "platform/ui/gtk/modal_loop.h"

#include <glib.h>

#include <condition_variable>
#include <mutex>

namespace platform::ui::gtk {

namespace {

gboolean wake(gpointer) {
    return G_SOURCE_CONTINUE;
}

bool leaving = false;

std::thread::id& gtkThread() {
    static std::thread::id id;
    return id;
}

}  // namespace

void leaveModalLoops() {
    leaving = true;
}

bool leavingModalLoops() {
    return leaving;
}

void bindGtkThread() {
    gtkThread() = std::this_thread::get_id();
}

bool isGtkThread() {
    return std::this_thread::get_id() == gtkThread();
}

void runUntil(const std::function<bool()>& done) {
    // A periodic source makes each iteration return in time to look at `done` again.
    const guint waker = g_timeout_add(static_cast<guint>(kCheckPeriod.count()), &wake, nullptr);
    while (!done() && !leaving) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_source_remove(waker);
}

void onGtkThread(const std::function<void()>& work) {
    if (isGtkThread()) {
        work();
        return;
    }
    GMainContext* context = g_main_context_default();
    struct Call {
        const std::function<void()>* work;
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
    } call{&work, {}, {}, false};
    g_main_context_invoke(
        context,
        [](gpointer data) -> gboolean {
            auto* call = static_cast<Call*>(data);
            (*call->work)();
            std::lock_guard lock(call->mutex);
            call->done = true;
            call->finished.notify_all();
            return G_SOURCE_REMOVE;
        },
        &call);
    std::unique_lock lock(call.mutex);
    call.finished.wait(lock, [&] { return call.done; });
}

}  // namespace platform::ui::gtk
