#include "host/browser/pane_questions.h"

#include "platform/ui/presenter.h"

namespace host::browser {

PaneQuestions::PaneQuestions(platform::ui::CrossProcessWindows& windows)
    : desk_(windows, [this](platform::ui::questions::MenuQuestion question) {
          queued_.push_back(std::move(question));
          if (!source_ && !presenting_) {
              source_ = g_idle_add(&PaneQuestions::presentNext, this);
          }
      }) {}

PaneQuestions::~PaneQuestions() {
    if (source_) {
        g_source_remove(source_);
    }
    for (const auto& question : queued_) {
        desk_.answer(question, 0);
    }
}

gboolean PaneQuestions::presentNext(gpointer self) {
    auto* questions = static_cast<PaneQuestions*>(self);
    questions->source_ = 0;
    // A question that comes while a menu is open waits for this loop, not for a menu of
    // its own over the open one.
    questions->presenting_ = true;
    while (!questions->queued_.empty()) {
        const auto question = std::move(questions->queued_.front());
        questions->queued_.pop_front();
        const platform::ui::UINT chosen =
            platform::ui::presenter()->popupMenu({}, *question.menu, question.at);
        questions->desk_.answer(question, chosen);
    }
    questions->presenting_ = false;
    return G_SOURCE_REMOVE;
}

}  // namespace host::browser
