#include "plugin/sync/download_mark.h"

#include <algorithm>

#include "plugin/util/time_text.h"

namespace plugin {

namespace {

constexpr wchar_t kTimeFormat[] = L"%Y-%m-%d %H:%M:%S";

bool readable(const std::wstring& time) {
    return parseUtcText(time) > 0;
}

}  // namespace

std::wstring downloadMarkToSend(const std::wstring& stored, const std::wstring& lastExchange,
                                std::int64_t now) {
    const std::int64_t latest =
        readable(lastExchange) ? std::min(parseUtcText(lastExchange), now) : now;
    if (stored.empty() || parseUtcText(stored) <= latest)
        return stored;
    return formatUtc(latest, kTimeFormat);
}

std::wstring downloadMarkAfter(const std::wstring& sent, const std::wstring& answerTime,
                               std::int64_t now, const std::wstring& lastExchange) {
    if (!readable(answerTime))
        return sent;
    const std::int64_t answered = parseUtcText(answerTime);
    if (sent.empty() || answered >= parseUtcText(sent))
        return answerTime;
    // The service's clock went back: its present clock at our previous exchange.
    if (!readable(lastExchange))
        return {};
    const std::int64_t elapsed = std::max<std::int64_t>(now - parseUtcText(lastExchange), 0);
    return formatUtc(std::max<std::int64_t>(answered - elapsed, 1), kTimeFormat);
}

}  // namespace plugin
