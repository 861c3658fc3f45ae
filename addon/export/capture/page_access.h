// How a capture reaches the page it pictures. A page belongs to its user-interface thread;
// a worker reaches it only by handing work to that thread and waiting for it to run.
//
//   DirectPageAccess   the caller is on the page's thread: work runs at once.
//   ProxiedPageAccess  work is posted through the page's proxy and runs when the page's
//                      thread pumps its tasks; the caller waits for it, at most the time
//                      limit, and gives up early when its stop flag is raised (work that
//                      must run, such as putting the page back, waits for its limit even
//                      then).
//
// Contract: run() returns true when the work ran, false when it did not and never will
// (page gone, stop raised, time limit passed) or ended with an exception, which stays on
// the page's thread; work given up is never run later, so it may refer to the caller's
// locals. A ProxiedPageAccess is used by one thread at a time.
#pragma once

#include <chrono>
#include <functional>

#include "platform/dom/document.h"
#include "platform/dom/task_queue.h"

namespace addon {

using PageWork = std::function<void(platform::dom::Document&)>;

class PageAccess {
  public:
    virtual ~PageAccess() = default;
    // `evenWhenStopped`: work that must run even after the stop flag was raised.
    virtual bool run(const PageWork& work, bool evenWhenStopped = false) = 0;
};

class DirectPageAccess final : public PageAccess {
  public:
    explicit DirectPageAccess(platform::dom::Document& page) : page_(page) {}
    bool run(const PageWork& work, bool evenWhenStopped = false) override;

  private:
    platform::dom::Document& page_;
};

class ProxiedPageAccess final : public PageAccess {
  public:
    static constexpr std::chrono::milliseconds kTimeLimit{30000};

    // `stopped` is asked while waiting; it must be callable from the caller's thread.
    ProxiedPageAccess(platform::dom::DocumentProxy page, std::function<bool()> stopped,
                      std::chrono::milliseconds limit = kTimeLimit)
        : page_(std::move(page)), stopped_(std::move(stopped)), limit_(limit) {}
    bool run(const PageWork& work, bool evenWhenStopped = false) override;

  private:
    platform::dom::DocumentProxy page_;
    std::function<bool()> stopped_;
    std::chrono::milliseconds limit_;
};

}  // namespace addon
