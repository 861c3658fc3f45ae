// The download mark: the service time sent as lastUpdateTime, after which the service
// answers with the changes made elsewhere. The service stamps both its answer's time
// (stored as Sync\UpdateTime) and its changes with its own clock, so a mark that ran ahead
// of the changes it stamps later would hide them for good. Two rules keep that from
// happening:
// - the mark sent is never later than this machine's time of the last acknowledged
//   exchange (Sync\LastSyncTime): an answer from a service clock ahead (a year, say) asks
//   next from when it came, by this clock, not from the year ahead;
// - when an answer shows the service's clock behind the mark that was sent (set back), the
//   mark becomes the time of the previous acknowledged exchange on the service's present
//   clock, so the changes it stamped since it was set back are asked for again.
// Asking from too early only repeats changes, which applying passes over as not newer.
//
// Contract: pure functions of their arguments ("%Y-%m-%d %H:%M:%S" UTC texts, seconds
// since 1970); thread-safe.
#pragma once

#include <cstdint>
#include <string>

namespace plugin {

// The mark to send: `stored`, or this machine's time of the last acknowledged exchange
// (`now` when there is none) when `stored` lies after it.
std::wstring downloadMarkToSend(const std::wstring& stored, const std::wstring& lastExchange,
                                std::int64_t now);

// The mark to store after an answer stamped `answerTime` to a request sent with the mark
// `sent`, received at `now`; `lastExchange` is this machine's time of the previous
// acknowledged exchange ("" when there was none, and then everything is asked for again
// after a clock set back). An answer without a readable time leaves the mark at `sent`.
std::wstring downloadMarkAfter(const std::wstring& sent, const std::wstring& answerTime,
                               std::int64_t now, const std::wstring& lastExchange);

}  // namespace plugin
