// The records a question and its answer travel in between processes (as WM_COPYDATA): a
// popup-menu question carries the window that waits for the answer, a token the asker
// matches the answer by, the screen point and the menu (each item's command id, text,
// separator and check, gray and disabled states, and its submenu, depth first); the answer
// carries the token and the command id chosen (0: dismissed).
//
// Contract: pure helpers, thread-safe. Reading takes what another process sent: a record cut
// short, nested deeper than kMaxMenuDepth or holding more than kMaxMenuItems items in all
// gives nothing (never throws).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/ui/cross_process_windows.h"
#include "platform/ui/menu.h"

namespace platform::ui::questions {

inline constexpr std::uintptr_t kMenuQuestionCode = 0x4F4C5131;  // "OLQ1"
inline constexpr std::uintptr_t kMenuAnswerCode = 0x4F4C4131;    // "OLA1"
inline constexpr int kMaxMenuDepth = 16;
inline constexpr int kMaxMenuItems = 10000;

struct MenuQuestion {
    RemoteWindow asker;  // the window that waits for the answer
    std::uint64_t token = 0;
    Point at;
    std::shared_ptr<const Menu> menu;
};

struct MenuAnswer {
    std::uint64_t token = 0;
    UINT chosen = 0;
};

void writeMenu(wire::Writer& writer, const Menu& menu);
std::unique_ptr<Menu> readMenu(wire::Reader& reader);

wire::Bytes questionRecord(const MenuQuestion& question);
std::optional<MenuQuestion> readQuestion(const wire::Bytes& record);
wire::Bytes answerRecord(const MenuAnswer& answer);
std::optional<MenuAnswer> readAnswer(const wire::Bytes& record);

}  // namespace platform::ui::questions
