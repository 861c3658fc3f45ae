#include <gtest/gtest.h>

#include <filesystem>

#include "common/language/language_table.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/dialogs/confirm_dialogs.h"
#include "plugin/dialogs/dialog_templates.h"
#include "plugin/dialogs/folder_name_dialogs.h"
#include "plugin/dialogs/select_dialog.h"
#include "plugin/dialogs/simple_save_dialog.h"

using namespace plugin;
namespace ui = platform::ui;

namespace {

class RepositoryDialogs : public ::testing::Test {
  protected:
    void TearDown() override {
        common::languageTable().clear();
        ui::windows().reset();
    }
    void useGerman() {
        const auto file =
            std::filesystem::path(TAMRIX_TEST_DATA "/../../../../data/languages/de.xml");
        ASSERT_EQ(common::languageTable().load(file.lexically_normal().wstring()), 0);
    }
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
};

}  // namespace

TEST_F(RepositoryDialogs, CategoryWithSubcategoriesNeedsTheBoxTickedBeforeYes) {
    CategoryDeleteDialog dialog;
    dialog.name = L"Travel";
    dialog.hasSubcategories = true;
    dialog.deleteSubcategories = 7;
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kMessageText),
                  L"Are you sure you want to remove the category 'Travel' and all its items?");
        EXPECT_TRUE(d.visible(kOptionCheck));
        EXPECT_FALSE(d.checked(kOptionCheck)) << "an out-of-range start value becomes 0";
        EXPECT_FALSE(d.enabled(ui::IDOK));
        d.click(kOptionCheck);
        EXPECT_TRUE(d.enabled(ui::IDOK));
        d.click(kOptionCheck);
        EXPECT_FALSE(d.enabled(ui::IDOK));
        d.click(kOptionCheck);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDOK);
    EXPECT_EQ(dialog.deleteSubcategories, 1);

    CategoryDeleteDialog plain;
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_FALSE(d.visible(kOptionCheck));
        d.click(ui::IDOK);
    });
    EXPECT_EQ(plain.doModal(), ui::IDOK);
}

TEST_F(RepositoryDialogs, ConfirmationsAreTranslatedBeforeTheNameGoesIn) {
    useGerman();
    FolderDeleteDialog folder;
    folder.name = L"Inbox";
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Löschen des Ordners bestätigen");
        EXPECT_EQ(d.text(kMessageText), L"Möchten Sie den Ordner 'Inbox' wirklich löschen?");
        EXPECT_EQ(d.text(kOptionCheck), L"Mit allen Einträgen");
        d.setChecked(kOptionCheck, true);
        d.click(ui::IDOK);
    });
    EXPECT_EQ(folder.doModal(), ui::IDOK);
    EXPECT_EQ(folder.deleteItems, 1);

    SiteDeleteDialog site;
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(ui::IDCANCEL), L"&Nein");
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(site.doModal(), ui::IDCANCEL);
}

TEST_F(RepositoryDialogs, FolderNamesWithBlankSegmentEndsOrNothingAreRefused) {
    FolderRenameDialog dialog;
    dialog.name = L"Work";
    dialog.names = {L"Work", L"Home", L"Work", L"Archive"};
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.rowTexts(kFolderRenameCombo),
                  (std::vector<std::wstring>{L"Archive", L"Home", L"Work"}));
        EXPECT_EQ(d.selection(kFolderRenameCombo), 2);
        EXPECT_EQ(d.text(kFolderRenameCombo), L"Work");
        d.type(kFolderRenameCombo, L"Work/ Old");
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(d.focus(), kFolderRenameCombo);
        d.type(kFolderRenameCombo, L"   ");
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended()) << "a folder cannot be renamed to nothing";
        d.type(kFolderRenameCombo, L"  Work/Old  ");
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDOK);
    EXPECT_EQ(dialog.name, L"Work/Old");
    EXPECT_EQ(person->messageTexts(),
              (std::vector<std::wstring>{
                  L"'Folder' format error, start and end position can not be space",
                  L"'Folder' format error, please specify the folder name"}));
    EXPECT_EQ(person->questions()[1].caption, L"Tamrix for IE");
}

TEST_F(RepositoryDialogs, SelectNeedsAChoice) {
    SelectDialog dialog;
    dialog.items = {L"First", L"Second"};
    dialog.selected = L"None of them";
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.selection(kSelectList), -1);
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended());
        d.choose(kSelectList, L"Second");
        d.click(ui::IDOK);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDOK);
    EXPECT_EQ(dialog.selected, L"Second");
}

TEST_F(RepositoryDialogs, SaveChoosesTheLaterOfTwoEqualTitlesAndTypingReturnsToCreate) {
    SimpleSaveDialog dialog;
    dialog.title = L"New clip";
    dialog.categories = {L"News", L"-----", L"News", L"Tech"};
    dialog.folders = {L"Inbox"};
    dialog.category = L"Tech";
    dialog.folder = L"Inbox";
    dialog.mode = SimpleSaveDialog::kOverwrite;
    dialog.titles = {L"Alpha", L"Beta", L"Alpha"};
    dialog.ids = {L"id-1", L"id-2", L"id-3"};
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kTitleEdit), L"New clip");
        EXPECT_EQ(d.selection(kCategoryCombo), 3);
        EXPECT_TRUE(d.checked(kOverwriteRadio));
        EXPECT_FALSE(d.enabled(kAppendRadio));
        d.click(kSelectButton);
        EXPECT_EQ(d.text(kTitleEdit), L"Alpha");
        EXPECT_TRUE(d.enabled(kAppendRadio) && d.enabled(kOverwriteRadio) &&
                    d.enabled(kCreateRadio));
        EXPECT_TRUE(d.checked(kAppendRadio));
        d.click(ui::IDOK);
    });
    person->answerDialog([](ui::DialogDriver& select) {
        EXPECT_EQ(select.rowTexts(kSelectList),
                  (std::vector<std::wstring>{L"Alpha", L"Beta", L"Alpha"}));
        select.choose(kSelectList, L"Alpha");
        select.click(ui::IDOK);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDOK);
    EXPECT_EQ(dialog.existingId, L"id-3");
    EXPECT_EQ(dialog.mode, SimpleSaveDialog::kAppend);
    EXPECT_EQ(dialog.title, L"Alpha");

    SimpleSaveDialog again;
    again.titles = {L"Alpha"};
    again.ids = {L"id-1"};
    person->answerDialog([](ui::DialogDriver& d) {
        d.click(kSelectButton);
        d.type(kTitleEdit, L"Alpha 2");
        EXPECT_FALSE(d.enabled(kAppendRadio));
        EXPECT_TRUE(d.checked(kCreateRadio));
        d.type(kCategoryCombo, L" Travel ");
        d.type(kTagsEdit, L" city, night ");
        d.click(ui::IDOK);
    });
    person->answerDialog([](ui::DialogDriver& select) {
        select.chooseRow(kSelectList, 0);
        select.click(ui::IDOK);
    });
    EXPECT_EQ(again.doModal(), ui::IDOK);
    EXPECT_EQ(again.existingId, L"");
    EXPECT_EQ(again.mode, SimpleSaveDialog::kCreate);
    EXPECT_EQ(again.category, L"Travel");
    EXPECT_EQ(again.tags, L"city, night");
}

TEST_F(RepositoryDialogs, SaveRefusesAnEmptyTitleAndLabelsTheCategory) {
    useGerman();
    SimpleSaveDialog dialog;
    dialog.title = L"x";
    person->answerDialog([](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"Speichern");
        std::vector<std::wstring> labels;
        for (ui::HWND child : ui::windows().children(d.dialog().handle()))
            labels.push_back(ui::windows().text(child));
        EXPECT_NE(std::find(labels.begin(), labels.end(), L"&Kategorie:"), labels.end());
        d.type(kTitleEdit, L"   ");
        d.click(ui::IDOK);
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(d.focus(), kTitleEdit);
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_EQ(person->messageTexts(),
              std::vector<std::wstring>{L"Ungültiger Titel: Bitte geben Sie einen Titel an"});
}
