#include "addon/shell/localization.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/language/language_table.h"
#include "common/util/message_box.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"

namespace {

namespace ui = platform::ui;

// The shipped language files of the source tree.
std::wstring shippedLanguages() {
    return platform::text::fromUtf8(
        (std::filesystem::path(TAMRIX_TEST_DATA) / ".." / ".." / ".." / ".." / "data" / "languages")
            .lexically_normal()
            .string());
}

class Localization : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(common::languageTable().load(shippedLanguages() + L"/de.xml"), 0);
    }
    void TearDown() override { common::languageTable().clear(); }

    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
};

TEST_F(Localization, TheShippedLanguagesAreListedByTitle) {
    std::vector<std::wstring> names = addon::listLanguageFiles(shippedLanguages());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"de", L"en"}));
    EXPECT_TRUE(addon::listLanguageFiles(L"/no/such/folder").empty());

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tamrix-langs";
    std::filesystem::create_directories(folder / "folder.xml");
    std::ofstream(folder / "fr.xml") << "<language/>";
    std::ofstream(folder / "notes.txt") << "x";
    EXPECT_EQ(addon::listLanguageFiles(platform::text::fromUtf8(folder.string())),
              std::vector<std::wstring>{L"fr"});
    std::filesystem::remove_all(folder);
}

TEST_F(Localization, ChoiceMenusNumberTheirItemsAndCheckTheCurrentOne) {
    EXPECT_EQ(addon::buildChoiceMenu({}, L"", 13000), nullptr);
    const auto menu = addon::buildChoiceMenu({L"de", L"-----", L"en"}, L"en", 13000);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count(), 3);
    EXPECT_EQ(menu->at(0)->id, 13000u);
    EXPECT_FALSE(menu->at(0)->checked);
    EXPECT_TRUE(menu->at(1)->separator);
    EXPECT_EQ(menu->at(2)->id, 13002u);
    EXPECT_TRUE(menu->at(2)->checked);
}

TEST_F(Localization, MenusAndDialogsAreTranslatedWithTheShippedFile) {
    auto menu = ui::Menu::build({{L"Options...", 32771},
                                 {L"Theme", 32786},
                                 {},
                                 {L"Help", 32775},
                                 {L"Not translated", 32799}});
    menu->check(32771, true);
    EXPECT_EQ(common::languageTable().localizeMenu(*menu, L"menu::toolbox"), 3);
    EXPECT_EQ(menu->findById(32771)->text, L"Optionen...");
    EXPECT_TRUE(menu->findById(32771)->checked);
    EXPECT_EQ(menu->findById(32786)->text, L"Design");
    EXPECT_EQ(menu->findById(32799)->text, L"Not translated");

    auto styles = ui::Menu::build({{L"Novel", 10000}, {L"Night", 10001}});
    EXPECT_EQ(common::languageTable().localizeMenu(*styles, L"Menu::PageStyle"), 2);
    EXPECT_EQ(styles->findById(10001)->text, L"Nacht");

    ui::windows().reset();
    const ui::HWND dialog = ui::windows().createWindow({.title = L"Folder"});
    const ui::HWND label = ui::windows().createWindow({.title = L"&Folder:", .parent = dialog});
    const ui::HWND other = ui::windows().createWindow({.title = L"Other", .parent = dialog});
    EXPECT_EQ(common::languageTable().localizeDialog(dialog, L"Dialog::FolderNew"), 2);
    EXPECT_EQ(ui::windows().text(label), L"&Ordner:");
    EXPECT_EQ(ui::windows().text(other), L"Other");
    EXPECT_EQ(ui::windows().text(dialog), L"Neuen Ordner anlegen");
    ui::windows().reset();
}

TEST_F(Localization, MessagesAreTranslatedWithTheProductNameAsDefaultCaption) {
    person->answerMessageBox(ui::IDNO);
    const std::wstring prompt =
        L"A new version(#NewProductVersion#) of #ProductName# is available!\r\nDo you want to "
        L"update?";
    EXPECT_EQ(addon::showMessage({}, L"", prompt, ui::MB_YESNO), ui::IDNO);
    {
        // The add-on's error boxes go the same way while it is loaded.
        addon::MessageBoxRouting routing;
        common::errorBox(L"'Title' format error, please specify the title");
    }
    common::errorBox(L"after");
    const auto boxes = person->questionsOf(platform::ui::PresentedQuestion::Kind::messageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, L"Tamrix für IE");
    EXPECT_NE(boxes[0].text.find(L"ist verfügbar!\r\nMöchten"), std::wstring::npos);
    EXPECT_EQ(boxes[0].flags, ui::MB_YESNO);
    EXPECT_EQ(boxes[1].text, L"Ungültiger Titel: Bitte geben Sie einen Titel an");
    EXPECT_EQ(boxes[1].flags, ui::MB_ICONERROR);

    // Without a table every text stays as written.
    common::languageTable().clear();
    addon::showMessage({}, L"Caption", L"Plain", ui::MB_OK);
    EXPECT_EQ(person->questions().back().caption, L"Caption");
    EXPECT_EQ(person->questions().back().text, L"Plain");
}

}  // namespace
