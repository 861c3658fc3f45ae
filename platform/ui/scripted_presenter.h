// A presenter that answers from a script: queues of answers per kind of question, taken in
// order, and a record of every question asked (with a copy of each menu shown). A question
// whose queue is empty gets the DefaultPresenter's answer and is recorded as unscripted.
// Thread-safe: message boxes may come from worker threads while a test reads the record.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/presenter.h"

namespace platform::ui {

struct PresentedQuestion {
    enum class Kind { messageBox, popupMenu, folder, shellOpen, dialog };
    Kind kind = Kind::messageBox;
    HWND owner;
    std::wstring text;     // message-box text, folder-picker title, opened target
    std::wstring caption;  // message-box caption, verb of shell open, dialog caption
    UINT flags = 0;        // message-box flags; dialog template id
    std::shared_ptr<const Menu> menu;
    bool scripted = false;
};

class ScriptedPresenter : public Presenter {
  public:
    using DialogScript = std::function<void(DialogDriver&)>;
    using MenuScript = std::function<UINT(const Menu&)>;

    void answerMessageBox(int button);
    void answerFolder(std::optional<std::wstring> folder);
    void answerShellOpen(bool opened);
    void answerMenu(MenuScript choose);
    // Chooses the item with this command id; a missing or unselectable item dismisses the
    // menu instead and is recorded as a failed choice.
    void chooseMenuId(UINT id);
    // Chooses the first item with this text (submenus searched), as chooseMenuId.
    void chooseMenuText(std::wstring text);
    void dismissMenu();
    // The script for the next modal dialog that opens (nested dialogs take the next ones).
    void answerDialog(DialogScript script);

    std::vector<PresentedQuestion> questions() const;
    std::vector<PresentedQuestion> questionsOf(PresentedQuestion::Kind kind) const;
    // Texts of the message boxes shown, in order.
    std::vector<std::wstring> messageTexts() const;
    // Menu choices that named no selectable item.
    std::vector<std::wstring> failedChoices() const;
    // True when every queued answer has been used.
    bool allAnswersUsed() const;

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
    template <typename T>
    std::optional<T> take(std::deque<T>& queue);
    void record(PresentedQuestion question);
    UINT chooseWhere(const Menu& menu, const std::function<const MenuItem*(const Menu&)>& find,
                     const std::wstring& description);

    mutable std::mutex mutex_;
    std::deque<int> messageAnswers_;
    std::deque<std::optional<std::wstring>> folderAnswers_;
    std::deque<bool> shellAnswers_;
    std::deque<MenuScript> menuAnswers_;
    std::deque<DialogScript> dialogAnswers_;
    std::vector<PresentedQuestion> questions_;
    std::vector<std::wstring> failedChoices_;
    DefaultPresenter defaults_;
};

}  // namespace platform::ui
