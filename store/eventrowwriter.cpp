#include "eventrowwriter.h"

#include "database.h"
#include "eventchildrows.h"
#include "recordnames.h"
#include "sqlitestatement.h"
#include "storefailure.h"
#include "storesql.h"
#include "storetransaction.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>
#include <iterator>

using namespace StoreSql;

namespace {

// The columns every write sets, from calendar_id to color, in the order they
// are bound.
const char *const kContent[] = {
    "calendar_id",
    "uid",
    "provider_event_id",
    "etag",
    "href",
    "title",
    "description",
    "location",
    "geo_location",
    "start_time",
    "end_time",
    "is_all_day",
    "timezone",
    "recurrence_rule",
    "recurrence_dates",
    "exception_dates",
    "recurrence_id",
    "master_event_uid",
    "status",
    "event_url",
    "conference_url",
    "organizer_email",
    "organizer_name",
    "sequence",
    "raw_icalendar",
    "color",
};
constexpr int kContentCount = int(std::size(kContent));

// `format` for each content column but those of `left` ("%1" the column,
// "%2" its number among them, from 1), joined by `separator`.
QString contentList(const char *format, std::initializer_list<const char *> left = {},
                    QLatin1String separator = QLatin1String(", "))
{
    QStringList parts;
    for (int i = 0; i < kContentCount; ++i) {
        if (std::none_of(left.begin(), left.end(), [&](const char *c) { return qstrcmp(c, kContent[i]) == 0; }))
            parts.append(QString::fromLatin1(format)
                             .replace(QLatin1String("%1"), QLatin1String(kContent[i]))
                             .replace(QLatin1String("%2"), QString::number(i + 1)));
    }
    return parts.join(separator);
}

const QString &insertSql()
{
    static const QString sql =
        QStringLiteral("INSERT INTO events (id, %1, created, last_modified, sync_status, deleted_at) VALUES (%2)")
            .arg(contentList("%1"), placeholders(kContentCount + 5));
    return sql;
}

// The content as ?1 to ?26, then last_modified, sync_status, deleted_at and
// the id; the content columns of `left` keep their stored values.
constexpr int kUpdateLast = kContentCount + 1;
QString updateSql(std::initializer_list<const char *> left, const char *where)
{
    return QStringLiteral("UPDATE events SET %1, last_modified = ?%2, sync_status = ?%3, deleted_at = ?%4 WHERE %5")
        .arg(contentList("%1 = ?%2", left))
        .arg(kUpdateLast)
        .arg(kUpdateLast + 1)
        .arg(kUpdateLast + 2)
        .arg(QString::fromLatin1(where).arg(kUpdateLast + 3));
}

// The first form leaves the calendar (and matches only a row in it): an
// update that sets the column of a foreign key costs a statement journal,
// which in a batch is a walk over the batch's whole journal.
const QString &sameCalendarUpdateSql()
{
    static const QString sql = updateSql({"calendar_id"}, "id = ?%1 AND calendar_id = ?1");
    return sql;
}

// The row's keys as they were: the columns that only the key indexes hold
// are left as they are, so that SQLite rewrites none of those indexes' entries
// (it rewrites an index's entry whenever a column of it is set, to the same
// value or not). A sync's rewrite of a changed event is mostly this.
const QString &sameKeysUpdateSql()
{
    static const QString sql = updateSql({"calendar_id", "uid", "provider_event_id", "recurrence_id", "master_event_uid"},
                                         "id = ?%1 AND calendar_id = ?1 AND uid IS ?2 AND provider_event_id IS ?3 "
                                         "AND recurrence_id IS ?17 AND master_event_uid IS ?18");
    return sql;
}

const QString &updateSql()
{
    static const QString sql = updateSql({}, "id = ?%1");
    return sql;
}

// An import's rewrite of the row with its key: it keeps its id, created,
// the key it matched by and the server's identity, so that the push
// overwrites that resource.
const std::initializer_list<const char *> kImportKeeps{"calendar_id", "uid", "provider_event_id", "etag", "href"};

const QString &importUpdateSql()
{
    static const QString sql = updateSql(kImportKeeps, "id = ?%1");
    return sql;
}

// Whether the standing row (the last parameter) holds what an import's
// rewrite would set: a file imported again leaves its events as they are,
// and a row deleted since comes back.
const QString &importUnchangedSql()
{
    static const QString sql =
        QStringLiteral("SELECT 1 FROM events WHERE id = ?%1 AND deleted_at IS NULL AND %2")
            .arg(kContentCount + 1)
            .arg(contentList("%1 IS ?%2", kImportKeeps, QLatin1String(" AND ")));
    return sql;
}

bool bindTime(SqliteStatement &s, int index, const QDateTime &value)
{
    return s.bindUtf8(index, StorageUtf8(value).bytes());
}

bool bindTime(SqliteStatement &s, int index, const std::optional<QDateTime> &value)
{
    return value ? bindTime(s, index, *value) : s.bindUtf8(index, QByteArrayView());
}

// The content columns of `e` from parameter `first` on, in kContent's order.
bool bindContent(SqliteStatement &s, const Event &e, int first)
{
    int i = first;
    return s.bind(i++, e.calendar_id) && s.bind(i++, e.uid) && s.bind(i++, e.provider_event_id) && s.bind(i++, e.etag)
        && s.bind(i++, e.href) && s.bind(i++, e.title) && s.bind(i++, e.description) && s.bind(i++, e.location)
        && s.bind(i++, e.geo_location) && bindTime(s, i++, e.start_time) && bindTime(s, i++, e.end_time)
        && s.bindInteger(i++, e.is_all_day ? 1 : 0) && s.bind(i++, e.timezone) && s.bind(i++, e.recurrence_rule)
        && s.bind(i++, e.recurrence_dates) && s.bind(i++, e.exception_dates) && s.bind(i++, e.recurrence_id)
        && s.bind(i++, e.master_event_uid) && s.bind(i++, e.status) && s.bind(i++, e.event_url)
        && s.bind(i++, e.conference_url) && s.bind(i++, e.organizer_email) && s.bind(i++, e.organizer_name)
        && s.bindInteger(i++, e.sequence) && s.bind(i++, e.raw_icalendar) && s.bind(i++, e.color);
}

// The values of an insert: id, content, created, last_modified, sync_status
// (empty: synced) and deleted_at.
bool bindInsert(SqliteStatement &s, const Event &e, const QString &id)
{
    return s.start({}) && s.bind(0, id) && bindContent(s, e, 1) && bindTime(s, kContentCount + 1, e.created)
        && bindTime(s, kContentCount + 2, e.last_modified)
        && s.bind(kContentCount + 3, e.sync_status.isEmpty() ? SyncStatus::Synced : e.sync_status)
        && bindTime(s, kContentCount + 4, e.deleted_at);
}

QString statusOrPending(const QString &status)
{
    return status.isEmpty() ? SyncStatus::Pending : status;
}

// Whether every column the schema requires has a value. A write that fails
// this check is refused before it is tried, so that it costs the batch
// nothing.
bool writable(const EventWrite &write)
{
    const Event &e = write.event;
    if (write.kind == EventWrite::Kind::Delete)
        return !e.id.isNull();
    const bool required = !e.calendar_id.isNull() && !e.uid.isNull() && !e.title.isNull() && !e.timezone.isNull()
        && !e.status.isNull() && !e.raw_icalendar.isNull() && e.start_time.isValid();
    const bool stamped = write.kind == EventWrite::Kind::Update
        || ((e.created.isValid() || write.kind == EventWrite::Kind::Import) && e.last_modified.isValid());
    return required && stamped
        && std::none_of(e.attendees.cbegin(), e.attendees.cend(), [](const Attendee &a) { return a.email.isNull(); });
}

// The change log triggers of the events, reminders and attendees tables,
// which the batch stands in for.
const QLatin1String kOwnTriggers("'events_version_insert', 'events_version_update', 'events_version_delete', "
                                 "'reminders_version_insert', 'reminders_version_update', 'reminders_version_delete', "
                                 "'attendees_version_insert', 'attendees_version_update', 'attendees_version_delete'");

// The file's triggers off while it lives, when `pause` and the tables a
// batch writes carry no trigger but the change log's: a trigger of anyone
// else's must still run. Each row a trigger touches costs a statement
// journal and a sub-program, about as much as the row's own insert.
class TriggerPause
{
public:
    TriggerPause(Database &db, bool pause)
        : m_db(db)
        , m_paused(pause && db.setFileTriggersEnabled(false))
    {
    }
    ~TriggerPause() { resume(); }
    TriggerPause(const TriggerPause &) = delete;
    TriggerPause &operator=(const TriggerPause &) = delete;

    bool isPaused() const { return m_paused; }
    void resume()
    {
        if (m_paused && !m_db.setFileTriggersEnabled(true))
            qCWarning(lcStore) << "EventRowWriter: the triggers did not come back on";
        m_paused = false;
    }

private:
    Database &m_db;
    bool m_paused;
};

} // namespace

EventRowWriter::EventRowWriter(Database &db)
    : m_db(db)
{
}

bool EventRowWriter::onlyOwnTriggers()
{
    const auto others = prepared(
        QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name IN ('events', "
                       "'reminders', 'attendees', 'attachments', 'events_changes') AND name NOT IN (%1)")
            .arg(kOwnTriggers));
    if (!others || !others->start({}))
        return false;
    const SqliteStatement::Run run(*others);
    return others->next("EventRepository::writeBatch") && others->integer(0) == 0;
}

std::shared_ptr<SqliteStatement> EventRowWriter::kept(const QString &sql)
{
    for (const auto &[text, statement] : m_kept) {
        if (text == &sql)
            return statement;
    }
    auto statement = prepared(sql);
    if (statement)
        m_kept.emplace_back(&sql, statement);
    return statement;
}

std::shared_ptr<SqliteStatement> EventRowWriter::prepared(const QString &sql)
{
    auto statement = m_db.statement(sql);
    if (!statement)
        m_error = QStringLiteral("the statement did not prepare");
    return statement;
}

bool EventRowWriter::insertRow(const Event &e)
{
    const auto insert = kept(insertSql());
    if (!insert)
        return false;
    if (bindInsert(*insert, e, e.id) && insert->execute())
        return true;
    m_error = insert->errorText();
    return false;
}

bool EventRowWriter::rewriteRow(const QString &sql, const Event &e, const QString &now, bool *matched)
{
    *matched = false;
    const auto update = kept(sql);
    if (!update)
        return false;
    const int at = kContentCount;
    if (!update->start({}) || !bindContent(*update, e, 0) || !update->bind(at, now)
        || !update->bind(at + 1, statusOrPending(e.sync_status)) || !bindTime(*update, at + 2, e.deleted_at)
        || !update->bind(at + 3, e.id) || !update->execute()) {
        m_error = update->errorText();
        return false;
    }
    *matched = update->changes() > 0;
    return true;
}

bool EventRowWriter::updateRow(const Event &e, bool *matched)
{
    const QString now = nowText();
    return rewriteRow(sameKeysUpdateSql(), e, now, matched)
        && (*matched || rewriteRow(sameCalendarUpdateSql(), e, now, matched))
        && (*matched || rewriteRow(updateSql(), e, now, matched));
}

QString EventRowWriter::importRow(Event &e, const QString &now, EventWrite::Outcome *outcome)
{
    // The key looked up first, then a plain insert or update: an upsert
    // costs each row a statement journal. The lookup reads the pages the
    // insert writes next.
    static const QString storedSql = QStringLiteral(
        "SELECT id FROM events WHERE calendar_id = ? AND uid = ? AND COALESCE(recurrence_id, '') = COALESCE(?, '')");
    const auto stored = kept(storedSql);
    if (!stored || !stored->start({e.calendar_id, e.uid, e.recurrence_id}))
        return QString();
    {
        const SqliteStatement::Run run(*stored);
        e.id = stored->next("EventRepository::writeBatch") ? stored->text(0) : QString();
    }
    if (stored->failed()) {
        m_error = stored->errorText();
        return QString();
    }
    if (e.id.isEmpty()) {
        e.id = newRowId();
        if (!insertRow(e))
            return QString();
        *outcome = EventWrite::Outcome::Added;
        return e.id;
    }
    // Read rather than written again: a rewrite would mark every event of a
    // file imported twice for the next push, and log each as changed.
    const auto same = kept(importUnchangedSql());
    if (!same || !same->start({}) || !bindContent(*same, e, 0) || !same->bind(kContentCount, e.id))
        return QString();
    bool unchanged = false;
    {
        const SqliteStatement::Run run(*same);
        unchanged = same->next("EventRepository::writeBatch");
    }
    if (same->failed()) {
        m_error = same->errorText();
        return QString();
    }
    bool matched = false;
    if (!unchanged && !rewriteRow(importUpdateSql(), e, now, &matched))
        return QString();
    *outcome = unchanged ? EventWrite::Outcome::Unchanged : EventWrite::Outcome::Updated;
    return e.id;
}

bool EventRowWriter::deleteRows(const QStringList &ids)
{
    // Several go in one statement per table: a delete from a table with
    // foreign keys costs a statement journal, which in a batch is a walk
    // over the batch's whole journal.
    const bool one = ids.size() == 1;
    const QString value = one
        ? ids.first()
        : QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(ids)).toJson(QJsonDocument::Compact));
    const QLatin1String match(one ? "= ?" : "IN (SELECT value FROM json_each(?))");
    for (const char *table : {"attendees", "attachments", "reminders"}) {
        const auto children = prepared(
            QStringLiteral("DELETE FROM %1 WHERE event_id %2").arg(QLatin1String(table), match));
        if (!children || !children->execute({value}))
            qCWarning(lcStore).noquote() << "EventRepository::hardDelete child cleanup failed:" << table << ":"
                                         << (children ? children->errorText() : m_error);
    }
    const auto rows = prepared(QStringLiteral("DELETE FROM events WHERE id %1").arg(match));
    if (rows && rows->execute({value}))
        return true;
    if (rows)
        m_error = rows->errorText();
    return false;
}

bool EventRowWriter::writeOne(const EventWrite &write, const QString &now, EventWrite::Outcome *outcome, QString *id)
{
    using Outcome = EventWrite::Outcome;
    // Whatever wrote the record, the row holds instants in their zone.
    Event e = write.event;
    keepZoned(e);
    bool replacing = true;
    switch (write.kind) {
    case EventWrite::Kind::Insert:
        if (!insertRow(e))
            return false;
        replacing = false;
        *outcome = Outcome::Added;
        break;
    case EventWrite::Kind::Update: {
        bool matched = false;
        if (!updateRow(e, &matched))
            return false;
        // A row deleted meanwhile (by a pull): nothing was written.
        if (!matchedRow(int(matched), "EventRepository::update", e.id)) {
            *outcome = Outcome::Refused;
            return true;
        }
        *outcome = Outcome::Updated;
        break;
    }
    case EventWrite::Kind::Import: {
        if (!e.created.isValid())
            e.created = QDateTime::currentDateTimeUtc();
        e.id = importRow(e, now, outcome);
        if (e.id.isEmpty())
            return false;
        *id = e.id;
        if (*outcome == Outcome::Unchanged)
            return true; // its reminders and attendees with it
        replacing = *outcome == Outcome::Updated;
        break;
    }
    case EventWrite::Kind::Delete: break;
    }
    *id = e.id;
    return EventChildRows::writeReminderRows(m_db, e, replacing)
        && EventChildRows::writeAttendeeRows(m_db, e, replacing);
}

EventRowWriter::Result EventRowWriter::write(const QList<EventWrite> &writes, QList<EventWrite::Outcome> &outcomes,
                                             Triggers triggers, EventWrite::Undo undo)
{
    outcomes.clear();
    outcomes.reserve(writes.size());
    StoreFailure::clear();
    StoreTransaction savepoint(&m_db);
    if (!savepoint.isActive()) {
        m_error = savepoint.errorText();
        return Result::Failed;
    }
    TriggerPause pause(m_db, triggers == Triggers::MayPause && onlyOwnTriggers());
    // A savepoint inside a long transaction copies every page the batch
    // changes, once per batch: a third of an import's time. Where the caller
    // undoes its whole transaction on a failure, and no trigger but ours
    // may refuse a row after its first statement, the batch goes without.
    const bool callerUndoes = undo == EventWrite::Undo::Caller && pause.isPaused() && !savepoint.isOutermost();
    if (callerUndoes && !savepoint.keep()) {
        m_error = savepoint.errorText();
        return Result::Failed;
    }
    const QString now = nowText();
    QStringList changed;
    changed.reserve(writes.size());
    const auto deletable = [&](qsizetype i) {
        return i < writes.size() && writes.at(i).kind == EventWrite::Kind::Delete && writable(writes.at(i));
    };
    for (qsizetype i = 0; i < writes.size();) {
        bool ok = true;
        bool untouched = false;
        if (deletable(i)) {
            // A run of deletions goes as one.
            QStringList ids;
            for (; deletable(i); ++i)
                ids.append(writes.at(i).event.id);
            ok = deleteRows(ids);
            changed += ids;
            outcomes.insert(outcomes.size(), ids.size(), EventWrite::Outcome::Deleted);
        } else {
            EventWrite::Outcome outcome = EventWrite::Outcome::Refused;
            QString id;
            ok = !writable(writes.at(i)) || writeOne(writes.at(i), now, &outcome, &id);
            if (outcome != EventWrite::Outcome::Refused && outcome != EventWrite::Outcome::Unchanged)
                changed.append(id);
            // Its row's statement failed, which writes all or nothing.
            untouched = outcome == EventWrite::Outcome::Refused;
            outcomes.append(outcome);
            ++i;
        }
        if (!ok) {
            const bool refused = StoreFailure::last() == StoreFailure::Refused && m_db.inTransaction();
            qCWarning(lcStore).noquote() << "EventRepository::writeBatch failed:" << m_error;
            if (!callerUndoes)
                return refused ? Result::OneByOne : Result::Failed; // the savepoint goes back
            // Without one, only a write that left nothing is left out.
            if (!refused || !untouched)
                return Result::Failed;
            StoreFailure::clear();
        }
    }
    if (pause.isPaused() && !logChanges(changed)) {
        qCWarning(lcStore).noquote() << "EventRepository::writeBatch failed:" << m_error;
        return Result::Failed;
    }
    pause.resume();
    if (!callerUndoes && !savepoint.keep()) {
        m_error = savepoint.errorText();
        qCWarning(lcStore).noquote() << "EventRepository::writeBatch failed:" << m_error;
        return Result::Failed;
    }
    return Result::Written;
}

bool EventRowWriter::logChanges(const QStringList &ids)
{
    // What the triggers would have logged, an entry per event written (its
    // reminders and attendees with it), and the log pruned as they prune it.
    static const QString addSql = QStringLiteral("INSERT INTO events_changes (event_id) VALUES (?)");
    const auto add = kept(addSql);
    const auto prune = prepared(QStringLiteral(
        "DELETE FROM events_changes WHERE version <= (SELECT MAX(version) FROM events_changes) - 65536"));
    if (!add || !prune)
        return false;
    for (const QString &id : ids) {
        if (!add->start({}) || !add->bind(0, id) || !add->execute()) {
            m_error = add->errorText();
            return false;
        }
    }
    if (!prune->execute({})) {
        m_error = prune->errorText();
        return false;
    }
    return true;
}
