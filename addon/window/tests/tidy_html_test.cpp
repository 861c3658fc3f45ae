#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "addon/page/tidy_html.h"
#include "addon/window/save_handoff.h"

using namespace addon;

namespace {

bool has(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

}  // namespace

TEST(TidyHtml, EmptyInputIsRefusedAndOutputUntouched) {
    std::wstring out = L"before";
    EXPECT_EQ(tidyHtml(L"", out, L""), 1);
    EXPECT_EQ(out, L"before");
}

TEST(TidyHtml, RepairsMarkupIntoXhtmlWithNumericEntitiesAndNoTidyMark) {
    std::wstring out;
    ASSERT_EQ(tidyHtml(wrapInHtmlSkeleton(L"<p>caf\u00e9 &amp; more<br><img src=a.png>"), out, L""),
              0);
    EXPECT_TRUE(has(out, L"xmlns=\"http://www.w3.org/1999/xhtml\"")) << out;
    EXPECT_TRUE(has(out, L"<br />"));
    EXPECT_TRUE(has(out, L"</p>"));
    EXPECT_TRUE(has(out, L"caf\u00e9") || has(out, L"caf&#233;"));
    EXPECT_FALSE(has(out, L"HTML Tidy"));
}

TEST(TidyHtml, TheClipsCharactersAreKeptAndWordMarkupIsStripped) {
    const std::wstring text =
        L"\u201ESch\u00F6ne Gr\u00FC\u00DFe\u201C \u2014 it\u2019s "
        L"\u201Cquoted\u201D, \u2018single\u2019 \u2013 1\u00A0000 \u2026";
    std::wstring out;
    ASSERT_EQ(tidyHtml(wrapInHtmlSkeleton(L"<p>" + text + L"</p>"), out, L""), 0);
    std::wstring body;
    ASSERT_TRUE(extractTidyBody(out, body));
    // The characters themselves or numeric references to them, never ASCII stand-ins.
    std::wstring decoded;
    for (std::size_t at = 0; at < body.size(); ++at) {
        const auto end = body.find(L';', at);
        if (body.compare(at, 2, L"&#") == 0 && end != std::wstring::npos) {
            decoded += static_cast<wchar_t>(std::stoul(body.substr(at + 2, end - at - 2)));
            at = end;
        } else {
            decoded += body[at];
        }
    }
    EXPECT_TRUE(has(decoded, L"<p>" + text + L"</p>")) << body;

    std::wstring word;
    ASSERT_EQ(tidyHtml(L"<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head>"
                       L"<meta name=Generator content=\"Microsoft Word 15\"></head><body>"
                       L"<p class=MsoNormal>\u201EWort\u201C<o:p></o:p></p></body></html>",
                       word, L""),
              0);
    EXPECT_FALSE(has(word, L"o:p")) << word;
    EXPECT_FALSE(has(word, L"MsoNormal")) << word;
    EXPECT_TRUE(has(word, L"\u201EWort\u201C") || has(word, L"&#8222;Wort&#8220;")) << word;
}

TEST(TidyHtml, BodyExtractionKeepsTheStylesThatCleaningMadeFromPresentation) {
    std::wstring out;
    ASSERT_EQ(
        tidyHtml(wrapInHtmlSkeleton(L"<center><font color=red>Red</font></center>"), out, L""), 0);
    std::wstring body;
    ASSERT_TRUE(extractTidyBody(out, body));
    EXPECT_TRUE(has(body, L"<style")) << body;
    EXPECT_TRUE(has(body, L"text-align: center")) << body;
    EXPECT_TRUE(has(body, L"class=\"c1\""));
    EXPECT_TRUE(has(body, L"Red"));
    EXPECT_FALSE(has(body, L"<font"));
    EXPECT_FALSE(has(body, L"<body"));
}

TEST(TidyHtml, NoBodyMeansNothingExtracted) {
    std::wstring body = L"kept";
    EXPECT_FALSE(extractTidyBody(L"<html><head></head></html>", body));
    EXPECT_FALSE(extractTidyBody(L"<body class=x>never closed", body));
    EXPECT_EQ(body, L"kept");
}

TEST(TidyHtml, ConfigurationFileIsUsedAndABrokenOneParsesNothing) {
    const auto folder = std::filesystem::temp_directory_path() / "tamrix-tidy-config";
    std::filesystem::create_directories(folder);
    const auto config = folder / "tidy.cfg";
    std::ofstream(config) << "output-xhtml: no\nshow-body-only: yes\ntidy-mark: no\n";
    std::wstring out;
    ASSERT_EQ(tidyHtml(L"<p>one<p>two", out, config.wstring()), 0);
    EXPECT_FALSE(has(out, L"<html"));
    EXPECT_TRUE(has(out, L"<p>two</p>"));

    std::wstring untouched = L"untouched";
    EXPECT_EQ(tidyHtml(L"<p>x", untouched, (folder / "missing.cfg").wstring()), 0);
    EXPECT_EQ(untouched, L"untouched");
    std::filesystem::remove_all(folder);
}

// Text standing directly in a list or a table kept the space after an inline element: Tidy
// joined "create" and "video" into one word in every saved entry and export of such a page.
TEST(TidyHtml, TheSpaceAfterAnInlineElementStandingInAListOrTableIsKept) {
    std::wstring out;
    ASSERT_EQ(tidyHtml(wrapInHtmlSkeleton(L"<ul> to <i>create</i> video on <B>Linux</B>\nnow</ul>"
                                          L"<table> a <em>b</em> c<tr><td>x</td></tr></table>"),
                       out, L""),
              0);
    EXPECT_TRUE(has(out, L"<i>create</i> video")) << out;
    EXPECT_TRUE(has(out, L"<b>Linux</b> now")) << out;
    EXPECT_TRUE(has(out, L"<em>b</em> c")) << out;
    EXPECT_FALSE(has(out, L"&#32;")) << out;
}

TEST(TidyHtml, PreformattedTextKeepsItsLineBreaksAfterInlineElements) {
    std::wstring out;
    ASSERT_EQ(tidyHtml(wrapInHtmlSkeleton(L"<PRE><b>int</b>\nx;\n<i>y</i>\nz</PRE>"), out, L""), 0);
    EXPECT_TRUE(has(out, L"<b>int</b>\nx;\n<i>y</i>\nz")) << out;
}

TEST(TidyHtml, MarkupCutShortInsideATagACommentOrPreformattedTextIsStillTidied) {
    for (const std::wstring cut :
         {L"<p>word</i> ", L"<p>word<!-- </b> x", L"<p>word<pre><i>a</i>\nb",
          L"<p>word<a href='</a> x>", L"<p>word</b>"}) {
        SCOPED_TRACE(cut);
        std::wstring out;
        ASSERT_EQ(tidyHtml(cut, out, L""), 0);
        EXPECT_TRUE(has(out, L"word")) << out;
    }
}
