// Dates of the expression language: reading date texts, formatting dates and the clock.
// Texts are read and written the same way whatever the process locale: ISO
// ("2009-03-25", "2009-03-25 14:30:05", "2009-03-25T14:30") and M/D/YYYY ("3/25/2009",
// "3/25/2009 14:30:05") are read; names of months and weekdays are English.
//
// Contract: pure functions apart from the clock, thread-safe, never throw.
#pragma once

#include <string>
#include <string_view>

namespace tarn {

// The date a text names. A text that is no date gives 0; one whose fields form no valid
// date and time (month 13, 30 February, hour 24) gives -1.
double parseDateText(std::wstring_view text);

// Formats with %A (weekday), %B (month), %d, %m, %y, %Y, %H, %M, %S and %%; any other
// character is copied. A date outside the valid range gives "Invalid DateTime".
std::wstring formatDate(double date, std::wstring_view pattern);

// M/D/YYYY, followed by " H:MM:SS" when the time is not midnight; "" for an invalid date.
// parseDateText reads it back.
std::wstring dateText(double date);

// The local date and time now, as an OLE date.
double currentDateTime();

}  // namespace tarn
