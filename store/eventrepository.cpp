#include "eventrepository.h"

#include "calendarfilter.h"
#include "changecoalescer.h"
#include "database.h"
#include "eventchildrows.h"
#include "eventrowwriter.h"
#include "recordnames.h"
#include "sqlitestatement.h"
#include "storesql.h"
#include "storetransaction.h"
#include "timeutil.h"
#include "timewindow.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <limits>
#include <numeric>
#include <string_view>

using namespace StoreSql;

namespace {

const QLatin1String
    kColumns("id, calendar_id, uid, provider_event_id, etag, href, title, description, location, "
             "geo_location, start_time, end_time, is_all_day, timezone, recurrence_rule, "
             "recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, event_url, "
             "conference_url, organizer_email, organizer_name, sequence, raw_icalendar, color, created, "
             "last_modified, sync_status, deleted_at");
// The columns a view draws, filters test and expansion needs, at the same
// places as in kColumns (the others NULL), all in idx_events_view: the
// window's rows are read from that index alone.
const QLatin1String
    kViewColumns("id, calendar_id, uid, provider_event_id, NULL, NULL, title, description, location, NULL, "
                 "start_time, end_time, is_all_day, timezone, recurrence_rule, recurrence_dates, exception_dates, "
                 "recurrence_id, master_event_uid, status, NULL, NULL, NULL, NULL, NULL, NULL, color, NULL, NULL, "
                 "NULL, NULL");
// The columns a provider's sync round matches rows by and writes back, at
// the same places (the raw text only where a series or exception dates need
// it): a round over thousands of rows reads no text it does not use.
const QLatin1String
    kSyncColumns("id, calendar_id, uid, provider_event_id, etag, NULL, NULL, NULL, NULL, NULL, start_time, NULL, "
                 "is_all_day, timezone, recurrence_rule, NULL, exception_dates, recurrence_id, master_event_uid, "
                 "NULL, NULL, NULL, NULL, NULL, NULL, CASE WHEN recurrence_rule > '' OR exception_dates GLOB "
                 "'*[0-9]*' THEN raw_icalendar END, NULL, created, NULL, sync_status, deleted_at");
constexpr int kStartColumn = 10;
constexpr int kEndColumn = 11;
constexpr int kAllDayColumn = 12;
constexpr int kRuleColumn = 14;
constexpr int kDatesColumn = 15;
constexpr int kRecurrenceIdColumn = 17;
constexpr int kMasterUidColumn = 18;

// Zones by IANA id for one query: building a QTimeZone reads the zone
// database, far too slow to repeat for every row.
class ZoneCache
{
public:
    struct Zone
    {
        QTimeZone zone;
        // Instants already shown in it: rows start and end on the same
        // hours again and again, and each conversion looks the offset up.
        QHash<qint64, QDateTime> shown;
    };

    // Valid until the next zone is added.
    Zone &zone(const QString &id)
    {
        auto it = m_zones.find(id);
        if (it == m_zones.end())
            it = m_zones.insert(id, Zone{QTimeZone(id.toUtf8()), {}});
        return it.value();
    }

    // The valid time `at` in the valid zone `zone`.
    static QDateTime shown(Zone &zone, const QDateTime &at)
    {
        const qint64 ms = at.toMSecsSinceEpoch();
        auto it = zone.shown.constFind(ms);
        if (it == zone.shown.constEnd())
            it = zone.shown.insert(ms, at.toTimeZone(zone.zone));
        return it.value();
    }

private:
    QHash<QString, Zone> m_zones;
};

// A row's start and end, read once for both the window test and the record.
struct RowSpan
{
    QDateTime start;
    std::optional<QDateTime> end;
};

RowSpan readSpan(const SqliteStatement &q)
{
    return {readTime(q.utf8(kStartColumn)), readOptionalTime(q.utf8(kEndColumn))};
}

// Fills the default record `e` from the row `q`: every column, or with
// `viewOnly` those kViewColumns reads (the others are NULL there, and read
// as NULL would). A calendar already set is the row's, read by the caller.
void fillEvent(Event &e, const SqliteStatement &q, ZoneCache &zones, QString id, RowSpan span, bool viewOnly)
{
    e.id = std::move(id);
    if (e.calendar_id.isNull())
        e.calendar_id = q.sharedText(1);
    e.uid = q.text(2);
    e.provider_event_id = q.text(3);
    e.title = q.text(6);
    e.description = q.text(7);
    e.location = q.text(8);
    e.start_time = std::move(span.start);
    e.end_time = std::move(span.end);
    e.is_all_day = q.integer(kAllDayColumn) != 0;
    e.timezone = q.sharedText(13);
    // Series share a handful of rules.
    e.recurrence_rule = q.sharedText(kRuleColumn);
    e.recurrence_dates = q.text(kDatesColumn);
    e.exception_dates = q.text(16);
    e.recurrence_id = q.text(kRecurrenceIdColumn);
    e.master_event_uid = q.text(kMasterUidColumn);
    e.status = q.sharedText(19);
    e.color = q.sharedText(26);
    if (viewOnly) {
        e.sync_status = QString();
    } else {
        e.etag = q.text(4);
        e.href = q.text(5);
        e.geo_location = q.text(9);
        e.event_url = q.text(20);
        e.conference_url = q.text(21);
        e.organizer_email = q.text(22);
        e.organizer_name = q.text(23);
        e.sequence = q.integer(24);
        e.raw_icalendar = q.text(25);
        e.created = readTime(q.utf8(27));
        e.last_modified = readTime(q.utf8(28));
        e.sync_status = q.sharedText(29);
        e.deleted_at = readOptionalTime(q.utf8(30));
    }

    // The same instants, shown in the event's own zone.
    if (!e.timezone.isEmpty() && e.timezone != QLatin1String("UTC")) {
        ZoneCache::Zone &zone = zones.zone(e.timezone);
        if (zone.zone.isValid() && e.start_time.isValid()) {
            e.start_time = ZoneCache::shown(zone, e.start_time);
            if (e.end_time && e.end_time->isValid())
                e.end_time = ZoneCache::shown(zone, *e.end_time);
        }
    }
}

Event rowToEvent(const SqliteStatement &q, ZoneCache &zones, QString id, RowSpan span)
{
    Event e;
    fillEvent(e, q, zones, std::move(id), std::move(span), false);
    return e;
}

// `value`, or the constant equal to it: a constant's copies count no
// references, and a kept row is copied at every read.
QString constantFor(const QString &value, std::initializer_list<const QString *> constants)
{
    for (const QString *constant : constants) {
        if (value == *constant)
            return *constant;
    }
    return value;
}

// The fields of kViewColumns of a standing row `e`, and its raw text, where
// expansion finds the zone a series defines and the start it wrote.
Event viewFields(const Event &e)
{
    Event view;
    view.id = e.id;
    view.calendar_id = e.calendar_id;
    view.uid = e.uid;
    view.provider_event_id = e.provider_event_id;
    view.title = e.title;
    view.description = e.description;
    view.location = e.location;
    view.start_time = e.start_time;
    view.end_time = e.end_time;
    view.is_all_day = e.is_all_day;
    const QString utc = QStringLiteral("UTC");
    view.timezone = constantFor(e.timezone, {&utc});
    view.recurrence_rule = e.recurrence_rule;
    view.recurrence_dates = e.recurrence_dates;
    view.exception_dates = e.exception_dates;
    view.recurrence_id = e.recurrence_id;
    view.master_event_uid = e.master_event_uid;
    view.status = constantFor(e.status, {&EventStatus::Confirmed, &EventStatus::Tentative, &EventStatus::Cancelled});
    view.color = e.color;
    view.raw_icalendar = e.raw_icalendar;
    return view;
}

// Runs a SELECT of `columns` (kColumns or kViewColumns) and hands each row to
// `visit`; a failure is logged as `operation`.
template<typename Visit>
void forEachRowOf(Database &db, QLatin1String columns, const char *operation, const QString &from,
                  const QVariantList &values, Visit visit)
{
    const auto statement = db.statement(QStringLiteral("SELECT %1 FROM events ").arg(columns) + from);
    if (!statement || !statement->start(values))
        return;
    const SqliteStatement::Run run(*statement);
    while (statement->next(operation))
        visit(*statement);
}

// Runs a SELECT of the event columns and hands each row to `visit`; a failure
// is logged as `operation`.
template<typename Visit>
void forEachRow(Database &db, const char *operation, const QString &whereAndOrder, const QVariantList &values,
                Visit visit)
{
    forEachRowOf(db, kColumns, operation, whereAndOrder, values, visit);
}

// Rows that every window from their start on returns (repeating masters, by
// a rule or by dates alone, and rows without an end) and overrides, which
// every window returns. The same terms as the statements that read them for
// the cache, and as the partial indexes those statements use.
const QLatin1String kOpenEndedTerm("((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR end_time IS NULL)");
const QLatin1String kDatedTerm("recurrence_dates GLOB '*[0-9]*'");
const QLatin1String kOverrideTerm("master_event_uid > '' AND recurrence_id > ''");
// A window's own rows, by two index ranges (see rangeRows): rows starting
// near it, bound (lower, upper), and rows longer than a day still running at
// its start, bound (end after, start before).
const QLatin1String kStartsNearTerm("start_time >= ? AND start_time < ?");
const QLatin1String
    kRunsLongTerm("julianday(end_time) - julianday(start_time) > 1 AND end_time > ? AND start_time < ?");
// The events the change log names in (version, version].
const QLatin1String kChangedTerm("id IN (SELECT event_id FROM events_changes WHERE version > ? AND version <= ?)");

bool isOverride(const SqliteStatement &q)
{
    return !q.utf8(kMasterUidColumn).isEmpty() && !q.utf8(kRecurrenceIdColumn).isEmpty();
}

// "[]" and blanks hold no date, as the expansion reads them.
bool hasDates(const SqliteStatement &q)
{
    const QUtf8StringView dates = q.utf8(kDatesColumn);
    return std::any_of(dates.begin(), dates.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isStanding(const SqliteStatement &q)
{
    return !q.utf8(kRuleColumn).isEmpty() || q.isNull(kEndColumn) || isOverride(q) || hasDates(q);
}

// Whether one of the window's own rows (not standing: no rule, an end
// column, no override) belongs to it: a timed row on its instants, an
// all-day row on the dates of its stored text. Decided on the few columns it
// needs, before the whole row is read.
bool inWindow(const TimeWindow &window, const SqliteStatement &q, const RowSpan &span)
{
    if (q.integer(kAllDayColumn) != 0) {
        const QDate start = TimeUtil::storedDate(q.utf8(kStartColumn));
        const QDate end = TimeUtil::storedDate(q.utf8(kEndColumn));
        if (!start.isValid())
            return false;
        if (!end.isValid())
            return window.overlapsDays(start, window.endDay());
        // An all-day event covers at least its first day.
        return window.overlapsDays(start, std::max(end, start.addDays(1)));
    }
    const QDateTime &start = span.start;
    if (!start.isValid())
        return false;
    if (!span.end)
        return window.startsBeforeEnd(start);
    // An end that cannot be read counts as none at all: a moment at the start.
    const QDateTime &end = *span.end;
    return window.overlaps(start, end.isValid() ? end : start);
}

// The window's own rows as they are read, in blocks that stay where they
// are: one list of megabytes, grown by doubling, copies itself again and
// again.
class OwnRows
{
public:
    Event &emplaceBack()
    {
        if (m_blocks.empty() || m_blocks.back().size() == kBlock) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(kBlock);
        }
        ++m_size;
        return m_blocks.back().emplaceBack();
    }
    qsizetype size() const { return m_size; }
    Event &operator[](qsizetype i) { return m_blocks[size_t(i / kBlock)][i % kBlock]; }
    const Event &at(qsizetype i) const { return m_blocks[size_t(i / kBlock)].at(i % kBlock); }
    // For the child rows, read by chunks of kInListChunk: whole chunks in
    // every block but the last, as in one list.
    std::vector<QList<Event>> &blocks() { return m_blocks; }

private:
    static constexpr qsizetype kBlock = 4 * kInListChunk;
    std::vector<QList<Event>> m_blocks;
    qsizetype m_size = 0;
};

// The window's own rows and the standing rows that belong to it (picked in
// their order), merged in one list by instant. The keys come from the
// stored times, as the records' times may be in a zone, where each
// conversion looks the offset up again. The result is built once: a month
// over a large store is megabytes of records.
// Where each merged row came from: its sort key, and whether it is one of
// the window's own rows rather than a standing one.
struct MergeOrigin
{
    QList<qint64> keys;
    std::vector<bool> own;
};

QList<Event> mergeByStart(OwnRows &own, const QList<qint64> &ownKeys, const QList<Event> &standing,
                          const QList<std::pair<qint64, qsizetype>> &standingPicked, MergeOrigin *origin = nullptr)
{
    // Events that start together come by id: the kept rows' own order
    // depends on the windows read before, and a list must not reshuffle
    // between two looks at the same window.
    struct Slot
    {
        qint64 key;
        const QString *id;
        qsizetype index;
    };
    const auto before = [](qint64 keyA, const QString &idA, qint64 keyB, const QString &idB) {
        return keyA != keyB ? keyA < keyB : idA < idB;
    };
    const auto slotBefore = [&](const Slot &a, const Slot &b) { return before(a.key, *a.id, b.key, *b.id); };
    std::vector<Slot> ownOrder;
    ownOrder.reserve(size_t(own.size()));
    for (qsizetype i = 0; i < own.size(); ++i)
        ownOrder.push_back({ownKeys.at(i), &own.at(i).id, i});
    // The first statement gives most rows by start already.
    if (!std::is_sorted(ownOrder.cbegin(), ownOrder.cend(), slotBefore))
        std::sort(ownOrder.begin(), ownOrder.end(), slotBefore);
    QList<Event> merged;
    merged.reserve(own.size() + standingPicked.size());
    if (origin) {
        origin->keys.reserve(merged.capacity());
        origin->own.reserve(size_t(merged.capacity()));
    }
    auto mine = ownOrder.cbegin();
    auto kept = standingPicked.cbegin();
    while (mine != ownOrder.cend() || kept != standingPicked.cend()) {
        const bool takeOwn = kept == standingPicked.cend()
            || (mine != ownOrder.cend() && before(mine->key, *mine->id, kept->first, standing.at(kept->second).id));
        if (origin) {
            origin->keys.append(takeOwn ? mine->key : kept->first);
            origin->own.push_back(takeOwn);
        }
        if (takeOwn)
            merged.append(std::move(own[(mine++)->index]));
        else
            merged.append(standing.at((kept++)->second));
    }
    return merged;
}

// The sort key of a start that cannot be read: before every other.
constexpr qint64 kNoStart = std::numeric_limits<qint64>::min();

qint64 sortKey(const QDateTime &start)
{
    return start.isValid() ? start.toMSecsSinceEpoch() : kNoStart;
}

// The rows expansion repeats (a rule or dates), and overrides, in terms that
// hold for NULL columns too, so that their negation does.
const QLatin1String
    kRepeatsTerm("(COALESCE(recurrence_rule, '') != '' OR COALESCE(recurrence_dates, '') GLOB '*[0-9]*')");
const QLatin1String kIsOverrideTerm("(COALESCE(master_event_uid, '') > '' AND COALESCE(recurrence_id, '') > '')");
const QLatin1String kTextTerm("text_contains(?, title, location, description)");
// A search of a longer window reads the whole table rather than an index.
constexpr qint64 kIndexedSearchDays = 400;

// A list bound as one value, read in SQL through json_each.
QString jsonList(const QStringList &values)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

// A one-off row the search lists for the window, from its stored times: as
// a range query would, but a row without an end is a moment at its start
// (or its one day).
bool inSearchWindow(const TimeWindow &window, bool allDay, QUtf8StringView start, QUtf8StringView end)
{
    if (allDay) {
        const QDate first = TimeUtil::storedDate(start);
        const QDate last = end.isEmpty() ? QDate() : TimeUtil::storedDate(end);
        return first.isValid() && window.overlapsDays(first, std::max(last, first.addDays(1)));
    }
    const QDateTime startTime = readTime(start);
    if (!startTime.isValid())
        return false;
    if (end.isEmpty())
        return window.contains(startTime);
    const QDateTime endTime = readTime(end);
    return window.overlaps(startTime, endTime.isValid() ? endTime : startTime);
}

// The ids of the events the change log names after `since` up to
// `version`; nothing when the log was pruned past `since`, or when so many
// changed (an import, a first pull) that reading everything is as quick.
std::optional<QSet<QString>> changedSince(Database &db, qint64 since, qint64 version)
{
    constexpr qint64 kMostChanges = 4096;
    if (version < since || version - since > kMostChanges)
        return std::nullopt;
    const auto log = db.statement(
        QStringLiteral("SELECT event_id FROM events_changes WHERE version > ? AND version <= ?"));
    if (!log || !log->start({since, version}))
        return std::nullopt;
    QSet<QString> changed;
    qint64 entries = 0;
    const SqliteStatement::Run run(*log);
    while (log->next("EventRepository::getInRange")) {
        changed.insert(log->text(0));
        ++entries;
    }
    // One entry per step of the counter; fewer means the log was pruned
    // past `since`.
    if (log->failed() || entries != version - since)
        return std::nullopt;
    return changed;
}

} // namespace

// The connection and the events' change counter (kept by triggers on the
// events, reminders and attendees tables, whoever writes them) rows were
// read at, and the system zone, in which times stored without a zone are
// read.
struct EventRepository::RowsStamp
{
    quint64 connection = 0;
    QByteArray systemZone;
    qint64 version = 0;
    bool operator==(const RowsStamp &other) const { return follows(other) && version == other.version; }
    // Rows read at `other` are brought here by the change log.
    bool follows(const RowsStamp &other) const
    {
        return connection == other.connection && systemZone == other.systemZone;
    }
};

std::optional<EventRepository::RowsStamp> EventRepository::currentStamp() const
{
    const std::optional<qint64> counter = changeCounter();
    if (!counter)
        return std::nullopt;
    return RowsStamp{m_database->connectionId(), QTimeZone::systemTimeZoneId(), *counter};
}

// In a store with years of history the repeating masters that started
// before a window are most of the rows a month returns, and every window
// returns them again; they are kept here with their children, with what a
// window test needs, and read again only once the events have changed.
struct EventRepository::StandingRows
{
    using Stamp = RowsStamp;

    struct Key
    {
        bool always = false; // an override
        bool allDay = false;
        QDate startDay; // all-day rows: the date of the stored text
        qint64 sortMs = kNoStart;
    };

    Stamp stamp;
    // Open-ended rows starting before this bound (stored text) are read, and
    // every override.
    QString coveredUpper;
    QList<Event> events;
    QList<Key> keys;
    QSet<QString> ids;
    QList<Event> views; // the first of `events` as viewRows gives them
    QList<qsizetype> byStart; // see inOrder; stale when sized otherwise

    // Reads the standing row `q` unless it is kept already: the record into
    // `added`, its window key into `addedKeys` (children are loaded for the
    // batch before it joins the kept rows).
    void take(const SqliteStatement &q, ZoneCache &zones, QList<Event> &added, QList<Key> &addedKeys)
    {
        QString id = q.text(0);
        if (ids.contains(id))
            return;
        ids.insert(id);
        Key key;
        key.always = isOverride(q);
        key.allDay = q.integer(kAllDayColumn) != 0;
        RowSpan span = readSpan(q);
        key.sortMs = sortKey(span.start);
        if (key.allDay)
            key.startDay = TimeUtil::storedDate(q.utf8(kStartColumn));
        added.append(rowToEvent(q, zones, std::move(id), std::move(span)));
        addedKeys.append(key);
    }

    // Lets go of the rows of `gone`. Most writes touch no kept row, and
    // those that do touch few: the lists are compacted in place, not built
    // again.
    void drop(const QSet<QString> &gone)
    {
        if (std::none_of(gone.cbegin(), gone.cend(), [this](const QString &id) { return ids.contains(id); }))
            return;
        qsizetype kept = 0;
        qsizetype keptViews = 0;
        for (qsizetype i = 0; i < events.size(); ++i) {
            if (gone.contains(events.at(i).id)) {
                ids.remove(events.at(i).id);
                continue;
            }
            if (kept != i) {
                events[kept] = std::move(events[i]);
                keys[kept] = keys.at(i);
                if (i < views.size())
                    views[kept] = std::move(views[i]);
            }
            if (i < views.size())
                ++keptViews;
            ++kept;
        }
        events.resize(kept);
        keys.resize(kept);
        views.resize(keptViews);
        byStart.clear();
    }

    // The rows' positions by start, then id (the order of a range's rows),
    // sorted once per change rather than at every read.
    const QList<qsizetype> &inOrder()
    {
        if (byStart.size() == events.size())
            return byStart;
        byStart.resize(events.size());
        std::iota(byStart.begin(), byStart.end(), qsizetype(0));
        std::sort(byStart.begin(), byStart.end(), [this](qsizetype a, qsizetype b) {
            const qint64 keyA = keys.at(a).sortMs;
            const qint64 keyB = keys.at(b).sortMs;
            return keyA != keyB ? keyA < keyB : events.at(a).id < events.at(b).id;
        });
        return byStart;
    }

    // The rows as a view reads them (viewFields), made once per kept row
    // rather than at every read: `views` runs parallel to `events`.
    const QList<Event> &viewRows()
    {
        views.reserve(events.size());
        for (qsizetype i = views.size(); i < events.size(); ++i)
            views.append(viewFields(events.at(i)));
        return views;
    }

    // Overrides belong to every window, the others to every window that
    // ends after they start.
    bool inWindow(const TimeWindow &window, qsizetype i) const
    {
        const Key &key = keys.at(i);
        if (key.always)
            return true;
        if (key.allDay)
            return key.startDay.isValid() && window.overlapsDays(key.startDay, window.endDay());
        return key.sortMs != kNoStart && window.startsBeforeEnd(key.sortMs);
    }
};

// A window a view read, as it was at the events' change counter. Views read
// the same windows again after every save and every pull, and a write
// leaves every row it does not name as it was: the rows are brought up to
// date by the change log rather than read anew.
struct EventRepository::KeptWindow
{
    // What the rows depend on besides the store (and the system zone, in
    // the stamp): the window's instants and days, and the calendars.
    qint64 fromMs = 0;
    qint64 toMs = 0;
    QDate firstDay;
    QDate endDay;
    QStringList calendarIds;
    StandingRows::Stamp stamp;
    QList<Event> rows;
    MergeOrigin origin;

    bool isFor(const TimeWindow &window, const QStringList &calendars) const
    {
        return fromMs == window.from().toMSecsSinceEpoch() && toMs == window.to().toMSecsSinceEpoch()
            && firstDay == window.firstDay() && endDay == window.endDay() && calendarIds == calendars;
    }
};

EventRepository::EventRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_changes(new ChangeCoalescer(this))
{
    connect(m_changes, &ChangeCoalescer::fired, this, &EventRepository::eventsChanged);
}

EventRepository::~EventRepository() = default;

std::optional<qint64> EventRepository::changeCounter() const
{
    const auto counter = m_database->statement(QStringLiteral("SELECT COALESCE(MAX(version), 0) FROM events_changes"));
    if (!counter)
        return std::nullopt;
    const SqliteStatement::Run run(*counter);
    if (!counter->start({}) || !counter->next("EventRepository::changeCounter"))
        return std::nullopt;
    return counter->integer64(0);
}

EventRepository::StandingRows &EventRepository::standingRows(const QString &upper, bool mayKeep,
                                                             const std::optional<RowsStamp> &stamp) const
{
    Database &db = *m_database;
    StandingRows *rows = m_standing.get();
    // Kept rows that only some events changed since: those few are read
    // again rather than every repeating series with its children.
    if (rows && stamp && mayKeep && !(rows->stamp == *stamp) && stamp->follows(rows->stamp)
        && readChanged(*rows, stamp->version))
        rows->stamp = *stamp;
    const bool current = rows && stamp && rows->stamp == *stamp;
    if (current && upper <= rows->coveredUpper)
        return *rows;
    // Unchanged since read but the window lies further on: only the
    // open-ended rows starting between the two bounds are missing.
    // Empty but not null: a null string binds as NULL, which matches nothing.
    QString from = QStringLiteral("");
    if (current) {
        from = rows->coveredUpper;
    } else {
        // Rows read inside a caller's transaction may yet be rolled back:
        // they serve this query only. Without a stamp nothing is kept either.
        auto fresh = std::make_unique<StandingRows>();
        if (stamp)
            fresh->stamp = *stamp;
        std::unique_ptr<StandingRows> &slot = mayKeep && stamp ? m_standing : m_scratchStanding;
        slot = std::move(fresh);
        rows = slot.get();
    }

    QList<Event> added;
    QList<StandingRows::Key> keys;
    ZoneCache zones;
    const auto keep = [&](const SqliteStatement &q) { rows->take(q, zones, added, keys); };
    const char *operation = "EventRepository::getInRange";
    const QString live = QStringLiteral(" AND deleted_at IS NULL");
    for (const QLatin1String &term : {kOpenEndedTerm, kDatedTerm}) {
        forEachRow(db, operation, QStringLiteral("WHERE %1 AND start_time >= ? AND start_time < ?").arg(term) + live,
                   {from, upper}, keep);
    }
    if (!current)
        forEachRow(db, operation, QStringLiteral("WHERE %1").arg(kOverrideTerm) + live, {}, keep);
    EventChildRows::loadRemindersForEvents(db, added);
    EventChildRows::loadAttendeesForEvents(db, added);
    rows->events += std::move(added);
    rows->byStart.clear();
    rows->keys += keys;
    rows->coveredUpper = upper;
    return *rows;
}

bool EventRepository::readChanged(StandingRows &rows, qint64 version) const
{
    const qint64 since = rows.stamp.version;
    Database &db = *m_database;
    const char *operation = "EventRepository::getInRange";
    const std::optional<QSet<QString>> changed = changedSince(db, since, version);
    if (!changed)
        return false;
    rows.drop(*changed);
    QList<Event> added;
    QList<StandingRows::Key> keys;
    ZoneCache zones;
    const QByteArray upperText = rows.coveredUpper.toUtf8();
    const std::string_view upper(upperText.constData(), size_t(upperText.size()));
    // The same rows the statements of standingRows read: overrides, and
    // the other standing rows that start before the covered bound.
    const auto keep = [&](const SqliteStatement &q) {
        if (!isStanding(q) || q.isNull(kStartColumn))
            return;
        const QUtf8StringView start = q.utf8(kStartColumn);
        if (!isOverride(q) && !(std::string_view(start.data(), size_t(start.size())) < upper))
            return;
        rows.take(q, zones, added, keys);
    };
    forEachRow(db, operation, QStringLiteral("WHERE %1 AND deleted_at IS NULL").arg(kChangedTerm), {since, version},
               keep);
    EventChildRows::loadRemindersForEvents(db, added);
    EventChildRows::loadAttendeesForEvents(db, added);
    // drop() lets go of the order when it drops a row; most writes leave
    // the kept rows as they are, and their order with them.
    if (!added.isEmpty())
        rows.byStart.clear();
    rows.events += std::move(added);
    rows.keys += keys;
    return true;
}

QList<Event> EventRepository::select(const char *operation, const QString &whereAndOrder,
                                     const QVariantList &values) const
{
    QList<Event> events;
    ZoneCache zones;
    forEachRow(*m_database, operation, whereAndOrder, values,
               [&](const SqliteStatement &q) { events.append(rowToEvent(q, zones, q.text(0), readSpan(q))); });
    return events;
}

QList<Event> EventRepository::getByCalendar(const QString &calendarId) const
{
    // One read transaction for the rows and their children.
    StoreTransaction snapshot(m_database);
    QList<Event> events = select("EventRepository::getByCalendar",
                                 QStringLiteral("WHERE calendar_id = ? AND deleted_at IS NULL ORDER BY start_time"),
                                 {calendarId});
    EventChildRows::loadRemindersForEvents(*m_database, events);
    EventChildRows::loadAttendeesForEvents(*m_database, events);
    snapshot.keep();
    return events;
}

QList<Event> EventRepository::getByCalendarWithoutChildren(const QString &calendarId) const
{
    return select("EventRepository::getByCalendarWithoutChildren",
                  QStringLiteral("WHERE calendar_id = ? AND deleted_at IS NULL ORDER BY start_time"), {calendarId});
}

QList<Event> EventRepository::getSyncRowsByCalendar(const QString &calendarId) const
{
    QList<Event> events;
    ZoneCache zones;
    forEachRowOf(*m_database, kSyncColumns, "EventRepository::getSyncRowsByCalendar",
                 QStringLiteral("WHERE calendar_id = ? AND deleted_at IS NULL ORDER BY start_time"), {calendarId},
                 [&](const SqliteStatement &q) { events.append(rowToEvent(q, zones, q.text(0), readSpan(q))); });
    return events;
}

std::optional<Event> EventRepository::getById(const QString &id) const
{
    QList<Event> found = select("EventRepository::getById", QStringLiteral("WHERE id = ?"), {id});
    if (found.isEmpty())
        return std::nullopt;
    Event event = found.takeFirst();
    EventChildRows::loadReminders(*m_database, event);
    EventChildRows::loadAttendees(*m_database, event);
    return event;
}

std::optional<Event> EventRepository::getByUid(const QString &uid, const QString &calendarId) const
{
    // The series before its overrides, which share its UID: callers look
    // for the series this way, and an override may have been stored first.
    const QList<Event> found = select("EventRepository::getByUid",
                                      QStringLiteral("WHERE uid = ? AND calendar_id = ? "
                                                     "ORDER BY COALESCE(recurrence_id, '') LIMIT 1"),
                                      {uid, calendarId});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

std::optional<Event> EventRepository::getByUidAndRecurrenceId(const QString &uid, const QString &calendarId,
                                                              const QString &recurrenceId) const
{
    const QList<Event> found = select("EventRepository::getByUidAndRecurrenceId",
                                      QStringLiteral(
                                          "WHERE uid = ? AND calendar_id = ? AND COALESCE(recurrence_id, '') = "
                                          "COALESCE(?, '')"),
                                      {uid, calendarId, text(recurrenceId)});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<Event> EventRepository::getInRange(const QDateTime &from, const QDateTime &to,
                                         const QStringList &calendarIds) const
{
    return rangeRows(from, to, calendarIds, RangeRows::Full);
}

QList<Event> EventRepository::getViewRowsInRange(const QDateTime &from, const QDateTime &to,
                                                 const QStringList &calendarIds) const
{
    return rangeRows(from, to, calendarIds, RangeRows::View);
}

bool EventRepository::startsMoreThan(const QDateTime &from, const QDateTime &to, int limit) const
{
    const auto count = m_database->statement(
        QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM events WHERE start_time >= ? AND start_time < ? "
                       "AND deleted_at IS NULL LIMIT ?)"));
    if (!count || !count->start({storageText(from.toUTC()), storageText(to.toUTC()), limit + 1}))
        return true;
    const SqliteStatement::Run run(*count);
    return !count->next("EventRepository::startsMoreThan") || count->integer(0) > limit;
}

QList<Event> EventRepository::getStandingInRange(const QDateTime &from, const QDateTime &to,
                                                 const QStringList &calendarIds) const
{
    return rangeRows(from, to, calendarIds, RangeRows::Standing);
}

QList<Event> EventRepository::rangeRows(const QDateTime &from, const QDateTime &to, const QStringList &calendarIds,
                                        RangeRows kind) const
{
    const bool viewOnly = kind == RangeRows::View;
    const TimeWindow window(from, to);
    if (!window.isValid())
        return {};
    const CalendarFilter calendars(calendarIds);
    OwnRows events;
    QList<qint64> startKeys;
    ZoneCache zones;
    const auto keep = [&](const SqliteStatement &q) {
        if (isStanding(q))
            return;
        RowSpan span = readSpan(q);
        if (!inWindow(window, q, span))
            return;
        QString calendar = q.sharedText(1);
        if (!(viewOnly ? calendars.includes(calendar) : calendars.accepts(calendar)))
            return;
        startKeys.append(sortKey(span.start));
        Event &event = events.emplaceBack();
        event.calendar_id = std::move(calendar);
        fillEvent(event, q, zones, q.text(0), std::move(span), viewOnly);
    };

    // Two index ranges instead of every row that starts before the window's
    // end: rows starting within a day of the window (every row up to a day
    // long that overlaps it) and rows longer than a day still running at its
    // start. The calendars narrow the first range through (calendar_id,
    // start_time); the second keeps to its partial index, as the calendars'
    // index would read every row of the calendars up to the window's end,
    // and to the rows the first leaves, so no row comes twice.
    // Repeating masters, rows without an end and overrides come from the
    // standing rows.
    const QString upper = window.upperBoundText();
    const QString lower = window.lowerBoundText();
    const QString nearLower = window.lowerBoundText(2);
    const QString liveOffIndex = QStringLiteral(" AND deleted_at IS NULL")
        + calendars.sqlClause(CalendarFilter::Index::Avoid);
    const QVariantList calendarValues = calendars.values();
    Database &db = *m_database;
    const char *operation = "EventRepository::getInRange";
    // Whether the standing rows read now may be kept: not when a caller's
    // transaction is open, whose writes may yet be rolled back.
    const bool mayKeep = !db.inTransaction();
    // One read transaction for all the statements, rather than one each
    // (the rows and a chunked statement per child table and hundred rows):
    // beginning one takes the WAL read lock, and one snapshot keeps the
    // children consistent with their rows.
    StoreTransaction snapshot(&db);
    // Read in the snapshot of every statement below, so that the counter and
    // the rows agree.
    const std::optional<RowsStamp> stamp = currentStamp();
    // A view's window read before: as it was when nothing changed since,
    // or with only the rows the change log names read again.
    KeptWindow *kept = nullptr;
    std::optional<QSet<QString>> changed;
    if (viewOnly && mayKeep) {
        const auto found = std::find_if(m_keptWindows.begin(), m_keptWindows.end(),
                                        [&](const auto &w) { return w->isFor(window, calendarIds); });
        if (found != m_keptWindows.end()) {
            std::rotate(m_keptWindows.begin(), found, found + 1);
            kept = m_keptWindows.front().get();
        }
        if (kept && stamp && kept->stamp == *stamp) {
            snapshot.keep();
            return kept->rows;
        }
        if (kept && stamp && stamp->follows(kept->stamp))
            changed = changedSince(db, kept->stamp.version, stamp->version);
    }
    // A view's rows come from the covering index alone, whatever the
    // calendar list would have SQLite prefer. Walking that index, SQLite
    // would test each row against the list in a table of its own: the rows'
    // calendars are checked here instead, for less.
    const QLatin1String columns = viewOnly ? kViewColumns : kColumns;
    if (kept && changed) {
        for (qsizetype i = 0; i < kept->rows.size(); ++i) {
            if (kept->origin.own[size_t(i)] && !changed->contains(kept->rows.at(i).id)) {
                events.emplaceBack() = kept->rows.at(i);
                startKeys.append(kept->origin.keys.at(i));
            }
        }
        // The changed rows, on the terms of the two statements below,
        // calendars included.
        forEachRowOf(db, columns, operation,
                     QStringLiteral("WHERE %1 AND ((%2) OR (%3))").arg(kChangedTerm, kStartsNearTerm, kRunsLongTerm)
                         + liveOffIndex,
                     QVariantList{kept->stamp.version, stamp->version, nearLower, upper, lower, nearLower}
                         + calendarValues,
                     keep);
    } else if (kind != RangeRows::Standing) {
        forEachRowOf(db, columns, operation,
                     (viewOnly ? QStringLiteral("INDEXED BY idx_events_view ") : QString())
                         + QStringLiteral("WHERE %1 AND deleted_at IS NULL").arg(kStartsNearTerm)
                         + (viewOnly ? QString() : calendars.sqlClause()),
                     QVariantList{nearLower, upper} + (viewOnly ? QVariantList() : calendarValues), keep);
        forEachRowOf(db, columns, operation, QStringLiteral("WHERE %1").arg(kRunsLongTerm) + liveOffIndex,
                     QVariantList{lower, nearLower} + calendarValues, keep);
    }
    if (kind == RangeRows::Full) {
        for (QList<Event> &block : events.blocks()) {
            EventChildRows::loadRemindersForEvents(db, block);
            EventChildRows::loadAttendeesForEvents(db, block);
        }
    }

    StandingRows &standing = standingRows(upper, mayKeep, stamp);
    QList<std::pair<qint64, qsizetype>> picked;
    for (const qsizetype i : standing.inOrder()) {
        if (standing.inWindow(window, i) && calendars.includes(standing.events.at(i).calendar_id))
            picked.append({standing.keys.at(i).sortMs, i});
    }
    snapshot.keep();
    const bool keepWindow = viewOnly && mayKeep && stamp;
    MergeOrigin origin;
    QList<Event> merged = mergeByStart(events, startKeys, viewOnly ? standing.viewRows() : standing.events, picked,
                                       keepWindow ? &origin : nullptr);
    m_scratchStanding.reset();
    if (keepWindow) {
        // The last few windows: a view's, the week list's and the agenda's.
        constexpr size_t kKeptWindows = 3;
        if (!kept) {
            if (m_keptWindows.size() == kKeptWindows)
                m_keptWindows.pop_back();
            m_keptWindows.insert(m_keptWindows.begin(), std::make_unique<KeptWindow>());
            kept = m_keptWindows.front().get();
            kept->fromMs = window.from().toMSecsSinceEpoch();
            kept->toMs = window.to().toMSecsSinceEpoch();
            kept->firstDay = window.firstDay();
            kept->endDay = window.endDay();
            kept->calendarIds = calendarIds;
        }
        kept->stamp = *stamp;
        kept->rows = merged;
        kept->origin = std::move(origin);
    }
    return merged;
}

// The rows the reminder poll expands, as they were at the events' change
// counter: the poll reads them again after every write, and a write names
// few of them.
struct EventRepository::KeptReminding
{
    StandingRows::Stamp stamp;
    QString upper;
    StandingRows rows;
};

QList<Event> EventRepository::getRemindingSeriesInRange(const QDateTime &from, const QDateTime &to) const
{
    const TimeWindow window(from, to);
    if (!window.isValid())
        return {};
    Database &db = *m_database;
    const char *operation = "EventRepository::getRemindingSeriesInRange";
    const bool mayKeep = !db.inTransaction();
    StoreTransaction snapshot(&db);
    const std::optional<RowsStamp> stamp = currentStamp();
    const QString upper = window.upperBoundText();
    const auto seriesKey = [](const QString &calendar, const QString &uid) {
        return calendar + QLatin1Char('\n') + uid;
    };
    // The masters through the series' index (migration 019), which holds
    // what the test reads: only those with reminders are read from the
    // table.
    const QLatin1String reminding("AND start_time < ? AND deleted_at IS NULL AND COALESCE(recurrence_id, '') = '' "
                                  "AND EXISTS (SELECT 1 FROM reminders WHERE reminders.event_id = events.id)");
    // Series of listed dates alone through the dated index (migration 014):
    // each of their dates reminds, not the first alone. After a write the
    // change log names the few rows to read, both kinds in one statement.
    const QStringList masters = {
        QStringLiteral("WHERE recurrence_rule > '' AND start_time >= '' %1").arg(reminding),
        QStringLiteral("WHERE recurrence_dates GLOB '*[0-9]*' AND COALESCE(recurrence_rule, '') = '' %1").arg(reminding)};
    const QString changedMasters =
        QStringLiteral("WHERE (recurrence_rule > '' OR recurrence_dates GLOB '*[0-9]*') %1").arg(reminding);
    const QString overrides = QStringLiteral("WHERE %1 AND deleted_at IS NULL").arg(kOverrideTerm);
    const QString changedOnly = QStringLiteral(" AND %1").arg(kChangedTerm);

    // Rows read inside a caller's transaction may yet be rolled back: they
    // are read anew and serve this query only.
    KeptReminding *kept = mayKeep ? m_keptReminding.get() : nullptr;
    if (kept && !(stamp && stamp->follows(kept->stamp) && kept->upper == upper))
        kept = nullptr;
    std::optional<QSet<QString>> changed;
    if (kept && !(kept->stamp == *stamp)) {
        changed = changedSince(db, kept->stamp.version, stamp->version);
        if (!changed)
            kept = nullptr;
    }
    std::unique_ptr<KeptReminding> fresh;
    if (!kept) {
        fresh = std::make_unique<KeptReminding>();
        kept = fresh.get();
    }
    StandingRows &rows = kept->rows;
    if (fresh || changed) {
        QSet<QString> before;
        for (const Event &e : std::as_const(rows.events)) {
            if (!e.isOverride())
                before.insert(seriesKey(e.calendar_id, e.uid));
        }
        if (changed)
            rows.drop(*changed);
        const QVariantList since = changed ? QVariantList{kept->stamp.version, stamp->version} : QVariantList();
        QList<Event> found;
        QList<StandingRows::Key> keys;
        ZoneCache zones;
        const auto keep = [&](const SqliteStatement &q) { rows.take(q, zones, found, keys); };
        for (const QString &where : changed ? QStringList{changedMasters + changedOnly} : masters)
            forEachRow(db, operation, where, QVariantList{upper} + since, keep);
        QSet<QString> series;
        for (const Event &e : std::as_const(rows.events)) {
            if (!e.isOverride())
                series.insert(seriesKey(e.calendar_id, e.uid));
        }
        QSet<QString> added;
        for (const Event &master : std::as_const(found)) {
            const QString key = seriesKey(master.calendar_id, master.uid);
            series.insert(key);
            if (!before.contains(key))
                added.insert(key);
        }
        // Every override of a series new here (they are few), else those the
        // log names.
        const bool allOverrides = !changed || !added.isEmpty();
        forEachRow(db, operation, overrides + (allOverrides ? QString() : changedOnly),
                   allOverrides ? QVariantList() : since, [&](const SqliteStatement &q) {
                       const QString key = seriesKey(q.sharedText(1), q.text(kMasterUidColumn));
                       if (series.contains(key) && (!changed || added.contains(key) || changed->contains(q.text(0))))
                           rows.take(q, zones, found, keys);
                   });
        // Overrides of a series that no longer reminds go with it.
        QSet<QString> orphans;
        for (const Event &e : std::as_const(rows.events)) {
            if (e.isOverride() && !series.contains(seriesKey(e.calendar_id, e.master_event_uid)))
                orphans.insert(e.id);
        }
        rows.drop(orphans);
        EventChildRows::loadRemindersForEvents(db, found);
        if (!found.isEmpty())
            rows.byStart.clear();
        rows.events += std::move(found);
        rows.keys += keys;
        if (stamp)
            kept->stamp = *stamp;
        kept->upper = upper;
    }
    snapshot.keep();
    QList<std::pair<qint64, qsizetype>> picked;
    for (const qsizetype i : rows.inOrder()) {
        if (rows.inWindow(window, i))
            picked.append({rows.keys.at(i).sortMs, i});
    }
    OwnRows none;
    QList<Event> out = mergeByStart(none, {}, rows.events, picked);
    if (fresh && mayKeep && stamp)
        m_keptReminding = std::move(fresh);
    return out;
}

QStringList EventRepository::liveOverrideIds(const QString &calendarId, const QString &masterUid,
                                             const QString &exceptId) const
{
    return firstColumn(m_database->database(), "EventRepository::liveOverrideIds",
                       QStringLiteral("SELECT id FROM events WHERE calendar_id = ? AND master_event_uid = ? "
                                      "AND COALESCE(recurrence_id, '') <> '' AND deleted_at IS NULL AND id <> ?"),
                       {calendarId, masterUid, exceptId});
}

QList<Event> EventRepository::getPending(const QString &calendarId) const
{
    // "+start_time": ordered by the start index, SQLite would walk every row
    // of the calendar (milliseconds after a large pull) rather than the few
    // pending ones the partial index holds.
    static const QString where =
        QStringLiteral("WHERE calendar_id = ? AND sync_status = '%1' ORDER BY +start_time").arg(SyncStatus::Pending);
    return select("EventRepository::getPending", where, {calendarId});
}

QList<Event> EventRepository::search(const QString &text, int limit) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    // "+start_time" keeps SQLite off the start index: walked in order it
    // visits every row through the index when little matches (over 60 ms at
    // 50k events); one table pass with a top-N sort stays under 20 ms.
    return select("EventRepository::search",
                  QStringLiteral("WHERE deleted_at IS NULL AND %1 ORDER BY +start_time ASC LIMIT ?").arg(kTextTerm),
                  {trimmed, std::max(limit, 1)});
}

QList<Event> EventRepository::searchInRange(const QString &text, const QDateTime &from, const QDateTime &to,
                                            const QStringList &calendarIds, const QDateTime &near, int limit) const
{
    const QString trimmed = text.trimmed();
    const TimeWindow window(from, to);
    if (trimmed.isEmpty() || !window.isValid() || !near.isValid())
        return {};
    const CalendarFilter calendars(calendarIds);
    // The calendars' index would read every row of the calendars.
    const QString live = QStringLiteral(" AND deleted_at IS NULL") + calendars.sqlClause(CalendarFilter::Index::Avoid);
    const QVariantList calendarValues = calendars.values();
    const QString upper = window.upperBoundText();
    const QString lower = window.lowerBoundText();
    Database &db = *m_database;
    const char *operation = "EventRepository::searchInRange";
    ZoneCache zones;
    QList<Event> events;
    StoreTransaction snapshot(&db);

    // The window's one-off rows, nearest first, so that the limit keeps the
    // nearest: as a range query finds them, rows starting within a day of
    // the window and longer rows still running at its start (each by its
    // index), the text last, as it is the dearest test. The exact window
    // test is on the rows. Sorted by their times alone, and only the rows
    // kept are read whole: sorting whole rows copies megabytes.
    // Over years the start index would lead to most rows one by one: one
    // pass over the table is faster then.
    const bool wide = from.daysTo(to) > kIndexedSearchDays;
    const QLatin1String noIndex(wide ? "+" : "");
    const QString nearest =
        QStringLiteral("SELECT id, calendar_id, start_time, end_time, is_all_day FROM events WHERE "
                       "((%3start_time >= ? AND %3start_time < ?) OR (julianday(end_time) - julianday(start_time) > 1 "
                       "AND %3end_time > ? AND %3start_time < ?)) AND NOT %1 AND NOT %2")
            .arg(kRepeatsTerm, kIsOverrideTerm, noIndex)
        + live
        + QStringLiteral(" AND %1 ORDER BY abs(julianday(start_time) - julianday(?)), start_time, id").arg(kTextTerm);
    QStringList kept;
    if (const auto statement = db.statement(nearest); statement
        && statement->start(QVariantList{window.lowerBoundText(2), upper, lower, upper} + calendarValues
                            + QVariantList{trimmed, near.toUTC().toString(Qt::ISODateWithMs)})) {
        const SqliteStatement::Run run(*statement);
        const qsizetype wanted = std::max(limit, 1);
        while (kept.size() < wanted && statement->next(operation)) {
            if (calendars.accepts(statement->text(1))
                && inSearchWindow(window, statement->integer(4) != 0, statement->utf8(2), statement->utf8(3)))
                kept.append(statement->text(0));
        }
    }
    QHash<QString, qsizetype> nearness;
    for (qsizetype i = 0; i < kept.size(); ++i)
        nearness.insert(kept.at(i), i);
    forEachRow(db, operation, QStringLiteral("WHERE id IN (SELECT value FROM json_each(?))"), {jsonList(kept)},
               [&](const SqliteStatement &q) { events.append(rowToEvent(q, zones, q.text(0), readSpan(q))); });
    std::sort(events.begin(), events.end(),
              [&](const Event &a, const Event &b) { return nearness.value(a.id) < nearness.value(b.id); });

    QSet<QString> seen;
    const auto keep = [&](const SqliteStatement &q) {
        QString id = q.text(0);
        if (seen.contains(id))
            return;
        Event event = rowToEvent(q, zones, std::move(id), readSpan(q));
        if (!calendars.accepts(event.calendar_id))
            return;
        seen.insert(event.id);
        events.append(std::move(event));
    };
    // Every matching series that starts before the window ends, through the
    // partial indexes of the standing rows: whether one of its occurrences
    // falls in the window is the expansion's to tell.
    const qsizetype firstMaster = events.size();
    for (const QLatin1String &term : {kOpenEndedTerm, kDatedTerm}) {
        forEachRow(
            db, operation,
            QStringLiteral("WHERE %1 AND start_time < ? AND %2 AND NOT %3").arg(term, kRepeatsTerm, kIsOverrideTerm)
                + live + QStringLiteral(" AND ") + kTextTerm,
            QVariantList{upper} + calendarValues + QVariantList{trimmed}, keep);
    }
    QStringList masterUids;
    for (qsizetype i = firstMaster; i < events.size(); ++i)
        masterUids.append(events.at(i).uid);
    // Overrides that match, and those of matching series, which move or
    // replace their occurrences.
    forEachRow(db, operation,
               QStringLiteral("WHERE %1").arg(kOverrideTerm) + live
                   + QStringLiteral(" AND (master_event_uid IN (SELECT value FROM json_each(?)) OR %1)").arg(kTextTerm),
               calendarValues + QVariantList{jsonList(masterUids), trimmed}, keep);
    EventChildRows::loadRemindersForEvents(db, events);
    EventChildRows::loadAttendeesForEvents(db, events);
    snapshot.keep();
    return events;
}

bool EventRepository::write(const Event &event, bool isUpdate)
{
    const char *operation = isUpdate ? "EventRepository::update" : "EventRepository::insert";
    StoreTransaction transaction(m_database);
    if (!transaction.isActive()) {
        qCWarning(lcStore).noquote() << operation << "failed:" << transaction.errorText();
        return false;
    }
    EventRowWriter writer(*m_database);
    EventWrite::Outcome outcome = EventWrite::Outcome::Refused;
    QString id;
    if (!writer.writeOne({isUpdate ? EventWrite::Kind::Update : EventWrite::Kind::Insert, event}, QString(), &outcome,
                         &id)) {
        if (!writer.errorText().isEmpty())
            qCWarning(lcStore).noquote() << operation << "failed:" << writer.errorText();
        return false;
    }
    // An update of a row deleted meanwhile (by a pull) must not pass for a save.
    if (outcome == EventWrite::Outcome::Refused)
        return false;
    if (!transaction.keep()) {
        qCWarning(lcStore).noquote() << operation << "failed:" << transaction.errorText();
        return false;
    }
    m_changes->schedule(event.calendar_id);
    return true;
}

bool EventRepository::insert(const Event &event)
{
    return write(event, false);
}

bool EventRepository::update(const Event &event)
{
    return write(event, true);
}

bool EventRepository::remove(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("events"), id);
    const QString now = nowText();
    QSqlQuery query(db);
    static const QString sql =
        QStringLiteral("UPDATE events SET deleted_at = ?, sync_status = '%1', last_modified = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    if (!run(query, sql, {now, now, id})) {
        logFailure("EventRepository::remove", query);
        return false;
    }
    m_changes->schedule(calendarId);
    return true;
}

bool EventRepository::restore(const Event &event)
{
    Event copy = event;
    copy.deleted_at.reset();
    copy.sync_status = SyncStatus::Pending;
    if (getById(copy.id)) {
        const bool ok = update(copy);
        qCInfo(lcStore).noquote() << "[Undo] cleared tombstone on existing row" << copy.id << "ok=" << ok;
        return ok;
    }
    copy.provider_event_id.clear();
    copy.etag.clear();
    copy.href.clear();
    const bool ok = insert(copy);
    // The title is the user's: not in a line above debug level.
    qCInfo(lcStore).noquote() << "[Undo] re-inserted row" << copy.id << "ok=" << ok;
    return ok;
}

bool EventRepository::hardDelete(const QString &id)
{
    // A pull's removals come thousands at a time, row by row: the statements
    // are prepared once per connection rather than compiled for each.
    Database &db = *m_database;
    QString calendarId;
    if (const auto find = db.statement(QStringLiteral("SELECT calendar_id FROM events WHERE id = ?"))) {
        const SqliteStatement::Run run(*find);
        if (find->start({id}) && find->next("EventRepository::hardDelete"))
            calendarId = find->text(0);
    }
    StoreTransaction transaction(m_database);
    EventRowWriter writer(db);
    if (!writer.deleteRows({id})) {
        qCWarning(lcStore).noquote() << "EventRepository::hardDelete failed:" << writer.errorText();
        return false;
    }
    if (!transaction.keep()) {
        qCWarning(lcStore).noquote() << "EventRepository::hardDelete failed:" << transaction.errorText();
        return false;
    }
    m_changes->schedule(calendarId);
    return true;
}

bool EventRepository::markSynced(const QString &id, const QString &href, const QString &etag)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("events"), id);
    QSqlQuery query(db);
    static const QString sql =
        QStringLiteral("UPDATE events SET href = ?, etag = ?, sync_status = '%1' WHERE id = ?").arg(SyncStatus::Synced);
    if (!run(query, sql, {text(href), text(etag), id}))
        return false;
    m_changes->schedule(calendarId);
    return true;
}

QList<EventWrite::Outcome> EventRepository::writeBatch(const QList<EventWrite> &writes, EventWrite::Undo undo)
{
    using Outcome = EventWrite::Outcome;
    QList<Outcome> outcomes;
    EventRowWriter writer(*m_database);
    switch (writer.write(writes, outcomes, EventRowWriter::Triggers::MayPause, undo)) {
    case EventRowWriter::Result::Written:
        for (qsizetype i = 0; i < writes.size(); ++i) {
            if (outcomes.at(i) != Outcome::Refused && outcomes.at(i) != Outcome::Unchanged)
                m_changes->schedule(writes.at(i).event.calendar_id);
        }
        return outcomes;
    case EventRowWriter::Result::Failed: return QList<Outcome>(writes.size(), Outcome::Failed);
    case EventRowWriter::Result::OneByOne: break;
    }
    // Each write as a batch of its own, all of them in one transaction: the
    // one the store refuses is left out.
    QList<Outcome> written;
    StoreTransaction transaction(m_database);
    if (!transaction.isActive())
        return QList<Outcome>(writes.size(), Outcome::Failed);
    for (const EventWrite &write : writes) {
        const EventRowWriter::Result result = writer.write({write}, outcomes, EventRowWriter::Triggers::Keep);
        if (result == EventRowWriter::Result::Failed)
            return QList<Outcome>(writes.size(), Outcome::Failed);
        const Outcome outcome = result == EventRowWriter::Result::Written ? outcomes.first() : Outcome::Refused;
        if (outcome != Outcome::Refused && outcome != Outcome::Unchanged)
            m_changes->schedule(write.event.calendar_id);
        written.append(outcome);
    }
    if (!transaction.keep())
        return QList<Outcome>(writes.size(), Outcome::Failed);
    return written;
}

void EventRepository::scheduleChanged(const QString &calendarId)
{
    m_changes->schedule(calendarId);
}
