#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/clipboard.h"
#include "platform/ui/menu.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"

using namespace platform::ui;

namespace {

std::unique_ptr<Menu> folderMenu() {
    return Menu::build({{L"Open", 32903},
                        {},
                        {L"Folder", 33078, {{L"Inbox", 3000}, {L"Work", 3001}}},
                        {L"Rename", 32912}});
}

}  // namespace

TEST(Menu, LooksUpByIdAndTextThroughSubmenusAndKeepsSubmenuOnModify) {
    auto menu = folderMenu();
    ASSERT_EQ(menu->count(), 4);
    EXPECT_TRUE(menu->at(1)->separator);
    EXPECT_EQ(menu->findById(3001)->text, L"Work");
    EXPECT_EQ(menu->findByText(L"Inbox")->id, 3000u);
    EXPECT_TRUE(menu->check(3001, true));
    EXPECT_EQ(menu->stateOf(3001), MF_CHECKED);
    EXPECT_EQ(menu->stateOf(33078), MF_POPUP);
    EXPECT_EQ(menu->stateOf(1), static_cast<UINT>(-1));

    EXPECT_TRUE(menu->modifyAt(2, 33078, L"Ordner"));
    EXPECT_EQ(menu->at(2)->submenu->count(), 2);
    EXPECT_TRUE(menu->removeById(3000));
    EXPECT_EQ(menu->at(2)->submenu->count(), 1);

    const auto copy = menu->clone();
    menu->findById(3001)->text = L"changed";
    EXPECT_EQ(copy->findById(3001)->text, L"Work") << "a clone is deep";
}

TEST(Presenter, ScriptedMenuChoicesRespectItemStates) {
    auto script = std::make_shared<ScriptedPresenter>();
    PresenterScope scope(script);
    auto menu = folderMenu();
    menu->disable(32912, true);
    script->chooseMenuText(L"Work");
    script->chooseMenuId(32912);
    script->dismissMenu();
    EXPECT_EQ(trackPopupMenu(*menu, TPM_RETURNCMD, {5, 5}, {}), 3001u);
    EXPECT_EQ(trackPopupMenu(*menu, TPM_RETURNCMD, {5, 5}, {}), 0u) << "disabled item";
    EXPECT_EQ(trackPopupMenu(*menu, TPM_RETURNCMD, {5, 5}, {}), 0u);
    EXPECT_EQ(script->failedChoices(), std::vector<std::wstring>{L"#32912"});
    const auto shown = script->questionsOf(PresentedQuestion::Kind::popupMenu);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].menu->findById(32903)->text, L"Open");
}

TEST(Presenter, ChosenItemIsPostedAsCommandWithoutReturnFlag) {
    auto script = std::make_shared<ScriptedPresenter>();
    PresenterScope scope(script);
    UINT command = 0;
    const HWND owner = windows().createWindow({.proc = [&](const Message& m) -> LRESULT {
        if (m.id == WM_COMMAND)
            command = lowWord(m.wParam);
        return 0;
    }});
    script->chooseMenuId(32903);
    EXPECT_EQ(trackPopupMenu(*folderMenu(), 0, {}, owner), 1u);
    windows().pumpMessages();
    EXPECT_EQ(command, 32903u);
    windows().reset();
}

TEST(Presenter, MessageBoxesFromWorkersAreAnsweredInOrderThenWithDefaults) {
    auto script = std::make_shared<ScriptedPresenter>();
    PresenterScope scope(script);
    script->answerMessageBox(IDNO);
    int first = 0, second = 0;
    std::thread worker([&] {
        first =
            messageBox({}, L"Converting now, are you sure to cancel?", L"Tamrix for IE", MB_YESNO);
        second = messageBox({}, L"Again?", L"", MB_YESNOCANCEL | MB_DEFBUTTON3);
    });
    worker.join();
    EXPECT_EQ(first, IDNO);
    EXPECT_EQ(second, IDCANCEL);
    EXPECT_EQ(script->messageTexts(),
              (std::vector<std::wstring>{L"Converting now, are you sure to cancel?", L"Again?"}));
    EXPECT_FALSE(script->questions()[1].scripted);
    EXPECT_EQ(defaultMessageBoxButton(MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(defaultMessageBoxButton(MB_YESNO | MB_DEFBUTTON2), IDNO);
}

TEST(Presenter, FolderPickerAndShellOpenAreRecorded) {
    auto script = std::make_shared<ScriptedPresenter>();
    PresenterScope scope(script);
    script->answerFolder(L"/tmp/out");
    EXPECT_EQ(browseForFolder({}, L"Please select a output folder", L"/home", false),
              std::optional<std::wstring>(L"/tmp/out"));
    EXPECT_EQ(browseForFolder({}, L"Again", L"/home", false), std::nullopt);
    EXPECT_FALSE(shellOpen({}, L"open", L"http://127.0.0.1/"));
    const auto opened = script->questionsOf(PresentedQuestion::Kind::shellOpen);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, L"http://127.0.0.1/");
}

TEST(Clipboard, NamedFormatsAndOneHolderAtATime) {
    Clipboard& board = clipboard();
    board.reset();
    const UINT html = board.registerFormat(L"HTML Format");
    EXPECT_GE(html, 0xC000u);
    EXPECT_EQ(board.registerFormat(L"html format"), html);
    EXPECT_EQ(board.formatName(html), L"HTML Format");
    EXPECT_FALSE(board.setData(CF_TEXT, {'x'})) << "writing needs the clipboard open";
    ASSERT_TRUE(board.open({}));
    bool otherOpened = true;
    std::thread other([&] { otherOpened = board.open({}); });
    other.join();
    EXPECT_FALSE(otherOpened);
    EXPECT_TRUE(board.empty());
    EXPECT_TRUE(board.setData(html, {'<', 'b', '>'}));
    EXPECT_TRUE(board.close());
    EXPECT_EQ(board.data(html), (std::vector<std::uint8_t>{'<', 'b', '>'}));
    EXPECT_FALSE(board.data(CF_TEXT));
}
