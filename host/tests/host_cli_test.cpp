// tamrix-host as a command line: its exit status, where its words go, and the verbs that
// reach what a person reaches (the pointer, text selection, tarn: pages, the side pane's
// menus, every dialog's fields), each run on the real program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "host/tests/host_process.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

namespace {

namespace fs = std::filesystem;
using host_tests::holds;
using host_tests::Printed;
using host_tests::readText;

const std::string kStory = std::string(TAMRIX_TEST_DATA) + "/story.html";
const std::string kBlocks = std::string(TAMRIX_TEST_DATA) + "/blocks.html";
const std::string kArticle = std::string(TAMRIX_STAGE_DIR) + "/data/examples/article.html";

struct Stored {
    std::string title, category, folder, tags, text, html;
};

class HostCli : public ::testing::Test {
  protected:
    Printed run(const std::vector<std::string>& words, int seconds = 60) {
        return host_tests::runWords(home.root(), words, seconds);
    }

    fs::path repository() const { return home.dataHome() / "Olvan" / "Tamrix" / "tamrix.db"; }

    std::vector<Stored> entries() {
        std::vector<Stored> found;
        if (!fs::exists(repository())) {
            return found;
        }
        common::SqliteDB db(repository().wstring(), true);
        auto statement = db.prepareStatement(
            L"SELECT title, category, folder, tags, text, html FROM entry ORDER BY rowid");
        for (auto rows = statement.query(); !rows.eof(); rows.next()) {
            Stored entry;
            for (auto [column, field] : {std::pair{0, &entry.title}, std::pair{1, &entry.category},
                                         std::pair{2, &entry.folder}, std::pair{3, &entry.tags},
                                         std::pair{4, &entry.text}, std::pair{5, &entry.html}}) {
                *field = platform::text::toUtf8(rows.columnText(column));
            }
            found.push_back(entry);
        }
        return found;
    }

    int countRows(const std::wstring& query) {
        common::SqliteDB db(repository().wstring(), true);
        auto statement = db.prepareStatement(query);
        auto rows = statement.query();
        return rows.eof() ? -1 : std::stoi(platform::text::toUtf8(rows.columnText(0)));
    }

    testing_environment::TemporaryHome home;
};

}  // namespace

TEST_F(HostCli, AFileThatCannotBeOpenedFailsAndStopsTheRun) {
    const Printed missing = run({"open", "/nonexistent.html", "attach", "report"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(holds(missing.err, "tamrix-host: cannot open /nonexistent.html")) << missing.err;
    EXPECT_TRUE(holds(missing.err, "2 action(s) after the failed one were not run")) << missing.err;
    EXPECT_FALSE(holds(missing.err, "holds no entry")) << missing.err;
    EXPECT_TRUE(missing.out.empty()) << missing.out;

    // --keep-going runs the rest, and the run still fails.
    const Printed going = run({"--keep-going", "open", "/nonexistent.html", "report"});
    EXPECT_EQ(going.status, 1);
    EXPECT_TRUE(holds(going.err, "holds no entry")) << going.err;
}

TEST_F(HostCli, AnAddressThatAnswersNothingOrAnErrorFails) {
    testing_http::LoopbackServer server;
    server.reply("/gone.html", {.status = 404, .body = "gone"});
    const Printed gone = run({"open", server.url("/gone.html")});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(holds(gone.err, "404")) << gone.err;

    const Printed refused = run({"open", "http://127.0.0.1:1/x"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(holds(refused.err, "cannot open http://127.0.0.1:1/x")) << refused.err;
}

TEST_F(HostCli, AServerThatNeverAnswersFailsAtTheFetchLimit) {
    // The server takes the request and says nothing for longer than the host waits (30 s).
    testing_http::LoopbackServer server;
    server.reply("/silent.html", {.body = "late", .delay = std::chrono::seconds(32)});
    const Printed silent = run({"open", server.url("/silent.html"), "attach"}, 120);
    EXPECT_EQ(silent.status, 1) << silent.err;
    EXPECT_TRUE(holds(silent.err, "tamrix-host: cannot open " + server.url("/silent.html")))
        << silent.err;
    EXPECT_TRUE(holds(silent.err, "1 action(s) after the failed one were not run")) << silent.err;
}

TEST_F(HostCli, AnUnknownCommandAndAFailedExportFail) {
    const Printed bogus = run({"open", kStory, "attach", "command", "bogus"});
    EXPECT_EQ(bogus.status, 1);
    EXPECT_TRUE(holds(bogus.err, "unknown command \"bogus\"")) << bogus.err;

    const Printed unattached = run({"command", "command-select-auto"});
    EXPECT_EQ(unattached.status, 1);
    EXPECT_TRUE(holds(unattached.err, "needs an attached page")) << unattached.err;

    const Printed exported =
        run({"open", kStory, "attach", "select", "story", "answer-export",
             "EPUB | " + (home.root() / "no" / "such" / "folder").string() + " | story", "command",
             "command-export/tamrix"});
    EXPECT_EQ(exported.status, 1);
    EXPECT_TRUE(holds(exported.err, "tamrix-host: command: 'Output Folder' not exists"))
        << exported.err;
}

TEST_F(HostCli, AnAnswerThatDoesNotFitTheDialogIsAnErrorNotAnAbort) {
    const Printed misfit =
        run({"open", kStory, "attach", "answer-cancel", "command", "command-toolbar-about"});
    EXPECT_EQ(misfit.status, 1) << misfit.err;
    EXPECT_TRUE(holds(misfit.err, "does not fit the dialog \"About")) << misfit.err;
    EXPECT_FALSE(holds(misfit.err, "terminate called")) << misfit.err;

    const Printed noSuchField = run({"open", kStory, "attach", "select", "story", "answer-dialog",
                                     "Colour=red", "key", "ctrl+s"});
    EXPECT_EQ(noSuchField.status, 1);
    EXPECT_TRUE(holds(noSuchField.err, "the dialog has no field \"Colour\"")) << noSuchField.err;
    EXPECT_TRUE(entries().empty());
}

TEST_F(HostCli, FetchWritesThePageAloneToStandardOutput) {
    const Printed page = run({"fetch", "tarn://tamrix/latest"});
    EXPECT_EQ(page.status, 0) << page.err;
    EXPECT_TRUE(page.out.starts_with("<")) << page.out.substr(0, 200);
    EXPECT_FALSE(holds(page.out, "> fetch")) << page.out.substr(0, 200);
    EXPECT_FALSE(holds(page.out, "content type")) << page.out.substr(0, 200);
    EXPECT_TRUE(page.err.empty()) << page.err;

    // An entry that is not there is a page saying so; a page the protocol does not serve
    // is a failure, told on standard error, with nothing on standard output.
    const Printed notFound = run({"fetch", "tarn://tamrix/item?NOSUCHID"});
    EXPECT_EQ(notFound.status, 0) << notFound.err;
    EXPECT_TRUE(holds(notFound.out, "Clip not found")) << notFound.out.substr(0, 300);
    const Printed missing = run({"fetch", "tarn://tamrix/nosuchpage"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty()) << missing.out.substr(0, 200);
    EXPECT_TRUE(holds(missing.err, "tamrix-host: tarn://tamrix/nosuchpage was not served"))
        << missing.err;
}

TEST_F(HostCli, VersionQuietAndVerbose) {
    const Printed version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tamrix-host ") + TAMRIX_VERSION + "\n");

    const Printed quiet = run({"-q", "open", kStory, "attach", "select", "story", "answer-save",
                               "Quiet", "key", "ctrl+s"});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;
    EXPECT_TRUE(quiet.out.empty()) << quiet.out;

    const Printed verbose =
        run({"--verbose", "open", kStory, "attach", "command", "command-select-auto"});
    EXPECT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_TRUE(holds(verbose.err, "> open " + kStory)) << verbose.err;
    EXPECT_TRUE(holds(verbose.err, "< handled, ")) << verbose.err;
    EXPECT_TRUE(holds(verbose.err, " ms\n")) << verbose.err;
    EXPECT_FALSE(holds(verbose.err, "result: ")) << verbose.err;

    const Printed option = run({"--frobnicate", "report"});
    EXPECT_EQ(option.status, 2);
    EXPECT_TRUE(holds(option.err, "unknown option --frobnicate")) << option.err;
}

TEST_F(HostCli, AScriptWithAnUnknownActionIsAUsageError) {
    const fs::path script = home.root() / "script.txt";
    std::ofstream(script) << "# a comment\n\nopen " << kStory << "\nfrobnicate now\n";
    const Printed bad = run({"--script", script.string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(holds(bad.err, "line 4: unknown action \"frobnicate\"")) << bad.err;
}

TEST_F(HostCli, ReportEscapesControlCharactersOfStoredTitles) {
    const std::string title = "Bell\x07 and \x1b]0;owned\x07 \x1b[2J end";
    ASSERT_EQ(
        run({"open", kStory, "attach", "select", "story", "answer-save", title, "key", "ctrl+s"})
            .status,
        0);
    ASSERT_EQ(entries().size(), 1u);
    const Printed report = run({"report"});
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_TRUE(holds(report.out, "stored title: Bell\\x07 and \\e]0;owned\\x07 \\e[2J end"))
        << report.out;
    EXPECT_FALSE(holds(report.out, "\x1b")) << report.out;
    EXPECT_FALSE(holds(report.out, "\x07")) << report.out;
}

TEST_F(HostCli, TheSaveDialogTakesTagsAndTitlesHoldingABar) {
    ASSERT_EQ(run({"open", kStory, "attach", "select", "story", "answer-save",
                   "Fish \\| Chips | Food | Inbox | fried, salty", "key", "ctrl+s"})
                  .status,
              0);
    const Printed named = run({"open", kStory, "attach", "select", "story", "answer-save",
                               "Tags=late | Title=Named | Description=by name", "key", "ctrl+s"});
    EXPECT_EQ(named.status, 0) << named.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].title, "Fish | Chips");
    EXPECT_EQ(stored[0].category, "Food");
    EXPECT_EQ(stored[0].folder, "Inbox");
    EXPECT_TRUE(holds(stored[0].tags, "fried")) << stored[0].tags;
    EXPECT_TRUE(holds(stored[0].tags, "salty")) << stored[0].tags;
    EXPECT_EQ(stored[1].title, "Named");
    EXPECT_TRUE(holds(stored[1].tags, "late")) << stored[1].tags;
}

TEST_F(HostCli, ARightButtonDragSelectsTheRectanglesElementsAndCtrlSSavesThem) {
    // Escape lets go of the block the toolbar selected by itself; then the right button
    // draws the rectangle around the first block only.
    const Printed dragged = run({"open", kBlocks, "attach", "key", "escape", "drag", "5", "5",
                                 "400", "125", "right", "answer-save", "Dragged", "key", "ctrl+s"});
    EXPECT_EQ(dragged.status, 0) << dragged.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u) << dragged.err;
    EXPECT_TRUE(holds(stored[0].text, "First block text")) << stored[0].text;
    EXPECT_FALSE(holds(stored[0].text, "Second block")) << stored[0].text;
    EXPECT_FALSE(holds(stored[0].text, "Third block")) << stored[0].text;
}

TEST_F(HostCli, AClickSelectsTheElementUnderThePointer) {
    // In the tracking mode the element under the pointer is tracked and a click selects it.
    const Printed clicked =
        run({"open", kBlocks, "attach", "key", "escape", "command", "command-mode-track", "move",
             "600", "250", "click", "#words", "answer-save", "Clicked", "key", "ctrl+s"});
    EXPECT_EQ(clicked.status, 0) << clicked.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u) << clicked.err;
    EXPECT_TRUE(holds(stored[0].text, "First block text")) << stored[0].text;
    EXPECT_FALSE(holds(stored[0].text, "Third block")) << stored[0].text;

    const Printed outside = run({"open", kBlocks, "click", "5000", "5"});
    EXPECT_EQ(outside.status, 0) << outside.err;
    const Printed wrong = run({"open", kBlocks, "click", "#nothing"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(holds(wrong.err, "no element with id nothing")) << wrong.err;
}

TEST_F(HostCli, ATextSelectionBetweenTwoPointsIsClippedAsText) {
    const Printed selected = run({"open", kBlocks, "attach", "select-text", "#words", "command",
                                  "command-select-text", "answer-save", "Words", "key", "ctrl+s"});
    EXPECT_EQ(selected.status, 0) << selected.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u) << selected.err;
    EXPECT_TRUE(holds(stored[0].text, "First block text that is kept.")) << stored[0].text;

    const Printed nothing = run({"open", kBlocks, "select-text", "700", "700", "800", "800"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(holds(nothing.err, "no text lies between")) << nothing.err;
}

TEST_F(HostCli, TarnAndTamrixAddressesOpenAsPages) {
    const Printed latest = run({"open", "tarn://tamrix/latest"});
    EXPECT_EQ(latest.status, 0) << latest.err;
    EXPECT_TRUE(holds(latest.err, "page: tarn://tamrix/latest")) << latest.err;
    const Printed missing = run({"open", "tarn://tamrix/no-such-page"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(holds(missing.err, "cannot open tarn://tamrix/no-such-page")) << missing.err;
}

TEST_F(HostCli, APageWithATagOfTooManyAttributesOpensAndSaysWhatWasLeftOut) {
    const fs::path page = home.root() / "attributes.html";
    {
        std::ofstream out(page);
        out << "<html><body><p id=story";
        for (int i = 0; i < 20000; ++i) {
            out << " a" << i << "=" << i;
        }
        out << ">Text of the story.</p></body></html>";
    }
    const Printed opened = run({"open", page.string(), "attach", "select", "story"});
    EXPECT_EQ(opened.status, 0) << opened.err;
    EXPECT_TRUE(holds(opened.err, "page note: 1 tag has more than 256 attributes (up to 20001)"))
        << opened.err;
}

TEST_F(HostCli, GrabPageFillsItsPlaceholderWithTheFetchedPage) {
    testing_http::LoopbackServer server;
    server.reply("/page.html",
                 {.body = "<html><head><title>Served</title></head><body><div id=main><h1>Served "
                          "heading</h1><p>The served paragraph holds the text that a grab keeps "
                          "when it reads the page again, long enough to be the main block of the "
                          "page.</p><p>A second paragraph of the served page, with more words in "
                          "it for the reader.</p></div></body></html>",
                  .contentType = "text/html; charset=utf-8"});
    const Printed grabbed =
        run({"open", server.url("/page.html"), "attach", "command", "command-select-grab-link",
             "answer-save", "Grabbed", "key", "ctrl+s"});
    EXPECT_EQ(grabbed.status, 0) << grabbed.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u) << grabbed.err;
    EXPECT_TRUE(holds(stored[0].html, "served paragraph")) << stored[0].html;
    EXPECT_FALSE(holds(stored[0].html, "Loading")) << stored[0].html;
}

TEST_F(HostCli, GrabLinksFillsEachPlaceholderWithItsFetchedPage) {
    testing_http::LoopbackServer server;
    const auto article = [](const std::string& name) {
        return testing_http::Reply{
            .body = "<html><head><title>" + name + "</title></head><body><div id=main><h1>" + name +
                    " heading</h1><p>The " + name +
                    " paragraph holds the text that the grab keeps when it fetches the linked "
                    "page, long enough to be the main block of that page.</p><p>Another "
                    "paragraph of the " +
                    name + " page, with more words in it for the reader.</p></div></body></html>",
            .contentType = "text/html; charset=utf-8"};
    };
    server.reply("/first.html", article("first"));
    server.reply("/second.html", article("second"));
    server.reply("/list.html",
                 {.body = "<html><body><ul id=links><li><a href='" + server.url("/first.html") +
                          "'>First story</a></li><li><a href='" + server.url("/second.html") +
                          "'>Second story</a></li></ul></body></html>",
                  .contentType = "text/html; charset=utf-8"});
    const Printed grabbed =
        run({"open", server.url("/list.html"), "attach", "select", "links", "command",
             "command-select-grab-links", "answer-save", "Linked", "key", "ctrl+s"});
    EXPECT_EQ(grabbed.status, 0) << grabbed.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u) << grabbed.err;
    EXPECT_TRUE(holds(stored[0].html, "first paragraph holds")) << stored[0].html;
    EXPECT_TRUE(holds(stored[0].html, "second paragraph holds")) << stored[0].html;
    EXPECT_FALSE(holds(stored[0].html, "Loading")) << stored[0].html;
}

TEST_F(HostCli, DeleteFromTheSidePanesMenuRemovesTheEntryAndLogsIt) {
    ASSERT_EQ(run({"open", kStory, "attach", "select", "story", "answer-save",
                   "Doomed | News | Inbox", "key", "ctrl+s"})
                  .status,
              0);
    ASSERT_EQ(entries().size(), 1u);
    const Printed deleted = run({"pane-menu", "Doomed | Delete"});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_TRUE(holds(deleted.err, "menu: Delete")) << deleted.err;
    EXPECT_TRUE(entries().empty()) << deleted.err;
    EXPECT_EQ(countRows(L"SELECT count(*) FROM log WHERE name = 'delete'"), 1) << deleted.err;

    const Printed unknown = run({"pane-menu", "Nothing like it | Delete"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(holds(unknown.err, "lists no entry, folder, category or site \"Nothing like it\""))
        << unknown.err;
}

TEST_F(HostCli, ThePanesSettingsReachTheSyncSettingsAndSyncNowFailsWithoutAServer) {
    const Printed properties =
        run({"answer-dialog", "Server=http://127.0.0.1:1/sync | Key=abc | OK", "pane-settings",
             "Properties"});
    EXPECT_EQ(properties.status, 0) << properties.err;
    EXPECT_TRUE(holds(properties.err, "menu: Properties")) << properties.err;
    const Printed sync = run({"sync"}, 120);
    EXPECT_EQ(sync.status, 1) << sync.err;
    EXPECT_TRUE(holds(sync.err, "tamrix-host: sync: ")) << sync.err;

    const Printed setting = run({"answer-cancel", "pane-settings", "Setting"});
    EXPECT_EQ(setting.status, 0) << setting.err;
    EXPECT_EQ(host_tests::countLines(setting.err, "dialog: ", "Lorvane Setting"), 1u)
        << setting.err;
}

TEST_F(HostCli, SetStoresAUserSetting) {
    const Printed set = run({"set", "Mail\\To", "friend@example.net"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(
        holds(readText(home.configHome() / "Olvan" / "registry.txt"), "friend@example.net"));
    const Printed bad = run({"set", "Request\\Number", "2", "set", "Request\\Number", "many"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(holds(bad.err, "holds a whole number")) << bad.err;
}

TEST_F(HostCli, PrintToPdfTakesTheDeviceFromTheDialog) {
    const fs::path books = home.root() / "books";
    fs::create_directories(books);
    const Printed printed =
        run({"open", kStory, "attach", "select", "story", "answer-print",
             "Kindle DX | " + books.string() + " | story", "command", "command-print-pdf"},
            120);
    EXPECT_EQ(printed.status, 0) << printed.err;
    ASSERT_TRUE(fs::exists(books / "story.pdf")) << printed.err;
    const Printed wrong = run({"open", kStory, "attach", "answer-print", "Etch-a-Sketch", "command",
                               "command-print-pdf"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(holds(wrong.err, "no single row \"Etch-a-Sketch\"")) << wrong.err;
}

TEST_F(HostCli, TheSidePanesMenusRenameAFolderAndMoveAnEntry) {
    for (const char* saved : {"One | News | Inbox", "Two | News | Later"}) {
        ASSERT_EQ(run({"open", kStory, "attach", "select", "story", "answer-save", saved, "key",
                       "ctrl+s"})
                      .status,
                  0);
    }
    // The rename dialog's one field takes the value given without a name.
    const Printed renamed = run({"answer-dialog", "Archive", "pane-menu", "Later | Rename"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    const Printed moved = run({"pane-menu", "One | Folder > Archive"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].folder, "Archive");
    EXPECT_EQ(stored[1].folder, "Archive");

    const Printed missing = run({"pane-menu", "One | Folder > Nowhere"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(holds(missing.err, "the menu has no item \"Folder > Nowhere\"")) << missing.err;
}

TEST_F(HostCli, TheWheelScrollsThePageUnderThePointer) {
    const fs::path tall = home.root() / "tall.html";
    {
        std::ofstream page(tall);
        page << "<html><body style=\"margin: 0\">";
        for (int i = 0; i < 30; ++i) {
            page << "<p id=\"p" << i << "\" style=\"margin: 0; height: 100px\">Line " << i
                 << "</p>";
        }
        page << "</body></html>";
    }
    // Two notches down scroll 200 pixels: the point that showed the first paragraph now
    // shows the third.
    const Printed scrolled = run({"--verbose", "open", tall.string(), "move", "20", "50", "wheel",
                                  "20", "50", "-240", "move", "20", "60", "dblclick", "20", "60"});
    EXPECT_EQ(scrolled.status, 0) << scrolled.err;
    EXPECT_TRUE(holds(scrolled.err, "mouseover at 20,50 on P#p0")) << scrolled.err;
    EXPECT_TRUE(holds(scrolled.err, "mousewheel at 20,50 on P#p0")) << scrolled.err;
    EXPECT_TRUE(holds(scrolled.err, "mouseover at 20,60 on P#p2")) << scrolled.err;
    EXPECT_TRUE(holds(scrolled.err, "dblclick at 20,60 on P#p2")) << scrolled.err;
}
