// The side-pane program `lorvane`: its arguments form the command line, its installation
// root is the parent of its own folder.
#include "lorvane/data_folders.h"
#include "lorvane/side_pane_program.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"

int main(int argc, char** argv) {
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? L" " : L"") + platform::text::fromUtf8(argv[i]);
    lorvane::SidePaneOptions options;
    options.root = lorvane::programRoot();
    options.programPath = platform::text::fromUtf8(platform::system::programPath());
    return lorvane::runSidePaneProgram(commandLine, options);
}
