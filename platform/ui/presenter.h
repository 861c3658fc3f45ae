// Presenters: the points where the program asks a person something (a message box, a
// popup menu, a folder, a modal dialog) or hands a file or address to the desktop. One
// process-wide presenter answers them: the default one answers as a person who accepts
// every default would (the host's behaviour), a ScriptedPresenter answers from a test's
// script. Every presenter is callable from any thread (a modal dialog from the thread
// that runs it).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/types.h"

namespace platform::ui {

class DialogDriver;
class Menu;

class Presenter {
  public:
    virtual ~Presenter() = default;
    // Returns the button pressed (IDOK, IDYES, ...).
    virtual int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                           UINT flags) = 0;
    // Returns the chosen item's command id, 0 when the menu was dismissed.
    virtual UINT popupMenu(HWND owner, const Menu& menu, Point at) = 0;
    // Returns the chosen folder, nothing when cancelled.
    virtual std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                                        const std::wstring& startFolder,
                                                        bool withEditBox) = 0;
    // Opens a file or address with the desktop's program for it; false when it cannot.
    virtual bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                           const std::wstring& parameters) = 0;
    // Plays the person in front of a modal dialog that has just opened. The dialog ends
    // when the driver's actions end it; if they do not, the runner cancels it.
    virtual void runModal(DialogDriver& driver) = 0;
};

// Answers every question with its default: the default button of a message box, no menu
// choice, no folder, no program to open with, and the default push button of a dialog.
class DefaultPresenter : public Presenter {
  public:
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT flags) override;
    UINT popupMenu(HWND owner, const Menu& menu, Point at) override;
    std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                                const std::wstring& startFolder,
                                                bool withEditBox) override;
    bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;
    void runModal(DialogDriver& driver) override;
};

// The button a message box with these flags has as its default.
int defaultMessageBoxButton(UINT flags);

// The process-wide presenter (a DefaultPresenter until one is set).
std::shared_ptr<Presenter> presenter();
// Installs `next` (nullptr: the default) and returns the one it replaces.
std::shared_ptr<Presenter> setPresenter(std::shared_ptr<Presenter> next);

// Installs a presenter for the lifetime of the scope and puts the former one back after.
class PresenterScope {
  public:
    explicit PresenterScope(std::shared_ptr<Presenter> scoped)
        : former_(setPresenter(std::move(scoped))) {}
    ~PresenterScope() { setPresenter(former_); }
    PresenterScope(const PresenterScope&) = delete;
    PresenterScope& operator=(const PresenterScope&) = delete;

  private:
    std::shared_ptr<Presenter> former_;
};

// The program-facing calls, each through the current presenter.
int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);
// With TPM_RETURNCMD the chosen id is returned; otherwise a chosen item is posted to
// `owner` as WM_COMMAND and the result is 1 (0 when nothing was chosen).
UINT trackPopupMenu(const Menu& menu, UINT flags, Point at, HWND owner);
std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                            const std::wstring& startFolder, bool withEditBox);
bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
               const std::wstring& parameters = {});

}  // namespace platform::ui
