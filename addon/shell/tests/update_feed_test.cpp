#include "addon/shell/update_feed.h"

#include <gtest/gtest.h>

#include "common/xml/xml_document.h"

namespace {

TEST(UpdateFeed, ReadsTheNewestEntriesOfALongFeedAndNoMore) {
    std::wstring text = L"<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Releases</title>";
    for (int i = 0; i < 250; ++i) {
        text += L"<entry><id>2." + std::to_wstring(i) + L"</id><link href=\"http://x/" +
                std::to_wstring(i) + L"\"/><updated>u</updated></entry>";
    }
    text += L"</feed>";
    const common::CXMLDOMDocument2 feed = common::CXMLDOMDocument2::Create();
    ASSERT_TRUE(feed.LoadXML(text));
    const auto entries = addon::readUpdateFeed(feed);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), addon::kMaxFeedEntries);
    EXPECT_EQ(entries->front().id, L"2.0");
    EXPECT_EQ(entries->front().link, L"http://x/0");
    EXPECT_EQ(entries->back().id, L"2.99");

    ASSERT_TRUE(feed.LoadXML(L"<rss><entry><id>1</id></entry></rss>"));
    EXPECT_FALSE(addon::readUpdateFeed(feed).has_value());
}

}  // namespace
