// The style commands' arguments: what may become an inline style value and what may not.
#include <gtest/gtest.h>

#include "addon/commands/style_arguments.h"

namespace {

using addon::StyleArgument;

bool accepted(StyleArgument kind, const std::wstring& argument) {
    return addon::styleArgumentProblem(kind, argument).empty();
}

TEST(StyleArguments, FontNamesAreNamesAndNothingMore) {
    for (const wchar_t* family :
         {L"Georgia", L"Spranq eco sans", L"\"Times New Roman\", serif", L"'DejaVu Sans'",
          L"Noto Sans CJK JP", L"微软雅黑", L"font_awesome-5.1"})
        EXPECT_TRUE(accepted(StyleArgument::fontFamily, family)) << family;
    for (const wchar_t* family :
         {L"", L"x;background:url(javascript:alert(1))", L"a:b", L"a{b}", L"a(b)", L"\"open",
          L"\"a\"b\"", L"a,,b", L"a\\62", L"x\u202Ey", L"tab\there", L"a/b", L"a !important"})
        EXPECT_FALSE(accepted(StyleArgument::fontFamily, family)) << family;
    EXPECT_FALSE(accepted(StyleArgument::fontFamily, std::wstring(300, L'a')));
}

TEST(StyleArguments, SizesWidthsAndWeightsStayWithinBoundsAReaderCanUse) {
    for (const wchar_t* size : {L"12pt", L"16px", L"1.2em", L"120%", L"LARGE", L"+1", L"-3"})
        EXPECT_TRUE(accepted(StyleArgument::fontSize, size)) << size;
    for (const wchar_t* size : {L"100000px", L"0.1px", L"12", L"12pt;color:red", L"12 pt",
                                L"+99999", L"+51", L"+", L"+1x", L"1e3px", L"12vw", L"-12px"})
        EXPECT_FALSE(accepted(StyleArgument::fontSize, size)) << size;

    for (const wchar_t* width : {L"100%", L"800px", L"40em", L"auto", L"+10", L"-150"})
        EXPECT_TRUE(accepted(StyleArgument::width, width)) << width;
    for (const wchar_t* width : {L"junk", L"0%", L"500%", L"5px", L"99999999px", L"-1e9", L"+1001"})
        EXPECT_FALSE(accepted(StyleArgument::width, width)) << width;

    for (const wchar_t* weight : {L"bold", L"Normal", L"lighter", L"700", L"1000", L"+200"})
        EXPECT_TRUE(accepted(StyleArgument::fontWeight, weight)) << weight;
    for (const wchar_t* weight : {L"heavy", L"0", L"1001", L"700px", L"+901", L"bold;x:y"})
        EXPECT_FALSE(accepted(StyleArgument::fontWeight, weight)) << weight;
}

TEST(StyleArguments, MessagesQuoteTheArgumentShortAndPrintable) {
    const std::wstring message =
        addon::styleArgumentProblem(StyleArgument::fontFamily, L"\u202E" + std::wstring(500, L';'));
    EXPECT_TRUE(message.starts_with(L"\"?;;")) << message;
    EXPECT_LT(message.size(), 300u);
    EXPECT_NE(message.find(L"is not a font name"), std::wstring::npos);
}

}  // namespace
