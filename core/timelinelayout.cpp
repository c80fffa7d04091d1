#include "timelinelayout.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <queue>
#include <vector>

namespace {

qint64 instant(const QDateTime &dt)
{
    // Invalid times sort first, as QDateTime's own ordering puts them.
    return dt.isValid() ? dt.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

struct Span
{
    qint64 start;
    qint64 end;
    int input;
};

} // namespace

QList<TimelineItem> layoutTimedEvents(QList<Event> events)
{
    std::vector<Span> spans;
    spans.reserve(size_t(events.size()));
    for (int i = 0; i < events.size(); ++i) {
        const Event &e = events.at(i);
        const qint64 start = instant(e.start_time);
        spans.push_back({start, e.end_time ? instant(*e.end_time) : start, i});
    }
    // Stable, so occurrences with equal start and end keep their lanes from
    // one repaint to the next.
    std::stable_sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) {
        return a.start != b.start ? a.start < b.start : a.end < b.end;
    });

    QList<TimelineItem> result;
    result.reserve(events.size());

    // Active occurrences by end (earliest first) with their lanes, and the
    // lanes freed inside the current cluster (lowest first). Every lane below
    // `lanesUsed` that no active occurrence holds is in `freeLanes`, so the
    // lowest unused lane is the top of `freeLanes` or else `lanesUsed`.
    using Active = std::pair<qint64, int>;
    std::priority_queue<Active, std::vector<Active>, std::greater<Active>> active;
    std::priority_queue<int, std::vector<int>, std::greater<int>> freeLanes;
    int lanesUsed = 0;
    qsizetype clusterStart = 0;

    const auto closeCluster = [&] {
        for (qsizetype i = clusterStart; i < result.size(); ++i)
            result[i].columnCount = std::max(lanesUsed, 1);
    };

    for (const Span &s : spans) {
        while (!active.empty() && active.top().first <= s.start) {
            freeLanes.push(active.top().second);
            active.pop();
        }
        if (active.empty() && !result.isEmpty()) {
            closeCluster();
            clusterStart = result.size();
            lanesUsed = 0;
            freeLanes = {};
        }
        int lane;
        if (!freeLanes.empty()) {
            lane = freeLanes.top();
            freeLanes.pop();
        } else {
            lane = lanesUsed++;
        }
        active.push({s.end, lane});
        result.append(TimelineItem{std::move(events[s.input]), lane, 0});
    }
    closeCluster();
    return result;
}
