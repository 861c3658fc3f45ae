#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "addon/export/tests/private_cups.h"
#include "common/sqlite/sqlite_db.h"
#include "common/util/registry_string.h"
#include "host/tests/host_process.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;

using host_tests::kHost;
using host_tests::Printed;
using host_tests::readText;
using host_tests::runWords;
const fs::path kPlugins = fs::path(TAMRIX_STAGE_DIR) / "data" / "plugins";
const std::string kStory = std::string(TAMRIX_TEST_DATA) + "/story.html";

struct Entry {
    std::wstring title, url, category, folder, text, html;
};

bool has(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// Well-formed XML once wrapped in one element: what Tidy's XHTML output must be.
bool isWellFormed(const std::wstring& html) {
    const std::string xml = "<div>" + platform::text::toUtf8(html) + "</div>";
    xmlDocPtr document =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "entry.xml", "UTF-8",
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool parsed = document != nullptr;
    xmlFreeDoc(document);
    return parsed;
}

class HostRun : public ::testing::Test {
  protected:
    int runHost(const std::vector<std::string>& actions) {
        const fs::path script = home.root() / "script.txt";
        std::ofstream out(script);
        for (const std::string& action : actions) {
            out << action << "\n";
        }
        out.close();
        const platform::system::ProcessResult result = platform::system::runProcess(
            {kHost.string(), "--script", script.string()}, std::chrono::seconds(180),
            {.workingFolder = "", .discardOutput = true});
        EXPECT_TRUE(result.started) << result.error;
        EXPECT_FALSE(result.timedOut);
        return result.exitCode;
    }

    fs::path repository() const { return home.dataHome() / "Olvan" / "Tamrix" / "tamrix.db"; }

    std::vector<Entry> entries() {
        std::vector<Entry> found;
        if (!fs::exists(repository())) {
            return found;
        }
        common::SqliteDB db(repository().wstring(), true);
        auto statement = db.prepareStatement(
            L"SELECT title, url, category, folder, text, html FROM entry ORDER BY rowid");
        for (auto rows = statement.query(); !rows.eof(); rows.next()) {
            found.push_back({rows.columnText(0), rows.columnText(1), rows.columnText(2),
                             rows.columnText(3), rows.columnText(4), rows.columnText(5)});
        }
        return found;
    }

    testing_environment::TemporaryHome home;
};

}  // namespace

TEST_F(HostRun, CtrlSStoresTheCleanedPageInTheRepository) {
    ASSERT_EQ(runHost({"open " + kStory, "attach", "select story",
                       "answer-save Saved story | News | Inbox", "key ctrl+s", "report"}),
              0);
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u);
    const Entry& entry = stored[0];
    EXPECT_EQ(entry.title, L"Saved story");
    EXPECT_EQ(entry.category, L"News");
    EXPECT_EQ(entry.folder, L"Inbox");
    EXPECT_EQ(entry.url, L"file://" + platform::text::fromUtf8(kStory));
    EXPECT_TRUE(has(entry.text, L"Story text that matters."));
    EXPECT_TRUE(has(entry.html, L"Story headline"));
    EXPECT_TRUE(has(entry.html, L"<b>kept</b>"));
    EXPECT_FALSE(has(entry.html, L"<script"));
    EXPECT_FALSE(has(entry.html, L"<iframe"));
    EXPECT_FALSE(has(entry.html, L"onclick"));
    EXPECT_FALSE(has(entry.html, L"onmouseover"));
    EXPECT_FALSE(has(entry.html, L"onload"));
    EXPECT_FALSE(has(entry.html, L"javascript:"));
    EXPECT_FALSE(has(entry.html, L"hidden teaser"));
    EXPECT_FALSE(has(entry.html, L"__classClip"));
    EXPECT_FALSE(has(entry.html, L"<body"));
    EXPECT_FALSE(has(entry.html, L"<head"));
    EXPECT_FALSE(has(entry.html, L"Menu"));  // outside the selected block
    EXPECT_FALSE(has(entry.html, L"<font"));
    EXPECT_TRUE(has(entry.html, L"<br />"));
    EXPECT_TRUE(isWellFormed(entry.html)) << platform::text::toUtf8(entry.html);
}

TEST_F(HostRun, ToolbarCommandSavesAndACancelledDialogStoresNothing) {
    EXPECT_EQ(runHost({"open " + kStory, "attach", "answer-cancel", "command command-save/tamrix"}),
              0);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(runHost({"open " + kStory, "attach", "answer-save From the toolbar",
                       "open tamrix://$toolbar/save/tamrix"}),
              0);
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].title, L"From the toolbar");
}

TEST_F(HostRun, PageAddressesCannotLoadAModuleOrTouchFilesOutsideTheDataFolders) {
    // A copy of the real plug-in outside the data folders: loading it would save an entry.
    const fs::path outside = home.root() / "outside";
    fs::create_directories(outside);
    fs::copy_file(kPlugins / "tamrix" / "plugin.so", outside / "plugin.so");
    const std::string climb = fs::relative(outside, kPlugins).string();
    ASSERT_TRUE(climb.starts_with("..")) << climb;
    ASSERT_EQ(
        runHost({"open " + kStory, "attach", "select story", "open tamrix://$toolbar/save/" + climb,
                 "open tamrix://$toolbar/export/" + climb, "open tamrix://$toolbar/save/..",
                 "open tamrix://$toolbar/save/%2e%2e"}),
        0);
    // A theme that is none of the shipped ones is refused with a message, a failed action.
    EXPECT_EQ(runHost({"open " + kStory, "attach",
                       "open tamrix://$toolbar/toolbar-reload/../../../outside"}),
              1);
    EXPECT_TRUE(entries().empty());
    EXPECT_FALSE(fs::exists(repository()));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
}

TEST_F(HostRun, SavedEntryIsServedOnTheLatestPageAndMissingPagesFail) {
    const fs::path page = home.root() / "latest.html";
    ASSERT_EQ(runHost({"open " + kStory, "attach", "select story",
                       "answer-save Fish & <Chips> | News | Inbox", "key ctrl+s",
                       "fetch tarn://tamrix/latest " + page.string()}),
              0);
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(html.find("Fish &amp; &lt;Chips&gt;"), std::string::npos) << html;

    const fs::path missing = home.root() / "missing.html";
    EXPECT_NE(runHost({"fetch tarn://tamrix/no-such-page " + missing.string()}), 0);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_NE(runHost({"fetch tamrix://../../etc/passwd " + missing.string()}), 0);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(HostRun, SendByEmailWritesTheMessageIntoTheOutbox) {
    const fs::path outbox = home.dataHome() / "Olvan" / "Tamrix" / "outbox";
    const auto messages = [&outbox] {
        std::vector<fs::path> found;
        if (fs::exists(outbox)) {
            for (const auto& file : fs::directory_iterator(outbox)) {
                if (file.path().extension() == ".eml") {
                    found.push_back(file.path());
                }
            }
        }
        return found;
    };
    // Without addresses the command reports the missing setting, sends nothing and fails.
    const Printed unset = runWords(home.root(), {"open", kStory, "attach", "select", "story",
                                                 "command", "command-send-email"});
    EXPECT_EQ(unset.status, 1);
    EXPECT_NE(unset.err.find("tamrix-host: command: Can't send by Email"), std::string::npos)
        << unset.err;
    EXPECT_TRUE(messages().empty());

    for (const auto& [name, value] :
         {std::pair{L"From", L"me@example.org"}, std::pair{L"To", L"friend@example.net"}}) {
        common::registry_string<std::wstring> setting(
            std::wstring(L"Software\\Olvan\\Tamrix\\Mail\\") + name,
            platform::registry::HKEY_CURRENT_USER, L"", common::kRegistrySaveOnAssign);
        setting = value;
    }
    EXPECT_EQ(runHost({"open " + kStory, "attach", "select story", "command command-send-email"}),
              0);
    const auto sent = messages();
    ASSERT_EQ(sent.size(), 1u);
    std::ifstream in(sent[0], std::ios::binary);
    const std::string message((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(message.find("me@example.org"), std::string::npos) << message.substr(0, 400);
    EXPECT_NE(message.find("friend@example.net"), std::string::npos);
    EXPECT_NE(message.find("text/html"), std::string::npos);
}

TEST_F(HostRun, HelpListsEveryActionWithExamples) {
    const Printed help = runWords(home.root(), {"--help"});
    EXPECT_EQ(help.status, 0);
    const std::vector<std::string> listed = {"open ADDRESS",
                                             "attach",
                                             "select ID",
                                             "select-text",
                                             "move P",
                                             "press P",
                                             "release P",
                                             "click P",
                                             "dblclick P",
                                             "drag P1 P2",
                                             "wheel P DELTA",
                                             "key COMBINATION",
                                             "command COMMAND",
                                             "answer-save FIELDS",
                                             "answer-export",
                                             "answer-print",
                                             "answer-dialog",
                                             "answer-cancel",
                                             "answer-message BUTTON",
                                             "answer-menu ITEM",
                                             "answer-folder",
                                             "report",
                                             "pane",
                                             "pane-menu",
                                             "pane-settings",
                                             "sync",
                                             "set NAME",
                                             "fetch URL",
                                             "--script FILE",
                                             "demo",
                                             "--quiet",
                                             "--verbose",
                                             "--keep-going",
                                             "--version",
                                             "Examples:",
                                             "Exit status"};
    for (const std::string& action : listed) {
        EXPECT_NE(help.out.find(action), std::string::npos) << action;
    }
    EXPECT_TRUE(help.err.empty()) << help.err;
}

TEST_F(HostRun, ActionsMayBeSeparateWordsOrWholeAndMistakesSayWhatToDo) {
    const fs::path latest = home.root() / "latest.html";
    const Printed separate = runWords(
        home.root(), {"open", kStory, "attach", "select", "story", "answer-save", "Two", "words",
                      "key", "ctrl+s", "fetch", "tarn://tamrix/latest", latest.string()});
    EXPECT_EQ(separate.status, 0) << separate.err;
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entries()[0].title, L"Two words");
    EXPECT_NE(readText(latest).find("Two words"), std::string::npos);

    const Printed whole = runWords(home.root(), {"open " + kStory, "attach", "report"});
    EXPECT_EQ(whole.status, 0) << whole.err;

    const Printed unknown = runWords(home.root(), {"frobnicate", "x"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown action \"frobnicate\""), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find("--help"), std::string::npos);
    const Printed lacking = runWords(home.root(), {"open", kStory, "select"});
    EXPECT_EQ(lacking.status, 2);
    EXPECT_NE(lacking.err.find("select needs the id of a page element, for example"),
              std::string::npos)
        << lacking.err;
}

TEST_F(HostRun, CtrlPPrintsThePageOnTheDefaultPrinter) {
    export_test::PrivateCups cups(home);
    if (!cups.failure().empty()) {
        GTEST_SKIP() << cups.failure();
    }
    ASSERT_TRUE(cups.addPdfPrinter());
    const Printed run = runWords(home.root(), {"open", kStory, "attach", "key", "ctrl+p"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("message:"), std::string::npos) << run.err;
    const auto printed = cups.waitForPrinted();
    ASSERT_TRUE(printed.has_value()) << run.out;
    EXPECT_EQ(printed->rfind("%!PS", 0), 0u);

    const Printed preview =
        runWords(home.root(), {"open", kStory, "attach", "key", "ctrl+shift+p"});
    EXPECT_EQ(preview.status, 0) << preview.err;
    EXPECT_NE(preview.err.find("show (open): "), std::string::npos) << preview.err;
    EXPECT_TRUE(fs::exists(home.dataHome() / "Olvan" / "Tamrix" / "Printed"));
}

TEST_F(HostRun, ASaveOpensTheSidePaneWhichTheSwitchClosesAgain) {
    const Printed saved = runWords(home.root(), {"open", kStory, "attach", "select", "story",
                                                 "answer-save", "Kept", "key", "ctrl+s", "pane"});
    EXPECT_EQ(saved.status, 0) << saved.out << saved.err;
    EXPECT_NE(saved.err.find("side pane: shown beside the page"), std::string::npos) << saved.err;

    // The switch finds the shown bar (the browser's version is known) and closes it.
    const Printed switched =
        runWords(home.root(), {"open", kStory, "attach", "command", "command-lorvane-show", "pane",
                               "command", "command-lorvane-switch", "pane"});
    EXPECT_EQ(switched.status, 1);
    EXPECT_NE(switched.err.find("side pane: shown beside the page"), std::string::npos);
    EXPECT_NE(switched.err.find("the side pane is not shown"), std::string::npos) << switched.err;
}

TEST_F(HostRun, APageThatCannotBeLaidOutIsToldAndNeitherGrabbedPrintedNorCaptured) {
    const fs::path deep = home.root() / "deep.html";
    {
        std::ofstream page(deep);
        page << "<html><head><title>Deep</title></head><body><p>Top</p>";
        for (int i = 0; i < 1000; ++i) {
            page << "<div>";
        }
        page << "</body></html>";
    }
    const fs::path picture = home.dataHome() / "Olvan" / "Tamrix" / "webpage.png";
    const std::string reason =
        "The page cannot be laid out: its elements nest more than 400 levels deep.";
    // Each refusal fails its action; --keep-going runs the rest.
    const Printed run = runWords(
        home.root(), {"--keep-going", "open", deep.string(), "attach", "key", "ctrl+g", "command",
                      "command-select-auto", "command", "command-export/image", "key", "ctrl+p"});
    EXPECT_EQ(run.status, 1) << run.err;
    const std::size_t told = host_tests::countLines(run.err, "message: ", reason);
    // Told when the toolbar's first automatic selection finds nothing to measure, then at
    // the grab, the automatic selection, the capture and the print.
    EXPECT_EQ(told, 5u) << run.err;
    EXPECT_FALSE(fs::exists(picture));
    EXPECT_FALSE(fs::exists(home.dataHome() / "Olvan" / "Tamrix" / "Printed"));
    EXPECT_TRUE(entries().empty());

    const fs::path big = home.root() / "big.html";
    std::ofstream(big) << "<html><body><p>" << std::string(17u << 20, 'w') << "</p></body></html>";
    const Printed large =
        runWords(home.root(), {"open", big.string(), "attach", "command", "command-export/image"});
    EXPECT_EQ(large.status, 1) << large.err;
    EXPECT_NE(large.err.find("The page cannot be laid out: its markup is larger than 16 MB."),
              std::string::npos)
        << large.err;
    EXPECT_FALSE(fs::exists(picture));
}
