// The side pane's menus shown in the window: the pane's program runs in a process of its
// own and sends each popup menu (a list item's context menu, the settings button's menu) to
// this process's question desk; the window's presenter shows it at the point asked and the
// choice goes back to the pane.
//
// Contract: the GTK thread, which pumps the stand-in's messages. A question is shown from
// its own main-loop turn after its send has returned, so the pane's program is never kept
// waiting on the send while a person chooses. Questions still queued when the object goes
// are answered as dismissed.
#pragma once

#include <glib.h>

#include <deque>

#include "platform/ui/questions/question_desk.h"

namespace host::browser {

class PaneQuestions {
  public:
    explicit PaneQuestions(platform::ui::CrossProcessWindows& windows);
    ~PaneQuestions();
    PaneQuestions(const PaneQuestions&) = delete;
    PaneQuestions& operator=(const PaneQuestions&) = delete;

  private:
    static gboolean presentNext(gpointer self);

    platform::ui::questions::QuestionDesk desk_;
    std::deque<platform::ui::questions::MenuQuestion> queued_;
    guint source_ = 0;
    bool presenting_ = false;
};

}  // namespace host::browser
