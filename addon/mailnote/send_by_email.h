// "command-send-email" and "command-send-kindle": the window's clip (a readable page of
// the selection when there is one, undone afterwards) is written as a UTF-8 HTML file to
// the user's own temporary folder (mode 0600, removed once the message was handed over or
// refused) and sent as the attachment of a mail message, from and to the addresses of two
// settings under "Software\Olvan\Tamrix".
//
// Contract: the browser's user-interface thread. Returns 1 when the window has no
// browser, 2 otherwise. Every failure (file not written, message not sent) shows an error
// box; nothing is reported as sent that was not.
#pragma once

#include <string>

namespace addon {

// `fromSetting` and `toSetting` are value paths below the product key, as "\Mail\From"
// and "\Mail\To" ("\Mail\Kindle-From" and "\Mail\Kindle-To" for the reading device).
int sendByEmail(int windowIndex, const std::wstring& fromSetting, const std::wstring& toSetting);

}  // namespace addon
