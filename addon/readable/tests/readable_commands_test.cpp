#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "addon/commands/command_processor.h"
#include "addon/commands/page_styles.h"
#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/grab_rules.h"
#include "addon/readable/readable_commands.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
using namespace page_fixtures;

namespace {

// A story whose markup carries what a browser would run.
constexpr const wchar_t* kActivePage =
    L"<html><head><title>Active</title></head><body onload=\"steal(1)\">"
    L"<div id=story onmouseover=\"steal(2)\"><p onclick=\"steal(3)\">The first paragraph of the "
    L"story is long enough to be the article, with words enough for the scorer to like it "
    L"well, and more words after that.</p><script>steal(4)</script>"
    L"<iframe src=\"http://ads.test/frame\"></iframe>"
    L"<p>The second paragraph <a href=\"javascript:steal(5)\">runs</a> and <a "
    L"href=\"http://e.test/next\" onfocus=\"steal(6)\">links on</a>, and it too is long enough "
    L"to count as the body of the story that the reader wants to keep.</p>"
    L"<noscript><iframe src=\"http://ads.test/2\"></iframe></noscript></div></body></html>";

class ReadableCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path data(TAMRIX_STAGE_DIR "/data");
        ASSERT_EQ(loadPageStyles((data / "pagestyles.xml").wstring(),
                                 (data / "resources/pagestyles").wstring()),
                  0);
        ASSERT_EQ(loadGrabRules((data / "grab.xml").wstring()), 0);
    }

    // Runs the command on the page, undoes, redoes: byte-equal pages each way.
    void roundTrip(const std::shared_ptr<dom::Document>& document,
                   std::unique_ptr<ICommand> command, std::vector<ElementPtr> elements = {}) {
        const std::wstring original = serialize(*document);
        command->context().document = document;
        command->context().elements = std::move(elements);
        CommandProcessor processor;
        processor.run(std::move(command));
        const std::wstring changed = serialize(*document);
        EXPECT_NE(changed, original);
        EXPECT_NE(document->body()->getAttribute(L"id"), std::nullopt);
        const ElementPtr readable = document->body();
        processor.undo();
        EXPECT_EQ(serialize(*document), original);
        processor.redo();
        EXPECT_EQ(serialize(*document), changed);
        EXPECT_EQ(document->body(), readable);  // the same body object again
        processor.undo();
        EXPECT_EQ(serialize(*document), original);
    }

    // The readable body carries the story's text and link, and nothing the browser runs;
    // undoing brings the page back as it was.
    void expectInertReadablePage(std::unique_ptr<ICommand> command, bool selectStory) {
        const auto document = parsePage(kActivePage, L"http://e.test/story");
        const std::wstring original = serialize(*document);
        command->context().document = document;
        if (selectStory)
            command->context().elements = {document->getElementById(L"story")};
        CommandProcessor processor;
        processor.run(std::move(command));
        const std::wstring shown = document->body()->outerHTML();
        EXPECT_NE(shown.find(L"second paragraph"), std::wstring::npos) << shown;
        EXPECT_NE(shown.find(L"http://e.test/next"), std::wstring::npos) << shown;
        EXPECT_EQ(shown.find(L"steal("), std::wstring::npos) << shown;
        EXPECT_EQ(document->body()->getElementsByTagName(L"SCRIPT").size(), 0u);
        EXPECT_EQ(document->body()->getElementsByTagName(L"IFRAME").size(), 0u);
        EXPECT_EQ(shown.find(L"ads.test"), std::wstring::npos) << shown;
        processor.undo();
        EXPECT_EQ(serialize(*document), original);
    }

    testing_environment::TemporaryHome home;
};

// A worker that runs until asked to stop.
class WaitingWorker : public CThreadImpl<WaitingWorker> {
  public:
    explicit WaitingWorker(std::atomic<int>& running) : running_(running) { resume(); }
    ~WaitingWorker() override { stopAndJoin(); }
    static std::uint32_t threadProc(WaitingWorker* self) {
        ++self->running_;
        while (self->sleepUnlessStopped(std::chrono::milliseconds(20))) {
        }
        --self->running_;
        return 0;
    }

  private:
    std::atomic<int>& running_;
};

}  // namespace

TEST_F(ReadableCommandsTest, EveryRebuildRoundTripsOnEveryFixturePage) {
    for (const auto& name : kPages) {
        SCOPED_TRACE(name);
        {
            const auto document = loadPage(name);
            roundTrip(document, std::make_unique<GrabCommand>(L"default"));
        }
        {
            const auto document = loadPage(name);
            roundTrip(document, std::make_unique<GrabCommand>(L"Modern"),
                      {document->getElementsByTagName(L"p").front()});
        }
        {
            const auto document = loadPage(name);
            const auto paragraphs = document->getElementsByTagName(L"p");
            roundTrip(document, std::make_unique<IsolateCommand>(),
                      {paragraphs.front(), paragraphs.back()});
        }
        {
            const auto document = loadPage(name);
            roundTrip(document, std::make_unique<FormatCommand>(L"Night", getStyleCss(L"Night")));
        }
    }
}

TEST_F(ReadableCommandsTest, GrabWithoutSelectionTakesTheArticleOfTheLaidOutPage) {
    // The page laid out: the layout finder's column holds the article and the side box;
    // the article holds most of its prose, so the article alone is taken.
    const auto document = loadPage("news.html");
    GrabCommand grab(L"");
    grab.context().document = document;
    grab.execute();
    const std::wstring body = document->body()->outerHTML();
    EXPECT_NE(body.find(L"id=\"article\""), std::wstring::npos);
    EXPECT_EQ(body.find(L"id=\"wrap\""), std::wstring::npos);
    EXPECT_EQ(body.find(L"Most read"), std::wstring::npos);
    EXPECT_EQ(body.find(L"id=\"header\""), std::wstring::npos);
}

TEST_F(ReadableCommandsTest, GrabWithoutSelectionTakesTheScorersArticleAndTheStyle) {
    // Before the page is laid out the finder finds nothing and the scorer chooses.
    const auto document = loadPage("news.html");
    document->setLayoutEngine(std::make_unique<NoLayout>());
    GrabCommand grab(L"");
    grab.context().document = document;
    grab.execute();
    const std::wstring body = document->body()->outerHTML();
    EXPECT_NE(body.find(L"id=\"article\""), std::wstring::npos);
    EXPECT_EQ(body.find(L"Most read"), std::wstring::npos);
    EXPECT_EQ(document->body()->className(), L"tamrix_readable tamrix_novel");
    const auto novel = document->getElementById(L"Novel");
    ASSERT_NE(novel, nullptr);
    EXPECT_EQ(getTagName(novel), L"style");
    // The page's own sheet is off while the readable page shows.
    EXPECT_TRUE(document->styleSheets().front()->disabled());
    EXPECT_FALSE(document->styleSheets().back()->disabled());
}

// A selected table body (the automatic selection takes the body of a list that is a table)
// is grabbed as a table: written alone, its rows and cells were dropped and the words of
// every row ran together.
TEST_F(ReadableCommandsTest, AGrabbedTableBodyKeepsItsRowsAndCells) {
    const auto document = parsePage(
        L"<BODY><TABLE><CAPTION>Films</CAPTION><TBODY id=rows><TR><TD>Repeat Performance</TD>"
        L"<TD>1947</TD></TR><TR><TD>Groundhog Day</TD><TD>1993</TD></TR></TBODY></TABLE></BODY>");
    GrabCommand grab(L"");
    grab.context().document = document;
    grab.context().elements = {document->getElementById(L"rows")};
    grab.execute();
    const auto body = document->body();
    EXPECT_EQ(body->getElementsByTagName(L"TABLE").size(), 1u) << body->outerHTML();
    EXPECT_EQ(body->getElementsByTagName(L"TR").size(), 2u);
    EXPECT_EQ(body->getElementsByTagName(L"TD").size(), 4u);
}

TEST_F(ReadableCommandsTest, TwoGrabsAndTwoUndosRestoreThePage) {
    const auto document = loadPage("blog.html");
    const std::wstring original = serialize(*document);
    CommandProcessor processor;
    for (const wchar_t* style : {L"Novel", L"Modern"}) {
        auto grab = std::make_unique<GrabCommand>(style);
        grab->context().document = document;
        processor.run(std::move(grab));
    }
    const std::wstring twice = serialize(*document);
    processor.undo();
    processor.undo();
    EXPECT_EQ(serialize(*document), original);
    processor.redo();
    processor.redo();
    EXPECT_EQ(serialize(*document), twice);
}

TEST_F(ReadableCommandsTest, TitleAddressAndLinkTextsAreEscaped) {
    const auto document = parsePage(
        L"<html><head><title>A &lt;b&gt; &amp; \"q\"</title></head><body><p>x</p></body></html>",
        L"http://e.test/?a=1&b=\"2\"");
    GrabCommand grab(L"Novel");
    grab.context().document = document;
    grab.context().elements = {document->getElementsByTagName(L"p").front()};
    grab.execute();
    const std::wstring body = document->body()->innerHTML();
    EXPECT_NE(body.find(L"A &lt;b&gt; &amp; \"q\"</A>"), std::wstring::npos) << body;
    EXPECT_EQ(document->getElementsByTagName(L"b").size(), 0u);
    EXPECT_EQ(document->getElementsByTagName(L"a").front()->getAttribute(L"href"),
              L"http://e.test/?a=1&b=\"2\"");

    const auto page = loadPage("short.html");
    std::atomic<int> running{0};
    GrabLinksCommand links({{L"<i>One</i>", L"http://a.test/1"}, {L"Two", L"http://a.test/2"}},
                           [&](std::shared_ptr<dom::Document>, std::vector<common::StringPair>) {
                               return std::make_unique<WaitingWorker>(running);
                           });
    links.context().document = page;
    links.execute();
    EXPECT_EQ(page->getElementsByTagName(L"i").size(), 0u);
    EXPECT_NE(page->getElementById(L"readable_content_1"), nullptr);
    EXPECT_EQ(page->getElementsByTagName(L"hr").size(), 1u);
    links.undo();
    EXPECT_EQ(running.load(), 0);  // the worker was stopped and joined
}

TEST_F(ReadableCommandsTest, FormatDropsEventHandlersFromTheReadableBody) {
    const auto document = parsePage(
        L"<html><body onload=\"steal()\"><div onmouseover=\"steal()\">"
        L"<p onclick=\"steal()\">Kept text</p></div></body></html>");
    FormatCommand format(L"Night", getStyleCss(L"Night"));
    format.context().document = document;
    format.execute();
    const std::wstring shown = document->body()->outerHTML();
    EXPECT_NE(shown.find(L"Kept text"), std::wstring::npos) << shown;
    EXPECT_EQ(shown.find(L"steal()"), std::wstring::npos) << shown;
    format.undo();
    EXPECT_NE(document->body()->outerHTML().find(L"onclick"), std::wstring::npos);
}

TEST_F(ReadableCommandsTest, NoLinksNoBodyNoChange) {
    const auto document = loadPage("news.html");
    const std::wstring original = serialize(*document);
    bool started = false;
    GrabLinksCommand links({}, [&](auto, auto) {
        started = true;
        return std::unique_ptr<CThreadT<1>>();
    });
    links.context().document = document;
    links.execute();
    EXPECT_EQ(serialize(*document), original);
    EXPECT_FALSE(started);
    links.undo();
    EXPECT_EQ(serialize(*document), original);

    const auto bodiless = parsePage(L"<frameset></frameset>");
    const std::wstring frames = serialize(*bodiless);
    GrabCommand grab(L"Novel");
    grab.context().document = bodiless;
    grab.execute();
    grab.undo();
    EXPECT_EQ(serialize(*bodiless), frames);
}

TEST_F(ReadableCommandsTest, ReadablePagesCarryNoScriptsFramesOrHandlers) {
    expectInertReadablePage(std::make_unique<GrabCommand>(L"Novel"), true);
    expectInertReadablePage(std::make_unique<GrabCommand>(L"Novel"), false);
    expectInertReadablePage(std::make_unique<IsolateCommand>(), true);
}

TEST_F(ReadableCommandsTest, APageWhoseTitleStandsInTheBodyKeepsItWhileReadable) {
    // Markup the head cannot hold ends it: the title that follows goes into the body.
    const auto document = parsePage(
        L"<html><head><meta charset=utf-8><span>Menu</span><title>Night Ferry</title></head>"
        L"<body><div id=story><p>The ferry left the harbour after dark, and the passengers "
        L"who stayed on deck watched the lights of the town fall behind them.</p><p>By "
        L"midnight the sea was calm, and the crossing was quiet until the first light.</p>"
        L"</div></body></html>",
        L"http://e.test/ferry");
    ASSERT_EQ(getTagName(document->getElementsByTagName(L"TITLE").front()->parentElement()),
              L"body");
    const std::wstring original = serialize(*document);
    for (bool selected : {false, true}) {
        CommandProcessor processor;
        auto grab = std::make_unique<GrabCommand>(L"Novel");
        grab->context().document = document;
        if (selected)
            grab->context().elements = {document->getElementById(L"story")};
        processor.run(std::move(grab));
        EXPECT_EQ(document->title(), L"Night Ferry");
        EXPECT_NE(document->body()->innerText().find(L"first light"), std::wstring::npos);
        processor.undo();
        EXPECT_EQ(serialize(*document), original);
        processor.redo();
        EXPECT_EQ(document->title(), L"Night Ferry");
        processor.undo();
    }
    // The page's own markup already holds the title: it is not doubled.
    FormatCommand format(L"Night", getStyleCss(L"Night"));
    format.context().document = document;
    format.execute();
    EXPECT_EQ(document->getElementsByTagName(L"TITLE").size(), 1u);
    EXPECT_EQ(document->title(), L"Night Ferry");
    format.undo();
    EXPECT_EQ(serialize(*document), original);
}

TEST_F(ReadableCommandsTest, AStoryInsideAScriptLinkIsGrabbedWithoutTheLink) {
    const auto document = parsePage(
        L"<html><head><title>Linked</title></head><body><a href=\"javascript:open()\">"
        L"<p>The whole story of this page stands inside one link that runs a script.</p>"
        L"<p>Its second paragraph is there too, and the reader wants both of them.</p>"
        L"</a></body></html>");
    GrabCommand grab(L"Novel");
    grab.context().document = document;
    grab.execute();
    const std::wstring shown = document->body()->innerHTML();
    EXPECT_NE(shown.find(L"one link that runs a script.</P>"), std::wstring::npos) << shown;
    EXPECT_NE(shown.find(L"second paragraph"), std::wstring::npos) << shown;
    EXPECT_EQ(shown.find(L"javascript:"), std::wstring::npos) << shown;
}
