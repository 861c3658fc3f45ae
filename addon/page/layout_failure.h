// A page the layout engine refuses (nested too deep, too large, too costly a style) has no
// boxes, so nothing that measures or paints it can work. The commands whose work needs the
// layout ask here first: when the page cannot be laid out, the person is told why (the
// engine's sentence, its fixed opening translated in the "Message" section) and the
// command does nothing else, so the page and the repository stay as they were.
//
// Contract: the page's user-interface thread only. Asking lays the page out when it needs
// it (the engine gives up in bounded time).
#pragma once

#include <string>

namespace platform::dom {
class Document;
}

namespace addon {

// The engine's opening of every refusal.
inline constexpr const wchar_t* kLayoutFailureOpening = L"The page cannot be laid out:";

// The message for a page that cannot be laid out; "" when it can.
std::wstring layoutFailureMessage(const platform::dom::Document& page);

// Shows the message in an error box when the page cannot be laid out; true then.
bool reportLayoutFailure(const platform::dom::Document& page);

}  // namespace addon
