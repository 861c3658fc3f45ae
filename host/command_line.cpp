#include "host/command_line.h"

#include <algorithm>

namespace host {
namespace {

struct Verb {
    const wchar_t* name;
    const wchar_t* argument;  // what it needs, "" when it takes none
    const wchar_t* example;
};

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> table = {
        {L"open", L"an address (a file, an http(s) address or a tamrix: toolbar link)",
         L"open page.html"},
        {L"attach", L"", L"attach"},
        {L"select", L"the id of a page element", L"select article"},
        {L"key", L"a key combination", L"key ctrl+s"},
        {L"command", L"a command string", L"command command-save/tamrix"},
        {L"answer-save", L"a title (then | category | folder)", L"answer-save My page | Travel"},
        {L"answer-export", L"", L"answer-export EPUB | /home/me/books | lighthouse"},
        {L"answer-cancel", L"", L"answer-cancel"},
        {L"answer-message", L"a button: ok, cancel, yes or no", L"answer-message yes"},
        {L"report", L"", L"report"},
        {L"pane", L"", L"pane"},
        {L"fetch", L"a tarn: or tamrix: address (then a file)",
         L"fetch tarn://tamrix/latest out.html"},
    };
    return table;
}

const Verb* verbNamed(const std::wstring& word) {
    const auto& table = verbs();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&word](const Verb& verb) { return word == verb.name; });
    return found == table.end() ? nullptr : &*found;
}

std::wstring firstWord(const std::wstring& text) {
    return text.substr(0, text.find(L' '));
}

}  // namespace

ParsedActions parseActionWords(const std::vector<std::wstring>& words) {
    ParsedActions parsed;
    for (const std::wstring& word : words) {
        if (verbNamed(firstWord(word))) {
            parsed.actions.push_back(word);
        } else if (parsed.actions.empty()) {
            parsed.error =
                L"unknown action \"" + word +
                L"\"; an action starts with one of open, attach, select, key, "
                L"command, answer-save, answer-export, answer-cancel, answer-message, report, "
                L"pane, fetch. "
                L"Run tamrix-host --help for the list with examples.";
            return parsed;
        } else {
            parsed.actions.back() += L" " + word;
        }
    }
    for (const std::wstring& action : parsed.actions) {
        const Verb& verb = *verbNamed(firstWord(action));
        if (*verb.argument != L'\0' && action.find(L' ') == std::wstring::npos) {
            parsed.error = std::wstring(verb.name) + L" needs " + verb.argument +
                           L", for example: tamrix-host " + verb.example;
            return parsed;
        }
    }
    return parsed;
}

std::string helpText() {
    return R"(tamrix-host: clip web pages into the Tamrix repository and use its pages

Usage:
  tamrix-host demo                 clip the shipped example article into a fresh repository
  tamrix-host --script FILE        run the actions of FILE, one per line ("-": standard input)
  tamrix-host ACTION [ARGS]...     run actions given on the command line; each action is a
                                   verb and its arguments, as separate words or one quoted word
  tamrix-host --help               this text

Actions:
  open ADDRESS             show a page: a file, an http(s) address, or a
                           tamrix://$toolbar/<command> toolbar link
  attach                   press the toolbar button: the page can be clipped
  select ID                select the page element with that id
  key COMBINATION          press a key on the page (ctrl+s saves, ctrl+p prints)
  command COMMAND          run a toolbar command (command-print-pdf, command-export/tamrix, ...)
  answer-save TITLE [| CATEGORY [| FOLDER]]
                           fill in the next save dialog and press OK
  answer-export [FORMAT [| FOLDER [| FILE]]]
                           fill in the next export dialog (EPUB, HTML, MOBI or TEXT),
                           press OK and close it once the export has finished
  answer-cancel            cancel the next dialog
  answer-message BUTTON    press ok, cancel, yes or no in the next message box
  report                   show the repository's newest entry
  pane                     wait until the side pane shows beside the page (a save opens it)
  fetch URL [FILE]         write a tarn: or tamrix: page to FILE or standard output

Examples:
  tamrix-host open article.html attach select article answer-save "Night train" key ctrl+s
  tamrix-host open https://example.org/story attach command command-select-auto \
              command command-select-grab answer-save Story key ctrl+s
  tamrix-host open article.html attach select article \
              answer-export "EPUB | $HOME/books | lighthouse" command command-export/tamrix
  tamrix-host open article.html attach command command-print-pdf
  tamrix-host open article.html attach command command-print
  tamrix-host fetch tarn://tamrix/latest latest.html

Exit status: 0 when every action succeeded, 1 when one failed, 2 for a usage error.
)";
}

}  // namespace host
