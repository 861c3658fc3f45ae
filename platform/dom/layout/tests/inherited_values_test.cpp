#include <gtest/gtest.h>

#include "platform/dom/layout/inherited_values.h"

namespace platform::dom {
namespace {

// An answer of "not set anywhere" (null) is remembered as an answer, apart from a property
// never asked about; forgetting drops every answer; numbers past the limit are answered
// afresh each time.
TEST(InheritedValues, RemembersAnswersNullOnesIncludedUntilForgotten) {
    PropertyIds ids;
    const std::uint32_t colour = ids.idOf("color");
    const std::uint32_t font = ids.idOf("font-family");
    EXPECT_EQ(ids.idOf("color"), colour);
    EXPECT_EQ(ids.count(), 2u);

    InheritedValues values;
    const char* value = "unchanged";
    EXPECT_FALSE(values.find(colour, value));
    const char red[] = "red";
    values.remember(colour, red, ids.count());
    values.remember(font, nullptr, ids.count());
    ASSERT_TRUE(values.find(colour, value));
    EXPECT_EQ(value, red);
    value = "unchanged";
    ASSERT_TRUE(values.find(font, value));
    EXPECT_EQ(value, nullptr);
    EXPECT_FALSE(values.find(ids.idOf("white-space"), value));

    values.forget();
    EXPECT_FALSE(values.find(colour, value));
    EXPECT_FALSE(values.find(font, value));

    values.remember(InheritedValues::kMaxRemembered, red, InheritedValues::kMaxRemembered + 1);
    EXPECT_FALSE(values.find(InheritedValues::kMaxRemembered, value));
    values.remember(InheritedValues::kMaxRemembered - 1, red, InheritedValues::kMaxRemembered + 1);
    ASSERT_TRUE(values.find(InheritedValues::kMaxRemembered - 1, value));
    EXPECT_EQ(value, red);
}

}  // namespace
}  // namespace platform::dom
