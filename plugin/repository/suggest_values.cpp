#include <algorithm>
#include <exception>
#include <map>
#include <utility>

#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/util/strings.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

using Scored = std::pair<std::wstring, int>;

// The best value alone, when it scores at all.
std::vector<std::wstring> bestValue(const std::map<std::wstring, int>& scores) {
    auto best = scores.end();
    for (auto entry = scores.begin(); entry != scores.end(); ++entry)
        if (best == scores.end() || entry->second > best->second)
            best = entry;
    if (best == scores.end() || best->second <= 0)
        return {};
    return {best->first};
}

// The leading values while each scores at least half the first and three quarters of
// the one before it; nothing unless the first scores above 4.
std::vector<std::wstring> leadingValues(const std::map<std::wstring, int>& scores, int maxCount) {
    std::vector<Scored> ranked(scores.begin(), scores.end());
    for (std::size_t d = 0; d + 1 < ranked.size(); ++d)
        for (std::size_t later = d + 1; later < ranked.size(); ++later)
            if (ranked[later].second > ranked[d].second)
                std::swap(ranked[later], ranked[d]);
    std::vector<std::wstring> values;
    if (ranked.empty() || ranked.front().second <= 4)
        return values;
    values.push_back(ranked.front().first);
    const int first = ranked.front().second;
    const std::size_t limit =
        std::min(static_cast<std::size_t>(std::max(maxCount, 0)), ranked.size());
    for (std::size_t j = 1; j < limit; ++j) {
        const int score = ranked[j].second;
        if (score * 2 < first || score * 4 < ranked[j - 1].second * 3)
            break;
        values.push_back(ranked[j].first);
    }
    return values;
}

}  // namespace

std::vector<std::wstring> suggestValues(const std::wstring& column, const std::wstring& url,
                                        int maxCount) {
    try {
        std::map<std::wstring, int> scores;
        detail::readRows(
            L"select " + column + L", url from entry where site=? order by createTime;",
            {urlHost(url)}, [&](common::SqliteQuery& row) {
                scores[row.columnText(0)] += urlPathCommonLength(url, row.columnText(1));
            });
        if (scores.empty())
            return {};
        return maxCount == 1 ? bestValue(scores) : leadingValues(scores, maxCount);
    } catch (const common::SqliteException&) {
        return {};
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace plugin
