// The side-pane program `lorvane`: its arguments form the command line, its installation
// root is the parent of its own folder. Its dialogs and message boxes are shown on screen
// while a window shows the pane.
#include <memory>

#include "lorvane/data_folders.h"
#include "lorvane/program/screen_presenter.h"
#include "lorvane/side_pane_program.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

int main(int argc, char** argv) {
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? L" " : L"") + platform::text::fromUtf8(argv[i]);
    lorvane::SidePaneOptions options;
    options.root = lorvane::programRoot();
    options.programPath = platform::text::fromUtf8(platform::system::programPath());
    // The pane is shown while the window that adopted it is there: its stand-in here has
    // that window's class.
    options.onScreen = std::make_shared<lorvane::ScreenPresenter>([] {
        return static_cast<bool>(platform::ui::windows().findWindow(L"LorvaneClient", L""));
    });
    return lorvane::runSidePaneProgram(commandLine, options);
}
