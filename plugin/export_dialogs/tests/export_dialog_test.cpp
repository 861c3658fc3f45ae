#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "common/language/language_table.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/export/export_codes.h"
#include "plugin/export/mobi_converter.h"
#include "plugin/export/tests/export_fixture.h"
#include "plugin/export_dialogs/ebook_template.h"
#include "plugin/export_dialogs/export_dialogs.h"

using namespace plugin;
using namespace std::chrono_literals;
namespace ui = platform::ui;

namespace {

std::wstring exportSetting(const std::wstring& name) {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix\\Export\\" + name,
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistryNoWriteBack);
    return value.value;
}

void storeExportSetting(const std::wstring& name, const std::wstring& text) {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix\\Export\\" + name,
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistrySaveOnAssign);
    value = text;
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ExportDialogTest : public ExportTest {
  protected:
    void SetUp() override {
        ExportTest::SetUp();
        converterName_ = "dialog-converter-" + std::to_string(getpid()) + ".sh";
        storeExportSetting(L"MobiConverter", wide(converterName_));
    }
    void TearDown() override {
        if (!converter_.empty())
            std::filesystem::remove(converter_);
        ui::windows().reset();
        ExportTest::TearDown();
    }

    void installConverter(const std::string& body) {
        converter_ = narrow(mobiConverterPath());
        std::ofstream(converter_) << "#!/bin/sh\n" << body;
        chmod(converter_.c_str(), 0755);
    }

    // Fills the dialog as a person would and presses OK.
    static void fill(ui::DialogDriver& dialog, const std::wstring& folder,
                     const std::wstring& format, const std::wstring& fileTitle = {}) {
        dialog.type(kOutputFolderEdit, folder);
        dialog.choose(kFormatList, format);
        if (!fileTitle.empty())
            dialog.type(kFileTitleEdit, fileTitle);
        dialog.click(ui::IDOK);
    }

    // Waits, as the person would, until the export has finished (the bar is gone).
    static bool waitForExport(ui::DialogDriver& dialog) {
        return ui::windows().pumpUntil([&] { return !dialog.visible(kExportProgress); }, 30s);
    }

    std::vector<std::wstring> messages() const { return person_->messageTexts(); }

    std::shared_ptr<ui::ScriptedPresenter> person_ = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope_{person_};
    std::string converterName_;
    std::string converter_;
};

}  // namespace

TEST_F(ExportDialogTest, LatestEntriesBecomeAValidBookInTheChosenFolder) {
    insert(L"Erste Seite – Ärger", L"2024-01-01 08:00:00", L"<p>Grüße</p>");
    insert(L"Second", L"2024-01-02 08:00:00");
    ExportDialog dialog(L"", kScopeLatest, 20);
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.templateId(), kEbookDialogId);
        EXPECT_TRUE(d.text(kBookTitleEdit).starts_with(L"Tamrix-Latest-20"));
        EXPECT_EQ(d.text(kFileTitleEdit), L"latest");
        EXPECT_EQ(d.rowTexts(kFormatList),
                  (std::vector<std::wstring>{L"EPUB", L"HTML", L"MOBI", L"TEXT"}));
        EXPECT_EQ(d.text(kFormatList), L"EPUB") << "the default format";
        EXPECT_TRUE(d.checked(kTransferCheck));
        EXPECT_FALSE(d.visible(kExportProgress));
        d.type(kBookTitleEdit, L"  Mein Buch  ");
        fill(d, wide(out()), L"EPUB");
        EXPECT_FALSE(d.enabled(ui::IDOK)) << "controls are locked while exporting";
        EXPECT_TRUE(d.enabled(ui::IDCANCEL));
        ASSERT_TRUE(waitForExport(d));
        EXPECT_TRUE(d.enabled(ui::IDOK));
        EXPECT_FALSE(d.ended()) << "the dialog stays open after an export";
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.exportResult, 0);

    const auto book = out() / "latest.epub";
    const auto members = readBook(book);
    EXPECT_EQ(members.size(), 4u + 2u + 1u) << "two pages and the table of contents";
    const auto* opf = member(members, "OEBPS/package.opf");
    ASSERT_NE(opf, nullptr);
    EXPECT_NE(opf->data.find("Mein Buch"), std::string::npos);
    EXPECT_EQ(messages(), (std::vector<std::wstring>{L"Output complete:\r\n" + wide(book)}));
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"latest.epub"}));
    EXPECT_EQ(exportSetting(L"Format"), L"EPUB");
    EXPECT_EQ(exportSetting(L"Output"), wide(out()) + L"/");
}

TEST_F(ExportDialogTest, ScopesPrefillTheirTitlesAndTextGoesToATxtFileInsideTheFolder) {
    const auto kept = insert(L"Kept", L"2024-01-01 08:00:00", L"<p>k</p>", L"In/box");
    insert(L"Elsewhere", L"2024-01-02 08:00:00", L"<p>e</p>", L"Other");
    {
        ExportDialog dialog(L"In/box", kScopeFolder, 0);
        person_->answerDialog([&](ui::DialogDriver& d) {
            EXPECT_EQ(d.text(kBookTitleEdit), L"Tamrix-Folder-In/box");
            EXPECT_EQ(d.text(kFileTitleEdit), L"In box");
            d.setChecked(kTableOfContentsCheck, false);
            // A file title that tries to leave the folder stays inside it.
            fill(d, wide(out()), L"TEXT", L"../escape");
            ASSERT_TRUE(waitForExport(d));
            d.click(ui::IDCANCEL);
        });
        dialog.doModal();
        EXPECT_EQ(dialog.exportResult, 0);
    }
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"escape.txt"}));
    const std::string text = contents(out() / "escape.txt");
    EXPECT_NE(text.find("text of Kept"), std::string::npos);
    EXPECT_EQ(text.find("text of Elsewhere"), std::string::npos);
    EXPECT_EQ(exportSetting(L"Format"), L"TEXT");

    // The stored settings come back; one entry is named after its title.
    ExportDialog item(idOf(kept), kScopeItem, 1);
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kBookTitleEdit), L"Kept");
        EXPECT_EQ(d.text(kFileTitleEdit), L"Kept");
        EXPECT_EQ(d.text(kFormatList), L"TEXT");
        EXPECT_EQ(d.text(kOutputFolderEdit), wide(out()) + L"/");
        EXPECT_FALSE(d.checked(kTableOfContentsCheck));
        d.choose(kFormatList, L"HTML");
        d.click(ui::IDOK);
        ASSERT_TRUE(waitForExport(d));
        d.click(ui::IDCANCEL);
    });
    item.doModal();
    EXPECT_NE(contents(out() / "Kept.html").find("<p>k</p>"), std::string::npos);
}

TEST_F(ExportDialogTest, InvalidFieldsKeepTheDialogOpenWithTheFieldToCorrect) {
    ExportDialog dialog(L"no-such-entry", kScopeItem, 1);
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kBookTitleEdit), L"") << "an entry that cannot be read gives no title";
        d.click(ui::IDOK);
        EXPECT_EQ(d.focus(), kBookTitleEdit);
        d.type(kBookTitleEdit, L"Book");
        d.type(kFileTitleEdit, L"   ");
        d.click(ui::IDOK);
        EXPECT_EQ(d.focus(), kFileTitleEdit);
        d.type(kFileTitleEdit, L"file");
        d.type(kOutputFolderEdit, wide(home_.root() / "missing"));
        d.click(ui::IDOK);
        EXPECT_EQ(d.focus(), kOutputFolderEdit);
        EXPECT_FALSE(d.ended());
        EXPECT_FALSE(d.visible(kExportProgress));
        d.click(ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_EQ(messages(), (std::vector<std::wstring>{
                              L"'Book Title' format error, please specify the title",
                              L"'File Name' format error, please specify the file name",
                              L"'Output Folder' not exists, please specify the output folder"}));
    EXPECT_TRUE(filesBelow(home_.root() / "out").empty());
}

TEST_F(ExportDialogTest, MobiWithoutConverterAsksAndNoClosesWithoutWriting) {
    insert(L"A", L"2024-01-01 08:00:00");
    ExportDialog dialog(L"", kScopeLatest, 20);
    person_->answerMessageBox(ui::IDCANCEL);
    person_->answerMessageBox(ui::IDNO);
    person_->answerDialog([&](ui::DialogDriver& d) {
        fill(d, wide(out()), L"MOBI");
        EXPECT_FALSE(d.ended()) << "Cancel keeps the dialog open";
        EXPECT_EQ(d.focus(), kFormatList);
        d.click(ui::IDOK);
        EXPECT_TRUE(d.ended());
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    const auto asked = messages();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[0].starts_with(L"MOBI converter doesn't exist"));
    EXPECT_TRUE(filesBelow(out()).empty());
    EXPECT_EQ(exportSetting(L"Format"), L"") << "no export started, nothing stored";
}

TEST_F(ExportDialogTest, CancelStopsARunningExportAndLeavesNoPartialOutput) {
    installConverter("sleep 30\ncp \"$1\" \"${1%.*}.mobi\"\n");
    insert(L"A", L"2024-01-01 08:00:00");
    ExportDialog dialog(L"", kScopeLatest, 20);
    person_->answerMessageBox(ui::IDNO);
    person_->answerMessageBox(ui::IDYES);
    std::chrono::steady_clock::time_point cancelled;
    person_->answerDialog([&](ui::DialogDriver& d) {
        fill(d, wide(out()), L"MOBI");
        ui::windows().pumpUntil([] { return false; }, 300ms);
        d.click(ui::IDCANCEL);
        EXPECT_FALSE(d.ended()) << "answering No keeps the export running";
        EXPECT_TRUE(d.visible(kExportProgress));
        cancelled = std::chrono::steady_clock::now();
        d.click(ui::IDCANCEL);
        EXPECT_TRUE(d.ended());
    });
    EXPECT_EQ(dialog.doModal(), ui::IDCANCEL);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 10s);
    EXPECT_EQ(dialog.exportResult, -1);
    EXPECT_EQ(messages(), (std::vector<std::wstring>{L"Converting now, are you sure to cancel?",
                                                     L"Converting now, are you sure to cancel?"}))
        << "no completion box after a cancel";
    EXPECT_TRUE(filesBelow(out()).empty());
    EXPECT_TRUE(filesBelow(home_.root() / "tmp").empty());
}

TEST_F(ExportDialogTest, ContentIsExportedAndAFailedExportIsReportedAsSuch) {
    ExportContentDialog dialog(L"http://example.org/a", L"Straße/Weg", L"about it", L"Grüße",
                               L"<p>Grüße aus Köln</p>");
    std::filesystem::create_directories(out() / "taken.html");
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.text(kBookTitleEdit), L"Straße/Weg");
        EXPECT_EQ(d.text(kFileTitleEdit), L"Straße Weg");
        EXPECT_FALSE(d.visible(kTableOfContentsCheck));
        fill(d, wide(out()), L"HTML");
        ASSERT_TRUE(waitForExport(d));
        fill(d, wide(out()), L"HTML", L"taken");
        ASSERT_TRUE(waitForExport(d));
        d.click(ui::IDCANCEL);
    });
    dialog.doModal();
    EXPECT_EQ(dialog.exportResult, -1);
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], L"Output complete:\r\n" + wide(out()) + L"/Straße Weg.html");
    EXPECT_FALSE(shown[1].starts_with(L"Output complete")) << narrow(shown[1]);
    EXPECT_FALSE(shown[1].empty());
    EXPECT_NE(contents(out() / "Straße Weg.html").find("<p>Grüße aus Köln</p>"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(out() / "taken.html"));
}

TEST_F(ExportDialogTest, AnEarlierBookOfTheSameFileNameIsReplacedOnlyWhenThePersonSaysSo) {
    // Both titles clean to the same file name.
    const auto exportClip = [&](const std::wstring& title, const std::wstring& html) {
        ExportContentDialog dialog(L"http://example.org/a", title, L"", L"", html);
        person_->answerDialog([&](ui::DialogDriver& d) {
            fill(d, wide(out()), L"HTML");
            ASSERT_TRUE(waitForExport(d));
            d.click(ui::IDCANCEL);
        });
        dialog.doModal();
        EXPECT_EQ(dialog.exportResult, 0);
    };
    exportClip(L"???", L"<p>first</p>");
    person_->answerMessageBox(ui::IDNO);
    exportClip(L"***", L"<p>second</p>");
    exportClip(L"|||", L"<p>third</p>");  // unanswered: the default keeps the earlier book
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"_ (2).html", "_ (3).html", "_.html"}));
    EXPECT_NE(contents(out() / "_.html").find("first"), std::string::npos);
    EXPECT_NE(contents(out() / "_ (2).html").find("second"), std::string::npos);
    EXPECT_NE(contents(out() / "_ (3).html").find("third"), std::string::npos);

    person_->answerMessageBox(ui::IDYES);
    exportClip(L"???", L"<p>fourth</p>");
    EXPECT_NE(contents(out() / "_.html").find("fourth"), std::string::npos);
    EXPECT_EQ(filesBelow(out()).size(), 3u);
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 7u);
    EXPECT_EQ(shown[1], L"The file " + wide(out()) +
                            L"/_.html exists already.\r\n\r\nDo you want to replace it? (No "
                            L"writes the book under a free name beside it.)");
    EXPECT_EQ(shown[2], L"Output complete:\r\n" + wide(out()) + L"/_ (2).html");
}

TEST_F(ExportDialogTest, MessagesSpeakTheLoadedLanguageWithTheConverterNamed) {
    auto& table = common::languageTable();
    // The shipped German file (the repository root is four levels above the test data).
    const auto root = std::filesystem::path(TAMRIX_TEST_DATA)
                          .parent_path()
                          .parent_path()
                          .parent_path()
                          .parent_path();
    ASSERT_EQ(table.load(wide(root / "data" / "languages" / "de.xml")), 0);
    insert(L"A", L"2024-01-01 08:00:00");
    ExportDialog dialog(L"", kScopeLatest, 20);
    person_->answerMessageBox(ui::IDYES);
    person_->answerDialog([&](ui::DialogDriver& d) {
        EXPECT_EQ(d.caption(), L"E-Book exportieren");
        fill(d, wide(out()), L"MOBI");
        EXPECT_FALSE(d.ended()) << "Yes keeps the dialog open";
        fill(d, wide(out()), L"TEXT");
        ASSERT_TRUE(waitForExport(d));
        d.click(ui::IDCANCEL);
    });
    dialog.doModal();
    table.clear();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find(L"MOBI-Konverter (" + mobiConverterPath() + L")"), std::wstring::npos)
        << narrow(shown[0]);
    EXPECT_EQ(shown[1], L"Export abgeschlossen:\r\n" + wide(out()) + L"/latest.txt");
}
