// tamrix-host: the browser stand-in's front. Opens pages in one tab, attaches the clip
// controller, delivers keys and commands, answers dialogs and prints what happened.
//
//   tamrix-host demo                 the shipped example (see demo.h)
//   tamrix-host --script FILE        actions from a file, one per line ("-": standard input)
//   tamrix-host ACTION [ARGS]...     actions from the command line (see command_line.h)
//   tamrix-host --help               the actions, with examples
//
// Exit status: 0 when every action succeeded, 1 when one failed, 2 for a usage error.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "addon/module/command_registration.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/startup/addon_startup.h"
#include "host/command_line.h"
#include "host/demo.h"
#include "host/host_session.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace {

using platform::text::fromUtf8;

std::vector<std::wstring> readScript(const std::string& file, bool& readable) {
    std::vector<std::wstring> lines;
    std::ifstream in(file);
    std::istream& source = file == "-" ? std::cin : in;
    readable = file == "-" || static_cast<bool>(in);
    for (std::string line; std::getline(source, line);) {
        lines.push_back(fromUtf8(line));
    }
    return lines;
}

int runActions(const std::vector<std::wstring>& actions) {
    auto presenter = std::make_shared<host::HostPresenter>();
    platform::ui::PresenterScope scope(presenter);
    addon::attachAddon();
    addon::registerAddonCommands();
    bool succeeded = true;
    {
        host::HostSession session(presenter);
        for (const std::wstring& action : actions) {
            succeeded = session.run(action) && succeeded;
        }
    }
    addon::detachAddon();
    return succeeded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << "usage: tamrix-host demo | --script FILE | ACTION [ARGS]...\n"
                  << "Run tamrix-host --help for the actions, with examples." << std::endl;
        return 2;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        std::cout << host::helpText();
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "demo") {
        const std::string home = host::prepareDemoHome();
        if (home.empty()) {
            std::cerr << "tamrix-host: cannot make a fresh home folder for the demo" << std::endl;
            return 1;
        }
        std::cout << "demo home: " << home << std::endl;
        const std::wstring article =
            addon::resolveDataFolder(L"ConfigData") + L"/examples/article.html";
        const std::wstring latestPage = fromUtf8(home) + L"/latest.html";
        const int status = runActions(host::demoScript(article, latestPage));
        if (status == 0) {
            std::cout << "latest entries page: " << home << "/latest.html" << std::endl;
        }
        return status;
    }
    if (arguments[0] == "--script") {
        if (arguments.size() != 2) {
            std::cerr << "usage: tamrix-host --script FILE (one action per line, \"-\" reads "
                         "standard input)"
                      << std::endl;
            return 2;
        }
        bool readable = false;
        const auto lines = readScript(arguments[1], readable);
        if (!readable) {
            std::cerr << "tamrix-host: cannot read " << arguments[1] << std::endl;
            return 2;
        }
        return runActions(lines);
    }
    std::vector<std::wstring> words;
    for (const std::string& argument : arguments) {
        words.push_back(fromUtf8(argument));
    }
    const host::ParsedActions parsed = host::parseActionWords(words);
    if (!parsed.error.empty()) {
        std::cerr << "tamrix-host: " << platform::text::toUtf8(parsed.error) << std::endl;
        return 2;
    }
    return runActions(parsed.actions);
}
