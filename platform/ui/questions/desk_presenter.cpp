#include "platform/ui/questions/desk_presenter.h"

#include "platform/ui/dialog_driver.h"
#include "platform/ui/questions/question_desk.h"
#include "platform/ui/window_system.h"

namespace platform::ui::questions {

namespace {

constexpr wchar_t kRepliesClass[] = L"OlvanQuestionReplies";
constexpr std::chrono::milliseconds kWaitSlice{100};

}  // namespace

DeskPresenter::DeskPresenter(const CrossProcessWindows& windows,
                             std::shared_ptr<Presenter> onScreen)
    : windows_(windows), onScreen_(std::move(onScreen)) {}

DeskPresenter::~DeskPresenter() {
    if (replies_)
        platform::ui::windows().destroyWindow(replies_);
}

RemoteWindow DeskPresenter::deskFor(HWND owner) const {
    RemoteWindow shownBy = windows_.adopter(owner);
    if (!shownBy)
        shownBy = windows_.adopter(platform::ui::windows().foreground());
    if (!shownBy)
        return {};
    for (const RemoteWindow& desk : windows_.findWindows(kDeskTitle))
        if (desk.processId == shownBy.processId)
            return desk;
    return {};
}

Presenter& DeskPresenter::presenterFor(HWND owner) {
    return onScreen_ && deskFor(owner) ? *onScreen_ : defaults_;
}

int DeskPresenter::messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                              UINT flags) {
    return presenterFor(owner).messageBox(owner, text, caption, flags);
}

std::optional<std::wstring> DeskPresenter::browseForFolder(HWND owner, const std::wstring& title,
                                                           const std::wstring& startFolder,
                                                           bool withEditBox) {
    return presenterFor(owner).browseForFolder(owner, title, startFolder, withEditBox);
}

bool DeskPresenter::shellOpen(HWND owner, const std::wstring& verb, const std::wstring& target,
                              const std::wstring& parameters) {
    return presenterFor(owner).shellOpen(owner, verb, target, parameters);
}

void DeskPresenter::runModal(DialogDriver& driver) {
    const HWND dialog = driver.dialog().handle();
    const HWND owner = platform::ui::windows().owner(dialog);
    presenterFor(owner ? owner : dialog).runModal(driver);
}

UINT DeskPresenter::popupMenu(HWND owner, const Menu& menu, Point at) {
    const RemoteWindow desk = deskFor(owner);
    if (!desk)
        return defaults_.popupMenu(owner, menu, at);
    WindowSystem& system = platform::ui::windows();
    if (!replies_)
        replies_ = system.createWindow(
            {.className = kRepliesClass, .visible = false, .proc = [this](const Message& message) {
                 return onReply(message);
             }});
    const std::uint64_t token = ++lastToken_;
    const MenuQuestion question{CrossProcessWindows::local(replies_), token, at,
                                std::shared_ptr<const Menu>(menu.clone())};
    LRESULT taken = 0;
    waiting_[token] = std::nullopt;
    if (!windows_.sendCopyData(desk, replies_, {kMenuQuestionCode, questionRecord(question)},
                               &taken) ||
        taken != 1) {
        waiting_.erase(token);
        return 0;
    }
    auto lastCheck = std::chrono::steady_clock::now();
    while (!waiting_[token]) {
        Message message;
        const WaitResult result = system.getMessage(message, kWaitSlice);
        if (result == WaitResult::quit) {
            system.postQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (result == WaitResult::message)
            system.dispatchMessage(message);
        if (waiting_[token])
            break;
        if (std::chrono::steady_clock::now() - lastCheck >= kDeskCheck) {
            if (!windows_.isWindow(desk))
                break;
            lastCheck = std::chrono::steady_clock::now();
        }
    }
    const UINT chosen = waiting_[token].value_or(0);
    waiting_.erase(token);
    return chosen;
}

LRESULT DeskPresenter::onReply(const Message& message) {
    if (message.id != WM_COPYDATA || !message.copyData || message.copyData->code != kMenuAnswerCode)
        return 0;
    const auto answer = readAnswer(message.copyData->bytes);
    if (!answer)
        return 0;
    const auto it = waiting_.find(answer->token);
    if (it == waiting_.end())
        return 0;
    it->second = answer->chosen;
    return 1;
}

}  // namespace platform::ui::questions
