#include "tarn/engine/plugin_manifest.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine_test_support.h"

namespace {

using tarn::PluginManifest;
using tarn_test::ScratchFolder;
using tarn_test::writeText;

constexpr char kCatalogue[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<plugins version="1.2" name="tamrix" title="Repository" datetime="2024-01-02" author="A"
         copyright="C">
  <pages>
    <item name="item" title="Item" file="pages\item.xsl" bind="//tamrix/item"/>
    <item name="list" type="Other" file="/opt/list.xsl" bind="//tamrix/list.*" use="re"/>
    <other name="ignored"/>
  </pages>
  <sidePages>
    <item name="side" file="C:\side.xsl" url="tarn://x" restrict="r"/>
  </sidePages>
  <transcoders><item name="t" title="T" file="conv/t.xsl"/></transcoders>
  <pages>
    <item name="latest" file=":x"/>
  </pages>
</plugins>)";

TEST(PluginManifest, ReadsEveryListInDocumentOrderAndResolvesFiles) {
    ScratchFolder folder;
    writeText(folder.path() / "tamrix" / "plugins.xml", kCatalogue);
    const std::wstring base = folder.wide() + L"/tamrix";
    const PluginManifest manifest(base + L"/plugins.xml");

    EXPECT_EQ(manifest.version, L"1.2");
    EXPECT_EQ(manifest.name, L"tamrix");
    EXPECT_EQ(manifest.title, L"Repository");
    EXPECT_EQ(manifest.datetime, L"2024-01-02");
    EXPECT_EQ(manifest.author, L"A");
    EXPECT_EQ(manifest.copyright, L"C");

    ASSERT_EQ(manifest.pages.size(), 3u);
    EXPECT_EQ(manifest.pages[0].type, L"Tarn");
    EXPECT_EQ(manifest.pages[0].file, base + L"/pages/item.xsl");
    EXPECT_EQ(manifest.pages[0].bind, L"//tamrix/item");
    EXPECT_EQ(manifest.pages[0].use, L"");
    EXPECT_EQ(manifest.pages[1].type, L"Other");
    EXPECT_EQ(manifest.pages[1].file, L"/opt/list.xsl");
    EXPECT_EQ(manifest.pages[1].use, L"re");
    EXPECT_EQ(manifest.pages[2].name, L"latest");
    EXPECT_EQ(manifest.pages[2].file, base + L"/:x");

    ASSERT_EQ(manifest.sidePages.size(), 1u);
    EXPECT_EQ(manifest.sidePages[0].file, L"C:\\side.xsl");
    EXPECT_EQ(manifest.sidePages[0].type, L"Tarn");
    EXPECT_EQ(manifest.sidePages[0].url, L"tarn://x");
    EXPECT_EQ(manifest.sidePages[0].restrict, L"r");

    ASSERT_EQ(manifest.transcoders.size(), 1u);
    EXPECT_EQ(manifest.transcoders[0].title, L"T");
    EXPECT_EQ(manifest.transcoders[0].file, base + L"/conv/t.xsl");
}

TEST(PluginManifest, FailsWithoutPathFileOrPluginsRoot) {
    ScratchFolder folder;
    PluginManifest empty;
    EXPECT_EQ(empty.load(), -1);

    PluginManifest missing;
    EXPECT_EQ(missing.load(folder.wide() + L"/nothing.xml"), -1);
    EXPECT_TRUE(missing.name.empty());

    writeText(folder.path() / "other.xml", R"(<catalogue name="x"/>)");
    PluginManifest wrongRoot;
    EXPECT_EQ(wrongRoot.load(folder.wide() + L"/other.xml"), -1);
    EXPECT_TRUE(wrongRoot.name.empty());

    writeText(folder.path() / "broken.xml", R"(<plugins name="x">)");
    EXPECT_EQ(PluginManifest().load(folder.wide() + L"/broken.xml"), -1);
}

TEST(ScanPluginFolder, VisitsFoldersDepthFirstInNameOrderSkippingHiddenLinkedAndNameless) {
    ScratchFolder folder;
    const auto catalogue = [&](const std::filesystem::path& relative, const std::string& name) {
        writeText(folder.path() / relative / "plugins.xml",
                  "<plugins name=\"" + name + "\"><pages><item file=\"p.xsl\"/></pages></plugins>");
    };
    catalogue(".", "top");
    catalogue("b", "b");
    catalogue("a", "a");
    catalogue("a/z", "a-z");
    catalogue(".hidden", "hidden");
    catalogue("c", "");
    writeText(folder.path() / "d" / "plugins.xml", "<root name=\"d\"/>");
    std::filesystem::create_directory_symlink(folder.path() / "a", folder.path() / "link");

    std::vector<PluginManifest> manifests;
    manifests.emplace_back();
    manifests.back().name = L"earlier";
    ASSERT_EQ(tarn::ScanPluginFolder(folder.wide() + L"/", manifests), 5);
    std::vector<std::wstring> names;
    for (const auto& manifest : manifests) {
        names.push_back(manifest.name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"earlier", L"top", L"a", L"a-z", L"b"}));
    EXPECT_EQ(manifests[3].pages.at(0).file, folder.wide() + L"/a/z/p.xsl");
}

}  // namespace
