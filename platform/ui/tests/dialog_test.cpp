#include <gtest/gtest.h>

#include <chrono>

#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"

using namespace platform::ui;
using namespace std::chrono_literals;

namespace {

// A small dialog with one control of each common kind; it counts the notices it gets.
class SampleDialog : public Dialog {
  public:
    SampleDialog()
        : Dialog(
              {100,
               L"Sample",
               200,
               100,
               {
                   {.id = 10, .kind = ControlKind::edit},
                   {.id = 11, .kind = ControlKind::checkBox, .text = L"Agree"},
                   {.id = 12, .kind = ControlKind::comboBox},
                   {.id = 20, .kind = ControlKind::radioButton, .text = L"A", .groupStart = true},
                   {.id = 21, .kind = ControlKind::radioButton, .text = L"B"},
                   {.id = IDOK,
                    .kind = ControlKind::pushButton,
                    .text = L"OK",
                    .defaultButton = true},
                   {.id = IDCANCEL, .kind = ControlKind::pushButton, .text = L"Cancel"},
               }}) {}

    int edits = 0;
    std::wstring typed;
    std::vector<std::wstring> comboRows;

  protected:
    void onInit() override {
        setItemText(10, L"preset");
        for (const auto& row : comboRows)
            addRow(12, row);
        setItemText(12, L"two");
        checkRadioButton(20, 21, 20);
        enableItem(IDOK, false);
    }
    void onCommand(int id, UINT code) override {
        if (id == 10 && code == EN_CHANGE)
            ++edits;
        if (id == 11 && code == BN_CLICKED)
            enableItem(IDOK, isChecked(11));
        if (id == IDOK && code == BN_CLICKED)
            typed = itemText(10);
        Dialog::onCommand(id, code);
    }
};

class DialogTest : public ::testing::Test {
  protected:
    void TearDown() override { windows().reset(); }
    std::shared_ptr<ScriptedPresenter> script = std::make_shared<ScriptedPresenter>();
    PresenterScope scope{script};
};

}  // namespace

TEST_F(DialogTest, PersonTypesTicksAndConfirms) {
    SampleDialog dialog;
    dialog.comboRows = {L"one", L"two"};
    script->answerDialog([](DialogDriver& person) {
        EXPECT_EQ(person.text(10), L"preset");
        EXPECT_EQ(person.selection(12), 1) << "program text selects the equal row";
        EXPECT_FALSE(person.enabled(IDOK));
        EXPECT_THROW(person.click(IDOK), ScriptError);
        person.type(10, L"typed");
        person.click(11);
        person.click(21);
        EXPECT_FALSE(person.checked(20));
        person.choose(12, L"one");
        EXPECT_EQ(person.text(12), L"one");
        person.click(IDOK);
    });
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.edits, 1) << "only the typed change is a notice, not the preset";
    EXPECT_EQ(dialog.typed, L"typed");
    EXPECT_FALSE(windows().isWindow(dialog.handle()));
}

TEST_F(DialogTest, UnansweredDialogIsCancelledAndDefaultPresenterPressesDefaultButton) {
    SampleDialog first;
    script->answerDialog([](DialogDriver& person) { person.type(10, L"x"); });
    EXPECT_EQ(first.doModal(), IDCANCEL);

    PresenterScope defaults{nullptr};
    SampleDialog second;
    EXPECT_EQ(second.doModal(), IDCANCEL) << "the default button is disabled, so nothing ends it";
}

TEST_F(DialogTest, NestedDialogsTakeScriptsInOpeningOrderAndOwnerIsDisabledMeanwhile) {
    const HWND frame = windows().createWindow({.className = L"IEFrame"});
    SampleDialog outer;
    int innerResult = 0;
    script->answerDialog([&](DialogDriver& person) {
        EXPECT_FALSE(windows().isEnabled(frame));
        SampleDialog inner;
        innerResult = inner.doModal(person.dialog().handle());
        EXPECT_TRUE(windows().isEnabled(person.dialog().handle()));
        person.close();
    });
    script->answerDialog([](DialogDriver& person) {
        person.setChecked(11, true);
        person.click(IDOK);
    });
    EXPECT_EQ(outer.doModal(frame), IDCANCEL);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_TRUE(windows().isEnabled(frame));
    EXPECT_TRUE(script->allAnswersUsed());
    EXPECT_EQ(script->questionsOf(PresentedQuestion::Kind::dialog).size(), 2u);
}

TEST_F(DialogTest, ScriptFailureCancelsDialogAndReachesTheTest) {
    SampleDialog dialog;
    script->answerDialog([](DialogDriver& person) { person.click(999); });
    EXPECT_THROW(dialog.doModal(), ScriptError);
    EXPECT_FALSE(windows().isWindow(dialog.handle()));
}

namespace {

// Ends itself after three timer ticks, like a dialog that polls a worker.
class PollingDialog : public Dialog {
  public:
    PollingDialog() : Dialog({101, L"Working", 100, 50, {}}) {}
    int ticks = 0;

  protected:
    void onInit() override { setTimer(1, 5ms); }
    void onTimer(std::uintptr_t) override {
        if (++ticks == 3)
            endDialog(IDOK);
    }
};

// Stops polling after two ticks but stays open, as a dialog that shows its result and waits
// for the person to close it.
class FinishedWorkDialog : public Dialog {
  public:
    FinishedWorkDialog() : Dialog({101, L"Working", 100, 50, {}}) {}
    int ticks = 0;

  protected:
    void onInit() override { setTimer(1, 5ms); }
    void onTimer(std::uintptr_t id) override {
        if (++ticks == 2)
            killTimer(id);
    }
};

}  // namespace

TEST_F(DialogTest, ADialogWhoseTimersStoppedIsCancelledAtOnceAfterTheScript) {
    FinishedWorkDialog dialog;
    script->answerDialog([](DialogDriver&) {});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(dialog.ticks, 2);
    // Nothing is left that could end it, so it must not sit out the modal wait limit.
    EXPECT_LT(std::chrono::steady_clock::now() - start, Dialog::kModalWaitLimit / 4);
    EXPECT_FALSE(windows().isWindow(dialog.handle()));
}

TEST_F(DialogTest, DialogWithTimersWaitsForItsWorkAfterTheScript) {
    PollingDialog dialog;
    script->answerDialog([](DialogDriver&) {});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.ticks, 3);
}

TEST_F(DialogTest, LocalizableChildrenAreDirectChildrenWithTheirTexts) {
    SampleDialog dialog;
    const HWND window = dialog.create();
    std::vector<std::wstring> texts;
    for (HWND child = windows().findWindowEx(window, {}, L"", L""); child;
         child = windows().findWindowEx(window, child, L"", L""))
        texts.push_back(windows().text(child));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"preset", L"Agree", L"two", L"A", L"B", L"OK",
                                                L"Cancel"}));
    EXPECT_EQ(windows().text(window), L"Sample");
}
