#include "caldavseriesmerge.h"

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

// Kept where both have it or one side added it; gone where one side removed it.
QStringList mergeSets(const QStringList &base, const QStringList &local, const QStringList &server)
{
    const QSet<QString> b(base.cbegin(), base.cend());
    const QSet<QString> s(server.cbegin(), server.cend());
    QStringList merged;
    for (const QString &date : local) {
        if ((s.contains(date) || !b.contains(date)) && !merged.contains(date))
            merged.append(date);
    }
    for (const QString &date : server) {
        if (!b.contains(date) && !merged.contains(date))
            merged.append(date);
    }
    std::sort(merged.begin(), merged.end());
    return merged;
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

// One object, property by property.
class ObjectMerge
{
public:
    ObjectMerge(const Event &base, const Event &local, const Event &server)
        : m_base(base), m_server(server), m_merged(local), m_local(local)
    {
    }

    // The merged object; `*conflict` when both sides changed one property differently.
    Event run(bool *conflict)
    {
        field(&Event::title);
        field(&Event::description);
        field(&Event::location);
        field(&Event::geo_location);
        field(&Event::start_time);
        field(&Event::end_time);
        field(&Event::is_all_day);
        field(&Event::timezone);
        field(&Event::recurrence_rule);
        field(&Event::status);
        field(&Event::event_url);
        field(&Event::conference_url);
        field(&Event::organizer_email);
        field(&Event::organizer_name);
        dates(&Event::exception_dates);
        dates(&Event::recurrence_dates);
        list(&Event::reminders, reminderKeys);
        list(&Event::attendees, attendeeKeys);
        m_merged.sequence = std::max(m_local.sequence, m_server.sequence);
        *conflict = m_conflict;
        return m_merged;
    }

    // Properties in which the server differs from the base.
    int serverChanges() const { return m_serverChanges; }

private:
    void dates(QString Event::*member)
    {
        const QStringList base = dateList(m_base.*member);
        const QStringList local = dateList(m_local.*member);
        const QStringList server = dateList(m_server.*member);
        if (QSet<QString>(server.cbegin(), server.cend()) != QSet<QString>(base.cbegin(), base.cend()))
            ++m_serverChanges;
        const QStringList merged = mergeSets(base, local, server);
        if (QSet<QString>(merged.cbegin(), merged.cend()) != QSet<QString>(local.cbegin(), local.cend()))
            m_merged.*member = dateJson(merged);
    }

    template<typename T>
    void field(T Event::*member)
    {
        take(m_local.*member == m_base.*member, m_server.*member == m_base.*member,
             m_server.*member == m_local.*member, [&] { m_merged.*member = m_server.*member; });
    }

    template<typename T, typename Keys>
    void list(QList<T> Event::*member, Keys keys)
    {
        const QStringList base = keys(m_base.*member);
        const QStringList local = keys(m_local.*member);
        const QStringList server = keys(m_server.*member);
        take(local == base, server == base, server == local, [&] { m_merged.*member = m_server.*member; });
    }

    template<typename Take>
    void take(bool localSame, bool serverSame, bool agree, Take takeServer)
    {
        if (!serverSame)
            ++m_serverChanges;
        if (localSame && !serverSame)
            takeServer();
        else if (!localSame && !serverSame && !agree)
            m_conflict = true;
    }

    const Event &m_base;
    const Event &m_server;
    Event m_merged;
    Event m_local;
    bool m_conflict = false;
    int m_serverChanges = 0;
};

// Whether `b` says anything the merge would take over `a`.
bool differs(const Event &a, const Event &b)
{
    bool conflict = false;
    ObjectMerge merge(a, a, b);
    merge.run(&conflict);
    return merge.serverChanges() > 0;
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
        const Event merged = before == b.cend() ? here : ObjectMerge(*before, here, *there).run(&conflict);
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
                const auto tombstone = std::find_if(local.cbegin(), local.cend(), [&rid](const Event &row) {
                    return row.recurrence_id == rid;
                });
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
