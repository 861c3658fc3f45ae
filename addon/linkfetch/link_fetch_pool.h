// The worker of a link-grab page: fetches the linked pages through a pool of at most
// "Request\Number" fetch tasks (fetch_task.h) and writes each result into the page's
// placeholders "readable_header_<i>" and "readable_content_<i>" as it arrives.
//
// The thread starts 100 ms after construction and then makes a pass every 500 ms: a slot
// whose task has ended has its result written and is emptied; an empty slot takes the next
// link in list order. It ends when no link is left and every slot is empty, at once for a
// pool of size 0. Each result goes to the placeholder of the link's own position.
//
// Contract: created on the page's thread with the page; the worker never touches the page
// itself, it posts each write through the document's proxy, so the writes happen inside
// Document::pumpTasks on the page's own thread (and are dropped once the page is gone).
// A missing placeholder element is skipped. Destruction (or stopAndJoin) stops the worker
// cooperatively: the tasks in flight are cancelled and joined, a fetched page being read
// is dropped at its next step (each page is parsed once), and it returns within about the
// cancel time of one request or one step. Settings are read once, when the object is
// constructed.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "common/thread/thread.h"
#include "common/util/string_pair.h"
#include "platform/dom/task_queue.h"

namespace platform::dom {
class Document;
}

namespace addon {

struct LinkFetchSettings {
    // "\Request\Number": fetches at once (negative counts as 0).
    int number = 2;
    // "\Request\Retry": tries per link (at least 1).
    int retries = 3;
    // "\Request\Timeout" in seconds: the time limit of each try (at least 1 s).
    std::chrono::milliseconds timeout{20000};

    // The values under "Software\Olvan\Tamrix" of the current user, never written back.
    static LinkFetchSettings read();
};

class GrabLinksThread : public common::CThreadImpl<GrabLinksThread> {
  public:
    static constexpr std::chrono::milliseconds kStartDelay{100};
    static constexpr std::chrono::milliseconds kPassInterval{500};

    // Reads the settings and starts.
    GrabLinksThread(std::vector<std::wstring> links,
                    const std::shared_ptr<platform::dom::Document>& document);
    GrabLinksThread(std::vector<std::wstring> links,
                    const std::shared_ptr<platform::dom::Document>& document,
                    const LinkFetchSettings& settings);
    ~GrabLinksThread() override;

    // The most fetch tasks that were alive at one time so far.
    int peakTasks() const { return peakTasks_.load(); }

    static std::uint32_t threadProc(GrabLinksThread* self);

  private:
    void run();
    // `pageUrl`: where the response came from, which its relative links resolve against.
    void writeResult(std::size_t position, bool fetched, const std::wstring& response,
                     const std::wstring& pageUrl) const;

    LinkFetchSettings settings_;
    std::vector<std::wstring> links_;
    platform::dom::DocumentProxy document_;
    std::atomic<int> peakTasks_{0};
};

// The worker of GrabLinksCommand: fetches the addresses of `links` ({title, address}) into
// `document`.
std::unique_ptr<common::CThreadT<1>> startGrabLinksWorker(
    std::shared_ptr<platform::dom::Document> document, std::vector<common::StringPair> links);

}  // namespace addon
