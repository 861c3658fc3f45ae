#include <gtest/gtest.h>

#include "common/util/file_name_rule.h"
#include "platform/text/utf.h"

using common::fileNameFromTitle;

TEST(FileNameRule, ReservedAndControlCharactersBecomeSpacesAndEndsAreTrimmed) {
    EXPECT_EQ(fileNameFromTitle(L"*?<>|:\""), L"_") << "nothing but reserved characters";
    EXPECT_EQ(fileNameFromTitle(L"*?<>|:\"", L"page"), L"page");
    EXPECT_EQ(fileNameFromTitle(L"  What? \"Now\" <a|b>: x/y\\z*..."), L"What   Now   a b   x y z");
    EXPECT_EQ(fileNameFromTitle(L"line\none\ttwo\x7f"), L"line one two");
    EXPECT_EQ(fileNameFromTitle(L"../../etc/passwd"), L"etc passwd");
    EXPECT_EQ(fileNameFromTitle(L".hidden"), L"hidden");
    EXPECT_EQ(fileNameFromTitle(L". . ."), L"_");
    EXPECT_EQ(fileNameFromTitle(L"", L""), L"");
    EXPECT_EQ(fileNameFromTitle(L"Seite \u00fcber K\u00f6ln"), L"Seite \u00fcber K\u00f6ln");
}

TEST(FileNameRule, BidirectionalControlsAreDropped) {
    EXPECT_EQ(fileNameFromTitle(L"report\u202Efdp.exe"), L"reportfdp.exe");
    EXPECT_EQ(fileNameFromTitle(L"\u2066a\u2069\u200Eb\u200F\u061Cc\u202A\u202B\u202C\u202D"),
              L"abc");
    EXPECT_EQ(fileNameFromTitle(L"\u202E"), L"_");
    EXPECT_EQ(fileNameFromTitle(L"\u05e9\u05dc\u05d5\u05dd"), L"\u05e9\u05dc\u05d5\u05dd")
        << "right-to-left letters themselves stay";
}

TEST(FileNameRule, LongTitlesAreCutAtACharacterBoundaryToLeaveRoomForAnExtension) {
    const std::wstring cut = fileNameFromTitle(std::wstring(150, L'\u00e4'));
    EXPECT_EQ(cut, std::wstring(100, L'\u00e4'));
    // A four-byte character that would cross the limit is left out whole.
    const std::wstring emoji = fileNameFromTitle(std::wstring(199, L'a') + L"\U0001F600tail");
    EXPECT_EQ(emoji, std::wstring(199, L'a'));
    const std::wstring wide = fileNameFromTitle(std::wstring(100, L'\u6f22'));
    EXPECT_EQ(platform::text::toUtf8(wide).size(), 198u);
    EXPECT_LE(
        platform::text::toUtf8(fileNameFromTitle(std::wstring(300, L'x')) + L" (12).epub").size(),
        255u);
    EXPECT_EQ(fileNameFromTitle(std::wstring(199, L'a') + L"  ...b"), std::wstring(199, L'a'))
        << "the cut is trimmed again";
}
