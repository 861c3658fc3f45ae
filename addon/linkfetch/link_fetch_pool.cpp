#include "addon/linkfetch/link_fetch_pool.h"

#include <algorithm>

#include "addon/linkfetch/fetch_task.h"
#include "addon/linkfetch/fetched_page.h"
#include "addon/selection/settings.h"
#include "platform/dom/document.h"

namespace addon {

namespace {

void setInnerHtml(platform::dom::Document& document, const std::wstring& id,
                  const std::wstring& html) {
    if (auto element = document.getElementById(id))
        element->setInnerHTML(html);
}

struct Slot {
    std::unique_ptr<RequestTask> task;
    std::size_t position = 0;
};

}  // namespace

LinkFetchSettings LinkFetchSettings::read() {
    LinkFetchSettings settings;
    settings.number = std::max(0, readUserSetting(L"\\Request\\Number", 2));
    settings.retries = std::max(1, readUserSetting(L"\\Request\\Retry", 3));
    settings.timeout =
        std::chrono::seconds(std::max(1, readUserSetting(L"\\Request\\Timeout", 20)));
    return settings;
}

GrabLinksThread::GrabLinksThread(std::vector<std::wstring> links,
                                 const std::shared_ptr<platform::dom::Document>& document)
    : GrabLinksThread(std::move(links), document, LinkFetchSettings::read()) {}

GrabLinksThread::GrabLinksThread(std::vector<std::wstring> links,
                                 const std::shared_ptr<platform::dom::Document>& document,
                                 const LinkFetchSettings& settings)
    : settings_(settings), links_(std::move(links)), document_(document->proxy()) {
    resume();
}

GrabLinksThread::~GrabLinksThread() {
    stopAndJoin();
}

std::uint32_t GrabLinksThread::threadProc(GrabLinksThread* self) {
    self->run();
    return 0;
}

void GrabLinksThread::run() {
    if (!sleepUnlessStopped(kStartDelay))
        return;
    const std::size_t poolSize =
        std::min<std::size_t>(std::max(0, settings_.number), links_.size());
    std::vector<Slot> slots(poolSize);
    std::size_t next = 0;
    while (!slots.empty()) {
        int alive = 0;
        for (Slot& slot : slots) {
            if (slot.task && slot.task->status() != kFetchRunning) {
                writeResult(slot.position, slot.task->status() == kFetchDone, slot.task->response(),
                            slot.task->pageUrl());
                slot.task.reset();
            }
            if (stopRequested())
                return;
            // A link that may not be fetched fails at once without taking a slot.
            while (!slot.task && next < links_.size() && !isFetchableLink(links_[next]))
                writeResult(next++, false, L"", L"");
            if (!slot.task && next < links_.size()) {
                slot.task = std::make_unique<RequestTask>(links_[next], settings_.timeout,
                                                          settings_.retries);
                slot.position = next++;
            }
            alive += slot.task ? 1 : 0;
        }
        peakTasks_.store(std::max(peakTasks_.load(), alive));
        if (alive == 0 || !sleepUnlessStopped(kPassInterval))
            break;
    }
}

void GrabLinksThread::writeResult(std::size_t position, bool fetched, const std::wstring& response,
                                  const std::wstring& pageUrl) const {
    FetchedPage page;
    if (fetched) {
        auto read = readFetchedPage(response, pageUrl, [this] { return stopRequested(); });
        if (!read)
            return;
        page = std::move(*read);
    }
    const LinkResultMarkup markup = linkResultMarkup(links_[position], fetched, page);
    const std::wstring number = std::to_wstring(position);
    document_.post([markup, number](platform::dom::Document& document) {
        if (!markup.header.empty())
            setInnerHtml(document, L"readable_header_" + number, markup.header);
        setInnerHtml(document, L"readable_content_" + number, markup.content);
    });
}

std::unique_ptr<common::CThreadT<1>> startGrabLinksWorker(
    std::shared_ptr<platform::dom::Document> document, std::vector<common::StringPair> links) {
    std::vector<std::wstring> addresses;
    addresses.reserve(links.size());
    for (auto& link : links)
        addresses.push_back(std::move(link.value));
    return std::make_unique<GrabLinksThread>(std::move(addresses), document);
}

}  // namespace addon
