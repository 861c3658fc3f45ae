#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "common/language/language_table.h"
#include "platform/text/utf.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/scripted_presenter.h"
#include "plugin/util/conversions.h"
#include "plugin/util/files.h"
#include "plugin/util/html_clipboard.h"
#include "plugin/util/list_menus.h"
#include "plugin/util/message_boxes.h"
#include "plugin/util/strings.h"
#include "plugin/util/time_text.h"

using namespace plugin;
namespace ui = platform::ui;

TEST(Conversions, FormEncodingAndEscaping) {
    EXPECT_EQ(formEncode(L"a b&c9"), L"a+b%26c9");
    EXPECT_EQ(formEncode(L"ü"), L"%c3%bc");
    EXPECT_EQ(formEncode(L""), L"");
    EXPECT_EQ(formEncode(std::wstring(1025, L'a')), L"");
    EXPECT_EQ(formEncode(std::wstring(341, L'&')).size(), 1023u);
    const std::wstring capped = formEncode(std::wstring(1022, L'a') + L"&b");
    EXPECT_EQ(capped, std::wstring(1022, L'a')) << "no escape is cut in half at the 1023 limit";
    EXPECT_EQ(xmlEscape(L"<a href=\"x\">'&'</a>"),
              L"&lt;a href=&quot;x&quot;&gt;'&amp;'&lt;/a&gt;");
    std::string bytes;
    EXPECT_EQ(wideToBytes(L"Grüße", bytes, 1252), 5);
    std::wstring back;
    EXPECT_EQ(bytesToWide(bytes, back, 1252), 5);
    EXPECT_EQ(back, L"Grüße");
    EXPECT_EQ(wideToBytes(L"", bytes, 0), 0);
}

TEST(Strings, SplitTrimSeparatorsAndUrls) {
    EXPECT_EQ(split(L"  a, b,,c  ", L","), (std::vector<std::wstring>{L"a", L" b", L"", L"c"}));
    EXPECT_TRUE(split(L"", L",").empty());
    EXPECT_EQ(beforeSeparator(L"a/b/c", L"/", true), L"a/b");
    EXPECT_EQ(afterSeparator(L"a/b/c", L"/", false), L"b/c");
    EXPECT_EQ(afterSeparator(L"abc", L"/", false), L"");
    std::wstring text = L"--x--";
    trimLeftChars(text, L"-");
    EXPECT_EQ(text, L"x--");
    EXPECT_EQ(urlHost(L"http://example.com"), L"example.com");
    EXPECT_EQ(urlHost(L"http://example.com/a/b"), L"example.com");
    EXPECT_EQ(urlHost(L"://x/"), L"");
    EXPECT_EQ(urlPathCommonLength(L"http://h/abc/d", L"http://h/abx"), 2);
    EXPECT_EQ(urlPathCommonLength(L"a/b", L"a/b"), 0);
    EXPECT_EQ(urlPathCommonLength(L"abc", L"abd"), 2);
    EXPECT_EQ(findAny(L"hello", L"ol"), 2);
    EXPECT_EQ(countChar(L"a/b/c", L'/'), 2);
}

TEST(Files, NamesAndTitlesOfPaths) {
    EXPECT_EQ(fileName(L"C:\\x\\name.txt"), L"name.txt");
    EXPECT_EQ(fileName(L"\\name"), L"\\name");
    EXPECT_EQ(fileTitle(L"/a/b.tar.gz"), L"b.tar");
    EXPECT_EQ(fileTitle(L".hidden"), L".hidden");
}

TEST(Files, FoldersAndWholeFileWrites) {
    const auto base =
        std::filesystem::temp_directory_path() / ("plugin-util-" + std::to_string(::getpid()));
    const std::wstring root = base.wstring();
    std::filesystem::create_directories(base);
    EXPECT_EQ(makeFolders(root, L"\\one\\two/three"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(base / "one" / "two" / "three"));
    const std::wstring file = root + L"/one/data.bin";
    ASSERT_TRUE(writeFile(file, std::string("abc\0def", 7)));
    EXPECT_TRUE(fileExists(file));
    EXPECT_EQ(fileSize(file), 7);
    ASSERT_TRUE(writeFile(file, "x"));
    EXPECT_EQ(fileSize(file), 1);
    EXPECT_FALSE(writeFile(root + L"/missing/folder/f", "x"));
    // A target that cannot be replaced (a folder) fails and leaves no temporary file.
    EXPECT_FALSE(writeFile(root + L"/one", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(base / "one"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(base),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(fileSize(root + L"/nothing"), 0);
    std::filesystem::remove_all(base);
}

TEST(TimeText, GuidAndUtcTexts) {
    const std::wstring guid = newGuidText();
    ASSERT_GE(guid.size(), 36u);
    EXPECT_EQ(guid[0], L'A');
    // Seven hex digits for a first field below 0x10000000, eight above.
    EXPECT_EQ(guid.size(), guid.find(L'-') + 28) << platform::text::toUtf8(guid);
    EXPECT_TRUE(guid.find(L'-') == 8 || guid.find(L'-') == 9);
    EXPECT_EQ(formatUtc(0, L"%Y-%m-%d %H:%M:%S"), L"1970-01-01 00:00:00");
    EXPECT_EQ(formatUtc(86400 * 365, L"%Y"), L"1971");
    EXPECT_EQ(formatUtc(0, std::wstring(200, L'x')), L"");
    EXPECT_EQ(nowText(false).size(), 19u);
}

TEST(ListMenus, FlatAndNestedPathMenus) {
    EXPECT_FALSE(buildListMenu({}, 100, L""));
    const auto list = buildListMenu({L"Default", L"-----", L"de"}, 13000, L"de");
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->at(1)->separator);
    EXPECT_EQ(list->stateOf(13002), ui::MF_CHECKED);

    EXPECT_FALSE(buildPathMenu({L"a/b"}, L'/', 2000, L""));
    const auto menu =
        buildPathMenu({L"a", L"a/b", L"a/b/c", L"a/b/c/d/e", L"d", L"a/e"}, L'/', 2000, L"a/b");
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->count(), 2) << "a and d at the top";
    const ui::MenuItem* a = menu->at(0);
    EXPECT_EQ(a->id, 2000u);
    EXPECT_TRUE(a->checked) << "the current path continues a";
    ASSERT_TRUE(a->submenu);
    const ui::MenuItem* b = a->submenu->at(0);
    EXPECT_EQ(b->text, L"b");
    EXPECT_EQ(b->state() & ~ui::MF_POPUP, ui::MF_CHECKED) << "current with children: not disabled";
    EXPECT_EQ(b->submenu->at(0)->text, L"c");
    EXPECT_FALSE(menu->findById(2003)) << "two levels deeper than its predecessor";
    EXPECT_TRUE(menu->at(1)->submenu) << "d opens the level of a/e";
    EXPECT_EQ(menu->findById(2005)->text, L"e");
}

TEST(HtmlClipboard, OffsetsPointAtTheFragmentInUtf8Bytes) {
    const std::string html = "<b>Grüße – 東京</b>";
    const std::string text = htmlClipboardText(html);
    auto field = [&](const std::string& name) {
        return std::stoul(text.substr(text.find(name + ":") + name.size() + 1, 8));
    };
    EXPECT_EQ(text.substr(field("StartHTML"), 6), "<html>");
    EXPECT_EQ(field("EndHTML"), text.size());
    EXPECT_EQ(text.substr(field("StartFragment"), 2), "\r\n") << "just after the start comment";
    EXPECT_EQ(text.substr(field("EndFragment"), 18), "<!--EndFragment-->");
    EXPECT_EQ(text.substr(field("StartFragment") + 2, html.size()), html);

    ui::clipboard().reset();
    const std::string plain = "Gruesse";
    ASSERT_TRUE(copyHtmlToClipboard(&html, &plain));
    const auto stored = ui::clipboard().data(ui::clipboard().registerFormat(L"HTML Format"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->back(), 0) << "terminated";
    EXPECT_EQ(std::string(stored->begin(), stored->end() - 1), text);
    EXPECT_EQ(ui::clipboard().data(ui::CF_TEXT)->size(), plain.size() + 1);
    EXPECT_FALSE(copyHtmlToClipboard(nullptr, &plain));
}

TEST(MessageBoxes, TranslatedThroughTheMessageSection) {
    auto script = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope(script);
    common::LanguageTable& table = common::languageTable();
    const auto file = std::filesystem::path(TAMRIX_TEST_DATA "/../../../../data/languages/de.xml");
    ASSERT_EQ(table.load(file.lexically_normal().wstring()), 0);
    script->answerMessageBox(ui::IDNO);
    EXPECT_EQ(askBox(L"'Title' format error, please specify the title"), ui::IDNO);
    errorBox(L"Untranslated", L"Own caption");
    table.clear();
    const auto shown = script->questions();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"Ungültiger Titel: Bitte geben Sie einen Titel an");
    EXPECT_EQ(shown[0].caption, L"Tamrix für IE");
    EXPECT_EQ(shown[0].flags, ui::MB_ICONINFORMATION | ui::MB_YESNOCANCEL);
    EXPECT_EQ(shown[1].caption, L"Own caption");
    EXPECT_EQ(shown[1].flags, ui::MB_ICONERROR);
}
