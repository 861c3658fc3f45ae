#include <gtest/gtest.h>

#include "platform/ui/gtk/message_box_view.h"
#include "platform/ui/gtk/mnemonic.h"

using namespace platform::ui;
using namespace platform::ui::gtk;

TEST(GtkLabels, MnemonicsAmpersandsUnderscoresAndShortcuts) {
    EXPECT_EQ(mnemonicLabel(L"&Save"), "_Save");
    EXPECT_EQ(mnemonicLabel(L"Save && close"), "Save & close");
    EXPECT_EQ(mnemonicLabel(L"snake_case"), "snake__case");
    EXPECT_EQ(mnemonicLabel(L"&Grab\tCtrl+G"), "_Grab    Ctrl+G");
    EXPECT_EQ(plainLabel(L"&Title:"), "Title:");
    EXPECT_EQ(plainLabel(L"a_b && c"), "a_b & c");
    EXPECT_EQ(mnemonicLabel(L"Größe &ändern"), "Größe _ändern");
}

TEST(GtkMessageBoxes, ButtonsAndWhatClosingAnswers) {
    const auto labels = [](UINT flags) {
        std::vector<int> ids;
        for (const auto& [label, id] : messageBoxButtons(flags)) {
            ids.push_back(id);
        }
        return ids;
    };
    EXPECT_EQ(labels(MB_OK | MB_ICONERROR), std::vector<int>{IDOK});
    EXPECT_EQ(labels(MB_YESNOCANCEL), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(labels(MB_ABORTRETRYIGNORE), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(messageBoxCloseAnswer(MB_OK), IDOK);
    EXPECT_EQ(messageBoxCloseAnswer(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(messageBoxCloseAnswer(MB_YESNOCANCEL | MB_DEFBUTTON2), IDCANCEL);
    // A yes-or-no question cannot be closed without an answer.
    EXPECT_EQ(messageBoxCloseAnswer(MB_YESNO), 0);
    EXPECT_EQ(messageBoxCloseAnswer(MB_ABORTRETRYIGNORE), 0);
}
