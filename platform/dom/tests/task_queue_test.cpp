#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/dom/document.h"
#include "platform/dom/task_queue.h"

namespace platform::dom {
namespace {

TEST(DocumentThreads, OtherThreadsPostAndTheOwnerRunsInOrder) {
    auto document = Document::parse(L"<div id=log></div>");
    DocumentProxy proxy = document->proxy();
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([proxy, w] {
            for (int i = 0; i < 25; ++i)
                EXPECT_TRUE(proxy.post([w, i](Document& d) {
                    EXPECT_TRUE(d.isOwnerThread());
                    auto log = d.getElementById(L"log");
                    log->insertAdjacentHTML(L"beforeEnd",
                                            L"<i>" + std::to_wstring(w * 100 + i) + L"</i>");
                }));
        });
    for (auto& worker : workers)
        worker.join();
    // Nothing runs until the owner pumps.
    EXPECT_TRUE(document->getElementById(L"log")->children().empty());
    EXPECT_EQ(document->pumpTasks(), 100u);
    auto items = document->getElementById(L"log")->children();
    ASSERT_EQ(items.size(), 100u);
    // Each worker's tasks keep their order.
    std::vector<int> lastOf(4, -1);
    for (const auto& item : items) {
        int value = std::stoi(item->innerText());
        EXPECT_GT(value % 100, lastOf[value / 100]);
        lastOf[value / 100] = value % 100;
    }
    EXPECT_EQ(document->pumpTasks(), 0u);
}

TEST(DocumentThreads, TasksPostedWhilePumpingWaitForTheNextPump) {
    auto document = Document::create();
    int runs = 0;
    DocumentProxy proxy = document->proxy();
    proxy.post([&](Document&) {
        ++runs;
        proxy.post([&](Document&) { ++runs; });
    });
    EXPECT_EQ(document->pumpTasks(), 1u);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(document->pumpTasks(), 1u);
    EXPECT_EQ(runs, 2);
}

TEST(DocumentThreads, PumpingOffTheOwnerThreadFailsAndAGoneDocumentRefusesWork) {
    auto document = Document::create();
    bool threw = false;
    std::thread([&] {
        try {
            document->pumpTasks();
        } catch (const std::logic_error&) {
            threw = true;
        }
    }).join();
    EXPECT_TRUE(threw);
    DocumentProxy proxy = document->proxy();
    bool ran = false;
    EXPECT_TRUE(proxy.post([&](Document&) { ran = true; }));
    document.reset();
    EXPECT_FALSE(proxy.post([&](Document&) { ran = true; }));
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace platform::dom
