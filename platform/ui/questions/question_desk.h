// The showing side of the questions other processes ask: a hidden window of this process,
// published to the others under kDeskTitle. A popup-menu question sent to it is handed to
// `present` as it arrives, on the desk's thread; the program shows the menu afterwards (not
// inside the handler: the asker's send waits for the handler to return) and calls answer()
// with the command id chosen, 0 when the menu was dismissed.
//
// Contract: made, used and destroyed on a user-interface thread that pumps its messages;
// `windows` must be started and outlive the desk. A question that cannot be read is refused
// (the asker takes its default). An answer to an asker that is gone is dropped.
#pragma once

#include <functional>

#include "platform/ui/cross_process_windows.h"
#include "platform/ui/questions/question_record.h"

namespace platform::ui::questions {

inline constexpr wchar_t kDeskTitle[] = L"Olvan question desk";

class QuestionDesk {
  public:
    using Handler = std::function<void(MenuQuestion)>;

    QuestionDesk(CrossProcessWindows& windows, Handler present);
    ~QuestionDesk();
    QuestionDesk(const QuestionDesk&) = delete;
    QuestionDesk& operator=(const QuestionDesk&) = delete;

    // False when the desk could not be published (the asking processes cannot find it).
    bool published() const { return published_; }
    // Hands the choice back to the asker; false when it could not be reached.
    bool answer(const MenuQuestion& question, UINT chosen) const;

  private:
    LRESULT onMessage(const Message& message);

    CrossProcessWindows& windows_;
    Handler present_;
    HWND window_;
    bool published_ = false;
};

}  // namespace platform::ui::questions
