// The system's three message boxes: an error, a piece of information, and a yes/no/cancel
// question. They reach a person through a presenter that the user-interface layer installs
// (it translates the texts and shows the box); tests install their own to answer.
// Without one, the text goes to standard error and the answer is the harmless one: the
// question is answered IDCANCEL.
//
// Contract: callable from any thread; the presenter is called on the caller's thread.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/types.h"

namespace common {

using MessageBoxPresenter =
    std::function<int(platform::ui::HWND owner, const std::wstring& text,
                      const std::wstring& caption, platform::ui::UINT flags)>;

// Installs `presenter` (empty: none) and returns the one it replaces.
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);

// MB_ICONERROR.
void errorBox(const std::wstring& text, const std::wstring& caption = {},
              platform::ui::HWND owner = {});
// MB_ICONINFORMATION.
void infoBox(const std::wstring& text, const std::wstring& caption = {},
             platform::ui::HWND owner = {});
// MB_ICONINFORMATION | MB_YESNOCANCEL; IDYES, IDNO or IDCANCEL.
int askBox(const std::wstring& text, const std::wstring& caption = {},
           platform::ui::HWND owner = {});

}  // namespace common
