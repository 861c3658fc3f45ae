#include <gtest/gtest.h>

#include "host/browser/navigation_history.h"

using host::browser::NavigationHistory;

TEST(NavigationHistory, BackForwardAndANewAddressDropsWhatWasAhead) {
    NavigationHistory history;
    EXPECT_FALSE(history.canGoBack());
    EXPECT_EQ(history.back(), std::nullopt);
    history.visited(L"a");
    history.visited(L"b");
    history.visited(L"b");  // a reload is no new step
    history.visited(L"c");
    EXPECT_EQ(history.back(), L"b");
    history.moved(-1);
    history.moved(-1);
    EXPECT_EQ(history.current(), L"a");
    EXPECT_FALSE(history.canGoBack());
    EXPECT_EQ(history.forward(), L"b");
    history.moved(-1);  // past the start: stays
    EXPECT_EQ(history.current(), L"a");
    history.moved(1);
    history.visited(L"d");
    EXPECT_EQ(history.current(), L"d");
    EXPECT_FALSE(history.canGoForward());
    EXPECT_EQ(history.back(), L"b");
}
