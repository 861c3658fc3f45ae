#include <gtest/gtest.h>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/page_clean.h"

using namespace addon;

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
        L"<html><head><title>T</title><style>p{color:red}</style></head><body>"
        L"<form action=x><div id=main><p>Story text</p></div></form></body></html>");
    EXPECT_TRUE(has(clean, L"Story text"));
    EXPECT_TRUE(has(clean, L"id=\"main\""));
    EXPECT_FALSE(has(clean, L"<form"));
    EXPECT_TRUE(has(clean, L"<title>T</title>"));
    EXPECT_FALSE(has(clean, L"<style>"));  // removed by the element mask, not the hidden pass
}

TEST(SavingAPage, ElementMaskChoosesWhatGoes) {
    const std::wstring page =
        L"<head><style>b{}</style><script>var a;</script></head><body><!--note--><p>x</p>"
        L"<iframe src=a></iframe></body>";
    const auto styles = buildCleanMarkup(page, kBase, 0, kRemoveStyles, 0, kMarkupDocument);
    EXPECT_FALSE(has(styles, L"<style"));
    EXPECT_TRUE(has(styles, L"<script>var a;</script>"));
    EXPECT_TRUE(has(styles, L"<!--note-->"));
    const auto comments = buildCleanMarkup(page, kBase, 0, kRemoveComments, 0, kMarkupDocument);
    EXPECT_FALSE(has(comments, L"<!--note-->"));
    EXPECT_TRUE(has(comments, L"<iframe"));
}

TEST(SavingAPage, HiddenElementsGoButHeadLinksAndStylesStay) {
    const auto clean = buildCleanMarkup(
        L"<head><title>Kept</title><link rel=stylesheet type=text/css href=a.css></head><body>"
        L"<p style='display:none'>gone1</p><div style='visibility:HIDDEN'><span>gone2</span></div>"
        L"<style>p{}</style><p>shown</p></body>",
        kBase, 0, 0, kCleanHidden | kCleanLinks, kMarkupDocument);
    EXPECT_FALSE(has(clean, L"gone1"));
    EXPECT_FALSE(has(clean, L"gone2"));
    EXPECT_TRUE(has(clean, L"shown"));
    EXPECT_TRUE(has(clean, L"<title>Kept</title>"));
    EXPECT_TRUE(has(clean, L"a.css"));
    EXPECT_TRUE(has(clean, L"<style>p{}</style>"));
}

TEST(SavingAPage, ScriptUsesAreRemovedInEveryCase) {
    const auto clean = fullClean(
        L"<body><a href='JavaScript:go()'>a1</a><a href=' javascript:go()'>a2</a>"
        L"<img src='VBScript:x'><a href='/ok.html' onclick='x()' onerror='y()' "
        L"onpointerdown='z()'>ok</a><p class=readable_content_item name=n>c</p></body>");
    EXPECT_FALSE(has(clean, L"a1"));
    EXPECT_FALSE(has(clean, L"a2"));
    EXPECT_FALSE(has(clean, L"VBScript"));
    EXPECT_TRUE(has(clean, L"<a href=\"http://news.example/ok.html\">ok</a>"));
    EXPECT_TRUE(has(clean, L"<p _clip_item=\"1\">c</p>"));
}

TEST(SavingAPage, UrlsAreJoinedWithTheBase) {
    const page::Document document(
        L"<body><img src='about:img/a.png'><img src='about:blank'><a href='http://x.org/'>x</a>"
        L"<style>div{background:url('bg.png')}</style></body>");
    EXPECT_EQ(resolveUrls(document, kBase, 0xffff), 2);
    const auto images = document.elementsByTag(L"img");
    EXPECT_EQ(images[0]->attribute(L"src"), L"http://news.example/world/img/a.png");
    EXPECT_EQ(images[1]->attribute(L"src"), L"about:blank");
    EXPECT_TRUE(has(document.root()->outerHtml(), L"url('http://news.example/world/bg.png')"));
}

TEST(SavingAPage, ClipItemsAreJoinedWithOneRuleBetween) {
    const auto items = buildCleanMarkup(
        L"<body><div class=readable_content_item>one</div><p>skip</p>"
        L"<div class=readable_content_item>two</div></body>",
        kBase, 0, 0, kCleanHidden | kCleanClasses, kMarkupClipItems);
    EXPECT_EQ(items,
              L"<DIV><div _clip_item=\"1\">one</div><HR></HR>\r\n<div _clip_item=\"1\">two</div>"
              L"</DIV>");
}

TEST(SavingAPage, EngineOverlaysNeverReachTheMarkup) {
    const auto raw = buildCleanMarkup(
        L"<body><div class=__classClip id=__idDivRectOverlay></div><p>text</p></body>", kBase, 0, 0,
        0, kMarkupDocument);
    EXPECT_FALSE(has(raw, L"__classClip"));
    EXPECT_TRUE(has(raw, L"<p>text</p>"));
}

TEST(CopyingBlocks, ReadableCopiesLeaveTheSourceAlone) {
    const page::Document document(
        L"<head><script>s</script><style>t</style><title>x</title></head><body>"
        L"<table id=t><tr><td>cell</td></tr></table><div id=d><script>q</script><b>bold</b>"
        L"</div></body>");
    const auto head = cloneForReadable(document.head(), kRemoveScripts);
    EXPECT_EQ(head->outerHtml(), L"<head><style>t</style><title>x</title></head>");
    const auto table = cloneForReadable(document.elementById(L"t"), 0);
    EXPECT_EQ(table->outerHtml(), document.elementById(L"t")->outerHtml());
    EXPECT_NE(table, document.elementById(L"t"));
    const auto block = cloneForReadable(document.elementById(L"d"), kRemoveScripts);
    EXPECT_EQ(block->outerHtml(), L"<div id=\"d\"><b>bold</b></div>");
    EXPECT_TRUE(has(document.elementById(L"d")->outerHtml(), L"<script>q</script>"));

    const auto row = document.elementsByTag(L"tr").front();
    const auto wrapped = wrapTablePart(row->cloneDeep());
    EXPECT_EQ(wrapped->outerHtml(), L"<table><tbody><tr><td>cell</td></tr></tbody></table>");
}

TEST(CopyingBlocks, ComputedStyleIsWrittenInline) {
    const page::Document document(
        L"<body><p id=a style='color:red;font-size:12px'>a</p><p id=b style='color:red'>b</p>"
        L"</body>");
    const auto target = document.elementById(L"b");
    copyComputedStyle(document.elementById(L"a"), target);
    EXPECT_EQ(getElementValue(target, L"fontSize", kValueInlineOnly), L"12px");
    EXPECT_EQ(getElementValue(target, L"color", 0), L"red");
    EXPECT_EQ(getElementValue(target, L"zIndex", 0), L"undefined");
    setElementValue(target, L"color", L"undefined", 0);
    EXPECT_EQ(getElementValue(target, L"color", 0), L"undefined");
}
