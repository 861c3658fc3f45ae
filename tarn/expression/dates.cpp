#include "tarn/expression/dates.h"

#include <cmath>
#include <ctime>
#include <optional>

#include "platform/com/ole_date.h"
#include "platform/com/variant.h"

namespace tarn {

using platform::com::CalendarTime;

namespace {

constexpr const wchar_t* kWeekdays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                        L"Thursday", L"Friday", L"Saturday"};
constexpr const wchar_t* kMonths[] = {L"January",   L"February", L"March",    L"April",
                                      L"May",       L"June",     L"July",     L"August",
                                      L"September", L"October",  L"November", L"December"};

// Reads digits as a number; at most `maxDigits` of them, at least one.
class DateReader {
  public:
    explicit DateReader(std::wstring_view text) : text_(text) {}

    std::optional<int> number(std::size_t maxDigits) {
        int value = 0;
        std::size_t digits = 0;
        while (pos_ < text_.size() && digits < maxDigits && text_[pos_] >= L'0' &&
               text_[pos_] <= L'9') {
            value = value * 10 + (text_[pos_++] - L'0');
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }
    bool accept(wchar_t c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool skipBlanks() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && (text_[pos_] == L' ' || text_[pos_] == L'\t'))
            ++pos_;
        return pos_ > start;
    }
    bool atEnd() const { return pos_ == text_.size(); }

  private:
    std::wstring_view text_;
    std::size_t pos_ = 0;
};

// "H:MM" or "H:MM:SS" at the reader's position.
bool readTime(DateReader& reader, CalendarTime& time) {
    const auto hour = reader.number(2);
    if (!hour || !reader.accept(L':'))
        return false;
    const auto minute = reader.number(2);
    if (!minute)
        return false;
    time.hour = *hour;
    time.minute = *minute;
    if (reader.accept(L':')) {
        const auto second = reader.number(2);
        if (!second)
            return false;
        time.second = *second;
    }
    return true;
}

// The date part: Y-M-D or M/D/Y. False when the text has neither shape.
bool readDate(DateReader& reader, CalendarTime& time) {
    const auto first = reader.number(4);
    if (!first)
        return false;
    if (reader.accept(L'-')) {
        const auto month = reader.number(2);
        if (!month || !reader.accept(L'-'))
            return false;
        const auto day = reader.number(2);
        if (!day)
            return false;
        time.year = *first, time.month = *month, time.day = *day;
        return true;
    }
    if (!reader.accept(L'/'))
        return false;
    const auto day = reader.number(2);
    if (!day || !reader.accept(L'/'))
        return false;
    const auto year = reader.number(4);
    if (!year)
        return false;
    time.year = *year, time.month = *first, time.day = *day;
    return true;
}

std::wstring twoDigits(int value) {
    return {static_cast<wchar_t>(L'0' + value / 10 % 10), static_cast<wchar_t>(L'0' + value % 10)};
}

}  // namespace

double parseDateText(std::wstring_view text) {
    DateReader reader(text);
    reader.skipBlanks();
    CalendarTime time;
    if (!readDate(reader, time))
        return 0.0;
    const bool separated = reader.skipBlanks() || reader.accept(L'T');
    if (separated && !reader.atEnd() && !readTime(reader, time))
        return 0.0;
    reader.skipBlanks();
    if (!reader.atEnd())
        return 0.0;
    return platform::com::calendarToOleDate(time).value_or(-1.0);
}

std::wstring formatDate(double date, std::wstring_view pattern) {
    const auto time = platform::com::oleDateToCalendar(date);
    if (!time)
        return L"Invalid DateTime";
    std::wstring out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        switch (pattern[++i]) {
            case L'A':
                out += kWeekdays[time->dayOfWeek];
                break;
            case L'B':
                out += kMonths[time->month - 1];
                break;
            case L'd':
                out += twoDigits(time->day);
                break;
            case L'm':
                out += twoDigits(time->month);
                break;
            case L'y':
                out += twoDigits(time->year % 100);
                break;
            case L'Y':
                out += twoDigits(time->year / 100) + twoDigits(time->year);
                break;
            case L'H':
                out += twoDigits(time->hour);
                break;
            case L'M':
                out += twoDigits(time->minute);
                break;
            case L'S':
                out += twoDigits(time->second);
                break;
            default:
                out += pattern[i];
                break;
        }
    }
    return out;
}

std::wstring dateText(double date) {
    return platform::com::Variant::fromDate(date).toText();
}

double currentDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CalendarTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec == 60 ? 59 : local.tm_sec;
    return platform::com::calendarToOleDate(time).value_or(0.0);
}

}  // namespace tarn
