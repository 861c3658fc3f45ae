#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "addon/commands/page_styles.h"
#include "addon/dialogs/about_dialog.h"
#include "addon/dialogs/dialog_templates.h"
#include "addon/dialogs/folder_browser.h"
#include "addon/dialogs/grab_links_dialog.h"
#include "addon/dialogs/option_dialog.h"
#include "common/language/language_table.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace ui = platform::ui;
namespace fs = std::filesystem;

namespace {

const fs::path kStageData = TAMRIX_STAGE_DIR "/data";

class AddonDialogs : public ::testing::Test {
  protected:
    void TearDown() override {
        common::languageTable().clear();
        ui::windows().reset();
    }
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
    testing_environment::TemporaryHome home;
};

std::vector<common::StringPair> sampleLinks() {
    return {{L"Page", L"http://site.test/news/today.html"},
            {L"First story", L"http://site.test/news/one.html"},
            {L"Second story", L"http://site.test/news/two.html"},
            {L"Elsewhere", L"http://site.test/about.html"}};
}

}  // namespace

TEST_F(AddonDialogs, AboutShowsTheVersionValuesAndEndsWithTheButtonOrLinkUsed) {
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kAboutText), L"Tamrix 1.2.3\n(c) Olvan");
        d.click(kCheckForUpdates);
    });
    AboutDialog about(VersionValues{L"Tamrix", L"1.2.3", L"(c) Olvan"});
    EXPECT_EQ(about.doModal(), kCheckForUpdates);

    person->answerDialog([](ui::DialogDriver& d) { d.notify(kAboutHomeLink, ui::NM_RETURN); });
    AboutDialog link(VersionValues{});
    EXPECT_EQ(link.doModal(), kAboutHomeLink);

    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kAboutText), L"#ProductName# #ProductVersion#\n#LegalCopyright#");
        d.close();
    });
    AboutDialog unreadable(std::nullopt);
    EXPECT_EQ(unreadable.doModal(), ui::IDCANCEL);
}

TEST_F(AddonDialogs, AboutReadsTheModulesOwnVersionResource) {
    const auto version = readAddonVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->productName, L"Tamrix");
    EXPECT_FALSE(version->productVersion.empty());
    person->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kAboutText).substr(0, 7), L"Tamrix ");
        EXPECT_EQ(d.text(kAboutText).find(L'#'), std::wstring::npos);
        d.click(ui::IDOK);
    });
    AboutDialog about(version);
    EXPECT_EQ(about.doModal(), ui::IDOK);
}

TEST_F(AddonDialogs, AboutIsTranslatedWhenItOpens) {
    ASSERT_EQ(common::languageTable().load((kStageData / "languages" / "de.xml").wstring()), 0);
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Über");
        EXPECT_EQ(d.text(kCheckForUpdates), L"Nach Updates suchen...");
        d.click(ui::IDOK);
    });
    AboutDialog about(VersionValues{L"Tamrix", L"1.0", L""});
    EXPECT_EQ(about.doModal(), ui::IDOK);
}

TEST_F(AddonDialogs, OptionsOfferTheFoldersNamesAndTurnDefaultAndNoneIntoEmptyNames) {
    const fs::path languages = home.root() / "languages";
    const fs::path themes = home.root() / "toolbar";
    fs::create_directories(languages);
    fs::create_directories(themes / "Orange");
    fs::create_directories(themes / "Blue");
    std::ofstream(languages / "fr.xml") << "<language/>";
    ASSERT_EQ(loadPageStyles((kStageData / "pagestyles.xml").wstring(),
                             (kStageData / "resources" / "pagestyles").wstring()),
              0);

    OptionDialog options(languages.wstring(), themes.wstring());
    options.autoUpdate = true;
    options.grabStyle = L"Novel";
    options.theme = L"Blue";
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.rowTexts(kLanguageCombo), (std::vector<std::wstring>{L"Default", L"fr"}));
        EXPECT_EQ(d.text(kLanguageCombo), L"Default") << "no language is loaded";
        EXPECT_EQ(
            d.rowTexts(kThemeCombo),
            (std::vector<std::wstring>{L"Default", L"Blue", L"Orange", L"----------", L"None"}));
        EXPECT_EQ(d.text(kThemeCombo), L"Blue");
        EXPECT_EQ(d.text(kGrabStyleCombo), L"Novel");
        EXPECT_EQ(d.rowTexts(kGrabStyleCombo).back(), L"None");
        EXPECT_TRUE(d.checked(kAutoUpdateCheck));
        d.choose(kLanguageCombo, L"fr");
        d.choose(kGrabStyleCombo, L"None");
        d.choose(kThemeCombo, L"----------");
        d.setChecked(kAutoUpdateCheck, false);
        d.click(ui::IDOK);
    });
    ASSERT_EQ(options.doModal(), ui::IDOK);
    EXPECT_EQ(options.language, L"fr");
    EXPECT_EQ(options.grabStyle, L"") << "None is no style";
    EXPECT_EQ(options.theme, L"Blue") << "the separator is no theme";
    EXPECT_FALSE(options.autoUpdate);
}

TEST_F(AddonDialogs, OptionsListsSpeakTheLanguageAndStillGiveBackTheNames) {
    const fs::path themes = home.root() / "toolbar";
    fs::create_directories(themes / "Orange");
    ASSERT_EQ(loadPageStyles((kStageData / "pagestyles.xml").wstring(),
                             (kStageData / "resources" / "pagestyles").wstring()),
              0);
    ASSERT_EQ(common::languageTable().load((kStageData / "languages" / "de.xml").wstring()), 0);
    OptionDialog options((kStageData / "languages").wstring(), themes.wstring());
    options.grabStyle = L"Night";
    options.theme = L"Orange";
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.rowTexts(kLanguageCombo).front(), L"Standard");
        EXPECT_EQ(d.text(kLanguageCombo), L"de") << "the loaded language is chosen";
        EXPECT_EQ(d.text(kGrabStyleCombo), L"Nacht");
        for (const auto& row : d.rowTexts(kGrabStyleCombo)) {
            EXPECT_NE(row, L"Novel");
            EXPECT_NE(row, L"None");
        }
        EXPECT_EQ(d.rowTexts(kThemeCombo).front(), L"Standard");
        d.choose(kLanguageCombo, L"Standard");
        d.choose(kGrabStyleCombo, L"Roman");
        d.click(ui::IDOK);
    });
    ASSERT_EQ(options.doModal(), ui::IDOK);
    EXPECT_EQ(options.language, L"") << "Default is no chosen language";
    EXPECT_EQ(options.grabStyle, L"Novel");
    EXPECT_EQ(options.theme, L"Orange");
}

TEST_F(AddonDialogs, OptionsResetChoosesTheShippedDefaultsAndCancelKeepsTheMembers) {
    const fs::path themes = home.root() / "toolbar";
    fs::create_directories(themes / "Orange");
    OptionDialog options(L"", themes.wstring());
    options.theme = L"Default";
    person->answerDialog([](ui::DialogDriver& d) {
        d.click(kResetButton);
        EXPECT_EQ(d.text(kThemeCombo), L"Orange");
        EXPECT_EQ(d.text(kLanguageCombo), L"Default");
        d.click(ui::IDOK);
    });
    ASSERT_EQ(options.doModal(), ui::IDOK);
    EXPECT_EQ(options.theme, L"Orange");
    EXPECT_EQ(options.language, L"");

    OptionDialog cancelled(L"", themes.wstring());
    cancelled.theme = L"Default";
    person->answerDialog([](ui::DialogDriver& d) {
        d.click(kResetButton);
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(cancelled.doModal(), ui::IDCANCEL);
    EXPECT_EQ(cancelled.theme, L"Default");
}

TEST_F(AddonDialogs, GrabLinksTicksThePageOnlyBesideLongTitlesAndReturnsTheShownOrder) {
    GrabLinksDialog dialog(sampleLinks());
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.rowTexts(kLinkList, 1).front(), L"http://site.test/news/today.html");
        EXPECT_TRUE(d.dialog().isRowChecked(kLinkList, 0)) << "titles average 10 characters";
        EXPECT_EQ(d.selection(kLinkList), 0);
        EXPECT_EQ(d.focus(), kLinkList);
        d.chooseRow(kLinkList, 3);
        d.click(kUpButton);
        EXPECT_EQ(d.selection(kLinkList), 2);
        d.click(kUpButton);
        d.click(kUpButton);
        d.click(kUpButton);
        EXPECT_EQ(d.selection(kLinkList), 0) << "nothing moves above the top";
        d.tickRow(kLinkList, 2, false);
        d.click(ui::IDOK);
    });
    ASSERT_EQ(dialog.doModal(), ui::IDOK);
    EXPECT_EQ(dialog.chosen(), (std::vector<common::StringPair>{
                                   {L"Elsewhere", L"http://site.test/about.html"},
                                   {L"Page", L"http://site.test/news/today.html"},
                                   {L"Second story", L"http://site.test/news/two.html"}}));
}

TEST_F(AddonDialogs, GrabLinksHideResetAndSameFolderDoubleClick) {
    std::vector<common::StringPair> links = sampleLinks();
    links[1].name = L"One";
    links[2].name = L"Two";
    links[3].name = L"Else";
    GrabLinksDialog dialog(links);
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_FALSE(d.dialog().isRowChecked(kLinkList, 0)) << "short titles: the page is off";
        d.click(kUncheckAllButton);
        d.tickRow(kLinkList, 3, true);
        d.click(kHideUncheckButton);
        EXPECT_EQ(d.rowTexts(kLinkList), std::vector<std::wstring>{L"Else"});
        d.click(kResetButton);
        EXPECT_EQ(d.rowTexts(kLinkList).size(), 4u) << "reset shows every link again";
        d.click(kUncheckAllButton);
        d.doubleClick(kLinkList, 1);
        EXPECT_TRUE(d.dialog().isRowChecked(kLinkList, 0));
        EXPECT_TRUE(d.dialog().isRowChecked(kLinkList, 2));
        EXPECT_FALSE(d.dialog().isRowChecked(kLinkList, 3)) << "another folder";
        d.click(kUncheckAllButton);
        d.doubleClick(kLinkList, 3);
        EXPECT_FALSE(d.dialog().isRowChecked(kLinkList, 0)) << "the site's root is no folder";
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_TRUE(dialog.chosen().empty());
}

TEST_F(AddonDialogs, FolderBrowserNeedsAFullBufferAndAnExistingFolderInsideTheRoot) {
    const fs::path documents = home.root() / "Documents";
    fs::create_directories(documents / "Books");
    wchar_t small[259] = {};
    EXPECT_FALSE(browseForFolder({}, L"Pick", kNoRootFolder, L"/", small, 259, false));
    EXPECT_TRUE(person->questions().empty()) << "refused before asking";

    wchar_t buffer[kFolderBufferMinimum] = L"untouched";
    person->answerFolder((documents / "Missing").wstring());
    EXPECT_FALSE(browseForFolder({}, L"Pick", kNoRootFolder, kFolderPersonal, buffer,
                                 kFolderBufferMinimum, false));
    EXPECT_EQ(std::wstring(buffer), L"untouched");
    person->answerFolder(home.root().wstring());
    EXPECT_FALSE(browseForFolder({}, L"Pick", kFolderPersonal, kFolderPersonal, buffer,
                                 kFolderBufferMinimum, false))
        << "outside the root";
    person->answerFolder((documents / "Books").wstring());
    EXPECT_TRUE(browseForFolder({}, L"Pick", kFolderPersonal, kFolderPersonal, buffer,
                                kFolderBufferMinimum, true));
    EXPECT_EQ(std::wstring(buffer), (documents / "Books").wstring());

    const auto asked = person->questionsOf(ui::PresentedQuestion::Kind::folder);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, L"Pick");
}
