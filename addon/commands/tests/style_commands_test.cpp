#include <gtest/gtest.h>

#include <functional>

#include "addon/commands/command_processor.h"
#include "addon/commands/style_commands.h"
#include "addon/page/dom_helpers.h"
#include "addon/page/tests/page_fixtures.h"

using namespace addon;
using namespace page_fixtures;

namespace {

using MakeCommand = std::function<std::unique_ptr<ICommand>()>;

struct Case {
    const char* label;
    MakeCommand make;
    bool selectSome;
};

const std::vector<Case> kCases = {
    {"delete", [] { return std::make_unique<DeleteCommand>(); }, true},
    {"images", [] { return std::make_unique<RemoveImageCommand>(); }, false},
    {"background", [] { return std::make_unique<RemoveBackgroundCommand>(); }, false},
    {"style", [] { return std::make_unique<RemoveStyleCommand>(); }, false},
    {"width", [] { return std::make_unique<ChangeWidthCommand>(L"100%"); }, true},
    {"width step", [] { return std::make_unique<ChangeWidthCommand>(L"+10"); }, false},
    {"font", [] { return std::make_unique<FontTypeCommand>(L"Georgia"); }, false},
    {"size", [] { return std::make_unique<FontSizeCommand>(L"14pt"); }, true},
    {"size step", [] { return std::make_unique<FontSizeCommand>(L"+1"); }, false},
    {"weight", [] { return std::make_unique<FontWeightCommand>(L"bold"); }, true},
    {"weight step", [] { return std::make_unique<FontWeightCommand>(L"+200"); }, true},
    {"bolder", [] { return std::make_unique<FontWeightCommand>(L"Bolder"); }, false},
};

// Selects the first few paragraphs and the first heading.
std::vector<ElementPtr> someElements(const dom::Document& document) {
    std::vector<ElementPtr> chosen;
    for (const auto& tag : {L"h1", L"p"}) {
        const auto found = document.getElementsByTagName(tag);
        for (std::size_t i = 0; i < found.size() && i < 2; ++i) {
            chosen.push_back(found[i]);
        }
    }
    return chosen;
}

}  // namespace

TEST(StyleCommandRoundTrips, UndoRestoresEveryPageByteForByteAndRedoRepeats) {
    for (const auto& page : kPages) {
        for (const auto& c : kCases) {
            SCOPED_TRACE(page + " / " + c.label);
            const auto document = loadPage(page);
            // Inline styles and a disabled sheet the page had before must survive as they were.
            document->body()->setAttribute(L"style", L"color: red; font-size: 90%");
            const std::wstring original = serialize(*document);
            auto command = c.make();
            command->context().document = document;
            if (c.selectSome) {
                command->context().elements = someElements(*document);
            }
            CommandProcessor processor;
            processor.run(std::move(command));
            const std::wstring changed = serialize(*document);
            EXPECT_NE(changed, original);
            processor.undo();
            EXPECT_EQ(serialize(*document), original);
            processor.redo();
            EXPECT_EQ(serialize(*document), changed);
            processor.undo();
            EXPECT_EQ(serialize(*document), original);
        }
    }
}

TEST(StyleCommandRoundTrips, RemoveStyleGivesBackSheetsAndStyleAttributes) {
    auto document = parsePage(
        L"<html><head><style>p{}</style><style>b{}</style>"
        L"<link rel=\"StyleSheet\" href=\"a.css\" disabled></head><body><p "
        L"style=\"color:red\">a</p><A style=\"color:blue\" href=\"/x\" TITLE=t>x</A>"
        L"<p>b</p><div class=\"__classClip\" style=\"left:3px\"></div></body></html>");
    const std::wstring original = serialize(*document);
    const auto sheets = document->styleSheets();
    ASSERT_EQ(sheets.size(), 3u);
    std::vector<bool> flags;
    for (const auto& sheet : sheets) {
        flags.push_back(sheet->disabled());
    }
    EXPECT_EQ(flags, (std::vector<bool>{false, false, true}));
    RemoveStyleCommand command;
    command.context().document = document;
    command.execute();
    for (const auto& sheet : sheets) {
        EXPECT_TRUE(sheet->disabled());
    }
    EXPECT_FALSE(document->getElementsByTagName(L"p")[0]->getAttribute(L"style").has_value());
    // The engine's overlay keeps its style.
    EXPECT_EQ(getElementValue(document->body()->children().back(), L"left", 4), L"3px");
    command.undo();
    // Every attribute is back in its place, the style attribute before the others too.
    EXPECT_EQ(serialize(*document), original);
    EXPECT_NE(original.find(L"<A style=\"color:blue\" href=\"/x\" title=\"t\">"),
              std::wstring::npos);
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        EXPECT_EQ(sheets[i]->disabled(), flags[i]) << i;
    }
}

TEST(StyleCommandValues, FontWeightStepsStartFromBoldOrNormalAndNeverPileUp) {
    auto document = parsePage(
        L"<body><p id=a>plain</p><p id=b style=\"font-weight:bold\">bold</p>"
        L"<p id=c style=\"font-weight:700\">seven</p><h2 id=d>heading</h2>"
        L"<p id=e style=\"font-weight:lighter\">light</p><p id=f style=\"font-weight:500\">"
        L"<b id=g>inner bold</b><span id=h>inner</span></p></body>");
    const auto weight = [&](const wchar_t* id) {
        return getElementValue(document->getElementById(id), L"fontWeight", 4);
    };
    auto step = [&](const wchar_t* argument, std::vector<ElementPtr> elements) {
        FontWeightCommand command(argument);
        command.context().document = document;
        command.context().elements = std::move(elements);
        command.execute();
    };
    const auto byIds = [&](std::initializer_list<const wchar_t*> ids) {
        std::vector<ElementPtr> elements;
        for (const wchar_t* id : ids) {
            elements.push_back(document->getElementById(id));
        }
        return elements;
    };
    step(L"+200", byIds({L"a", L"b", L"c", L"d", L"e", L"f"}));
    EXPECT_EQ(weight(L"a"), L"600");
    EXPECT_EQ(weight(L"b"), L"900");
    EXPECT_EQ(weight(L"c"), L"900");
    // A selected element without an inline weight counts as "normal".
    EXPECT_EQ(weight(L"d"), L"600");
    EXPECT_EQ(weight(L"e"), L"lighter");
    EXPECT_EQ(weight(L"f"), L"600");
    // Below a selected element the weight the element shows counts: "b" is 700 by the
    // browser's own sheet and so starts from bold.
    EXPECT_EQ(weight(L"g"), L"900");
    EXPECT_EQ(weight(L"h"), L"600");
    // A second step starts from the same base again.
    step(L"+200", byIds({L"a"}));
    EXPECT_EQ(weight(L"a"), L"600");
    step(L"-500", byIds({L"a"}));
    EXPECT_EQ(weight(L"a"), L"100");
    step(L"+600", byIds({L"b"}));
    EXPECT_EQ(weight(L"b"), L"900");
}

TEST(StyleCommandValues, FontWeightStepOnThePageKeepsHeadingsBolderThanText) {
    auto document = parsePage(L"<body><h1>Title</h1><p>Text <strong>strong</strong></p></body>");
    const std::wstring original = serialize(*document);
    CommandProcessor processor;
    auto command = std::make_unique<FontWeightCommand>(L"+200");
    command->context().document = document;
    processor.run(std::move(command));
    const auto shown = [&](const wchar_t* tag) {
        return getElementValue(document->getElementsByTagName(tag).at(0), L"fontWeight", 4);
    };
    EXPECT_EQ(shown(L"h1"), L"900");
    EXPECT_EQ(shown(L"strong"), L"900");
    EXPECT_EQ(shown(L"p"), L"600");
    EXPECT_EQ(shown(L"body"), L"600");
    processor.undo();
    EXPECT_EQ(serialize(*document), original);
}

TEST(StyleCommandValues, WidthAndDeleteTouchOnlyTheirTargets) {
    auto document =
        parsePage(L"<body><div id=a style=\"left:5px\">a</div><div id=b>b</div></body>");
    ChangeWidthCommand narrow(L"60%");
    narrow.context().document = document;
    narrow.context().elements = {document->getElementById(L"a")};
    narrow.execute();
    const auto a = document->getElementById(L"a");
    EXPECT_EQ(getElementValue(a, L"width", 4), L"60%");
    EXPECT_EQ(getElementValue(a, L"margin", 4), L"auto");
    EXPECT_EQ(getElementValue(a, L"left", 4), L"undefined");
    EXPECT_EQ(getElementValue(a, L"maxWidth", 4), L"10000px");
    EXPECT_EQ(getElementValue(document->getElementById(L"b"), L"width", 4), L"undefined");
    ChangeWidthCommand full(L"100%");
    full.context().document = document;
    full.execute();
    EXPECT_EQ(getElementValue(document->body(), L"margin", 4), L"0");

    const std::wstring before = serialize(*document);
    DeleteCommand nothing;
    nothing.context().document = document;
    nothing.execute();
    EXPECT_EQ(serialize(*document), before);
    nothing.undo();
    EXPECT_EQ(serialize(*document), before);
}

TEST(StyleCommandValues, RemoveBackgroundWhitensOnlyBoxesThatPaintOne) {
    // An empty layer over the whole page (as a video player leaves one) stays see-through,
    // whichever way its colour says so; boxes with a colour or a picture turn white.
    auto document = parsePage(
        L"<head><style>.sheet { background: #ffe url(paper.png) }</style></head><body>"
        L"<div id=layer style=\"position:absolute; top:0; bottom:0; left:0; right:0\"></div>"
        L"<div id=clear style=\"background-color: rgba(10, 20, 30, 0)\">a</div>"
        L"<div id=slash style=\"background-color: rgb(10 20 30 / 0%)\">a</div>"
        L"<div id=hex style=\"background-color: #12345600\">a</div>"
        L"<div id=tinted style=\"background-color: rgba(10, 20, 30, 0.5)\">b</div>"
        L"<div id=solid style=\"background-color: #123\">c</div>"
        L"<div class=sheet id=paper>d</div></body>");
    const std::wstring original = serialize(*document);
    CommandProcessor processor;
    auto command = std::make_unique<RemoveBackgroundCommand>();
    command->context().document = document;
    processor.run(std::move(command));
    const auto colour = [&](const wchar_t* id) {
        return getElementValue(document->getElementById(id), L"backgroundColor", 4);
    };
    EXPECT_EQ(colour(L"layer"), L"undefined");
    EXPECT_EQ(colour(L"clear"), L"rgba(10, 20, 30, 0)");
    EXPECT_EQ(colour(L"slash"), L"rgb(10 20 30 / 0%)");
    EXPECT_EQ(colour(L"hex"), L"#12345600");
    EXPECT_EQ(colour(L"tinted"), L"white");
    EXPECT_EQ(colour(L"solid"), L"white");
    EXPECT_EQ(colour(L"paper"), L"white");
    EXPECT_EQ(getElementValue(document->getElementById(L"paper"), L"backgroundImage", 4), L"none");
    EXPECT_EQ(getElementValue(document->getElementById(L"layer"), L"color", 4), L"black");
    processor.undo();
    EXPECT_EQ(serialize(*document), original);
}
