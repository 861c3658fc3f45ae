// tamrix-host: the browser stand-in's front. Opens pages in one tab, attaches the clip
// controller, delivers keys, pointer events and commands, answers dialogs and menus, and
// tells what happened (see command_line.h for the words, output.h for where they go).
//
// Exit status: 0 when every action did what it asked, 1 when an action failed (the actions
// after it are not run unless --keep-going), 2 for a usage error.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "addon/module/command_registration.h"
#include "addon/shell/data_folders.h"
#include "addon/shell/startup/addon_startup.h"
#include "host/command_line.h"
#include "host/demo.h"
#include "host/host_session.h"
#include "host/output.h"
#include "platform/imaging/canvas/text_font.h"
#include "platform/text/utf.h"
#include "platform/ui/clock.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"

namespace {

using platform::text::fromUtf8;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

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

int runActions(const std::vector<std::wstring>& actions, bool keepGoing) {
    // The fonts' set-up runs beside the add-on's start and the first page's loading.
    const std::jthread fonts([] { platform::imaging::TextFont::prepare(); });
    auto presenter = std::make_shared<host::HostPresenter>();
    platform::ui::PresenterScope scope(presenter);
    // Nobody watches this host's screen: animations and paced sequences run in order on its
    // clock without real pauses; timers and waits for other processes stay real.
    platform::ui::windows().setClock(std::make_shared<platform::ui::SkippingClock>());
    addon::attachAddon();
    addon::registerAddonCommands();
    bool succeeded = true;
    {
        host::HostSession session(presenter);
        for (std::size_t at = 0; at < actions.size(); ++at) {
            if (session.run(actions[at])) {
                continue;
            }
            succeeded = false;
            if (!keepGoing) {
                std::size_t left = 0;
                for (std::size_t next = at + 1; next < actions.size(); ++next) {
                    const auto first = actions[next].find_first_not_of(L" \t\r");
                    left += first != std::wstring::npos && actions[next][first] != L'#';
                }
                if (left > 0) {
                    host::reportError(L"stopped: the " + std::to_wstring(left) +
                                      L" action(s) after the failed one were not run "
                                      L"(--keep-going runs them)");
                }
                break;
            }
        }
        if (!presenter->allAnswersUsed()) {
            host::note(
                L"note: some queued answers were not used (no dialog, message box, menu "
                L"or folder picker asked for them)");
        }
    }
    addon::detachAddon();
    return succeeded ? 0 : kFailed;
}

int usage(const std::string& problem) {
    std::cerr << "tamrix-host: " << problem << "\n"
              << "usage: tamrix-host [-q | -v] [-k] demo | --script FILE | ACTION [ARGS]...\n"
              << "Run tamrix-host --help for the actions, with examples." << std::endl;
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    bool keepGoing = false;
    std::size_t first = 0;
    for (; first < arguments.size(); ++first) {
        const std::string& option = arguments[first];
        if (option == "--help" || option == "-h" || option == "help") {
            std::cout << host::helpText();
            return 0;
        }
        if (option == "--version" || option == "-V") {
            std::cout << "tamrix-host " << TAMRIX_VERSION << std::endl;
            return 0;
        }
        if (option == "-q" || option == "--quiet") {
            host::setVerbosity(host::Verbosity::quiet);
        } else if (option == "-v" || option == "--verbose") {
            host::setVerbosity(host::Verbosity::verbose);
        } else if (option == "-k" || option == "--keep-going") {
            keepGoing = true;
        } else if (option == "--") {
            ++first;
            break;
        } else if (option.starts_with("-") && option != "--script" && option != "-") {
            return usage("unknown option " + option);
        } else {
            break;
        }
    }
    arguments.erase(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(first));
    if (arguments.empty()) {
        return usage("no action given");
    }
    if (arguments.size() == 1 && arguments[0] == "demo") {
        const std::string home = host::prepareDemoHome();
        if (home.empty()) {
            host::reportError(L"cannot make a fresh home folder for the demo");
            return kFailed;
        }
        host::note(L"demo home: " + fromUtf8(home));
        const std::wstring article =
            addon::resolveDataFolder(L"ConfigData") + L"/examples/article.html";
        const std::wstring latestPage = fromUtf8(home) + L"/latest.html";
        const int status = runActions(host::demoScript(article, latestPage), keepGoing);
        if (status == 0) {
            host::note(L"latest entries page: " + latestPage);
        }
        return status;
    }
    if (arguments[0] == "--script") {
        if (arguments.size() != 2) {
            return usage(
                "--script takes one FILE (one action per line, \"-\" reads standard "
                "input) and nothing after it");
        }
        bool readable = false;
        const auto lines = readScript(arguments[1], readable);
        if (!readable) {
            return usage("cannot read the script " + arguments[1]);
        }
        if (const std::wstring error = host::checkScriptLines(lines); !error.empty()) {
            return usage(arguments[1] + ", " + platform::text::toUtf8(error));
        }
        return runActions(lines, keepGoing);
    }
    std::vector<std::wstring> words;
    for (const std::string& argument : arguments) {
        words.push_back(fromUtf8(argument));
    }
    const host::ParsedActions parsed = host::parseActionWords(words);
    if (!parsed.error.empty()) {
        return usage(platform::text::toUtf8(parsed.error));
    }
    return runActions(parsed.actions, keepGoing);
}
