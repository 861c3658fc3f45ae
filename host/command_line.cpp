#include "host/command_line.h"

#include <algorithm>

#include "platform/text/utf.h"

namespace host {
namespace {

struct Verb {
    const wchar_t* name;
    const wchar_t* argument;  // what it needs, "" when it takes none
    const wchar_t* example;
    const char* usage;  // the verb and its arguments, as --help shows them
    const char* help;   // one line
};

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> table = {
        {L"open", L"an address (a file, an http(s), tarn: or tamrix: address)", L"open page.html",
         "open ADDRESS", "show a page: a file, http(s), tarn: or tamrix: address"},
        {L"attach", L"", L"attach", "attach", "press the toolbar button: the page can be clipped"},
        {L"select", L"the id of a page element", L"select article", "select ID",
         "select the page element with that id"},
        {L"select-text", L"two points or an #ID", L"select-text 10 100 300 140",
         "select-text P1 P2 | #ID", "select the page's text between two points (or an element's)"},
        {L"move", L"a point (X Y or #ID)", L"move 200 300", "move P [ctrl] [shift] [alt]",
         "move the pointer to P"},
        {L"press", L"a point (X Y or #ID)", L"press 200 300 right", "press P [BUTTON] [MODS]",
         "press a mouse button (left, right, middle) at P"},
        {L"release", L"a point (X Y or #ID)", L"release 200 300 right", "release P [BUTTON] [MODS]",
         "release a mouse button at P"},
        {L"click", L"a point (X Y or #ID)", L"click #story", "click P [BUTTON] [MODS]",
         "press and release a mouse button at P"},
        {L"dblclick", L"a point (X Y or #ID)", L"dblclick 200 300", "dblclick P [MODS]",
         "double-click the left button at P"},
        {L"drag", L"two points", L"drag 10 10 600 400 right", "drag P1 P2 [BUTTON] [MODS]",
         "press at P1, move to P2, release"},
        {L"wheel", L"a point and a delta", L"wheel 200 300 -120", "wheel P DELTA",
         "turn the wheel at P (120 a notch, negative: down)"},
        {L"key", L"a key combination", L"key ctrl+s", "key COMBINATION",
         "press a key on the page (ctrl+s saves, ctrl+p prints)"},
        {L"command", L"a command string", L"command command-save/tamrix", "command COMMAND",
         "run a toolbar command (command-print-pdf, command-export/tamrix, ...)"},
        {L"answer-save", L"", L"answer-save My page | Travel", "answer-save FIELDS",
         "the next save dialog: TITLE | CATEGORY | FOLDER | TAGS, or NAME=VALUE"},
        {L"answer-export", L"", L"answer-export EPUB | /home/me/books | lighthouse",
         "answer-export FIELDS", "the next export dialog: FORMAT | OUTPUT FOLDER | FILE TITLE"},
        {L"answer-print", L"", L"answer-print Kindle DX | /home/me/books", "answer-print FIELDS",
         "the next Print-to-PDF dialog: DEVICE | OUTPUT FOLDER | FILE TITLE"},
        {L"answer-dialog", L"", L"answer-dialog Server=https://sync.example | Key=abc | OK",
         "answer-dialog FIELDS",
         "the next dialog: LABEL=VALUE or values in its order, a BUTTON (OK)"},
        {L"answer-cancel", L"", L"answer-cancel", "answer-cancel", "cancel the next dialog"},
        {L"answer-message", L"a button: ok, cancel, yes or no", L"answer-message yes",
         "answer-message BUTTON", "press ok, cancel, yes or no in the next message box"},
        {L"answer-menu", L"a menu item", L"answer-menu Move to > Inbox", "answer-menu ITEM",
         "choose ITEM (\"A > B\" for a submenu) in the next menu"},
        {L"answer-folder", L"a folder, or cancel", L"answer-folder /home/me/books",
         "answer-folder FOLDER", "pick FOLDER (or cancel) in the next folder picker"},
        {L"report", L"", L"report", "report", "print the repository's newest entry"},
        {L"pane", L"", L"pane", "pane", "wait until the side pane shows beside the page"},
        {L"pane-menu", L"an item of the side pane", L"pane-menu Night train | Delete",
         "pane-menu NAME | ITEM", "right-click NAME in the side pane, choose ITEM"},
        {L"pane-settings", L"an item of the pane's settings menu", L"pane-settings Properties",
         "pane-settings ITEM",
         "the pane's settings button: Refresh, Sync, Export, Properties, Setting"},
        {L"sync", L"", L"sync", "sync", "synchronise the repository now; fails if it failed"},
        {L"set", L"a setting's name and value", L"set Mail\\To friend@example.net",
         "set NAME VALUE", "store a per-user setting (see the README's table)"},
        {L"fetch", L"a tarn: or tamrix: address (then a file)",
         L"fetch tarn://tamrix/latest out.html", "fetch URL [FILE]",
         "write a tarn: or tamrix: page to FILE or standard output"},
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

std::wstring verbList() {
    std::wstring list;
    for (const Verb& verb : verbs()) {
        list += (list.empty() ? L"" : L", ") + std::wstring(verb.name);
    }
    return list;
}

// What is wrong with one action, "" when nothing is.
std::wstring checkAction(const std::wstring& action) {
    const Verb* verb = verbNamed(firstWord(action));
    if (!verb) {
        return L"unknown action \"" + firstWord(action) + L"\"; an action starts with one of " +
               verbList() + L". Run tamrix-host --help for the list with examples.";
    }
    const auto space = action.find(L' ');
    if (*verb->argument != L'\0' &&
        (space == std::wstring::npos ||
         action.find_first_not_of(L" \t", space) == std::wstring::npos)) {
        return std::wstring(verb->name) + L" needs " + verb->argument +
               L", for example: tamrix-host " + verb->example;
    }
    return {};
}

}  // namespace

std::vector<std::wstring> verbNames() {
    std::vector<std::wstring> names;
    for (const Verb& verb : verbs()) {
        names.emplace_back(verb.name);
    }
    return names;
}

ParsedActions parseActionWords(const std::vector<std::wstring>& words) {
    ParsedActions parsed;
    for (const std::wstring& word : words) {
        if (verbNamed(firstWord(word))) {
            parsed.actions.push_back(word);
        } else if (parsed.actions.empty()) {
            parsed.error = checkAction(word);
            return parsed;
        } else {
            parsed.actions.back() += L" " + word;
        }
    }
    for (const std::wstring& action : parsed.actions) {
        parsed.error = checkAction(action);
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    return parsed;
}

std::wstring checkScriptLines(const std::vector<std::wstring>& lines) {
    for (std::size_t at = 0; at < lines.size(); ++at) {
        const auto first = lines[at].find_first_not_of(L" \t\r");
        if (first == std::wstring::npos || lines[at][first] == L'#') {
            continue;
        }
        std::wstring action = lines[at].substr(first);
        action.erase(action.find_last_not_of(L" \t\r") + 1);
        const std::wstring error = checkAction(action);
        if (!error.empty()) {
            return L"line " + std::to_wstring(at + 1) + L": " + error;
        }
    }
    return {};
}

std::string helpText() {
    std::string text = R"(tamrix-host: clip web pages into the Tamrix repository and use its pages

Usage:
  tamrix-host [OPTIONS] ACTION [ARGS]...   run actions; each is a verb and its arguments, as
                                           separate words or one quoted word
  tamrix-host [OPTIONS] --script FILE      run the actions of FILE, one per line ("-": stdin)
  tamrix-host [OPTIONS] demo               clip the shipped example into a fresh repository

Options:
  -q, --quiet        print nothing but errors (and what an action was asked to print)
  -v, --verbose      also print each action, its result in words and its wall time in ms
  -k, --keep-going   run the actions after a failed one too
  -V, --version      print the version
  -h, --help         this text

Standard output carries only what was asked for (a fetched page, a report); what the
program showed (message boxes, dialogs, files written) and errors go to standard error.

Actions (P is a point of the page's view: X Y in pixels from its top left corner, or #ID
for the middle of an element; BUTTON is left, right or middle; MODS are ctrl, shift, alt;
FIELDS are separated by "|", written "\|" inside a value):
)";
    for (const Verb& verb : verbs()) {
        std::string usage = "  " + std::string(verb.usage);
        if (usage.size() < 30) {
            usage.resize(30, ' ');
        } else {
            usage += "\n" + std::string(30, ' ');
        }
        text += usage + verb.help + "\n";
    }
    text += R"(
Examples:
  tamrix-host open article.html attach select article answer-save "Night train" key ctrl+s
  tamrix-host open article.html attach key escape drag 5 60 700 500 right \
              answer-save Dragged key ctrl+s
  tamrix-host open https://example.org/story attach command command-select-auto \
              command command-select-grab answer-save Story key ctrl+s
  tamrix-host open article.html attach select article \
              answer-export "EPUB | $HOME/books | lighthouse" command command-export/tamrix
  tamrix-host open article.html attach answer-print "Kindle DX" command command-print-pdf
  tamrix-host pane-menu "Night train | Delete"
  tamrix-host fetch tarn://tamrix/latest latest.html

Exit status: 0 when every action did what it asked, 1 when one failed (its reason on
standard error; the actions after it are not run unless --keep-going), 2 for a usage error.
)";
    return text;
}

}  // namespace host
