#include <gtest/gtest.h>

#include <algorithm>

#include "host_windows.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event.h"
#include "platform/text/utf.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "plugin/dialogs/dialog_templates.h"
#include "plugin/module/host_messages.h"
#include "plugin/module/tamrix_plugin.h"
#include "plugin/repository/repository.h"
#include "testing/environment/temporary_home.h"

namespace ui = platform::ui;
using plugin::EntryRecord;

namespace {

class ContextMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto file = home_.root() / "tamrix.db";
        ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(file.string())), 0);
    }
    void TearDown() override {
        plugin::closeRepository();
        ui::clipboard().reset();
    }

    std::wstring insert(const std::wstring& title, const std::wstring& folder,
                        const std::wstring& category, const std::wstring& url,
                        const std::wstring& type = L"clip") {
        EntryRecord record;
        record.title = title;
        record.folder = folder;
        record.category = category;
        record.url = url;
        record.type = type;
        record.text = L"Text: " + title;
        record.html = L"<p>" + title + L"</p>";
        const std::wstring guid = plugin::insertEntry(record);
        EXPECT_FALSE(guid.empty());
        return guid;
    }

    EntryRecord entry(const std::wstring& guid) {
        EntryRecord record;
        record.guid = L"(gone)";
        plugin::readEntry(guid, record);
        return record;
    }

    // A right-click on a list item with this path, as the page delivers it.
    platform::dom::Event rightClick(const std::wstring& path) {
        page_ = platform::dom::Document::parse(L"<ul><li path='" + path +
                                               L"'><span id='target'>x</span></li></ul>");
        platform::dom::Event event;
        event.type = L"contextmenu";
        event.screenX = 40;
        event.screenY = 60;
        event.srcElement = page_->getElementById(L"target");
        bool handled = false;
        EXPECT_EQ(plugin_.OnDocumentEvent(event, &handled), 0);
        EXPECT_TRUE(event.cancelBubble);
        EXPECT_TRUE(event.defaultPrevented());
        return event;
    }

    std::vector<plugin::NavigateRequest> navigations() const {
        std::vector<plugin::NavigateRequest> found;
        for (const auto& record : windows_.received)
            if (record.code == plugin::kNavigateCode)
                found.push_back(*plugin::readNavigateRecord(record.bytes));
        return found;
    }

    std::vector<std::wstring> menuTexts() const {
        const auto menus = person_->questionsOf(ui::PresentedQuestion::Kind::popupMenu);
        std::vector<std::wstring> texts;
        if (!menus.empty())
            for (const auto& item : menus.back().menu->items())
                texts.push_back(item.separator ? L"-" : item.text);
        return texts;
    }

    int count(const std::wstring& where) {
        std::vector<std::wstring> titles, guids;
        return plugin::listTitles(titles, guids, where, L"");
    }

    testing_environment::TemporaryHome home_;
    std::shared_ptr<ui::ScriptedPresenter> person_ = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope_{person_};
    HostWindows windows_{L"LorvaneClient"};
    plugin::TamrixPlugin plugin_{windows_.page, nullptr};
    std::shared_ptr<platform::dom::Document> page_;
};

}  // namespace

TEST_F(ContextMenuTest, FolderMenuOpensRenamesAndDeletesWithOrWithoutItsEntries) {
    const auto a = insert(L"A", L"Inbox", L"", L"http://a.org/1");
    const auto b = insert(L"B", L"Inbox", L"", L"http://a.org/2");
    insert(L"C", L"Keep", L"", L"http://a.org/3");

    person_->chooseMenuText(L"Open");
    rightClick(L"@folder/Inbox");
    EXPECT_EQ(menuTexts(),
              (std::vector<std::wstring>{L"Open", L"-", L"Delete", L"Rename", L"-", L"Export"}));
    ASSERT_EQ(navigations().size(), 1u);
    EXPECT_EQ(navigations()[0].url, L"tarn://tamrix/folder?Inbox");
    EXPECT_EQ(navigations()[0].flags, 0u);

    person_->chooseMenuText(L"Rename");
    person_->answerDialog([](ui::DialogDriver& dialog) {
        EXPECT_EQ(dialog.text(plugin::kFolderRenameCombo), L"Inbox");
        dialog.type(plugin::kFolderRenameCombo, L"Eingang für Ärger");
        dialog.click(ui::IDOK);
    });
    rightClick(L"@folder/Inbox");
    EXPECT_EQ(entry(a).folder, L"Eingang für Ärger");
    EXPECT_EQ(entry(b).folder, L"Eingang für Ärger");

    // Without the option the entries stay, without a folder.
    person_->chooseMenuText(L"Delete");
    person_->answerDialog([](ui::DialogDriver& dialog) { dialog.click(ui::IDOK); });
    rightClick(L"@folder/Eingang für Ärger");
    EXPECT_EQ(entry(a).folder, L"");
    EXPECT_EQ(entry(b).guid, b);

    person_->chooseMenuText(L"Delete");
    person_->answerDialog([](ui::DialogDriver& dialog) {
        dialog.setChecked(plugin::kOptionCheck, true);
        dialog.click(ui::IDOK);
    });
    rightClick(L"@folder/Keep");
    EXPECT_EQ(count(L"folder = 'Keep'"), 0);
    EXPECT_EQ(count(L""), 2);

    // Declining changes nothing; a dismissed menu does nothing.
    person_->chooseMenuText(L"Delete");
    person_->answerDialog([](ui::DialogDriver& dialog) { dialog.click(ui::IDCANCEL); });
    rightClick(L"@site/a.org");
    person_->dismissMenu();
    rightClick(L"@site/a.org");
    EXPECT_EQ(count(L""), 2);
    EXPECT_TRUE(person_->failedChoices().empty());
    EXPECT_TRUE(person_->allAnswersUsed());
}

TEST_F(ContextMenuTest, OpenedAddressesCarryKeysWithUrlCharactersWhole) {
    const auto guid = insert(L"A", L"a&b #50%", L"C++", L"http://a.org/1");
    person_->chooseMenuText(L"Open");
    rightClick(L"@folder/a&b #50%");
    person_->chooseMenuText(L"Open");
    rightClick(L"@category/C++");
    person_->chooseMenuText(L"Open");
    rightClick(L"@item/" + guid);
    ASSERT_EQ(navigations().size(), 3u);
    EXPECT_EQ(navigations()[0].url, L"tarn://tamrix/folder?a%26b%20%2350%25");
    EXPECT_EQ(navigations()[1].url, L"tarn://tamrix/category?C%2B%2B");
    EXPECT_EQ(navigations()[2].url, L"tarn://tamrix/item?" + guid);
    EXPECT_TRUE(person_->allAnswersUsed());
}

TEST_F(ContextMenuTest, CategoryMovesWithItsSubcategoriesAndDeletesWholeTrees) {
    const auto ab = insert(L"AB", L"", L"A/B", L"http://x.org/1");
    const auto abc = insert(L"ABC", L"", L"A/B/C", L"http://x.org/2");
    const auto c = insert(L"Cee", L"", L"C", L"http://x.org/3");

    person_->answerMenu([](const ui::Menu& menu) {
        const ui::MenuItem* move = menu.findByText(L"Move to");
        std::vector<std::wstring> targets;
        for (const auto& item : move->submenu->items())
            targets.push_back(item.text);
        EXPECT_EQ(targets, (std::vector<std::wstring>{L"C"})) << "not itself nor its own";
        return move->submenu->findByText(L"C")->id;
    });
    rightClick(L"@category/A/B");
    EXPECT_EQ(entry(ab).category, L"C/B");
    EXPECT_EQ(entry(abc).category, L"C/B/C");
    EXPECT_EQ(entry(c).category, L"C");

    // A category with subcategories is deleted only with the option ticked.
    person_->chooseMenuText(L"Delete");
    person_->answerDialog([](ui::DialogDriver& dialog) {
        EXPECT_FALSE(dialog.enabled(ui::IDOK));
        dialog.setChecked(plugin::kOptionCheck, true);
        dialog.click(ui::IDOK);
    });
    rightClick(L"@category/C/B");
    EXPECT_EQ(entry(ab).guid, L"(gone)");
    EXPECT_EQ(entry(abc).guid, L"(gone)");
    EXPECT_EQ(entry(c).guid, c);
    EXPECT_TRUE(person_->allAnswersUsed());
}

TEST_F(ContextMenuTest, SiteMenuOpensTheWebsiteInANewTabAndDeletesTheSitesEntries) {
    insert(L"one", L"", L"", L"http://gone.example/1");
    insert(L"two", L"", L"", L"http://kept.example/1");
    person_->chooseMenuText(L"Open Website");
    rightClick(L"@site/gone.example");
    ASSERT_EQ(navigations().size(), 1u);
    EXPECT_EQ(navigations()[0].url, L"http://gone.example");
    EXPECT_EQ(navigations()[0].flags, 0x800u);

    person_->chooseMenuText(L"Delete");
    person_->answerDialog([](ui::DialogDriver& dialog) { dialog.click(ui::IDOK); });
    rightClick(L"@site/gone.example");
    EXPECT_EQ(count(L"site = 'gone.example'"), 0);
    EXPECT_EQ(count(L""), 1);
}

TEST_F(ContextMenuTest, ItemCopiesAsHtmlFormatMovesBetweenFoldersAndIsEdited) {
    const auto clip = insert(L"Grüße aus Köln – 東京", L"Inbox", L"", L"http://k.de/a");
    const auto link = insert(L"Verweis", L"Inbox", L"", L"http://k.de/ö", L"link");
    insert(L"other", L"Archiv", L"", L"http://k.de/b");
    const std::wstring clipId = entry(clip).id;

    person_->chooseMenuText(L"Copy");
    rightClick(L"@item/" + clipId);
    auto& board = ui::clipboard();
    const auto html = board.data(board.registerFormat(L"HTML Format"));
    ASSERT_TRUE(html.has_value());
    const std::string htmlText(html->begin(), html->end());
    // The fragment between the byte offsets its header gives is the entry's UTF-8 markup.
    const auto offset = [&](const std::string& name) {
        return std::stoul(htmlText.substr(htmlText.find(name + ":") + name.size() + 1, 8));
    };
    const std::size_t start = offset("StartFragment");
    const std::string fragment = htmlText.substr(start, offset("EndFragment") - start);
    EXPECT_NE(fragment.find("<p>Grüße aus Köln – 東京</p>"), std::string::npos) << htmlText;
    const auto text = board.data(ui::CF_TEXT);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(std::string(text->begin(), text->end()),
              std::string("Text: Grüße aus Köln – 東京") + '\0');

    person_->chooseMenuText(L"Copy");
    rightClick(L"@item/" + link);
    const auto anchor = board.data(board.registerFormat(L"HTML Format"));
    EXPECT_NE(
        std::string(anchor->begin(), anchor->end()).find("<a href='http://k.de/ö'>Verweis</a>"),
        std::string::npos);
    const auto linkMenu = menuTexts();
    EXPECT_EQ(std::find(linkMenu.begin(), linkMenu.end(), L"Open source URL"), linkMenu.end())
        << "a link has no separate source";

    // The current folder cannot be chosen; another one can, and so can none.
    person_->chooseMenuText(L"Inbox");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(person_->failedChoices().size(), 1u);
    person_->chooseMenuText(L"Archiv");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).folder, L"Archiv");
    person_->chooseMenuText(L"Empty");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).folder, L"");

    person_->chooseMenuText(L"Edit");
    person_->answerDialog([](ui::DialogDriver& dialog) {
        EXPECT_EQ(dialog.text(plugin::kTitleEdit), L"Grüße aus Köln – 東京");
        dialog.type(plugin::kTitleEdit, L"Neuer Titel");
        dialog.type(plugin::kCategoryCombo, L"Reisen");
        dialog.click(ui::IDOK);
    });
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).title, L"Neuer Titel");
    EXPECT_EQ(entry(clip).category, L"Reisen");
    EXPECT_EQ(entry(clip).text, L"Text: Grüße aus Köln – 東京");

    person_->chooseMenuText(L"Open source URL");
    rightClick(L"@item/" + clip);
    person_->chooseMenuText(L"Delete");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).guid, L"(gone)");
    ASSERT_EQ(navigations().size(), 1u);
    EXPECT_EQ(navigations()[0].url, L"http://k.de/a");
}

TEST_F(ContextMenuTest, NoMenuWithoutAListItemAKeyOrAnEntry) {
    rightClick(L"@folder/");
    rightClick(L"@item/no-such-entry");
    rightClick(L"@unknown/thing");
    page_ = platform::dom::Document::parse(L"<p id='loose'>x</p>");
    platform::dom::Event event;
    event.type = L"contextmenu";
    event.srcElement = page_->getElementById(L"loose");
    bool handled = false;
    EXPECT_EQ(plugin_.OnDocumentEvent(event, &handled), 0);
    EXPECT_TRUE(person_->questions().empty());
}

TEST_F(ContextMenuTest, ItemTakesACategoryAModeAndAnEditedDescription) {
    insert(L"elsewhere", L"", L"Reisen", L"http://k.de/r");
    const auto clip = insert(L"Clip", L"", L"Arbeit", L"http://k.de/c");

    // The entry's own category cannot be chosen; another one can.
    person_->chooseMenuText(L"Arbeit");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(person_->failedChoices().size(), 1u);
    person_->chooseMenuText(L"Reisen");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).category, L"Reisen");

    person_->chooseMenuText(L"Mode 2");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).mode, 2);
    person_->chooseMenuText(L"Mode 1");
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).mode, 1);
    const auto menus = person_->questionsOf(ui::PresentedQuestion::Kind::popupMenu);
    EXPECT_TRUE(menus.back().menu->findByText(L"Mode 2")->checked) << "the mode before the choice";

    EntryRecord described = entry(clip);
    described.description = L"Alte Notiz";
    ASSERT_EQ(plugin::updateEntry(described), 0);
    person_->chooseMenuText(L"Edit");
    person_->answerDialog([](ui::DialogDriver& dialog) {
        EXPECT_EQ(dialog.text(plugin::kDescriptionEdit), L"Alte Notiz");
        dialog.type(plugin::kDescriptionEdit, L"Neue Notiz – mit Umlauten äöü");
        dialog.click(ui::IDOK);
    });
    rightClick(L"@item/" + clip);
    EXPECT_EQ(entry(clip).description, L"Neue Notiz – mit Umlauten äöü");
    EXPECT_EQ(entry(clip).title, L"Clip");
}
