// How other threads reach a document: they post work through a proxy, and the document's
// own thread runs it when it pumps its queue (tests pump by hand; a host pumps from its
// message loop).
//
// Contract: `DocumentProxy` is copyable and may be used on any thread; `post` returns
// false once the document is gone (the work is then dropped, never run). Tasks run only
// inside `Document::pumpTasks`, on the document's thread, in the order they were posted.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace platform::dom {

class Document;

class TaskQueue {
  public:
    // False once the queue is closed.
    bool post(std::function<void()> task);
    // Runs the tasks posted before the call (not those they post); returns their number.
    std::size_t runPending();
    // Drops queued tasks and refuses new ones.
    void close();

  private:
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    bool closed_ = false;
};

class DocumentProxy {
  public:
    DocumentProxy(std::weak_ptr<Document> document, std::shared_ptr<TaskQueue> queue)
        : document_(std::move(document)), queue_(std::move(queue)) {}

    bool post(std::function<void(Document&)> task) const;

  private:
    std::weak_ptr<Document> document_;
    std::shared_ptr<TaskQueue> queue_;
};

}  // namespace platform::dom
