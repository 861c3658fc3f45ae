#include "platform/ui/scripted_presenter.h"

#include "platform/ui/dialog_driver.h"

namespace platform::ui {

template <typename T>
std::optional<T> ScriptedPresenter::take(std::deque<T>& queue) {
    std::lock_guard lock(mutex_);
    if (queue.empty())
        return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

void ScriptedPresenter::record(PresentedQuestion question) {
    std::lock_guard lock(mutex_);
    questions_.push_back(std::move(question));
}

void ScriptedPresenter::answerMessageBox(int button) {
    std::lock_guard lock(mutex_);
    messageAnswers_.push_back(button);
}

void ScriptedPresenter::answerFolder(std::optional<std::wstring> folder) {
    std::lock_guard lock(mutex_);
    folderAnswers_.push_back(std::move(folder));
}

void ScriptedPresenter::answerShellOpen(bool opened) {
    std::lock_guard lock(mutex_);
    shellAnswers_.push_back(opened);
}

void ScriptedPresenter::answerMenu(MenuScript choose) {
    std::lock_guard lock(mutex_);
    menuAnswers_.push_back(std::move(choose));
}

UINT ScriptedPresenter::chooseWhere(const Menu& menu,
                                    const std::function<const MenuItem*(const Menu&)>& find,
                                    const std::wstring& description) {
    const MenuItem* item = find(menu);
    if (item && item->selectable() && !item->submenu)
        return item->id;
    if (item && item->selectable() && item->submenu && item->id)
        return item->id;
    std::lock_guard lock(mutex_);
    failedChoices_.push_back(description);
    return 0;
}

void ScriptedPresenter::chooseMenuId(UINT id) {
    answerMenu([this, id](const Menu& menu) {
        return chooseWhere(
            menu, [id](const Menu& m) { return m.findById(id); }, L"#" + std::to_wstring(id));
    });
}

void ScriptedPresenter::chooseMenuText(std::wstring text) {
    answerMenu([this, text](const Menu& menu) {
        return chooseWhere(
            menu, [&text](const Menu& m) { return m.findByText(text); }, text);
    });
}

void ScriptedPresenter::dismissMenu() {
    answerMenu([](const Menu&) { return 0u; });
}

void ScriptedPresenter::answerDialog(DialogScript script) {
    std::lock_guard lock(mutex_);
    dialogAnswers_.push_back(std::move(script));
}

std::vector<PresentedQuestion> ScriptedPresenter::questions() const {
    std::lock_guard lock(mutex_);
    return questions_;
}

std::vector<PresentedQuestion> ScriptedPresenter::questionsOf(PresentedQuestion::Kind kind) const {
    std::vector<PresentedQuestion> matching;
    for (auto& question : questions())
        if (question.kind == kind)
            matching.push_back(question);
    return matching;
}

std::vector<std::wstring> ScriptedPresenter::messageTexts() const {
    std::vector<std::wstring> texts;
    for (auto& question : questionsOf(PresentedQuestion::Kind::messageBox))
        texts.push_back(question.text);
    return texts;
}

std::vector<std::wstring> ScriptedPresenter::failedChoices() const {
    std::lock_guard lock(mutex_);
    return failedChoices_;
}

bool ScriptedPresenter::allAnswersUsed() const {
    std::lock_guard lock(mutex_);
    return messageAnswers_.empty() && folderAnswers_.empty() && shellAnswers_.empty() &&
           menuAnswers_.empty() && dialogAnswers_.empty();
}

int ScriptedPresenter::messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                                  UINT flags) {
    const auto answer = take(messageAnswers_);
    record({PresentedQuestion::Kind::messageBox, owner, text, caption, flags, nullptr,
            answer.has_value()});
    return answer ? *answer : defaults_.messageBox(owner, text, caption, flags);
}

UINT ScriptedPresenter::popupMenu(HWND owner, const Menu& menu, Point at) {
    auto answer = take(menuAnswers_);
    record({PresentedQuestion::Kind::popupMenu,
            owner,
            {},
            {},
            0,
            std::shared_ptr<const Menu>(menu.clone()),
            answer.has_value()});
    return answer ? (*answer)(menu) : defaults_.popupMenu(owner, menu, at);
}

std::optional<std::wstring> ScriptedPresenter::browseForFolder(HWND owner,
                                                               const std::wstring& title,
                                                               const std::wstring& startFolder,
                                                               bool withEditBox) {
    auto answer = take(folderAnswers_);
    record({PresentedQuestion::Kind::folder, owner, title, startFolder, 0, nullptr,
            answer.has_value()});
    return answer ? *answer : defaults_.browseForFolder(owner, title, startFolder, withEditBox);
}

bool ScriptedPresenter::shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                                  const std::wstring& parameters) {
    const auto answer = take(shellAnswers_);
    record(
        {PresentedQuestion::Kind::shellOpen, owner, target, verb, 0, nullptr, answer.has_value()});
    return answer ? *answer : defaults_.shellOpen(owner, verb, target, parameters);
}

void ScriptedPresenter::runModal(DialogDriver& driver) {
    auto script = take(dialogAnswers_);
    record({PresentedQuestion::Kind::dialog,
            driver.dialog().handle(),
            {},
            driver.caption(),
            static_cast<UINT>(driver.templateId()),
            nullptr,
            script.has_value()});
    if (script)
        (*script)(driver);
    else
        defaults_.runModal(driver);
}

}  // namespace platform::ui
