#include "caldavseriesmerge.h"

#include "eventmerge.h"
#include "exceptionkey.h"

#include <QHash>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using EventMerge::dateJson;
using EventMerge::dateList;
using EventMerge::differs;

const Event *masterOf(const QList<Event> &events)
{
    const auto master = std::find_if(events.cbegin(), events.cend(),
                                     [](const Event &e) { return e.recurrence_id.isEmpty() && !e.deleted_at; });
    return master == events.cend() ? nullptr : &*master;
}

// Keys in the one form the series gives them, so that the sides meet
// whichever form each was written in.
QString keyOf(const Event *series, const QString &key)
{
    return key.isEmpty() || !series ? key : ExceptionKey::normalized(*series, key);
}

QHash<QString, Event> byRecurrenceId(const QList<Event> &events, const Event *series)
{
    QHash<QString, Event> objects;
    for (const Event &event : events)
        objects.insert(keyOf(series, event.recurrence_id), event);
    return objects;
}

} // namespace

CalDavSeriesMerge::Result CalDavSeriesMerge::merge(const QList<Event> &base, const QList<Event> &local,
                                                   const QList<Event> &server)
{
    Result result;
    const Event *localMaster = masterOf(local);
    const Event *series = localMaster ? localMaster : masterOf(server);
    const QHash<QString, Event> b = byRecurrenceId(base, series);
    const QHash<QString, Event> s = byRecurrenceId(server, series);
    QHash<QString, Event> live;
    QSet<QString> removedHere;
    for (const Event &row : local) {
        if (row.deleted_at)
            removedHere.insert(keyOf(series, row.recurrence_id));
        else
            live.insert(keyOf(series, row.recurrence_id), row);
    }
    // A deleted override is an exception date of the master when it goes out.
    QStringList masterExceptions;
    if (auto master = live.find(QString()); master != live.end()) {
        QStringList dates = dateList(master->exception_dates);
        for (const QString &rid : std::as_const(removedHere)) {
            if (!rid.isEmpty() && !ExceptionKey::listed(*master, dates, rid))
                dates.append(rid);
        }
        master->exception_dates = dateJson(dates);
    }

    for (auto it = live.cbegin(); it != live.cend(); ++it) {
        const QString &rid = it.key();
        const Event &here = it.value();
        const auto there = s.constFind(rid);
        const auto before = b.constFind(rid);
        if (there == s.cend()) {
            // Dropped there and untouched here: it goes.
            if (before != b.cend() && !rid.isEmpty() && !differs(*before, here))
                result.removedIds.append(here.id);
            continue;
        }
        bool conflict = false;
        // Made on both sides: nothing to tell who changed what, the local one stays.
        const Event merged = before == b.cend() ? here : EventMerge::merge(*before, here, *there, &conflict);
        if (before == b.cend())
            conflict = differs(here, *there);
        if (conflict)
            result.conflicts.append({here, *there});
        if (merged != here)
            result.changed.append(merged);
        if (rid.isEmpty()) {
            for (const QString &date : dateList(merged.exception_dates))
                masterExceptions.append(keyOf(&merged, date));
        }
    }
    for (auto it = s.cbegin(); it != s.cend(); ++it) {
        const QString &rid = it.key();
        if (live.contains(rid))
            continue;
        const auto before = b.constFind(rid);
        if (before != b.cend() || removedHere.contains(rid)) {
            // Removed here: it stays away; a change made there meanwhile is overruled.
            if (before != b.cend() && differs(*before, *it)) {
                const auto tombstone = std::find_if(local.cbegin(), local.cend(),
                                                    [&](const Event &row) {
                    return keyOf(series, row.recurrence_id) == rid;
                });
                if (tombstone != local.cend())
                    result.conflicts.append({*tombstone, *it});
            }
            continue;
        }
        const bool excluded = masterExceptions.contains(rid);
        if (!excluded)
            result.added.append(*it);
    }
    return result;
}
