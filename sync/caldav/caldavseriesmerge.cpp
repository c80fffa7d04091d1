#include "caldavseriesmerge.h"

#include "propertymerge.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QStringList dateList(const QString &json)
{
    QStringList dates;
    const QJsonArray array = QJsonDocument::fromJson(json.toUtf8()).array();
    for (const QJsonValue &value : array)
        dates.append(value.toString());
    return dates;
}

QString dateJson(const QStringList &dates)
{
    if (dates.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(dates)).toJson(QJsonDocument::Compact));
}

// What a reminder or attendee list says, without the local bookkeeping
// (row ids, acknowledgement, trigger times).
QStringList reminderKeys(const QList<Reminder> &reminders)
{
    QStringList keys;
    for (const Reminder &r : reminders)
        keys.append(QString::number(r.minutes_before) + u'|' + r.action.toLower());
    keys.sort();
    return keys;
}

QStringList attendeeKeys(const QList<Attendee> &attendees)
{
    QStringList keys;
    for (const Attendee &a : attendees)
        keys.append(a.email.toLower() + u'|' + a.status.toLower() + u'|' + a.role.toLower() + u'|' + a.name);
    keys.sort();
    return keys;
}

// One object, property by property; `*conflict` when both sides changed
// one property differently, `*serverChanges` counts what the server changed.
Event mergeObject(const Event &base, const Event &local, const Event &server, bool *conflict,
                  int *serverChanges = nullptr)
{
    PropertyMerge<Event> merge(base, local, server);
    merge.field(&Event::title);
    merge.field(&Event::description);
    merge.field(&Event::location);
    merge.field(&Event::geo_location);
    merge.field(&Event::start_time);
    merge.field(&Event::end_time);
    merge.field(&Event::is_all_day);
    merge.field(&Event::timezone);
    merge.field(&Event::recurrence_rule);
    merge.field(&Event::status);
    merge.field(&Event::event_url);
    merge.field(&Event::conference_url);
    merge.field(&Event::organizer_email);
    merge.field(&Event::organizer_name);
    merge.set(&Event::exception_dates, dateList, dateJson);
    merge.set(&Event::recurrence_dates, dateList, dateJson);
    merge.field(&Event::reminders, reminderKeys);
    merge.field(&Event::attendees, attendeeKeys);
    *conflict = merge.conflict();
    if (serverChanges)
        *serverChanges = merge.serverChanges();
    Event merged = merge.merged();
    merged.sequence = std::max(local.sequence, server.sequence);
    return merged;
}

// Whether `b` says anything the merge would take over `a`.
bool differs(const Event &a, const Event &b)
{
    bool conflict = false;
    int changes = 0;
    mergeObject(a, a, b, &conflict, &changes);
    return changes > 0;
}

QHash<QString, Event> byRecurrenceId(const QList<Event> &events)
{
    QHash<QString, Event> objects;
    for (const Event &event : events)
        objects.insert(event.recurrence_id, event);
    return objects;
}

} // namespace

CalDavSeriesMerge::Result CalDavSeriesMerge::merge(const QList<Event> &base, const QList<Event> &local,
                                                   const QList<Event> &server)
{
    Result result;
    const QHash<QString, Event> b = byRecurrenceId(base);
    const QHash<QString, Event> s = byRecurrenceId(server);
    QHash<QString, Event> live;
    QSet<QString> removedHere;
    for (const Event &row : local) {
        if (row.deleted_at)
            removedHere.insert(row.recurrence_id);
        else
            live.insert(row.recurrence_id, row);
    }
    // A deleted override is an exception date of the master when it goes out.
    QStringList masterExceptions;
    if (auto master = live.find(QString()); master != live.end()) {
        QStringList dates = dateList(master->exception_dates);
        for (const QString &rid : std::as_const(removedHere)) {
            const QString date = master->is_all_day ? rid.left(8) : rid;
            if (!rid.isEmpty() && !dates.contains(date))
                dates.append(date);
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
        const Event merged = before == b.cend() ? here : mergeObject(*before, here, *there, &conflict);
        if (before == b.cend())
            conflict = differs(here, *there);
        if (conflict)
            result.conflicts.append({here, *there});
        if (merged != here)
            result.changed.append(merged);
        if (rid.isEmpty())
            masterExceptions = dateList(merged.exception_dates);
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
                                                    [&rid](const Event &row) { return row.recurrence_id == rid; });
                if (tombstone != local.cend())
                    result.conflicts.append({*tombstone, *it});
            }
            continue;
        }
        const bool excluded = masterExceptions.contains(rid) || masterExceptions.contains(rid.left(8));
        if (!excluded)
            result.added.append(*it);
    }
    return result;
}
