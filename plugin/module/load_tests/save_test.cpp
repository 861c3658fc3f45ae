#include <sys/wait.h>
#include <unistd.h>

#include "loaded_module.h"
#include "testing/environment/small_disk.h"

using platform::ui::DialogDriver;

namespace {

constexpr int kTitle = 263;
constexpr int kCategory = 259;
constexpr int kFolder = 246;
constexpr int kSelect = 273;
constexpr int kOverwrite = 261;
constexpr int kCreate = 262;
constexpr int kSelectList = 274;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class SaveTest : public LoadedModuleTest {
  protected:
    void SetUp() override {
        load();
        std::filesystem::create_directories(repositoryFile().parent_path());
        ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(repositoryFile().string())), 0);
    }

    // Answers the next save dialog: a new entry with this title, category and folder.
    void answerNew(const std::wstring& title, const std::wstring& category = L"News",
                   const std::wstring& folder = L"Inbox") {
        presenter_->answerDialog([=](DialogDriver& dialog) {
            dialog.type(kTitle, title);
            dialog.type(kCategory, category);
            dialog.type(kFolder, folder);
            dialog.click(platform::ui::IDOK);
        });
    }

    // Answers the next save dialog by choosing the existing entry `title` through
    // "Select...", then the radio button `mode` (none: the Append that the choice checks).
    void answerExisting(const std::wstring& title, int mode = 0) {
        presenter_->answerDialog([=](DialogDriver& dialog) {
            dialog.click(kSelect);
            if (mode)
                dialog.click(mode);
            dialog.click(platform::ui::IDOK);
        });
        presenter_->answerDialog([=](DialogDriver& select) {
            select.choose(kSelectList, title);
            select.click(platform::ui::IDOK);
        });
    }

    plugin::EntryRecord entryTitled(const std::wstring& title) {
        std::vector<std::wstring> titles;
        std::vector<std::wstring> guids;
        plugin::listTitles(titles, guids, L"title=" + plugin::sqlLiteral(title), L"");
        plugin::EntryRecord entry;
        EXPECT_EQ(guids.size(), 1u);
        if (!guids.empty()) {
            EXPECT_TRUE(plugin::readEntry(guids.front(), entry));
        }
        return entry;
    }

    int entryCount() {
        std::vector<std::wstring> titles;
        std::vector<std::wstring> guids;
        return plugin::listTitles(titles, guids, L"", L"");
    }
};

TEST_F(SaveTest, SaveCreatesAppendsToAndOverwritesEntries) {
    answerNew(L"First clip");
    Save outcome = save(L"http://site.example/articles/1", L"Page title", L"one");
    EXPECT_EQ(outcome.result, 0);
    EXPECT_TRUE(outcome.handled);
    plugin::EntryRecord entry = entryTitled(L"First clip");
    EXPECT_EQ(entry.text, L"one");
    EXPECT_EQ(entry.html, L"<p>one</p>");
    EXPECT_EQ(entry.category, L"News");
    EXPECT_EQ(entry.folder, L"Inbox");
    EXPECT_EQ(entry.site, L"site.example");
    EXPECT_EQ(entry.type, L"clip");

    answerExisting(L"First clip");
    outcome = save(L"http://site.example/articles/2", L"Other page", L"two");
    EXPECT_EQ(outcome.result, 0);
    entry = entryTitled(L"First clip");
    EXPECT_EQ(entry.text, L"onetwo");
    EXPECT_EQ(entry.html, L"<p>one</p><p>two</p>");

    answerExisting(L"First clip", kOverwrite);
    EXPECT_EQ(save(L"http://site.example/articles/3", L"Third", L"three").result, 0);
    EXPECT_EQ(entryTitled(L"First clip").text, L"three");
    EXPECT_EQ(entryCount(), 1);

    answerExisting(L"First clip", kCreate);
    EXPECT_EQ(save(L"http://site.example/articles/4", L"Fourth", L"four").result, 0);
    EXPECT_EQ(entryCount(), 2);
    EXPECT_TRUE(presenter_->allAnswersUsed());
    EXPECT_TRUE(presenter_->messageTexts().empty());
}

TEST_F(SaveTest, SavedMarkupCanRunNoScript) {
    answerNew(L"Hostile");
    EXPECT_EQ(save(L"http://site.example/h", L"Hostile",
                   L"x<script>alert(1)</script>"
                   L"<img src=a.png onerror=alert(2)>")
                  .result,
              0);
    const plugin::EntryRecord entry = entryTitled(L"Hostile");
    EXPECT_EQ(entry.html, L"<p>x<img src=\"a.png\" /></p>");
    EXPECT_EQ(entry.text, L"x<script>alert(1)</script><img src=a.png onerror=alert(2)>");

    // Saved again from its own page, the entry is updated with safe markup too.
    ASSERT_EQ(save(L"tarn://tamrix/item?" + entry.id, L"Hostile",
                   L"y<a href=\"javascript:alert(3)\" onclick=\"alert(4)\">link</a>")
                  .result,
              0);
    EXPECT_EQ(entryTitled(L"Hostile").html, L"<p>y<a>link</a></p>");
    EXPECT_EQ(entryCount(), 1);
}

TEST_F(SaveTest, SaveDialogOffersProposalsAndTheSeparatorIsNoCategory) {
    answerNew(L"Earlier", L"Science", L"Reading");
    ASSERT_EQ(save(L"http://site.example/articles/1", L"t", L"x").result, 0);

    std::vector<std::wstring> offered;
    presenter_->answerDialog([&](DialogDriver& dialog) {
        offered = dialog.rowTexts(kCategory);
        EXPECT_EQ(dialog.text(kCategory), L"Science");
        EXPECT_EQ(dialog.text(kFolder), L"Reading");
        EXPECT_EQ(dialog.text(kTitle), L"Second page");
        dialog.choose(kCategory, L"-----");
        dialog.choose(kFolder, L"-----");
        dialog.click(platform::ui::IDOK);
    });
    ASSERT_EQ(save(L"http://site.example/articles/2", L"Second page", L"y").result, 0);
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"Science", L"-----", L"Science"}));
    const plugin::EntryRecord entry = entryTitled(L"Second page");
    EXPECT_EQ(entry.category, L"");
    EXPECT_EQ(entry.folder, L"");
}

TEST_F(SaveTest, CancelStoresNothingAndItemAddressUpdatesTheShownEntry) {
    presenter_->answerDialog([](DialogDriver& dialog) { dialog.click(platform::ui::IDCANCEL); });
    Save outcome = save(L"http://site.example/a", L"Cancelled", L"x");
    EXPECT_EQ(outcome.result, -1);
    EXPECT_TRUE(outcome.handled);
    EXPECT_EQ(entryCount(), 0);

    answerNew(L"Shown");
    ASSERT_EQ(save(L"http://site.example/a", L"Shown", L"old").result, 0);
    const plugin::EntryRecord shown = entryTitled(L"Shown");
    outcome = save(L"tarn://tamrix/item?" + shown.id, L"Shown", L"new");
    EXPECT_EQ(outcome.result, 0);
    EXPECT_TRUE(outcome.handled);
    EXPECT_EQ(entryTitled(L"Shown").text, L"new");

    // An unknown entry falls through to the dialog.
    presenter_->answerDialog([](DialogDriver& dialog) { dialog.click(platform::ui::IDCANCEL); });
    EXPECT_EQ(save(L"tarn://tamrix/item?nosuchid", L"x", L"y").result, -1);
    EXPECT_TRUE(presenter_->allAnswersUsed());
}

TEST_F(SaveTest, ChosenEntryDeletedMeanwhileFailsWithAnError) {
    answerNew(L"Doomed");
    ASSERT_EQ(save(L"http://site.example/a", L"Doomed", L"x").result, 0);
    const std::wstring guid = entryTitled(L"Doomed").guid;
    presenter_->answerDialog([&](DialogDriver& dialog) {
        dialog.click(kSelect);
        plugin::deleteEntry(guid);
        dialog.click(platform::ui::IDOK);
    });
    presenter_->answerDialog([](DialogDriver& select) {
        select.choose(kSelectList, L"Doomed");
        select.click(platform::ui::IDOK);
    });
    const Save outcome = save(L"http://site.example/b", L"Page", L"y");
    EXPECT_EQ(outcome.result, -1);
    EXPECT_FALSE(outcome.handled);
    ASSERT_EQ(presenter_->messageTexts().size(), 1u);
    EXPECT_NE(presenter_->messageTexts()[0].find(L"no longer exists"), std::wstring::npos);
    EXPECT_EQ(entryCount(), 0);
}

TEST_F(SaveTest, TwoProcessesSavingIntoOneRepositoryLoseNothing) {
    constexpr int kSaves = 20;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const std::wstring who = child == 0 ? L"child " : L"parent ";
    int failures = 0;
    for (int i = 0; i < kSaves; ++i) {
        answerNew(who + std::to_wstring(i));
        const Save outcome = save(L"http://site.example/" + std::to_wstring(i), L"t", L"x");
        failures += outcome.result != 0 || !outcome.handled;
    }
    if (child == 0)
        _exit(failures);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(entryCount(), 2 * kSaves);
}

TEST(CorruptRepository, SaveReportsTheErrorAndKeepsTheFile) {
    testing_environment::TemporaryHome home;
    const auto file = home.dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
    std::filesystem::create_directories(file.parent_path());
    const std::string garbage(8192, '\x5a');
    std::ofstream(file, std::ios::binary) << garbage;

    auto presenter = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(presenter);
    platform::system::Module module;
    ASSERT_TRUE(module.open(std::string(TAMRIX_STAGE_DIR) + "/data/plugins/tamrix/plugin.so"))
        << module.error();
    auto* newPlugin2 = module.function<plugin::NewPlugin2Function>(plugin::kNewPlugin2Export);
    auto* deletePlugin2 =
        module.function<plugin::DeletePlugin2Function>(plugin::kDeletePlugin2Export);
    plugin::IPluginInterface2* datastore = newPlugin2(L"datastore");
    ASSERT_NE(datastore, nullptr);
    bool handled = true;
    EXPECT_EQ(datastore->OnSave(L"http://a.example/", L"t", L"", L"x", L"<p>x</p>", &handled), -1);
    EXPECT_FALSE(handled);
    deletePlugin2(datastore);

    const auto texts = presenter->messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"not a database"), std::wstring::npos);
    EXPECT_TRUE(presenter->questionsOf(platform::ui::PresentedQuestion::Kind::dialog).empty());
    EXPECT_EQ(contents(file), garbage);
}

TEST_F(SaveTest, AFullDiskIsNamedWhenTheClipCannotBeSaved) {
    testing_environment::SmallDisk disk(256 * 1024, repositoryFile().parent_path());
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    ASSERT_EQ(plugin::CreateSchema(platform::text::fromUtf8(repositoryFile().string())), 0);
    ASSERT_TRUE(disk.fill());

    answerNew(L"Too much");
    const Save outcome = save(L"http://site.example/full", L"Page", std::wstring(100000, L'x'));
    EXPECT_EQ(outcome.result, -1);
    EXPECT_FALSE(outcome.handled);
    ASSERT_EQ(presenter_->messageTexts().size(), 1u);
    const std::wstring message = presenter_->messageTexts()[0];
    EXPECT_NE(message.find(L"could not be saved"), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"the disk is full"), std::wstring::npos) << message;
    EXPECT_EQ(entryCount(), 0);
}
