#include "microsofteventstore.h"

#include "database.h"
#include "eventrepository.h"
#include "exceptionkey.h"
#include "graphzones.h"
#include "microsoftcalendarclient.h"
#include "providereventrepository.h"
#include "providerevents.h"
#include "providerproblems.h"
#include "providerrows.h"
#include "recurrence.h"
#include "recurrencerule.h"
#include "timeutil.h"

#include <QCoreApplication>
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

// Whether the series `master` as it is now has an occurrence at `key`: one
// that left the view because the series moved is no cancelled occurrence.
bool onRule(const Event &master, const QString &key)
{
    const bool day = key.size() == 8;
    const QDateTime at = day ? TimeUtil::utc(QDate::fromString(key, u"yyyyMMdd"_s)) : TimeUtil::fromIcalUtc(key);
    if (!at.isValid() || master.recurrence_rule.isEmpty())
        return false;
    const QTimeZone zone = GraphZones::zoneOf(master.timezone);
    const QDateTime start = zone.isValid() && !master.is_all_day ? master.start_time.toTimeZone(zone)
                                                                 : master.start_time;
    const QList<QDateTime> starts = Recurrence::occurrenceStarts(RecurrenceRule::fromText(master.recurrence_rule),
                                                                 start, at.addDays(day ? 1 : 0).addSecs(1));
    return !starts.isEmpty() && (day ? starts.last().date() == at.date() : starts.last() == at);
}

// The override keys of the starts `master` has in [from, to).
QStringList startKeys(const Event &master, const QDateTime &from, const QDateTime &to)
{
    QStringList out;
    if (master.recurrence_rule.isEmpty())
        return out;
    const QTimeZone zone = GraphZones::zoneOf(master.timezone);
    const QDateTime start = zone.isValid() && !master.is_all_day ? master.start_time.toTimeZone(zone)
                                                                 : master.start_time;
    for (const QDateTime &at :
         Recurrence::occurrenceStarts(RecurrenceRule::fromText(master.recurrence_rule), start, to)) {
        if (at >= from)
            out.append(master.is_all_day ? TimeUtil::toIcalDate(at.date()) : TimeUtil::toIcalUtc(at));
    }
    return out;
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
        // Rows are only found here: a synced one is replaced whole, and
        // whatever else is written is read whole first.
        QList<Event> rows = events->getSyncRowsByCalendar(calendarId);
        byProvider.reserve(rows.size());
        for (Event &row : rows) {
            const QString providerId = row.provider_event_id;
            // Most rows are single events, found by their provider id alone:
            // those move into the index rather than being copied.
            if (!row.isOverride() && row.recurrence_rule.isEmpty()) {
                if (!providerId.isEmpty())
                    byProvider.emplace(providerId, std::move(row));
                continue;
            }
            if (!providerId.isEmpty())
                byProvider.insert(providerId, row);
            if (row.isOverride()) {
                overrides.insert(overrideKey(row.master_event_uid, row.recurrence_id), row);
            } else { // a series' master
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
    QJsonObject item; // the master as read
    std::optional<Event> stored;
    QJsonObject instances;
    QStringList exdates; // the occurrences the server no longer has
    bool ruleChanged = false;
};

} // namespace

EventStore::EventStore(AppState *appState, const QString &calendarId)
    : EventStore(ProviderStore::of(appState), calendarId)
{
}

EventStore::EventStore(const ProviderStore &store, const QString &calendarId)
    : m_store(store)
    , m_calendarId(calendarId)
    , m_rows(
          store, calendarId,
          [calendarId](const QJsonObject &item) { return CalendarClient::eventFromJson(item, calendarId); },
          [](const Event &event) { return CalendarClient::eventToJson(event); })
{
}

QStringList EventStore::seriesToRead(const QList<QJsonObject> &items) const
{
    // Only a removed item needs the calendar's rows: they are read at the
    // first one, and a round without any reads none.
    std::optional<Index> built;
    const auto index = [&]() -> const Index & {
        if (!built)
            built.emplace(m_store.events, m_calendarId);
        return *built;
    };
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
        const Event row = index().byProvider.value(id);
        if (row.isOverride())
            add(row.master_event_uid);
        else if (index().instances.contains(id))
            add(index().instances.value(id).first);
    }
    return out;
}

EventStore::Applied EventStore::apply(const QList<QJsonObject> &items, const QList<QJsonObject> &masters,
                                      const QStringList &gone, ProviderProblems *problems, const QDateTime &from,
                                      const QDateTime &to)
{
    Applied applied;
    EventRepository *events = m_store.events;
    Index index(events, m_calendarId);
    const ProviderRows::Round round(m_rows);
    const auto count = [&applied](bool ok) { ok ? ++applied.upserted : ++applied.failed; };
    // Rows to remove gather and go together before the next reads: a round
    // may remove thousands, and one statement per table serves them all.
    QList<Event> dropping;
    const auto drop = [&](const Event &row) {
        index.byProvider.remove(row.provider_event_id);
        dropping.append(row);
    };
    const auto dropGathered = [&] {
        if (dropping.isEmpty())
            return;
        (m_rows.removeAll(dropping) ? applied.tombstoned : applied.failed) += int(dropping.size());
        dropping.clear();
    };
    const auto dropSeries = [&](const QString &uid) {
        for (const Event &row : index.overrides) {
            if (row.master_event_uid == uid)
                drop(row);
        }
        if (index.masters.contains(uid))
            drop(index.masters.take(uid));
    };
    // An all-day instance's day is read in its series' zone, where known.
    QHash<QString, QTimeZone> zones;
    for (const QJsonObject &item : masters)
        zones.insert(item.value("id"_L1).toString(),
                     CalendarClient::recurrenceZone(item.value("recurrence"_L1).toObject(), QTimeZone()));
    const auto keyOf = [&zones](const QJsonObject &item) {
        return CalendarClient::originalStartKey(item, item.value("isAllDay"_L1).toBool(false),
                                                zones.value(item.value("seriesMasterId"_L1).toString()));
    };
    // What is listed unchanged is not written again; a pending row takes
    // what the other side changed and the user here did not.
    const auto write = [&](const QJsonObject &item, const std::optional<Event> &stored) {
        Event event = CalendarClient::eventFromJson(item, m_calendarId);
        if (event.isOverride())
            event.recurrence_id = keyOf(item);
        if (!event.start_time.isValid())
            return false;
        if (!stored)
            return m_rows.insert(event);
        if (stored->etag == event.etag && stored->recurrence_id == event.recurrence_id)
            return true;
        // A synced row is replaced whole: only a pending one's own reminders
        // and attendees take part in the merge, so only it is read again.
        if (stored->sync_status != SyncStatus::Pending)
            return m_rows.take(*stored, event);
        const std::optional<Event> full = events->getById(stored->id);
        return full && m_rows.take(*full, event);
    };
    // An item that cannot be stored is recorded and waits for its next
    // version; it neither fails every run nor holds up the others.
    const QHash<QString, QString> unreadable = problems ? problems->unreadableItems() : QHash<QString, QString>();
    const auto upsert = [&](const QJsonObject &item, const std::optional<Event> &stored) {
        const QString id = item.value("id"_L1).toString();
        const QString version = item.value("changeKey"_L1).toString();
        if (problems && unreadable.contains(id) && unreadable.value(id) == version)
            return;
        if (write(item, stored)) {
            ++applied.upserted;
            if (problems && unreadable.contains(id))
                problems->readable(id);
        } else if (problems) {
            problems->unreadable(id, version,
                                 QCoreApplication::translate("Microsoft::EventStore",
                                                             "The event could not be stored here."));
        } else {
            ++applied.failed;
        }
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
            liveKeys.insert(overrideKey(series, keyOf(item)));
        }
    }

    QHash<QString, Series> touched;
    for (const QString &uid : gone)
        dropSeries(uid);
    for (const QJsonObject &item : masters) {
        const Event mapped = CalendarClient::eventFromJson(item, m_calendarId);
        Series series;
        series.item = item;
        series.stored = index.masters.contains(mapped.uid)
            ? std::optional<Event>(index.masters.value(mapped.uid))
            : events->getByUidAndRecurrenceId(mapped.uid, m_calendarId, QString());
        const QJsonObject old = series.stored ? rawOf(*series.stored) : QJsonObject();
        series.instances = old.value(kInstances).toObject();
        series.exdates = stringsOf(old.value(kExdates));
        // Graph drops a series' exceptions when its pattern or times change,
        // and lists every instance anew.
        const std::optional<Event> &stored = series.stored;
        series.ruleChanged = stored && stored->sync_status != SyncStatus::Pending
            && (stored->recurrence_rule != mapped.recurrence_rule || stored->start_time != mapped.start_time);
        if (series.ruleChanged) {
            series.instances = {};
            series.exdates.clear();
            for (const Event &row : index.overrides) {
                if (row.master_event_uid == mapped.uid && row.sync_status != SyncStatus::Pending)
                    drop(row);
            }
        }
        touched.insert(mapped.uid, series);
    }

    const auto exclude = [&](const QString &uid, const QString &key) {
        if (!touched.contains(uid) || touched[uid].ruleChanged || liveKeys.contains(overrideKey(uid, key))
            || !onRule(CalendarClient::eventFromJson(touched[uid].item, m_calendarId), key))
            return;
        Series &series = touched[uid];
        if (!series.exdates.contains(key))
            series.exdates.append(key);
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

    dropGathered();
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
            std::optional<Event> stored = index.byProvider.contains(id)
                ? std::optional<Event>(index.byProvider.value(id))
                : events->getByUid(id, m_calendarId);
            if (!stored)
                stored = madeHere(item);
            upsert(item, stored);
            continue;
        }
        if (!touched.contains(uid))
            continue; // its master is gone
        Series &series = touched[uid];
        const QString key = keyOf(item);
        series.instances.insert(id, key);
        series.exdates.removeAll(key);
        std::optional<Event> stored = index.overrides.contains(overrideKey(uid, key))
            ? std::optional<Event>(index.overrides.value(overrideKey(uid, key)))
            : events->getByUidAndRecurrenceId(uid, m_calendarId, key);
        // An exception stored under another key (an all-day one keyed by the
        // day before, as earlier versions did east of UTC) is still that
        // exception: it takes the key it has now.
        const Event known = index.byProvider.value(id);
        if (!stored && known.isOverride() && known.master_event_uid == uid)
            stored = known;
        if (item.value("type"_L1).toString() == "exception"_L1) {
            upsert(item, stored);
        } else if (stored && stored->sync_status != SyncStatus::Pending && stored->provider_event_id == id) {
            // An exception that went back to being a plain occurrence.
            drop(*stored);
        }
    }

    // A complete round lists every instance in its window: one the rule has
    // there and the round does not list was cancelled meanwhile. Only when
    // the round's instances fall on the rule as read here at all.
    if (from.isValid()) {
        for (auto it = touched.begin(); it != touched.end(); ++it) {
            const Event master = CalendarClient::eventFromJson(it->item, m_calendarId);
            QStringList missing;
            bool agrees = false;
            for (const QString &key : startKeys(master, from, to)) {
                const bool listed = liveKeys.contains(overrideKey(it.key(), key));
                agrees = agrees || listed;
                if (!listed)
                    missing.append(key);
            }
            if (!agrees)
                continue;
            for (const QString &key : std::as_const(missing)) {
                if (!it->exdates.contains(key))
                    it->exdates.append(key);
                const Event row = index.overrides.value(overrideKey(it.key(), key));
                if (!row.id.isEmpty() && row.sync_status != SyncStatus::Pending)
                    drop(row);
            }
        }
    }

    dropGathered();
    // The master keeps, with the server's copy, the instances the view
    // showed and the occurrences gone from it.
    for (const Series &series : std::as_const(touched)) {
        QJsonObject item = series.item;
        item.insert(kInstances, series.instances);
        item.insert(kExdates, QJsonArray::fromStringList(series.exdates));
        const Event mapped = CalendarClient::eventFromJson(item, m_calendarId);
        if (!series.stored) {
            count(mapped.start_time.isValid() && m_rows.insert(mapped));
            continue;
        }
        const std::optional<Event> full = events->getById(series.stored->id);
        count(full && m_rows.take(*full, mapped));
    }

    if (from.isValid() && applied.failed == 0)
        applied.tombstoned += prune(listedIds, listedSeries, from, to);

    return applied;
}

std::optional<Event> EventStore::madeHere(const QJsonObject &item) const
{
    // An insert whose answer never arrived: the event it made names the row
    // by its transactionId, and that row takes its identity rather than
    // coming in as a second copy. The row stays pending for what it has
    // that the server may not.
    const QString asked = item.value("transactionId"_L1).toString();
    const std::optional<Event> row = asked.isEmpty() ? std::nullopt : m_store.events->getById(asked);
    if (!row || row->calendar_id != m_calendarId || !row->provider_event_id.isEmpty() || row->isOverride())
        return std::nullopt;
    const QString id = item.value("id"_L1).toString();
    const QString changeKey = item.value("changeKey"_L1).toString();
    if (!ProviderEventRepository(m_store.database).setServerIdentity(row->id, id, changeKey))
        return std::nullopt;
    return m_store.events->getById(row->id);
}

int EventStore::prune(const QSet<QString> &listedIds, const QSet<QString> &listedSeries, const QDateTime &from,
                      const QDateTime &to)
{
    // What a complete round over [from, to) does not list is gone there:
    // synced single events inside it, and synced series of which an
    // instance once fell inside it. Pending rows stay and are sent.
    EventRepository *events = m_store.events;
    int dropped = 0;
    const auto inWindow = [&](const QDateTime &start) { return start.isValid() && start >= from && start < to; };
    const QList<Event> rows = events->getByCalendar(m_calendarId);
    for (const Event &row : rows) {
        if (row.sync_status == SyncStatus::Pending || row.provider_event_id.isEmpty() || row.isOverride())
            continue;
        bool stale = false;
        if (row.recurrence_rule.isEmpty()) {
            stale = !listedIds.contains(row.provider_event_id) && inWindow(row.start_time);
        } else if (!listedSeries.contains(row.uid)) {
            const QJsonObject known = rawOf(row).value(kInstances).toObject();
            for (const QJsonValue &key : known)
                stale = stale || inWindow(ExceptionKey::startOf(row, key.toString()));
        }
        if (!stale)
            continue;
        for (const Event &other : rows) {
            if (other.isOverride() && other.master_event_uid == row.uid && other.sync_status != SyncStatus::Pending
                && events->hardDelete(other.id))
                m_rows.gone(other.provider_event_id);
        }
        if (events->hardDelete(row.id)) {
            m_rows.gone(row.provider_event_id);
            ++dropped;
        }
    }
    return dropped;
}

ProviderRows::Update EventStore::changes(const Event &row, const Event *series, QString *problem) const
{
    ProviderRows::Update out;
    const QJsonObject mine = CalendarClient::eventToJson(row, problem);
    if (problem && !problem->isEmpty())
        return out;
    if (!row.provider_event_id.isEmpty())
        return m_rows.update(row);
    if (!row.isOverride() || !series)
        return {mine, QString(), {}};
    // An occurrence not yet changed there is what its series says at its
    // original start.
    Event base = *series;
    base.recurrence_rule.clear();
    base.exception_dates.clear();
    const QDateTime original = ExceptionKey::startOf(*series, row.recurrence_id);
    if (base.end_time)
        base.end_time = original.addSecs(base.start_time.secsTo(*base.end_time));
    base.start_time = original;
    Event local = row;
    local.raw_icalendar = base.raw_icalendar;
    out.body = ProviderRows::changes(CalendarClient::eventToJson(base), CalendarClient::eventToJson(local));
    out.body.remove("recurrence"_L1);
    return out;
}

void EventStore::written(Event &row, const QJsonObject &resource)
{
    // The row's resource is the server's answer, with what the master
    // keeps of its view.
    QJsonObject raw = resource;
    const QJsonObject old = rawOf(row);
    for (const QLatin1StringView key : {kInstances, kExdates}) {
        if (old.contains(key))
            raw.insert(key, old.value(key));
    }
    row.raw_icalendar = compact(raw);
    m_rows.written(row.provider_event_id, raw);
}

QStringList EventStore::newExclusions(const Event &master)
{
    const QStringList server = stringsOf(rawOf(master).value(kExdates));
    QStringList out;
    for (const QString &key : datesOf(master.exception_dates)) {
        if (!ExceptionKey::listed(master, server, key))
            out.append(key);
    }
    return out;
}

QString EventStore::knownInstance(const Event &master, const QString &originalStart)
{
    const QJsonObject known = rawOf(master).value(kInstances).toObject();
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (ExceptionKey::listed(master, {it.value().toString()}, originalStart))
            return it.key();
    }
    return QString();
}

void EventStore::excluded(Event &master, const QString &originalStart)
{
    QJsonObject raw = rawOf(master);
    QStringList server = stringsOf(raw.value(kExdates));
    if (!ExceptionKey::listed(master, server, originalStart))
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
