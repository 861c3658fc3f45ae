// The presenter of a program whose windows another process shows on screen (the side-pane
// program, whose pane the browser window adopts). A popup menu is sent to the question desk
// (question_desk.h) of the process that adopted the asking window, which shows it where the
// pane is on screen; the asker waits for the choice, handling its own messages meanwhile as
// a menu's modal loop does. The other questions (message boxes, dialogs, folders, opening a
// file) go to `onScreen`, a presenter of this process that shows them itself. Without such a
// desk (nobody shows the window, or its program has no desk) every question takes its
// default, as before.
//
// Contract: the menus are asked on the user-interface thread that asks the first one, which
// must be the thread that pumps `windows`' stand-ins. A menu wait ends when the answer comes,
// when the desk is gone or stops answering, or when a quit request arrives (it stays posted);
// the menu is then dismissed (0). `windows` must be started and outlive the presenter.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include "platform/ui/cross_process_windows.h"
#include "platform/ui/presenter.h"

namespace platform::ui::questions {

class DeskPresenter : public Presenter {
  public:
    // How often a waiting asker checks that the desk is still there.
    static constexpr std::chrono::milliseconds kDeskCheck{1000};

    DeskPresenter(const CrossProcessWindows& windows, std::shared_ptr<Presenter> onScreen);
    ~DeskPresenter() override;
    DeskPresenter(const DeskPresenter&) = delete;
    DeskPresenter& operator=(const DeskPresenter&) = delete;

    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT flags) override;
    UINT popupMenu(HWND owner, const Menu& menu, Point at) override;
    std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title,
                                                const std::wstring& startFolder,
                                                bool withEditBox) override;
    bool shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;
    void runModal(DialogDriver& driver) override;

  private:
    // The desk of the process that shows `owner` (or, failing that, the window in front).
    RemoteWindow deskFor(HWND owner) const;
    Presenter& presenterFor(HWND owner);
    LRESULT onReply(const Message& message);

    const CrossProcessWindows& windows_;
    std::shared_ptr<Presenter> onScreen_;
    DefaultPresenter defaults_;
    HWND replies_;  // made on the first menu's thread
    std::uint64_t lastToken_ = 0;
    // The menus waiting for their answer, by token.
    std::map<std::uint64_t, std::optional<UINT>> waiting_;
};

}  // namespace platform::ui::questions
