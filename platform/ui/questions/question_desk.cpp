#include "platform/ui/questions/question_desk.h"

namespace platform::ui::questions {

namespace {

constexpr wchar_t kDeskClass[] = L"OlvanQuestionDesk";

}  // namespace

QuestionDesk::QuestionDesk(CrossProcessWindows& windows, Handler present)
    : windows_(windows), present_(std::move(present)) {
    window_ = platform::ui::windows().createWindow(
        {.className = kDeskClass,
         .title = kDeskTitle,
         .visible = false,
         .proc = [this](const Message& message) { return onMessage(message); }});
    published_ = window_ && windows_.publish(window_);
}

QuestionDesk::~QuestionDesk() {
    windows_.withdraw(window_);
    platform::ui::windows().destroyWindow(window_);
}

LRESULT QuestionDesk::onMessage(const Message& message) {
    if (message.id != WM_COPYDATA || !message.copyData ||
        message.copyData->code != kMenuQuestionCode)
        return 0;
    auto question = readQuestion(message.copyData->bytes);
    if (!question || !present_)
        return 0;
    present_(std::move(*question));
    return 1;
}

bool QuestionDesk::answer(const MenuQuestion& question, UINT chosen) const {
    const CopyData record{kMenuAnswerCode, answerRecord({question.token, chosen})};
    LRESULT taken = 0;
    return windows_.sendCopyData(question.asker, window_, record, &taken) && taken == 1;
}

}  // namespace platform::ui::questions
