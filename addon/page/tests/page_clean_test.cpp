#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"

#include "addon/page/dom_helpers.h"
#include "addon/page/page_clean.h"

using namespace addon;
using namespace page_fixtures;

namespace {

const std::wstring kBase = L"http://news.example/world/story.html";

std::wstring fullClean(const std::wstring& markup) {
    return buildCleanMarkup(markup, kBase, 0xffff, 255, 255, kMarkupDocument);
}

bool has(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

}  // namespace

TEST(SavingAPage, PageWrappedInAFormKeepsItsContent) {
    const auto clean = fullClean(
        L"<HTML><HEAD><TITLE>T</TITLE><STYLE>p{color:red}</STYLE></HEAD><BODY>"
        L"<FORM action=x><DIV id=main><P>Story text</P></DIV></FORM></BODY></HTML>");
    EXPECT_TRUE(has(clean, L"Story text"));
    EXPECT_TRUE(has(clean, L"id=\"main\""));
    EXPECT_FALSE(has(clean, L"<FORM"));
    EXPECT_TRUE(has(clean, L"<TITLE>T</TITLE>"));
    EXPECT_FALSE(has(clean, L"<STYLE>"));  // removed by the element mask, not the hidden pass
}

TEST(SavingAPage, ElementMaskChoosesWhatGoes) {
    const std::wstring page =
        L"<HEAD><STYLE>b{}</STYLE><SCRIPT>var a;</SCRIPT></HEAD><BODY><!--note--><P>x</P>"
        L"<IFRAME src=a></IFRAME></BODY>";
    const auto styles = buildCleanMarkup(page, kBase, 0, kRemoveStyles, 0, kMarkupDocument);
    EXPECT_FALSE(has(styles, L"<STYLE"));
    EXPECT_TRUE(has(styles, L"<SCRIPT>var a;</SCRIPT>"));
    EXPECT_TRUE(has(styles, L"<!--note-->"));
    const auto comments = buildCleanMarkup(page, kBase, 0, kRemoveComments, 0, kMarkupDocument);
    EXPECT_FALSE(has(comments, L"<!--note-->"));
    EXPECT_TRUE(has(comments, L"<IFRAME"));
}

TEST(SavingAPage, RemovalReachesEverythingAFormHolds) {
    const auto document = parsePage(
        L"<BODY><FORM id=outer>a<!--c1--><OBJECT data=o><!--c2--><P>fallback</P></OBJECT>b"
        L"<SCRIPT>s()</SCRIPT></FORM><P>c</P></BODY>");
    // The parser never nests forms; the page's own scripts may.
    const auto inner = document->createElement(L"form");
    inner->appendChild(document->createTextNode(L"inner"));
    inner->appendChild(document->createComment(L"c3"));
    document->getElementById(L"outer")->appendChild(inner);
    const auto body = document->body();

    removeElementsByMask(body, kRemoveComments);
    EXPECT_EQ(body->innerHTML(),
              L"<FORM id=\"outer\">a<OBJECT data=\"o\"><P>fallback</P></OBJECT>b"
              L"<SCRIPT>s()</SCRIPT><FORM>inner</FORM></FORM><P>c</P>");
    removeElementsByMask(body, kUnwrapForms | kRemoveObjects | kRemoveScripts);
    EXPECT_EQ(body->innerHTML(), L"abinner<P>c</P>");
}

TEST(SavingAPage, RemovalMatchesNamesInAnyCase) {
    const auto document = parsePage(L"<BODY><P>kept</P></BODY>");
    const auto body = document->body();
    body->appendChild(document->createElement(L"Script"));
    body->appendChild(document->createElement(L"IFrame"));
    body->appendChild(document->createElement(L"scripts"));
    removeElementsByMask(body, kRemoveScripts | kRemoveIframes);
    EXPECT_EQ(body->innerHTML(), L"<P>kept</P><SCRIPTS></SCRIPTS>");
}

TEST(SavingAPage, HiddenElementsGoButHeadLinksAndStylesStay) {
    const auto clean = buildCleanMarkup(
        L"<HEAD><TITLE>Kept</TITLE><LINK rel=stylesheet type=text/css href=a.css></HEAD><BODY>"
        L"<P style='display:none'>gone1</P><DIV style='visibility:HIDDEN'><SPAN>gone2</SPAN></DIV>"
        L"<STYLE>p{}</STYLE><P>shown</P></BODY>",
        kBase, 0, 0, kCleanHidden | kCleanLinks, kMarkupDocument);
    EXPECT_FALSE(has(clean, L"gone1"));
    EXPECT_FALSE(has(clean, L"gone2"));
    EXPECT_TRUE(has(clean, L"shown"));
    EXPECT_TRUE(has(clean, L"<TITLE>Kept</TITLE>"));
    EXPECT_TRUE(has(clean, L"a.css"));
    EXPECT_TRUE(has(clean, L"<STYLE>p{}</STYLE>"));
}

TEST(SavingAPage, ScriptUsesAreRemovedInEveryCaseAndTheLinksTextStays) {
    const auto clean = fullClean(
        L"<BODY><A href='JavaScript:go()'>a1</A><A href=' javascript:go()'><P>a2 story</P></A>"
        L"<IMG src='VBScript:x'><A href='/ok.html' onclick='x()' onerror='y()' "
        L"onpointerdown='z()'>ok</A><P class=readable_content_item name=n>c</P></BODY>");
    EXPECT_TRUE(has(clean, L"<BODY>a1<P>a2 story</P>")) << clean;
    EXPECT_FALSE(has(clean, L"avaScript")) << clean;
    EXPECT_FALSE(has(clean, L"VBScript"));
    EXPECT_TRUE(has(clean, L"<A href=\"http://news.example/ok.html\">ok</A>"));
    EXPECT_TRUE(has(clean, L"<P _clip_item=\"1\">c</P>"));
}

TEST(SavingAPage, UrlsAreJoinedWithTheBase) {
    const auto document = parsePage(
        L"<BODY><IMG src='about:img/a.png'><IMG src='about:blank'><A href='http://x.org/'>x</A>"
        L"<STYLE>div{background:url('bg.png')}</STYLE></BODY>");
    EXPECT_EQ(resolveUrls(*document, kBase, 0xffff), 2);
    const auto images = document->getElementsByTagName(L"img");
    EXPECT_EQ(images[0]->getAttribute(L"src"), L"http://news.example/world/img/a.png");
    EXPECT_EQ(images[1]->getAttribute(L"src"), L"about:blank");
    EXPECT_TRUE(
        has(document->documentElement()->outerHTML(), L"url('http://news.example/world/bg.png')"));
}

TEST(SavingAPage, ClipItemsAreJoinedWithOneRuleBetween) {
    const auto items = buildCleanMarkup(
        L"<BODY><DIV class=readable_content_item>one</DIV><P>skip</P>"
        L"<DIV class=readable_content_item>two</DIV></BODY>",
        kBase, 0, 0, kCleanHidden | kCleanClasses, kMarkupClipItems);
    EXPECT_EQ(items,
              L"<DIV><DIV _clip_item=\"1\">one</DIV><HR></HR>\r\n<DIV _clip_item=\"1\">two</DIV>"
              L"</DIV>");
}

TEST(SavingAPage, EngineOverlaysNeverReachTheMarkup) {
    const auto raw = buildCleanMarkup(
        L"<BODY><DIV class=__classClip id=__idDivRectOverlay></DIV><P>text</P></BODY>", kBase, 0, 0,
        0, kMarkupDocument);
    EXPECT_FALSE(has(raw, L"__classClip"));
    EXPECT_TRUE(has(raw, L"<P>text</P>"));
}

TEST(CopyingBlocks, ReadableCopiesLeaveTheSourceAlone) {
    const auto document = parsePage(
        L"<HEAD><SCRIPT>s</SCRIPT><STYLE>t</STYLE><TITLE>x</TITLE></HEAD><BODY>"
        L"<TABLE id=t><TR><TD>cell</TD></TR></TABLE><DIV id=d><SCRIPT>q</SCRIPT><B>bold</B>"
        L"</DIV></BODY>");
    const auto head = cloneForReadable(document->head(), kRemoveScripts);
    EXPECT_EQ(head->outerHTML(), L"<HEAD><STYLE>t</STYLE><TITLE>x</TITLE></HEAD>");
    const auto table = cloneForReadable(document->getElementById(L"t"), 0);
    EXPECT_EQ(table->outerHTML(), document->getElementById(L"t")->outerHTML());
    EXPECT_NE(table, document->getElementById(L"t"));
    const auto block = cloneForReadable(document->getElementById(L"d"), kRemoveScripts);
    EXPECT_EQ(block->outerHTML(), L"<DIV id=\"d\"><B>bold</B></DIV>");
    EXPECT_TRUE(has(document->getElementById(L"d")->outerHTML(), L"<SCRIPT>q</SCRIPT>"));

    const auto row = document->getElementsByTagName(L"tr").front();
    const auto wrapped = wrapTablePart(row->cloneElement(true));
    EXPECT_EQ(wrapped->outerHTML(), L"<TABLE><TBODY><TR><TD>cell</TD></TR></TBODY></TABLE>");
    // Standing alone, a row is written in a table of its own and the page keeps its row.
    EXPECT_EQ(standaloneOuterHtml(row), L"<TABLE><TBODY><TR><TD>cell</TD></TR></TBODY></TABLE>");
    EXPECT_EQ(getTagName(row->parentElement()), L"tbody");
    EXPECT_EQ(standaloneOuterHtml(document->getElementById(L"d")),
              document->getElementById(L"d")->outerHTML());
}

TEST(CopyingBlocks, ComputedStyleIsWrittenInline) {
    const auto document = parsePage(
        L"<BODY><P id=a style='color:red;font-size:12px'>a</P><P id=b style='color:red'>b</P>"
        L"</BODY>");
    const auto target = document->getElementById(L"b");
    copyComputedStyle(document->getElementById(L"a"), target);
    EXPECT_EQ(getElementValue(target, L"fontSize", kValueInlineOnly), L"12px");
    EXPECT_EQ(getElementValue(target, L"color", 0), L"red");
    // Values the two share are not written.
    EXPECT_EQ(getElementValue(target, L"zIndex", kValueInlineOnly), L"undefined");
    setElementValue(target, L"color", L"undefined", 0);
    EXPECT_EQ(getElementValue(target, L"color", kValueInlineOnly), L"undefined");
}
