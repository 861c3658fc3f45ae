#include "platform/ui/presenter.h"

#include <mutex>

#include "platform/ui/dialog_driver.h"
#include "platform/ui/menu.h"
#include "platform/ui/window_system.h"

namespace platform::ui {

namespace {

std::mutex presenterMutex;

std::shared_ptr<Presenter>& currentPresenter() {
    static std::shared_ptr<Presenter> current = std::make_shared<DefaultPresenter>();
    return current;
}

}  // namespace

int defaultMessageBoxButton(UINT flags) {
    static const int buttons[][3] = {
        {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    const UINT type = flags & MB_TYPEMASK;
    const UINT which = (flags & MB_DEFMASK) >> 8;
    if (type > MB_RETRYCANCEL)
        return IDOK;
    return buttons[type][which > 2 ? 0 : which];
}

int DefaultPresenter::messageBox(HWND, const std::wstring&, const std::wstring&, UINT flags) {
    return defaultMessageBoxButton(flags);
}

UINT DefaultPresenter::popupMenu(HWND, const Menu&, Point) {
    return 0;
}

std::optional<std::wstring> DefaultPresenter::browseForFolder(HWND, const std::wstring&,
                                                              const std::wstring&, bool) {
    return std::nullopt;
}

bool DefaultPresenter::shellOpen(HWND, const std::wstring&, const std::wstring&,
                                 const std::wstring&) {
    return false;
}

void DefaultPresenter::runModal(DialogDriver& driver) {
    int chosen = 0;
    for (HWND child : windows().children(driver.dialog().handle())) {
        const auto state = windows().control(child);
        if (state && state->kind == ControlKind::pushButton && state->defaultButton) {
            chosen = windows().controlId(child);
            break;
        }
    }
    if (!chosen && driver.dialog().item(IDOK))
        chosen = IDOK;
    if (chosen && driver.visible(chosen) && driver.enabled(chosen))
        driver.click(chosen);
}

std::shared_ptr<Presenter> presenter() {
    std::lock_guard lock(presenterMutex);
    return currentPresenter();
}

std::shared_ptr<Presenter> setPresenter(std::shared_ptr<Presenter> next) {
    if (!next)
        next = std::make_shared<DefaultPresenter>();
    std::lock_guard lock(presenterMutex);
    std::swap(currentPresenter(), next);
    return next;
}

int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    return presenter()->messageBox(owner, text, caption, flags);
}

UINT trackPopupMenu(const Menu& menu, UINT flags, Point at, HWND owner) {
    const UINT chosen = presenter()->popupMenu(owner, menu, at);
    if (flags & TPM_RETURNCMD)
        return chosen;
    if (!chosen)
        return 0;
    windows().postMessage(owner, WM_COMMAND, makeWParam(chosen, 0), 0);
    return 1;
}

std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                            const std::wstring& startFolder, bool withEditBox) {
    return presenter()->browseForFolder(owner, title, startFolder, withEditBox);
}

bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
               const std::wstring& parameters) {
    return presenter()->shellOpen(owner, verb, target, parameters);
}

}  // namespace platform::ui
