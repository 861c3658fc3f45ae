// The base of every worker that owns one background thread.
//
// Contract: `CThreadImpl<T>` runs `static std::uint32_t T::threadProc(T*)` on its own thread.
// The thread is created only by `resume()`, which a worker calls at the end of its own
// constructor (to start at once) or leaves to its owner (to start later), so the procedure
// never sees a half-built object. Destruction requests a stop, wakes any wait of the thread
// and joins it: no thread outlives its object. A worker whose procedure touches members of
// `T` calls `stopAndJoin()` first in its own destructor, before those members go away.
// The procedure checks `stopRequested()` or waits with `sleepUnlessStopped`, which returns
// at once when a stop is requested. The procedure never destroys its own object; every other
// method may be called from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace common {

template <int Version>
class CThreadT;

template <>
class CThreadT<1> {
  public:
    CThreadT() = default;
    CThreadT(const CThreadT&) = delete;
    CThreadT& operator=(const CThreadT&) = delete;
    virtual ~CThreadT();

    // Process-unique identifier of the thread; 0 until a thread is created.
    std::uint32_t threadId() const;
    bool hasThread() const;
    // A thread was created and its procedure has not returned yet.
    bool isRunning() const;
    // The procedure's return value once it has ended; 0 before.
    std::uint32_t exitStatus() const;

    // Asks the procedure to end and wakes its interruptible waits. Does not wait.
    void requestStop();
    bool stopRequested() const;
    // Waits up to `limit` for the procedure to end; true when it has ended or never started.
    bool waitForEnd(std::chrono::milliseconds limit) const;
    // Requests a stop and joins the thread. Safe to call more than once.
    void stopAndJoin();

  protected:
    // Creates the thread running `procedure`; false when a thread was created before.
    bool launch(std::function<std::uint32_t()> procedure);
    // Sleeps up to `limit`; false when a stop was requested (before or during the wait).
    bool sleepUnlessStopped(std::chrono::milliseconds limit) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::thread thread_;
    std::uint32_t id_ = 0;
    bool running_ = false;
    bool stopRequested_ = false;
    std::uint32_t status_ = 0;
};

template <class T>
class CThreadImpl : public CThreadT<1> {
  public:
    // Creates the thread and starts T::threadProc with the object; false when already started.
    bool resume() {
        return launch([this] { return T::threadProc(static_cast<T*>(this)); });
    }

  protected:
    CThreadImpl() = default;
    ~CThreadImpl() override { stopAndJoin(); }
};

}  // namespace common
