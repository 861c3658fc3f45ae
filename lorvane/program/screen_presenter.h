// The side-pane program's own windows on screen: its message boxes, dialogs and folder
// pickers shown with GTK (the GTK presenter), the display opened at the first question.
// While a question waits for its person, the program's stand-in messages keep being handled
// (timers, messages from the window that shows the pane), as in a modal loop.
//
// Contract: the program's user-interface thread, which becomes the GTK thread. Without a
// display every question takes its default. The questions end when the person answers
// them, or when `stillShown` (checked every kShownCheck) says the pane is no longer shown.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/ui/presenter.h"

namespace lorvane {

class ScreenPresenter : public platform::ui::Presenter {
  public:
    static constexpr std::chrono::milliseconds kShownCheck{1000};

    explicit ScreenPresenter(std::function<bool()> stillShown);
    ~ScreenPresenter() override;
    ScreenPresenter(const ScreenPresenter&) = delete;
    ScreenPresenter& operator=(const ScreenPresenter&) = delete;

    int messageBox(platform::ui::HWND owner, const std::wstring& text, const std::wstring& caption,
                   platform::ui::UINT flags) override;
    platform::ui::UINT popupMenu(platform::ui::HWND owner, const platform::ui::Menu& menu,
                                 platform::ui::Point at) override;
    std::optional<std::wstring> browseForFolder(platform::ui::HWND owner, const std::wstring& title,
                                                const std::wstring& startFolder,
                                                bool withEditBox) override;
    bool shellOpen(platform::ui::HWND owner, const std::wstring& verb, const std::wstring& target,
                   const std::wstring& parameters) override;
    void runModal(platform::ui::DialogDriver& driver) override;

  private:
    // The presenter that answers now: GTK's once the display is open, else the defaults.
    platform::ui::Presenter& current();

    std::function<bool()> stillShown_;
    std::shared_ptr<platform::ui::Presenter> shown_;
    platform::ui::DefaultPresenter defaults_;
    bool tried_ = false;
    unsigned pumpSource_ = 0;
};

}  // namespace lorvane
