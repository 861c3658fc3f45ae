#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/language/language_table.h"
#include "lorvane/configuration.h"
#include "lorvane/setting_dialog.h"
#include "platform/text/utf.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace lorvane;
using platform::text::fromUtf8;
using platform::ui::DialogDriver;

namespace {

void write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string catalogue(const std::string& name, const std::vector<std::string>& pages) {
    std::string text = "<plugins name=\"" + name + "\"><sidePages>";
    for (const auto& page : pages)
        text += "<item name=\"" + page + "\" title=\"Title " + page + "\" file=\"pages/" + page +
                ".xsl\" url=\"tarn://" + page + "\"/>";
    return text + "</sidePages></plugins>";
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::ui::windows().reset();
        write(plugins_ / "first" / "plugins.xml", catalogue("first", {"B", "A"}));
        write(plugins_ / "second" / "plugins.xml", catalogue("second", {"C"}));
        configFile_ = fromUtf8((home_.dataHome() / "Olvan" / "Tamrix" / "config.xml").string());
    }
    void TearDown() override { platform::ui::windows().reset(); }

    int runDialog(std::vector<std::wstring>& names, std::function<void(DialogDriver&)> script) {
        presenter_->answerDialog(std::move(script));
        LorvaneSettingDialog dialog(names, fromUtf8(plugins_.string()));
        return dialog.doModal();
    }

    testing_environment::TemporaryHome home_;
    std::filesystem::path plugins_ = home_.root() / "data" / "plugins";
    std::wstring configFile_;
    std::shared_ptr<platform::ui::ScriptedPresenter> presenter_ =
        std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope_{presenter_};
};

TEST_F(SettingsTest, ConfiguredPagesComeFirstTickedAndUnknownOnesAreDroppedOnOk) {
    std::vector<std::wstring> names{L"B", L"X", L"A"};
    std::vector<std::wstring> shown;
    std::vector<bool> ticks;
    ASSERT_EQ(runDialog(names,
                        [&](DialogDriver& driver) {
                            shown = driver.rowTexts(IDC_PAGE_LIST);
                            for (const auto& row : driver.dialog().rows(IDC_PAGE_LIST))
                                ticks.push_back(row.checked);
                            EXPECT_EQ(driver.caption(), L"Lorvane Setting");
                            EXPECT_FALSE(driver.enabled(IDC_UP)) << "first row selected";
                            EXPECT_TRUE(driver.enabled(IDC_DOWN));
                            driver.click(platform::ui::IDOK);
                        }),
              platform::ui::IDOK);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Title B", L"Title A", L"Title C"}));
    EXPECT_EQ(ticks, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"A"}));

    LorvaneConfig config;
    config.names = names;
    ASSERT_EQ(config.saveConfig(configFile_), 0) << platform::text::toUtf8(config.lastError());
    LorvaneConfig reread;
    ASSERT_EQ(reread.loadConfig(configFile_), 0);
    EXPECT_EQ(reread.names, names);
}

TEST_F(SettingsTest, UpDownResetAndUntickingEverything) {
    std::vector<std::wstring> names{L"A"};
    ASSERT_EQ(
        runDialog(names,
                  [&](DialogDriver& driver) {
                      // A, B, C: move C to the top, untick A.
                      driver.chooseRow(IDC_PAGE_LIST, 2);
                      EXPECT_FALSE(driver.enabled(IDC_DOWN)) << "last row";
                      driver.click(IDC_UP);
                      driver.click(IDC_UP);
                      EXPECT_EQ(driver.rowTexts(IDC_PAGE_LIST),
                                (std::vector<std::wstring>{L"Title C", L"Title A", L"Title B"}));
                      EXPECT_EQ(driver.selection(IDC_PAGE_LIST), 0);
                      EXPECT_FALSE(driver.enabled(IDC_UP));
                      driver.tickRow(IDC_PAGE_LIST, 0, true);
                      driver.tickRow(IDC_PAGE_LIST, 1, false);
                      driver.click(IDC_RESET);
                      EXPECT_EQ(driver.rowTexts(IDC_PAGE_LIST),
                                (std::vector<std::wstring>{L"Title A", L"Title B", L"Title C"}));
                      EXPECT_TRUE(driver.dialog().isRowChecked(IDC_PAGE_LIST, 0));
                      EXPECT_FALSE(driver.dialog().isRowChecked(IDC_PAGE_LIST, 2));
                      driver.chooseRow(IDC_PAGE_LIST, 2);
                      driver.click(IDC_UP);
                      driver.tickRow(IDC_PAGE_LIST, 1, true);
                      driver.click(platform::ui::IDOK);
                  }),
        platform::ui::IDOK);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"C"}));

    ASSERT_EQ(runDialog(names,
                        [](DialogDriver& driver) {
                            for (int row = 0; row < 3; ++row)
                                driver.tickRow(IDC_PAGE_LIST, row, false);
                            driver.click(platform::ui::IDOK);
                        }),
              platform::ui::IDOK);
    EXPECT_TRUE(names.empty());
    LorvaneConfig config;
    ASSERT_EQ(config.saveConfig(configFile_), 0);
    const std::string written = readAll(platform::text::toUtf8(configFile_));
    EXPECT_NE(written.find("<sidePages"), std::string::npos);
    EXPECT_EQ(written.find("<item"), std::string::npos);

    std::vector<std::wstring> kept{L"C"};
    EXPECT_EQ(runDialog(kept, [](DialogDriver& driver) { driver.click(platform::ui::IDCANCEL); }),
              platform::ui::IDCANCEL);
    EXPECT_EQ(kept, (std::vector<std::wstring>{L"C"}));
}

TEST_F(SettingsTest, TheDialogIsTranslatedAndEveryRowHasAnIcon) {
    const auto languageFile = home_.root() / "de.xml";
    write(languageFile,
          "<language name=\"de\"><section name=\"Dialog::LorvaneSetting\">"
          "<item lang1=\"#caption#\" lang2=\"Seitenleiste\"/>"
          "<item lang1=\"Up\" lang2=\"Auf\"/></section></language>");
    ASSERT_EQ(common::languageTable().load(fromUtf8(languageFile.string())), 0);
    std::vector<std::wstring> names;
    runDialog(names, [](DialogDriver& driver) {
        EXPECT_EQ(driver.caption(), L"Seitenleiste");
        EXPECT_EQ(driver.text(IDC_UP), L"Auf");
        EXPECT_EQ(driver.text(IDC_DOWN), L"Down");
        driver.click(platform::ui::IDCANCEL);
    });
    common::languageTable().clear();
}

TEST(Configuration, ReadsEverySidePagesElementAndKeepsACorruptFile) {
    testing_environment::TemporaryHome home;
    const auto file = home.root() / "config.xml";
    write(file,
          "<config><sidePages><item name=\"a\"/><item/></sidePages><other/>"
          "<sidePages><item name=\"b\"/></sidePages></config>");
    LorvaneConfig config;
    config.names = {L"earlier"};
    ASSERT_EQ(config.loadConfig(fromUtf8(file.string())), 0)
        << platform::text::toUtf8(config.lastError());
    EXPECT_EQ(config.names, (std::vector<std::wstring>{L"earlier", L"a", L"", L"b"}));

    LorvaneConfig missing;
    EXPECT_EQ(missing.loadConfig(fromUtf8((home.root() / "none.xml").string())), -1);
    EXPECT_FALSE(missing.corrupt());
    EXPECT_EQ(LorvaneConfig().loadConfig(), -1) << "no path";

    write(file, "<config><sidePages><item name=\"a\"");
    LorvaneConfig broken;
    broken.names = {L"default"};
    EXPECT_EQ(broken.loadConfig(fromUtf8(file.string())), -1);
    EXPECT_TRUE(broken.corrupt());
    EXPECT_NE(broken.lastError().find(L"config.xml"), std::wstring::npos);
    EXPECT_EQ(broken.names, (std::vector<std::wstring>{L"default"}));
    EXPECT_EQ(readAll(file), "<config><sidePages><item name=\"a\"") << "left as it was";

    ASSERT_EQ(broken.saveConfig(), 0) << platform::text::toUtf8(broken.lastError());
    EXPECT_EQ(readAll(home.root() / "config.xml.bad"), "<config><sidePages><item name=\"a\"");
    LorvaneConfig reread;
    ASSERT_EQ(reread.loadConfig(fromUtf8(file.string())), 0);
    EXPECT_EQ(reread.names, (std::vector<std::wstring>{L"default"}));

    write(home.root() / "other.xml", "<settings/>");
    EXPECT_EQ(LorvaneConfig().loadConfig(fromUtf8((home.root() / "other.xml").string())), -1);
}

}  // namespace
