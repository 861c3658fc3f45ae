#include "addon/mailnote/onenote_export.h"

#include <libxml/parser.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "addon/mailnote/mailnote_commands.h"
#include "addon/mailnote/onenote_page.h"
#include "addon/mailnote/tests/send_fixture.h"
#include "addon/window/command_dispatcher.h"
#include "platform/onenote/tests/page_text.h"
#include "platform/text/utf.h"

using namespace addon;
namespace fs = std::filesystem;
using onenote_testing::count;
using onenote_testing::readText;

namespace {

// The text of the first element with that local name, or "" (also when it does not parse).
std::string firstText(const std::string& xml, const char* name) {
    xmlDoc* document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!document) {
        return "";
    }
    std::string text;
    for (xmlNode* node = xmlDocGetRootElement(document); node && text.empty();) {
        if (node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name)) {
            xmlChar* content = xmlNodeGetContent(node);
            text = reinterpret_cast<const char*>(content);
            xmlFree(content);
            break;
        }
        node = node->children ? node->children : node->next ? node->next : node->parent->next;
    }
    xmlFreeDoc(document);
    return text;
}

class OneNoteCommand : public mailnote_testing::SendFixture {
  protected:
    std::vector<fs::path> pageFiles() const {
        std::vector<fs::path> files;
        std::error_code error;
        for (const auto& entry :
             fs::recursive_directory_iterator(home.dataHome() / "Olvan/Notebook", error)) {
            if (entry.path().extension() == ".xml") {
                files.push_back(entry.path());
            }
        }
        return files;
    }
};

}  // namespace

TEST(OneNotePageXml, TitlesAndMarkupCannotLeaveTheirSections) {
    const std::wstring id = L"{00000000-0000-0000-0000-000000000001}";
    const std::wstring page =
        buildOneNotePageXml(id, L"Tips ]]></one:T><one:Evil/> ]]>", {L"<p>a ]]> b</p>", L"<p>c"});
    const std::string xml = platform::text::toUtf8(page);
    EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\""));
    EXPECT_EQ(firstText(xml, "T"), "Tips ]]></one:T><one:Evil/> ]]>");
    EXPECT_EQ(firstText(xml, "Data"), "<html><body><p>a ]]> b</p></p></body></html>");
    EXPECT_EQ(count(xml, "<one:Outline>"), 2u);

    const std::string existing = platform::text::toUtf8(
        buildOneNotePageXml(L"x\" injected=\"1", std::nullopt, {L"<p>d</p>"}));
    EXPECT_NE(existing.find("ID=\"x&quot; injected=&quot;1\""), std::string::npos);
    EXPECT_EQ(existing.find("Title"), std::string::npos);
    EXPECT_EQ(existing.find("PageSettings"), std::string::npos);
}

TEST_F(OneNoteCommand, ANewPageHoldsTheWholePageAndASecondExportAddsToIt) {
    const int window = openTab();
    EXPECT_EQ(sendToOneNote(window, L""), 2);
    EXPECT_TRUE(messages.empty());
    auto files = pageFiles();
    ASSERT_EQ(files.size(), 1u);
    std::string stored = readText(files[0]);
    EXPECT_EQ(firstText(stored, "T"), "First");
    EXPECT_EQ(count(stored, "<one:Outline"), 1u);
    const std::string data = firstText(stored, "Data");
    EXPECT_NE(data.find("Story</P> <P id=\"second\">"), std::string::npos) << data;

    // The same page again, now with three selected blocks in the order they were chosen.
    const std::wstring pageId = L"{" + platform::text::fromUtf8(files[0].stem().string()) + L"}";
    selectElement(L"third");
    selectElement(L"second");
    EXPECT_EQ(sendToOneNote(window, pageId), 2);
    EXPECT_TRUE(messages.empty());
    files = pageFiles();
    ASSERT_EQ(files.size(), 1u);
    stored = readText(files[0]);
    EXPECT_EQ(count(stored, "<one:Outline"), 3u);
    EXPECT_EQ(count(stored, "<one:Title"), 1u);
    const std::size_t third = stored.find(">Third<");
    const std::size_t second = stored.find(">Second</P></p>");
    ASSERT_NE(third, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(stored.find("Story"), third);
    EXPECT_LT(third, second);
}

TEST_F(OneNoteCommand, FailuresShowTheirMessageAndAreNeverReportedAsWritten) {
    const int window = openTab();
    EXPECT_EQ(sendToOneNote(window, L"{00000000-0000-0000-0000-000000000009}"), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Can't get page content from OneNote.");
    EXPECT_EQ(sendToOneNote(window, L"../../outside"), 1);
    EXPECT_EQ(messages.back(), L"Can't get page content from OneNote.");

    // A stored page whose XML is broken takes no update and stays as it was.
    ASSERT_EQ(sendToOneNote(window, L""), 2);
    ASSERT_EQ(pageFiles().size(), 1u);
    const fs::path file = pageFiles()[0];
    std::ofstream(file, std::ios::trunc) << "<one:Page";
    const std::wstring pageId = L"{" + platform::text::fromUtf8(file.stem().string()) + L"}";
    EXPECT_EQ(sendToOneNote(window, pageId), 1);
    EXPECT_EQ(messages.back(), L"Can't update page content to OneNote.");
    EXPECT_EQ(readText(file), "<one:Page");

    // No notebook application: its folder cannot be made.
    fs::remove_all(home.dataHome() / "Olvan/Notebook");
    std::ofstream(home.dataHome() / "Olvan/Notebook") << "in the way";
    EXPECT_EQ(sendToOneNote(window, L""), 1);
    EXPECT_EQ(messages.back(), L"Please install Micorosft Office OneNote 2007");
    EXPECT_EQ(messages.size(), 4u);
}

TEST_F(OneNoteCommand, TheDispatcherReachesTheExportOnceRegistered) {
    registerMailNoteCommands();
    const int window = openTab();
    EXPECT_EQ(dispatchCommand(L"command-send-onenote", window), 2);
    EXPECT_TRUE(messages.empty());
    auto files = pageFiles();
    ASSERT_EQ(files.size(), 1u);
    const std::wstring pageId = L"{" + platform::text::fromUtf8(files[0].stem().string()) + L"}";
    EXPECT_EQ(dispatchCommand(L"command-send-onenote/" + pageId, window), 2);
    EXPECT_TRUE(messages.empty());
    files = pageFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(count(readText(files[0]), "<one:Outline"), 2u);
}
