#include "host/host_presenter.h"

#include <iostream>

#include "platform/text/utf.h"
#include "platform/ui/dialog_driver.h"

namespace host {

using platform::text::toUtf8;

int HostPresenter::messageBox(platform::ui::HWND owner, const std::wstring& text,
                              const std::wstring& caption, platform::ui::UINT flags) {
    const int answer = ScriptedPresenter::messageBox(owner, text, caption, flags);
    std::cout << "message: " << toUtf8(caption) << ": " << toUtf8(text) << " -> " << answer
              << std::endl;
    return answer;
}

void HostPresenter::runModal(platform::ui::DialogDriver& driver) {
    std::cout << "dialog: " << toUtf8(driver.caption()) << std::endl;
    ScriptedPresenter::runModal(driver);
    std::cout << "dialog ended: " << driver.result() << std::endl;
}

bool HostPresenter::shellOpen(platform::ui::HWND owner, const std::wstring& verb,
                              const std::wstring& target, const std::wstring& parameters) {
    const bool opened = ScriptedPresenter::shellOpen(owner, verb, target, parameters);
    std::cout << "show (" << toUtf8(verb) << "): " << toUtf8(target) << std::endl;
    return opened;
}

}  // namespace host
