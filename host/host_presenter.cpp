#include "host/host_presenter.h"

#include "host/dialog_answer.h"
#include "host/output.h"
#include "platform/text/utf.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/menu.h"

namespace host {
namespace {

using platform::ui::Menu;
using platform::ui::MenuItem;

constexpr platform::ui::UINT kIconMask = 0xF0;

std::vector<std::wstring> menuPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (true) {
        const auto mark = path.find(L'>', start);
        parts.push_back(
            plainLabel(path.substr(start, mark == std::wstring::npos ? mark : mark - start)));
        if (mark == std::wstring::npos) {
            return parts;
        }
        start = mark + 1;
    }
}

const MenuItem* itemNamed(const Menu& menu, const std::wstring& plain) {
    for (int position = 0; position < menu.count(); ++position) {
        const MenuItem* item = menu.at(position);
        if (!item->separator && plainLabel(item->text) == plain) {
            return item;
        }
    }
    return nullptr;
}

std::wstring menuTexts(const Menu& menu) {
    std::wstring texts;
    for (int position = 0; position < menu.count(); ++position) {
        const MenuItem* item = menu.at(position);
        if (item->separator) {
            continue;
        }
        std::wstring text = item->text;
        std::erase(text, L'&');
        texts += (texts.empty() ? L"\"" : L", \"") + text + L"\"" +
                 (item->selectable() ? L"" : L" (unavailable)") + (item->submenu ? L" >" : L"");
    }
    return texts;
}

}  // namespace

std::wstring buttonName(int id) {
    switch (id) {
        case platform::ui::IDOK:
            return L"OK";
        case platform::ui::IDCANCEL:
            return L"Cancel";
        case platform::ui::IDABORT:
            return L"Abort";
        case platform::ui::IDRETRY:
            return L"Retry";
        case platform::ui::IDIGNORE:
            return L"Ignore";
        case platform::ui::IDYES:
            return L"Yes";
        case platform::ui::IDNO:
            return L"No";
        default:
            return L"button " + std::to_wstring(id);
    }
}

int HostPresenter::messageBox(platform::ui::HWND owner, const std::wstring& text,
                              const std::wstring& caption, platform::ui::UINT flags) {
    const int answer = ScriptedPresenter::messageBox(owner, text, caption, flags);
    note(L"message: " + printable(caption) + L": " + printable(text) + L" -> " +
         buttonName(answer));
    if ((flags & kIconMask) == platform::ui::MB_ICONERROR) {
        addFailure(printable(text));
    }
    return answer;
}

platform::ui::UINT HostPresenter::popupMenu(platform::ui::HWND owner,
                                            const platform::ui::Menu& menu,
                                            platform::ui::Point at) {
    const platform::ui::UINT chosen = ScriptedPresenter::popupMenu(owner, menu, at);
    const MenuItem* item = chosen ? menu.findById(chosen) : nullptr;
    std::wstring text = item ? item->text : L"nothing";
    std::erase(text, L'&');
    note(L"menu: " + printable(text));
    return chosen;
}

void HostPresenter::chooseMenuItem(const std::wstring& path) {
    answerMenu([this, path](const Menu& menu) -> platform::ui::UINT {
        const Menu* level = &menu;
        const MenuItem* item = nullptr;
        for (const std::wstring& part : menuPath(path)) {
            item = level ? itemNamed(*level, part) : nullptr;
            if (!item) {
                addFailure(L"the menu has no item \"" + path + L"\"; it offers " +
                           menuTexts(level ? *level : menu));
                return 0;
            }
            level = item->submenu.get();
        }
        if (!item->selectable() || (item->submenu && item->id == 0)) {
            addFailure(L"the menu item \"" + path + L"\" cannot be chosen now");
            return 0;
        }
        return item->id;
    });
}

void HostPresenter::runModal(platform::ui::DialogDriver& driver) {
    const std::wstring caption = driver.caption();
    note(L"dialog: " + printable(caption));
    try {
        ScriptedPresenter::runModal(driver);
    } catch (const platform::ui::ScriptError& misfit) {
        // The dialog stays open; the runner cancels it once this returns.
        addFailure(L"the answer queued for the next dialog does not fit the dialog \"" + caption +
                   L"\" that opened (" + platform::text::fromUtf8(misfit.what()) +
                   L"); it was cancelled");
    }
    if (driver.ended()) {
        note(L"dialog ended: " + buttonName(driver.result()));
    }
}

bool HostPresenter::shellOpen(platform::ui::HWND owner, const std::wstring& verb,
                              const std::wstring& target, const std::wstring& parameters) {
    const bool opened = ScriptedPresenter::shellOpen(owner, verb, target, parameters);
    note(L"show (" + verb + L"): " + printable(target));
    return opened;
}

std::vector<std::wstring> HostPresenter::takeFailures() {
    std::lock_guard lock(failuresMutex_);
    std::vector<std::wstring> taken;
    taken.swap(failures_);
    return taken;
}

void HostPresenter::addFailure(const std::wstring& failure) {
    std::lock_guard lock(failuresMutex_);
    failures_.push_back(failure);
}

}  // namespace host
