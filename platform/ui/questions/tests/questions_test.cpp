#include <gtest/gtest.h>

#include "platform/ui/questions/desk_presenter.h"
#include "platform/ui/questions/question_desk.h"
#include "platform/ui/scripted_presenter.h"
#include "testing/environment/temporary_home.h"

using namespace platform::ui;
using namespace platform::ui::questions;

namespace {

std::unique_ptr<Menu> sampleMenu() {
    auto menu = Menu::build({{L"&Open", 1},
                             {},
                             {L"Move to", 2, {{L"Inbox", 20}, {L"Ärger \u65E5", 21}}},
                             {L"Delete", 3}});
    menu->check(20, true);
    menu->gray(21, true);
    menu->disable(3, true);
    return menu;
}

TEST(QuestionRecord, AMenuCrossesWithItsItemsStatesAndSubmenus) {
    const auto sent = sampleMenu();
    const MenuQuestion question{{4242, HWND{77}}, 9, {-5, 1200}, sent->clone()};
    const auto read = readQuestion(questionRecord(question));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->asker, question.asker);
    EXPECT_EQ(read->token, 9u);
    EXPECT_EQ(read->at, (Point{-5, 1200}));
    const Menu& menu = *read->menu;
    ASSERT_EQ(menu.count(), 4);
    EXPECT_EQ(menu.at(0)->text, L"&Open");
    EXPECT_TRUE(menu.at(1)->separator);
    ASSERT_TRUE(menu.at(2)->submenu);
    EXPECT_EQ(menu.at(2)->id, 2u);
    EXPECT_EQ(menu.findById(21)->text, L"Ärger \u65E5");
    EXPECT_TRUE(menu.findById(20)->checked);
    EXPECT_TRUE(menu.findById(21)->grayed);
    EXPECT_TRUE(menu.findById(3)->disabled);
    EXPECT_TRUE(menu.findById(1)->selectable());

    const auto answer = readAnswer(answerRecord({9, 21}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->token, 9u);
    EXPECT_EQ(answer->chosen, 21u);
}

TEST(QuestionRecord, ARecordCutShortTooDeepOrTooLargeGivesNothing) {
    const wire::Bytes whole =
        questionRecord({{4242, HWND{77}}, 9, {1, 2}, std::shared_ptr<const Menu>(sampleMenu())});
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(readQuestion(wire::Bytes(whole.begin(), whole.begin() + size))) << size;
    EXPECT_FALSE(readAnswer({1, 2, 3}));

    // Submenus nested past the limit.
    Menu deep;
    for (int level = 0; level <= kMaxMenuDepth + 1; ++level) {
        Menu outer;
        outer.appendSubmenu(L"deeper", std::make_unique<Menu>(std::move(deep)), 1);
        deep = std::move(outer);
    }
    wire::Writer nested;
    writeMenu(nested, deep);
    wire::Reader nestedReader(nested.data());
    EXPECT_FALSE(readMenu(nestedReader));

    // A count of items the record cannot hold is refused before anything is made.
    wire::Writer huge;
    huge.u32(0xFFFFFFFF);
    wire::Reader hugeReader(huge.data());
    EXPECT_FALSE(readMenu(hugeReader));
}

class QuestionDeskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        windows().reset();
        ASSERT_TRUE(crossProcess_.start()) << crossProcess_.error();
        asker_ = windows().createWindow(
            {.className = L"Asker", .visible = false, .proc = [this](const Message& message) {
                 if (message.id == WM_COPYDATA && message.copyData->code == kMenuAnswerCode)
                     answers_.push_back(readAnswer(message.copyData->bytes));
                 return LRESULT{1};
             }});
    }
    void TearDown() override { windows().reset(); }

    testing_environment::TemporaryHome home_;
    CrossProcessWindows crossProcess_;
    HWND asker_;
    std::vector<std::optional<MenuAnswer>> answers_;
};

TEST_F(QuestionDeskTest, AQuestionIsHandedOnAndItsAnswerGoesBackToTheAsker) {
    std::vector<MenuQuestion> asked;
    QuestionDesk desk(crossProcess_, [&](MenuQuestion question) { asked.push_back(question); });
    ASSERT_TRUE(desk.published());
    const RemoteWindow found = crossProcess_.findWindow(kDeskTitle);
    ASSERT_TRUE(found);

    const MenuQuestion question{
        CrossProcessWindows::local(asker_), 5, {10, 20}, std::shared_ptr<const Menu>(sampleMenu())};
    LRESULT taken = 0;
    ASSERT_TRUE(crossProcess_.sendCopyData(found, asker_,
                                           {kMenuQuestionCode, questionRecord(question)}, &taken));
    EXPECT_EQ(taken, 1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].menu->findById(21)->text, L"Ärger \u65E5");

    EXPECT_TRUE(desk.answer(asked[0], 21));
    ASSERT_EQ(answers_.size(), 1u);
    ASSERT_TRUE(answers_[0]);
    EXPECT_EQ(answers_[0]->token, 5u);
    EXPECT_EQ(answers_[0]->chosen, 21u);

    // A record that is not a question is refused and reaches nobody.
    taken = 0;
    crossProcess_.sendCopyData(found, asker_, {kMenuQuestionCode, {1, 2, 3}}, &taken);
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(asked.size(), 1u);

    // A desk is withdrawn with its object.
    {
        QuestionDesk other(crossProcess_, nullptr);
        EXPECT_EQ(crossProcess_.findWindows(kDeskTitle).size(), 2u);
    }
    EXPECT_EQ(crossProcess_.findWindows(kDeskTitle), std::vector<RemoteWindow>{found});
}

TEST_F(QuestionDeskTest, WithoutAWindowShowingTheAskerEveryQuestionTakesItsDefault) {
    // A desk of this very process does not show this process's own windows.
    QuestionDesk desk(crossProcess_, [](MenuQuestion) { ADD_FAILURE() << "menu sent"; });
    auto onScreen = std::make_shared<ScriptedPresenter>();
    onScreen->answerMessageBox(IDNO);
    onScreen->chooseMenuId(1);
    DeskPresenter presenter(crossProcess_, onScreen);

    EXPECT_EQ(presenter.popupMenu(asker_, *sampleMenu(), {1, 1}), 0u);
    EXPECT_EQ(presenter.messageBox(asker_, L"Sure?", L"Tamrix", MB_YESNO), IDYES);
    EXPECT_TRUE(onScreen->questions().empty());
}

}  // namespace
