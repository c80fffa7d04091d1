#include "microsofteventstore.h"

#include "appstate.h"
#include "conflictresolutionservice.h"
#include "database.h"
#include "eventrepository.h"
#include "graphzones.h"
#include "microsoftcalendarclient.h"
#include "providerslog.h"
#include "storetransaction.h"
#include "timeutil.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

using namespace Qt::StringLiterals;

namespace Microsoft {

namespace {

constexpr QLatin1StringView kInstances = "@instances"_L1;
constexpr QLatin1StringView kExdates = "@exdates"_L1;

QJsonObject rawOf(const Event &row)
{
    return QJsonDocument::fromJson(row.raw_icalendar.toUtf8()).object();
}

bool cameFromGraph(const Event &row)
{
    return row.raw_icalendar.startsWith(u'{');
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QStringList datesOf(const QString &stored)
{
    QStringList out;
    for (const QJsonValue &value : QJsonDocument::fromJson(stored.toUtf8()).array())
        out.append(value.toString());
    return out;
}

QString storedDates(const QStringList &values)
{
    return values.isEmpty()
        ? QString()
        : QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &entry : value.toArray())
        out.append(entry.toString());
    return out;
}

QString overrideKey(const QString &seriesUid, const QString &recurrenceId)
{
    return seriesUid + u'\n' + recurrenceId;
}

QList<int> minutesOf(const Event &event)
{
    QList<int> out;
    for (const Reminder &reminder : event.reminders)
        out.append(reminder.minutes_before);
    return out;
}

// Takes into `local` what the server changed since `base` where the user
// here did not; true when both changed the same property.
bool mergeInto(Event &local, const Event &base, const Event &theirs)
{
    bool conflict = false;
    const auto take = [&](auto member) {
        if (local.*member == base.*member)
            local.*member = theirs.*member;
        else if (theirs.*member != base.*member)
            conflict = true;
    };
    take(&Event::title);
    take(&Event::description);
    take(&Event::location);
    take(&Event::start_time);
    take(&Event::end_time);
    take(&Event::is_all_day);
    take(&Event::timezone);
    take(&Event::recurrence_rule);
    take(&Event::status);
    if (minutesOf(local) == minutesOf(base))
        local.reminders = theirs.reminders;
    else if (minutesOf(theirs) != minutesOf(base))
        conflict = true;
    // Not written from here: always as the server has them.
    local.attendees = theirs.attendees;
    local.organizer_email = theirs.organizer_email;
    local.organizer_name = theirs.organizer_name;
    local.event_url = theirs.event_url;
    local.conference_url = theirs.conference_url;
    return conflict;
}

// The rows of one calendar, found the ways a round names them.
struct Index
{
    QHash<QString, Event> byProvider; // provider_event_id -> row
    QHash<QString, Event> overrides; // series uid + recurrence id -> row
    QHash<QString, Event> masters; // series uid -> master row
    QHash<QString, QPair<QString, QString>> instances; // instance id -> series uid, original start

    Index(EventRepository *events, const QString &calendarId)
    {
        for (const Event &row : events->getByCalendar(calendarId)) {
            if (!row.provider_event_id.isEmpty())
                byProvider.insert(row.provider_event_id, row);
            if (row.isOverride()) {
                overrides.insert(overrideKey(row.master_event_uid, row.recurrence_id), row);
            } else if (!row.recurrence_rule.isEmpty()) {
                masters.insert(row.uid, row);
                const QJsonObject known = rawOf(row).value(kInstances).toObject();
                for (auto it = known.begin(); it != known.end(); ++it)
                    instances.insert(it.key(), {row.uid, it.value().toString()});
            }
        }
    }
};

// One series while a round is applied to it.
struct Series
{
    Event master;
    QJsonObject instances;
    QStringList exdates; // the row's
    QStringList serverExdates; // those the server has
    bool ruleChanged = false;
    bool touched = false;
};

} // namespace

EventStore::EventStore(AppState *appState, const QString &calendarId)
    : m_appState(appState)
    , m_calendarId(calendarId)
{
}

QStringList EventStore::seriesToRead(const QList<QJsonObject> &items) const
{
    const Index index(m_appState->events(), m_calendarId);
    QStringList out;
    const auto add = [&out](const QString &id) {
        if (!id.isEmpty() && !out.contains(id))
            out.append(id);
    };
    for (const QJsonObject &item : items) {
        const QString id = item.value("id"_L1).toString();
        if (!item.contains("@removed"_L1)) {
            add(item.value("seriesMasterId"_L1).toString());
            continue;
        }
        // A whole series deleted there shows as its instances removed: only
        // the master tells that from occurrences cancelled one by one.
        const Event row = index.byProvider.value(id);
        if (row.isOverride())
            add(row.master_event_uid);
        else if (index.instances.contains(id))
            add(index.instances.value(id).first);
    }
    return out;
}

EventStore::Applied EventStore::apply(const QList<QJsonObject> &items, const QList<QJsonObject> &masters,
                                      const QStringList &gone, const QDateTime &from, const QDateTime &to)
{
    Applied applied;
    EventRepository *events = m_appState->events();
    StoreTransaction transaction(m_appState->database());
    Index index(events, m_calendarId);
    const auto count = [&applied](bool ok) { ok ? ++applied.upserted : ++applied.failed; };
    const auto drop = [&](const Event &row) {
        index.byProvider.remove(row.provider_event_id);
        if (events->hardDelete(row.id))
            ++applied.tombstoned;
        else
            ++applied.failed;
    };
    const auto dropSeries = [&](const QString &uid) {
        for (const Event &row : index.overrides) {
            if (row.master_event_uid == uid)
                drop(row);
        }
        if (index.masters.contains(uid))
            drop(index.masters.take(uid));
    };
    // A pending row whose server copy changed: the other side's changes
    // come in, the local ones stay to be sent.
    const auto mergePending = [&](Event row, const Event &theirs) {
        if (row.etag == theirs.etag)
            return true;
        if (cameFromGraph(row)) {
            const Event base = CalendarClient::eventFromJson(rawOf(row), m_calendarId);
            const Event local = row;
            if (mergeInto(row, base, theirs))
                m_appState->conflicts()->recordConflict(local, theirs);
        }
        QJsonObject raw = rawOf(theirs);
        const QJsonObject old = rawOf(row);
        for (const QLatin1StringView key : {kInstances, kExdates}) {
            if (old.contains(key))
                raw.insert(key, old.value(key));
        }
        row.raw_icalendar = compact(raw);
        row.etag = theirs.etag;
        return events->update(row);
    };
    const auto upsert = [&](Event event, const std::optional<Event> &stored) {
        if (!stored)
            return events->insert(event);
        if (stored->sync_status == SyncStatus::Pending)
            return mergePending(*events->getById(stored->id), event);
        if (stored->etag == event.etag)
            return true;
        event.id = stored->id;
        return events->update(event);
    };

    QSet<QString> listedIds;
    QSet<QString> listedSeries;
    QSet<QString> liveKeys; // series uid + original start of instances the round lists
    for (const QJsonObject &item : items) {
        if (item.contains("@removed"_L1))
            continue;
        const QString series = item.value("seriesMasterId"_L1).toString();
        listedIds.insert(item.value("id"_L1).toString());
        if (!series.isEmpty()) {
            listedSeries.insert(series);
            liveKeys.insert(
                overrideKey(series, CalendarClient::originalStartKey(item, item.value("isAllDay"_L1).toBool(false))));
        }
    }

    QHash<QString, Series> touched;
    for (const QString &uid : gone)
        dropSeries(uid);
    for (const QJsonObject &item : masters) {
        Event mapped = CalendarClient::eventFromJson(item, m_calendarId);
        std::optional<Event> stored = index.masters.contains(mapped.uid)
            ? std::optional<Event>(index.masters.value(mapped.uid))
            : events->getByUidAndRecurrenceId(mapped.uid, m_calendarId, QString());
        Series series;
        const QJsonObject old = stored ? rawOf(*stored) : QJsonObject();
        series.instances = old.value(kInstances).toObject();
        series.exdates = stored ? datesOf(stored->exception_dates) : QStringList();
        series.serverExdates = stringsOf(old.value(kExdates));
        // Graph drops a series' exceptions when its pattern or times change,
        // and lists every instance anew.
        series.ruleChanged = stored && stored->sync_status != SyncStatus::Pending
            && (stored->recurrence_rule != mapped.recurrence_rule || stored->start_time != mapped.start_time);
        if (series.ruleChanged) {
            series.instances = {};
            series.exdates.clear();
            series.serverExdates.clear();
            for (const Event &row : index.overrides) {
                if (row.master_event_uid == mapped.uid && row.sync_status != SyncStatus::Pending)
                    drop(row);
            }
        }
        if (!stored) {
            count(events->insert(mapped));
            series.master = mapped;
        } else if (stored->sync_status == SyncStatus::Pending) {
            count(mergePending(*events->getById(stored->id), mapped));
            series.master = *events->getById(stored->id);
        } else {
            mapped.id = stored->id;
            series.master = mapped;
        }
        series.touched = true;
        touched.insert(mapped.uid, series);
    }

    const auto exclude = [&](const QString &uid, const QString &key) {
        if (!touched.contains(uid) || touched[uid].ruleChanged || liveKeys.contains(overrideKey(uid, key)))
            return;
        Series &series = touched[uid];
        if (!series.exdates.contains(key))
            series.exdates.append(key);
        if (!series.serverExdates.contains(key))
            series.serverExdates.append(key);
    };
    for (const QJsonObject &item : items) {
        if (!item.contains("@removed"_L1))
            continue;
        const QString id = item.value("id"_L1).toString();
        if (index.byProvider.contains(id)) {
            const Event row = index.byProvider.value(id);
            if (row.isOverride()) {
                exclude(row.master_event_uid, row.recurrence_id);
                index.overrides.remove(overrideKey(row.master_event_uid, row.recurrence_id));
                drop(row);
            } else if (!row.recurrence_rule.isEmpty() && !listedSeries.contains(row.uid)) {
                dropSeries(row.uid);
            } else if (row.recurrence_rule.isEmpty()) {
                drop(row);
            }
        } else if (index.instances.contains(id)) {
            const auto [uid, key] = index.instances.value(id);
            exclude(uid, key);
            if (touched.contains(uid))
                touched[uid].instances.remove(id);
        }
    }

    for (const QJsonObject &item : items) {
        if (item.contains("@removed"_L1))
            continue;
        const QString id = item.value("id"_L1).toString();
        if (id.isEmpty())
            continue;
        const QString uid = item.value("seriesMasterId"_L1).toString();
        if (uid.isEmpty()) {
            // A single event; one that became a series is its master now.
            if (index.masters.contains(id) || touched.contains(id))
                continue;
            const std::optional<Event> stored = index.byProvider.contains(id)
                ? std::optional<Event>(index.byProvider.value(id))
                : events->getByUid(id, m_calendarId);
            count(upsert(CalendarClient::eventFromJson(item, m_calendarId), stored));
            continue;
        }
        if (!touched.contains(uid))
            continue; // its master is gone
        Series &series = touched[uid];
        const bool allDay = item.value("isAllDay"_L1).toBool(false);
        const QString key = CalendarClient::originalStartKey(item, allDay);
        series.instances.insert(id, key);
        series.exdates.removeAll(key);
        series.serverExdates.removeAll(key);
        const std::optional<Event> stored = index.overrides.contains(overrideKey(uid, key))
            ? std::optional<Event>(index.overrides.value(overrideKey(uid, key)))
            : events->getByUidAndRecurrenceId(uid, m_calendarId, key);
        if (item.value("type"_L1).toString() == "exception"_L1) {
            count(upsert(CalendarClient::eventFromJson(item, m_calendarId), stored));
        } else if (stored && stored->sync_status != SyncStatus::Pending && stored->provider_event_id == id) {
            // An exception that went back to being a plain occurrence.
            drop(*stored);
        }
    }

    for (Series &series : touched) {
        Event master = series.master;
        if (master.sync_status == SyncStatus::Pending) {
            // The user's exclusions stay; the server's come in.
            for (const QString &key : series.serverExdates) {
                if (!series.exdates.contains(key))
                    series.exdates.append(key);
            }
        }
        QJsonObject raw = rawOf(master);
        raw.insert(kInstances, series.instances);
        raw.insert(kExdates, QJsonArray::fromStringList(series.serverExdates));
        master.raw_icalendar = compact(raw);
        master.exception_dates = storedDates(series.exdates);
        count(events->update(master));
    }

    if (from.isValid())
        applied.tombstoned += prune(listedIds, listedSeries, from, to);

    if (transaction.isActive() && !transaction.keep())
        applied.failed = qMax(applied.failed, 1);
    events->scheduleChanged(m_calendarId);
    return applied;
}

int EventStore::prune(const QSet<QString> &listedIds, const QSet<QString> &listedSeries, const QDateTime &from,
                      const QDateTime &to)
{
    // What a complete round over [from, to) does not list is gone there:
    // synced single events inside it, and synced series of which an
    // instance once fell inside it. Pending rows stay and are sent.
    EventRepository *events = m_appState->events();
    int dropped = 0;
    const auto inWindow = [&](const QDateTime &start) { return start.isValid() && start >= from && start < to; };
    for (const Event &row : events->getByCalendar(m_calendarId)) {
        if (row.sync_status == SyncStatus::Pending || row.provider_event_id.isEmpty() || row.isOverride())
            continue;
        bool stale = false;
        if (row.recurrence_rule.isEmpty()) {
            stale = !listedIds.contains(row.provider_event_id) && inWindow(row.start_time);
        } else if (!listedSeries.contains(row.uid)) {
            const QJsonObject known = rawOf(row).value(kInstances).toObject();
            for (const QJsonValue &key : known)
                stale = stale || inWindow(TimeUtil::fromIcalUtc(key.toString()));
        }
        if (!stale)
            continue;
        for (const Event &other : events->getByCalendar(m_calendarId)) {
            if (other.isOverride() && other.master_event_uid == row.uid && other.sync_status != SyncStatus::Pending)
                events->hardDelete(other.id);
        }
        if (events->hardDelete(row.id))
            ++dropped;
    }
    return dropped;
}

QJsonObject EventStore::changes(const Event &row, const Event *series, QString *problem)
{
    const QJsonObject mine = CalendarClient::eventToJson(row, problem);
    if (problem && !problem->isEmpty())
        return {};
    Event base;
    if (cameFromGraph(row)) {
        base = CalendarClient::eventFromJson(rawOf(row), row.calendar_id);
    } else if (row.isOverride() && series) {
        // An occurrence not yet changed there is what its series says at its
        // original start.
        base = cameFromGraph(*series) ? CalendarClient::eventFromJson(rawOf(*series), row.calendar_id) : *series;
        base.raw_icalendar.clear();
        base.recurrence_rule.clear();
        const QDateTime original = row.recurrence_id.size() == 8
            ? TimeUtil::inZone(QDate::fromString(row.recurrence_id, u"yyyyMMdd"_s), QTime(0, 0),
                               QTimeZone::systemTimeZone())
            : TimeUtil::fromIcalUtc(row.recurrence_id);
        if (base.end_time)
            base.end_time = original.addSecs(base.start_time.secsTo(*base.end_time));
        base.start_time = original;
    } else {
        return mine;
    }
    const QJsonObject theirs = CalendarClient::eventToJson(base);
    QJsonObject out;
    for (auto it = mine.begin(); it != mine.end(); ++it) {
        if (theirs.value(it.key()) != it.value())
            out.insert(it.key(), it.value());
    }
    // A rule removed here ends the series there.
    if (theirs.contains("recurrence"_L1) && !mine.contains("recurrence"_L1) && !row.isOverride())
        out.insert("recurrence"_L1, QJsonValue::Null);
    return out;
}

QString EventStore::written(const Event &row, const QJsonObject &sent, const QString &id, const QString &changeKey)
{
    QJsonObject raw = cameFromGraph(row) ? rawOf(row) : CalendarClient::eventToJson(row);
    for (auto it = sent.begin(); it != sent.end(); ++it) {
        if (it.value().isNull())
            raw.remove(it.key());
        else
            raw.insert(it.key(), it.value());
    }
    raw.insert("id"_L1, id);
    raw.insert("changeKey"_L1, changeKey);
    if (row.isOverride() && !raw.contains("seriesMasterId"_L1)) {
        raw.insert("seriesMasterId"_L1, row.master_event_uid);
        raw.insert("type"_L1, u"exception"_s);
        const QString original = row.recurrence_id.size() == 8
            ? QDate::fromString(row.recurrence_id, u"yyyyMMdd"_s).toString(Qt::ISODate)
            : TimeUtil::fromIcalUtc(row.recurrence_id).toString(Qt::ISODate);
        raw.insert("originalStart"_L1, original);
    }
    return compact(raw);
}

QStringList EventStore::newExclusions(const Event &master)
{
    const QStringList server = stringsOf(rawOf(master).value(kExdates));
    QStringList out;
    for (const QString &key : datesOf(master.exception_dates)) {
        if (!server.contains(key))
            out.append(key);
    }
    return out;
}

QString EventStore::knownInstance(const Event &master, const QString &originalStart)
{
    const QJsonObject known = rawOf(master).value(kInstances).toObject();
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (it.value().toString() == originalStart)
            return it.key();
    }
    return QString();
}

void EventStore::excluded(Event &master, const QString &originalStart)
{
    QJsonObject raw = rawOf(master);
    QStringList server = stringsOf(raw.value(kExdates));
    if (!server.contains(originalStart))
        server.append(originalStart);
    raw.insert(kExdates, QJsonArray::fromStringList(server));
    QJsonObject known = raw.value(kInstances).toObject();
    const QString id = knownInstance(master, originalStart);
    if (!id.isEmpty())
        known.remove(id);
    raw.insert(kInstances, known);
    master.raw_icalendar = compact(raw);
}

} // namespace Microsoft
