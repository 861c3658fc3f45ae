#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

// A name asked with from an address that later holds another name gets that other name's
// number, not the one last given for the address.
TEST(PropertyIds, NumbersNamesByWhatTheySayNotWhereTheyStand) {
    PropertyIds ids;
    char buffer[16] = "color";
    const std::uint32_t colour = ids.idOf(static_cast<const char*>(buffer));
    EXPECT_EQ(ids.idOf(static_cast<const char*>(buffer)), colour);
    std::strcpy(buffer, "font-size");
    const std::uint32_t size = ids.idOf(static_cast<const char*>(buffer));
    EXPECT_NE(size, colour);
    EXPECT_EQ(ids.idOf(std::string_view("font-size")), size);
    const std::string elsewhere = "color";
    EXPECT_EQ(ids.idOf(elsewhere.c_str()), colour);
    std::strcpy(buffer, "color");
    EXPECT_EQ(ids.idOf(static_cast<const char*>(buffer)), colour);
    EXPECT_EQ(ids.count(), 2u);
}

}  // namespace
}  // namespace platform::dom
