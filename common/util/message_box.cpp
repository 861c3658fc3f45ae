#include "common/util/message_box.h"

#include <iostream>
#include <mutex>

#include "platform/text/utf.h"

namespace common {
namespace {

namespace ui = platform::ui;

std::mutex presenterMutex;
MessageBoxPresenter currentPresenter;

int show(ui::HWND owner, const std::wstring& text, const std::wstring& caption, ui::UINT flags) {
    MessageBoxPresenter presenter;
    {
        std::lock_guard lock(presenterMutex);
        presenter = currentPresenter;
    }
    if (presenter) {
        return presenter(owner, text, caption, flags);
    }
    std::cerr << platform::text::toUtf8(caption.empty() ? L"Message" : caption) << ": "
              << platform::text::toUtf8(text) << '\n';
    return (flags & ui::MB_TYPEMASK) == ui::MB_YESNOCANCEL ? ui::IDCANCEL : ui::IDOK;
}

}  // namespace

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter) {
    std::lock_guard lock(presenterMutex);
    std::swap(presenter, currentPresenter);
    return presenter;
}

void errorBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    show(owner, text, caption, ui::MB_ICONERROR);
}

void infoBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    show(owner, text, caption, ui::MB_ICONINFORMATION);
}

int askBox(const std::wstring& text, const std::wstring& caption, ui::HWND owner) {
    return show(owner, text, caption, ui::MB_ICONINFORMATION | ui::MB_YESNOCANCEL);
}

}  // namespace common
