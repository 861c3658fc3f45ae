#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "common/language/language_table.h"
#include "common/language/placeholder_text.h"
#include "platform/text/utf.h"
#include "platform/ui/dialog.h"
#include "platform/ui/window_system.h"

using namespace common;
namespace ui = platform::ui;

namespace {

const std::wstring kTestData = L"" TAMRIX_TEST_DATA;
const std::wstring kLanguages =
    std::filesystem::path(TAMRIX_TEST_DATA "/../../../../data/languages")
        .lexically_normal()
        .wstring();

// Sets the locale variables for one test and puts the old values back afterwards.
class LocaleVariables {
  public:
    LocaleVariables(const char* all, const char* messages, const char* lang) {
        const char* values[] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) {
            const char* old = std::getenv(kNames[i]);
            saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
            if (values[i])
                ::setenv(kNames[i], values[i], 1);
            else
                ::unsetenv(kNames[i]);
        }
    }
    ~LocaleVariables() {
        for (int i = 0; i < 3; ++i) {
            if (saved_[i])
                ::setenv(kNames[i], saved_[i]->c_str(), 1);
            else
                ::unsetenv(kNames[i]);
        }
    }

  private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

}  // namespace

TEST(LanguageTable, WithNoLanguageChosenTheLocalesLanguageOrEnglishIsTaken) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        const wchar_t* expected;
    };
    for (const Case& row :
         {Case{nullptr, nullptr, "de_DE.UTF-8", L"de"},
          Case{nullptr, "de_AT", "en_GB.UTF-8", L"de"},
          Case{"en_US.UTF-8", "de_DE", "de_DE", L"en"},
          Case{nullptr, nullptr, "fr_FR.UTF-8", L"en"}, Case{nullptr, nullptr, "C", L"en"},
          Case{nullptr, nullptr, "../../etc/x", L"en"}, Case{nullptr, nullptr, nullptr, L"en"}}) {
        LocaleVariables locale(row.all, row.messages, row.lang);
        LanguageTable table;
        EXPECT_EQ(loadLanguage(table, L"", kLanguages), 0);
        EXPECT_EQ(table.name(), row.expected) << (row.lang ? row.lang : "(none)");
        EXPECT_TRUE(table.fromLocale());
    }
    LocaleVariables german(nullptr, nullptr, "de_DE.UTF-8");
    LanguageTable table;
    ASSERT_EQ(loadLanguage(table, L"", kLanguages), 0);
    EXPECT_EQ(table.translate(L"Dialog::SimpleSave", L"", L"caption"), L"Speichern");
    // Choosing the same language keeps the content, which is now the user's choice.
    EXPECT_EQ(loadLanguage(table, L"de", kLanguages), 0);
    EXPECT_EQ(table.name(), L"de");
    EXPECT_FALSE(table.fromLocale());
    // No file for the locale nor for English: the built-in texts, and no error.
    EXPECT_EQ(loadLanguage(table, L"", kTestData + L"/nowhere"), 0);
    EXPECT_TRUE(table.sections().empty());
}

TEST(LanguageTable, LoadsShippedGermanFileAndTranslatesByTextOrKey) {
    LanguageTable table;
    ASSERT_EQ(table.load(kLanguages + L"/de.xml"), 0) << platform::text::toUtf8(table.lastError());
    EXPECT_EQ(table.name(), L"de");
    EXPECT_EQ(table.title(), L"Deutsch");
    EXPECT_EQ(table.translate(L"message", L"'Title' format error, please specify the title"),
              L"Ungültiger Titel: Bitte geben Sie einen Titel an");
    EXPECT_EQ(table.translate(L"Message", L"tamrix for ie"), L"tamrix for ie")
        << "item texts match exactly";
    EXPECT_EQ(table.translate(L"Nowhere", L"Open"), L"Open");
    EXPECT_EQ(table.translate(L"Dialog::SimpleSave", L"", L"caption"), L"Speichern");

    LanguageTable english;
    ASSERT_EQ(english.load(kLanguages + L"/en.xml"), 0);
    EXPECT_EQ(english.translate(L"Menu::Folder", L"Rename"), L"Rename");
    EXPECT_EQ(english.sections().size(), table.sections().size());
}

TEST(LanguageTable, EscapesNameFromFileAndFirstSectionWins) {
    LanguageTable table;
    ASSERT_EQ(table.load(kTestData + L"/zz.xml"), 0);
    EXPECT_EQ(table.name(), L"zz") << "the file name, not the root's name attribute";
    EXPECT_EQ(table.version(), L"1.0");
    EXPECT_EQ(table.translate(L"message", L"Two\nLines"), L"Zwei\nZeilen\\q");
    EXPECT_EQ(table.translate(L"MESSAGE", L"shadowed"), L"shadowed");
    EXPECT_EQ(unescapeLanguageText(L"a\\tb\\rc\\nd\\x"), L"a\tb\rc\nd\\x");

    EXPECT_EQ(loadLanguage(table, L"zz", kTestData), 0);
    EXPECT_EQ(table.path(), kTestData + L"/zz.xml") << "the same language is not loaded again";
    LocaleVariables english(nullptr, nullptr, "en_US.UTF-8");
    EXPECT_EQ(loadLanguage(table, L"", kTestData), 0);
    EXPECT_TRUE(table.sections().empty()) << "the test data holds no en.xml";
}

TEST(LanguageTable, UnreadableFilesAreReportedAndKeepTheContent) {
    LanguageTable table;
    ASSERT_EQ(table.load(kLanguages + L"/de.xml"), 0);
    for (const wchar_t* bad : {L"/broken.xml", L"/noroot.xml", L"/missing.xml"}) {
        EXPECT_EQ(table.load(kTestData + bad), -1);
        EXPECT_FALSE(table.lastError().empty());
        EXPECT_EQ(table.path(), kTestData + bad);
        EXPECT_EQ(table.name(), L"de");
        EXPECT_EQ(table.translate(L"Menu::Site", L"Open Website"), L"Website öffnen");
    }
    LanguageTable empty;
    EXPECT_EQ(empty.load(L""), -1);
}

TEST(LanguageTable, LocalizesDialogChildrenAndCaption) {
    LanguageTable table;
    ASSERT_EQ(table.load(kTestData + L"/zz.xml"), 0);
    ui::Dialog dialog({1,
                       L"Caption",
                       100,
                       50,
                       {{.id = 5, .text = L"Two\nLines"},
                        {.id = 6, .text = L"untouched"},
                        {.id = 7, .kind = ui::ControlKind::edit}}});
    const ui::HWND window = dialog.create();
    EXPECT_EQ(table.localizeDialog(window, L"Message"), 2);
    EXPECT_EQ(dialog.itemText(5), L"Zwei\nZeilen\\q");
    EXPECT_EQ(dialog.itemText(6), L"untouched");
    EXPECT_EQ(dialog.caption(), L"Leer") << "an item with empty lang1 names the caption";
    EXPECT_EQ(table.localizeDialog(window, L"Dialog::Missing"), -1);
    ui::windows().reset();
}

TEST(LanguageTable, LocalizesMenusKeepingSubmenusAndStates) {
    LanguageTable table;
    ASSERT_EQ(table.load(kLanguages + L"/de.xml"), 0);
    auto menu = ui::Menu::build({{L"Open", 32903},
                                 {},
                                 {L"Folder", 33078, {{L"Inbox", 3000}, {L"New Folder", 2999}}},
                                 {L"Delete", 32910}});
    menu->check(32903, true);
    menu->gray(32910, true);
    EXPECT_EQ(table.localizeMenu(*menu, L"Menu::Item"), 4);
    EXPECT_EQ(menu->at(0)->text, L"Öffnen");
    EXPECT_TRUE(menu->at(0)->checked);
    EXPECT_EQ(menu->at(2)->text, L"Ordner");
    ASSERT_TRUE(menu->at(2)->submenu);
    EXPECT_EQ(menu->at(2)->id, 33078u);
    EXPECT_EQ(menu->findById(3000)->text, L"Inbox");
    EXPECT_EQ(menu->findById(2999)->text, L"Neuer Ordner");
    EXPECT_EQ(menu->stateOf(32910), ui::MF_GRAYED);
    EXPECT_EQ(table.localizeMenu(*menu, L"Menu::None"), -1);
}

TEST(LanguageTable, EveryMatchingItemLetsTheLaterOneOverwrite) {
    LanguageTable table;
    ASSERT_EQ(table.load(kTestData + L"/zz.xml"), 0);
    ui::Dialog dialog({1, L"Caption", 100, 50, {{.id = 5, .text = L"Open"}}});
    const ui::HWND window = dialog.create();
    EXPECT_EQ(table.localizeDialog(window, L"Twice"), 1);
    EXPECT_EQ(dialog.itemText(5), L"Offen") << "the plug-in's rule: the first item";
    dialog.setItemText(5, L"Open");
    EXPECT_EQ(table.localizeDialog(window, L"Twice", TextMatch::everyItem), 2);
    EXPECT_EQ(dialog.itemText(5), L"Öffnen") << "an empty translation is skipped";
    ui::windows().reset();

    auto menu = ui::Menu::build({{L"Open", 1}, {L"Sub", 2, {{L"Open", 3}}}});
    EXPECT_EQ(table.localizeMenu(*menu, L"Twice", TextMatch::everyItem), 4);
    EXPECT_EQ(menu->findById(1)->text, L"Öffnen");
    EXPECT_EQ(menu->findById(3)->text, L"Öffnen");
}

TEST(LanguageTable, MessagesWithPartsPutInMeetTheItemOfTheirPattern) {
    LanguageTable table;
    ASSERT_EQ(table.load(kLanguages + L"/de.xml"), 0);
    EXPECT_EQ(table.translate(L"Message", L"The MOBI converter failed (exit status 3)."),
              L"Der MOBI-Konverter ist fehlgeschlagen (Exit-Status 3).");
    EXPECT_EQ(table.translate(L"Message", L"Cannot write /home/a b/#x#.epub."),
              L"/home/a b/#x#.epub kann nicht geschrieben werden.");
    EXPECT_EQ(table.translate(L"Message", L"Cannot write /b.epub: the disk is full."),
              L"/b.epub kann nicht geschrieben werden: the disk is full.");
    // A part that is a text of its own is translated too.
    EXPECT_EQ(table.translate(L"Message", L"No plug-in (no name) is installed: /p.so is missing."),
              L"Kein Plug-in (ohne Namen) ist installiert: /p.so fehlt.");
    // Texts the pattern does not match whole stay as they are; exact items still win.
    EXPECT_EQ(table.translate(L"Message", L"The MOBI converter failed."),
              L"The MOBI converter failed.");
    EXPECT_EQ(table.translate(L"Message", L"The MOBI converter produced no book."),
              L"Der MOBI-Konverter hat kein Buch erzeugt.");
}

TEST(PlaceholderText, PartsAreTakenWhereTheLiteralsStandAndGivenBack) {
    using Parts = std::map<std::wstring, std::wstring>;
    EXPECT_EQ(matchPlaceholders(L"Copy #from# to #to#.", L"Copy a to b to c."),
              (Parts{{L"from", L"a"}, {L"to", L"b to c"}}));
    EXPECT_EQ(matchPlaceholders(L"#n# of #n#", L"2 of 2"), (Parts{{L"n", L"2"}}));
    EXPECT_EQ(matchPlaceholders(L"#n# of #n#", L"2 of 3"), std::nullopt);
    EXPECT_EQ(matchPlaceholders(L"Size #n#", L"Size "), std::nullopt) << "a part is never empty";
    EXPECT_EQ(matchPlaceholders(L"Size #n#", L"Sizes 1"), std::nullopt);
    EXPECT_EQ(matchPlaceholders(L"No placeholder", L"No placeholder"), std::nullopt);
    EXPECT_EQ(matchPlaceholders(L"#all#", L"anything"), std::nullopt) << "nothing but a part";
    EXPECT_EQ(matchPlaceholders(L"#a# is #1# at 50#", L"x is #1# at 50#"), (Parts{{L"a", L"x"}}))
        << "a \"#\" beside no name is a character";
    EXPECT_EQ(fillPlaceholders(L"#to# von #from# (#other#)", {{L"from", L"a"}, {L"to", L"b"}}),
              L"b von a (#other#)");
}
