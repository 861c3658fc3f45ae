#include "plugin/module/web_page.h"

#include <gtest/gtest.h>

#include "scripted_page.h"

using platform::com::Variant;

TEST(WebPage, CallsScriptFunctionsWithArgumentsInOrder) {
    auto page = ScriptedPage::create();
    page->define(L"join", [](const std::vector<std::wstring>& arguments) {
        return Variant::fromString(arguments.at(0) + L"+" + arguments.at(1));
    });
    plugin::CWebPage web;
    EXPECT_TRUE(web.SetDocument(platform::com::ComPtr<platform::com::IUnknown>(
        static_cast<plugin::IScriptDocument*>(page.get()))));
    Variant result;
    ASSERT_TRUE(web.CallScript(L"join", {L"a", L"b"}, &result));
    EXPECT_EQ(result.text(), L"a+b");
    EXPECT_TRUE(web.CallScript(L"join", {L"x", L"y"}, nullptr));
    ASSERT_EQ(page->calls.size(), 2u);
    EXPECT_EQ(page->calls[1].second, (std::vector<std::wstring>{L"x", L"y"}));
}

TEST(WebPage, ReportsMissingDocumentScriptAndFunction) {
    plugin::CWebPage web;
    EXPECT_FALSE(web.CallScript(L"_reload", nullptr));
    EXPECT_EQ(web.GetLastError(), L"JSCall Error:\nNULL pointer");

    auto page = ScriptedPage::create();
    web.SetDocument(platform::com::ComPtr<platform::com::IUnknown>(
        static_cast<plugin::IScriptDocument*>(page.get())));
    EXPECT_FALSE(web.CallScript(L"_reload", nullptr));
    EXPECT_EQ(web.GetLastError(), L"JSCall Error:\nUnknown name.");
    EXPECT_TRUE(page->calls.empty());

    // A document without a script.
    struct Plain : platform::com::ComObject<Plain, platform::com::IUnknown> {};
    web.SetDocument(Plain::create());
    EXPECT_FALSE(web.CallScript(L"_reload", nullptr));
    EXPECT_EQ(web.GetLastError(), L"JSCall Error:\nCannot GetScript");
}
