#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/text_runs.h"

namespace platform::dom {
namespace {

std::vector<std::uint32_t> beginsOf(std::span<const TextRun> runs) {
    std::vector<std::uint32_t> begins;
    for (const TextRun& run : runs)
        begins.push_back(run.begin);
    return begins;
}

TextRun runAt(std::uint32_t begin) {
    return {begin, begin + 1, {0, 0, 1, 1}, 0};
}

// Nodes are added in the page's order, which is not the order of their addresses: each
// finds exactly its own runs, the first and the last node included, and a node with none
// finds nothing, before and after more runs are added.
TEST(TextRuns, EachNodeFindsItsOwnRunsWhateverTheAddresses) {
    const auto document = Document::create();
    std::vector<std::shared_ptr<Text>> nodes;
    for (int i = 0; i < 5; ++i)
        nodes.push_back(document->createTextNode(L"text"));
    TextRuns runs;
    runs.reset(2);
    runs.add(nodes[3].get(), runAt(0));
    runs.add(nodes[3].get(), runAt(1));
    runs.add(nodes[0].get(), runAt(2));
    runs.add(nodes[4].get(), runAt(3));
    runs.add(nodes[4].get(), runAt(4));
    runs.add(nodes[4].get(), runAt(5));
    EXPECT_EQ(beginsOf(runs.of(*nodes[3])), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(beginsOf(runs.of(*nodes[0])), (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(beginsOf(runs.of(*nodes[4])), (std::vector<std::uint32_t>{3, 4, 5}));
    EXPECT_TRUE(runs.of(*nodes[1]).empty());

    runs.add(nodes[1].get(), runAt(6));
    EXPECT_EQ(beginsOf(runs.of(*nodes[1])), (std::vector<std::uint32_t>{6}));
    EXPECT_EQ(beginsOf(runs.of(*nodes[4])), (std::vector<std::uint32_t>{3, 4, 5}));
    EXPECT_TRUE(runs.of(*nodes[2]).empty());

    runs.reset(0);
    EXPECT_TRUE(runs.of(*nodes[3]).empty());
}

}  // namespace
}  // namespace platform::dom
