#include "../tests/host_windows.h"
#include "loaded_module.h"
#include "plugin/zip/tests/zip_test_support.h"

using platform::ui::DialogDriver;
using namespace std::chrono_literals;

namespace {

constexpr int kBookTitle = 263;
constexpr int kFileTitle = 264;
constexpr int kOutputFolder = 265;
constexpr int kFormat = 269;
constexpr int kProgress = 270;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class ExportWiringTest : public LoadedModuleTest {
  protected:
    void SetUp() override {
        load();
        std::filesystem::create_directories(output());
        std::filesystem::create_directories(repositoryFile().parent_path());
        ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(repositoryFile().string())), 0);
    }

    std::filesystem::path output() const { return home_.root() / "books"; }

    void insert(const std::wstring& title, const std::wstring& folder) {
        plugin::EntryRecord record;
        record.title = title;
        record.folder = folder;
        record.url = L"http://example.org/" + title;
        record.text = L"text of " + title;
        record.html = L"<p>" + title + L"</p>";
        ASSERT_FALSE(plugin::insertEntry(record).empty());
    }

    // Answers the next export dialog: checks its titles, exports in `format` into the
    // output folder, waits for the export to end and closes the dialog.
    void answerExport(const std::wstring& bookTitle, const std::wstring& fileTitle,
                      const std::wstring& format) {
        presenter_->answerDialog([=, this](DialogDriver& dialog) {
            EXPECT_EQ(dialog.text(kBookTitle), bookTitle);
            EXPECT_EQ(dialog.text(kFileTitle), fileTitle);
            dialog.type(kOutputFolder, platform::text::fromUtf8(output().string()));
            dialog.choose(kFormat, format);
            dialog.click(platform::ui::IDOK);
            EXPECT_TRUE(
                platform::ui::windows().pumpUntil([&] { return !dialog.visible(kProgress); }, 30s));
            dialog.click(platform::ui::IDCANCEL);
        });
    }

    int exportFrom(const std::wstring& url, const std::wstring& title, const std::wstring& html) {
        plugin::IPluginInterface2* datastore = newPlugin2(L"datastore");
        EXPECT_TRUE(datastore->HasEvent(L"OnExport"));
        bool handled = false;
        const int result = datastore->OnExport(url, title, L"", L"text", html, &handled);
        EXPECT_TRUE(handled);
        deletePlugin2(datastore);
        return result;
    }
};

TEST_F(ExportWiringTest, RepositoryPagesExportWhatTheyShowAndOtherPagesTheirContent) {
    insert(L"kept", L"Inbox");
    insert(L"other", L"Archive");
    answerExport(L"Tamrix-Folder-Inbox", L"Inbox", L"TEXT");
    EXPECT_EQ(exportFrom(L"tarn://tamrix/folder?Inbox", L"Folder page", L""), -1);
    const std::string text = contents(output() / "Inbox.txt");
    EXPECT_NE(text.find("text of kept"), std::string::npos);
    EXPECT_EQ(text.find("text of other"), std::string::npos);

    answerExport(L"Seite über Köln", L"Seite über Köln", L"EPUB");
    EXPECT_EQ(exportFrom(L"http://example.org/köln", L"Seite über Köln", L"<p>Dom</p>"), -1);
    const auto test = zip_test::unzipTest(output() / "Seite über Köln.epub");
    EXPECT_EQ(test.exitCode, 0) << test.output;

    const auto shown = presenter_->messageTexts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].starts_with(L"Output complete:"));
    EXPECT_TRUE(shown[1].ends_with(L"/Seite über Köln.epub"));
    EXPECT_TRUE(presenter_->allAnswersUsed());
}

TEST_F(ExportWiringTest, AFolderPageWithAnEncodedKeyExportsThatFolder) {
    insert(L"kept", L"a&b 50%");
    insert(L"other", L"a");
    answerExport(L"Tamrix-Folder-a&b 50%", L"a&b 50%", L"TEXT");
    EXPECT_EQ(exportFrom(L"tarn://tamrix/folder?a%26b%2050%25", L"Folder page", L""), -1);
    const std::string text = contents(output() / "a&b 50%.txt");
    EXPECT_NE(text.find("text of kept"), std::string::npos);
    EXPECT_EQ(text.find("text of other"), std::string::npos);
    EXPECT_TRUE(presenter_->allAnswersUsed());
}

TEST_F(ExportWiringTest, PaneSettingsMenuExportsTheNewestEntries) {
    insert(L"newest", L"");
    HostWindows windows{L"LorvaneClient"};
    plugin::IPluginInterface* pane = newPlugin(L"Tamrix", windows.page, nullptr);
    presenter_->chooseMenuText(L"Export");
    presenter_->answerDialog([this](DialogDriver& dialog) {
        EXPECT_TRUE(dialog.text(kBookTitle).starts_with(L"Tamrix-Latest-"));
        EXPECT_EQ(dialog.text(kFileTitle), L"latest");
        dialog.type(kOutputFolder, platform::text::fromUtf8(output().string()));
        dialog.choose(kFormat, L"HTML");
        dialog.click(platform::ui::IDOK);
        EXPECT_TRUE(
            platform::ui::windows().pumpUntil([&] { return !dialog.visible(kProgress); }, 30s));
        dialog.click(platform::ui::IDCANCEL);
    });
    bool handled = false;
    EXPECT_EQ(pane->OnSetting(0, 0, 0, 0, &handled), 0);
    EXPECT_TRUE(handled);
    deletePlugin(pane);
    EXPECT_NE(contents(output() / "latest.html").find("<p>newest</p>"), std::string::npos);
    EXPECT_TRUE(presenter_->allAnswersUsed());
}
