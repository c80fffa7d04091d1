#include "eventchildrows.h"

#include "database.h"
#include "recordnames.h"
#include "sqlitestatement.h"
#include "storesql.h"

#include <QHash>
#include <QSqlError>

#include <algorithm>

using namespace StoreSql;

namespace EventChildRows {

namespace {

Reminder readReminder(const SqliteStatement &q, int first)
{
    Reminder r;
    r.minutes_before = q.integer(first);
    r.action = q.sharedText(first + 1);
    r.acknowledged = q.integer(first + 2) != 0;
    r.trigger_time = readOptionalTime(q.utf8(first + 3));
    return r;
}

Attendee readAttendee(const SqliteStatement &q, int first)
{
    Attendee a;
    a.email = q.text(first);
    a.name = q.text(first + 1);
    a.role = q.sharedText(first + 2);
    a.status = q.sharedText(first + 3);
    a.type = q.sharedText(first + 4);
    a.rsvp = q.integer(first + 5) != 0;
    return a;
}

// Runs `sql` (an IN list of "%1") over the events' ids in chunks and hands
// every row to `read`; column 0 is the child's id, column 1 its event's.
// Rows keep the statement's order within each event.
template<typename Child, typename Read>
void loadForEvents(Database &db, QList<Event> &events, const QString &sql, Read read, QList<Child> Event::*list,
                   const char *operation)
{
    if (events.isEmpty())
        return;
    // One statement for every chunk: the parameters a short last chunk
    // leaves unbound are NULL, which matches no row.
    const auto statement = db.statement(sql.arg(placeholders(kInListChunk, QLatin1String(","))));
    if (!statement)
        return;
    QHash<QString, qsizetype> positions;
    positions.reserve(events.size());
    for (qsizetype i = 0; i < events.size(); ++i)
        positions.insert(events.at(i).id, i);
    QList<QList<Child>> found(events.size());
    for (qsizetype begin = 0; begin < events.size(); begin += kInListChunk) {
        const qsizetype count = qMin<qsizetype>(kInListChunk, events.size() - begin);
        if (!statement->start({}))
            return;
        const SqliteStatement::Run run(*statement);
        for (qsizetype i = 0; i < count; ++i) {
            if (!statement->bind(int(i), events.at(begin + i).id))
                return;
        }
        while (statement->next(operation)) {
            const auto position = positions.constFind(statement->text(1));
            if (position == positions.constEnd())
                continue;
            Child child = read(*statement, 2);
            child.id = statement->text(0);
            child.event_id = events.at(*position).id;
            found[*position].append(std::move(child));
        }
        if (statement->failed())
            return;
    }
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (!found.at(i).isEmpty())
            events[i].*list = std::move(found[i]);
    }
}

template<typename Child, typename Read>
void loadForEvent(Database &db, Event &event, const QString &sql, Read read, QList<Child> Event::*list,
                  const char *operation)
{
    const auto statement = db.statement(sql);
    if (!statement || !statement->start({event.id}))
        return;
    const SqliteStatement::Run run(*statement);
    while (statement->next(operation)) {
        Child child = read(*statement, 1);
        child.id = statement->text(0);
        child.event_id = event.id;
        (event.*list).append(child);
    }
}

bool byLead(const Reminder &a, const Reminder &b)
{
    return a.minutes_before < b.minutes_before;
}

QString idOrNew(const QString &id)
{
    return id.isEmpty() ? newRowId() : id;
}

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

// Stored times carry whole seconds, so a trigger read back equals start minus
// minutes only to the second.
bool sameSecond(const QDateTime &a, const QDateTime &b)
{
    return a.toSecsSinceEpoch() == b.toSecsSinceEpoch();
}

const QString kInsertReminderSql = QStringLiteral(
    "INSERT INTO reminders (id, event_id, minutes_before, action, acknowledged, trigger_time) VALUES (?, ?, ?, ?, ?, ?)");

// Runs `sql` once per row of values on the connection's prepared statement;
// false (logged as "<operation> <step> failed:") on the first failure.
bool executeEach(Database &db, const char *operation, const char *step, const QString &sql,
                 const QList<QVariantList> &rows)
{
    if (rows.isEmpty())
        return true;
    const auto statement = db.statement(sql);
    for (const QVariantList &row : rows) {
        if (!statement || !statement->execute(row)) {
            qCWarning(lcStore).noquote() << operation << step
                                         << "failed:" << (statement ? statement->errorText() : QString());
            return false;
        }
    }
    return true;
}

QVariantList reminderRow(const Reminder &r, const QString &eventId, bool acknowledged, const QDateTime &trigger)
{
    return {idOrNew(r.id),      eventId,      r.minutes_before, orDefault(r.action, ReminderAction::Display),
            flag(acknowledged), time(trigger)};
}

bool replaceRows(Database &db, const char *operation, const Event &event, bool replacing, const QString &deleteSql,
                 const QString &insertSql, const QList<QVariantList> &rows)
{
    if (replacing && !executeEach(db, operation, "delete", deleteSql, {{event.id}}))
        return false;
    return executeEach(db, operation, "insert", insertSql, rows);
}

// The event's stored reminder rows made `rows`: a row that stays as it was
// is not written (that would only churn the due index), one of the same id
// is changed in place (an event moved changes its reminders' triggers alone,
// and a delete and an insert would rewrite every index of the table twice),
// the others go or come.
bool rewriteReminderRows(Database &db, const QList<QVariantList> &before, const QList<QVariantList> &rows)
{
    QHash<QString, QVariantList> stored;
    for (const QVariantList &row : before)
        stored.insert(row.constFirst().toString(), row);
    QList<QVariantList> changed;
    QList<QVariantList> moved;
    QList<QVariantList> added;
    for (const QVariantList &row : rows) {
        const auto old = stored.constFind(row.constFirst().toString());
        if (old == stored.constEnd()) {
            added.append(row);
            continue;
        }
        // (reminderRow's order: id, event, lead, action, state, trigger.)
        // An event moved changes its reminders' triggers alone. Setting
        // lead and state to what they were would still rewrite their
        // entries in both due indexes (the state is in their terms).
        const bool sameLeadAndState = old->at(2) == row.at(2) && old->at(3) == row.at(3) && old->at(4) == row.at(4);
        if (!sameLeadAndState)
            changed.append(QVariantList{row.at(2), row.at(3), row.at(4), row.at(5), row.at(0), row.at(1)});
        else if (old->at(5) != row.at(5))
            moved.append(QVariantList{row.at(5), row.at(0), row.at(1)});
        stored.erase(old);
    }
    QList<QVariantList> gone;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        gone.append({it.key()});
    return executeEach(db, "writeReminderRows", "delete", QStringLiteral("DELETE FROM reminders WHERE id = ?"), gone)
        && executeEach(db, "writeReminderRows", "update",
                       QStringLiteral("UPDATE reminders SET minutes_before = ?, action = ?, acknowledged = ?, "
                                      "trigger_time = ? WHERE id = ? AND event_id = ?"),
                       changed)
        && executeEach(db, "writeReminderRows", "update",
                       QStringLiteral("UPDATE reminders SET trigger_time = ? WHERE id = ? AND event_id = ?"), moved)
        && executeEach(db, "writeReminderRows", "insert", kInsertReminderSql, added);
}

} // namespace

void loadRemindersForEvents(Database &db, QList<Event> &events)
{
    loadForEvents<Reminder>(db, events,
                            QStringLiteral("SELECT id, event_id, minutes_before, action, acknowledged, trigger_time "
                                           "FROM reminders WHERE event_id IN (%1)"),
                            readReminder, &Event::reminders, "loadRemindersForEvents");
    for (Event &event : events)
        std::stable_sort(event.reminders.begin(), event.reminders.end(), byLead);
}

void loadAttendeesForEvents(Database &db, QList<Event> &events)
{
    loadForEvents<Attendee>(db, events,
                            QStringLiteral("SELECT id, event_id, email, name, role, status, type, rsvp FROM attendees "
                                           "WHERE event_id IN (%1) ORDER BY name, email"),
                            readAttendee, &Event::attendees, "loadAttendeesForEvents");
}

void loadReminders(Database &db, Event &event)
{
    // Sorted here: an ORDER BY costs SQLite a sorter for the row or two.
    loadForEvent<Reminder>(db, event,
                           QStringLiteral("SELECT id, minutes_before, action, acknowledged, "
                                          "trigger_time FROM reminders WHERE event_id = ?"),
                           readReminder, &Event::reminders, "loadReminders");
    std::stable_sort(event.reminders.begin(), event.reminders.end(), byLead);
}

void loadAttendees(Database &db, Event &event)
{
    loadForEvent<Attendee>(db, event,
                           QStringLiteral("SELECT id, email, name, role, status, type, rsvp FROM "
                                          "attendees WHERE event_id = ? ORDER BY name, email"),
                           readAttendee, &Event::attendees, "loadAttendees");
}

bool writeReminderRows(Database &db, const Event &event, bool replacing)
{
    // A reminder written again without its id (by the event form, a pull, a
    // feed) is the stored one of the same lead and action: it keeps that id,
    // under which the occurrences it was shown for are noted, and, while its
    // moment stays, that it was shown.
    QList<Reminder> stored;
    QList<QVariantList> before;
    bool keyed = true; // every stored row has an id to be changed by
    if (replacing) {
        Event previous;
        previous.id = event.id;
        loadReminders(db, previous);
        stored = previous.reminders;
        for (const Reminder &old : std::as_const(stored)) {
            keyed = keyed && !old.id.isEmpty();
            before.append(reminderRow(old, event.id, old.acknowledged, old.trigger_time.value_or(QDateTime())));
        }
        stored.removeIf([&event](const Reminder &old) {
            return std::any_of(event.reminders.cbegin(), event.reminders.cend(),
                               [&old](const Reminder &r) { return r.id == old.id; });
        });
    }
    QList<QVariantList> rows;
    rows.reserve(event.reminders.size());
    for (Reminder r : event.reminders) {
        for (qsizetype i = 0; r.id.isEmpty() && i < stored.size(); ++i) {
            const Reminder &old = stored.at(i);
            if (old.minutes_before != r.minutes_before
                || old.action.compare(orDefault(r.action, ReminderAction::Display), Qt::CaseInsensitive) != 0)
                continue;
            r.id = old.id;
            if (!r.acknowledged && !r.trigger_time) {
                r.acknowledged = old.acknowledged;
                r.trigger_time = old.trigger_time;
            }
            stored.removeAt(i);
        }
        const QDateTime due = event.start_time.addSecs(-qint64(r.minutes_before) * 60);
        QDateTime trigger = r.trigger_time.value_or(QDateTime());
        bool acknowledged = r.acknowledged;
        if (!trigger.isValid() || !due.isValid() || !sameSecond(trigger, due)) {
            if (trigger.isValid() && due.isValid())
                acknowledged = false;
            trigger = due;
        }
        rows.append(reminderRow(r, event.id, acknowledged, trigger));
    }
    if (replacing && keyed)
        return rewriteReminderRows(db, before, rows);
    return replaceRows(db, "writeReminderRows", event, replacing,
                       QStringLiteral("DELETE FROM reminders WHERE event_id = ?"), kInsertReminderSql, rows);
}

bool writeAttendeeRows(Database &db, const Event &event, bool replacing)
{
    QList<QVariantList> rows;
    rows.reserve(event.attendees.size());
    for (const Attendee &a : event.attendees) {
        rows.append({idOrNew(a.id), event.id, text(a.email), text(a.name), orDefault(a.role, AttendeeRole::Required),
                     orDefault(a.status, ParticipationStatus::NeedsAction), text(a.type), flag(a.rsvp)});
    }
    return replaceRows(db, "writeAttendeeRows", event, replacing,
                       QStringLiteral("DELETE FROM attendees WHERE event_id = ?"),
                       QStringLiteral("INSERT INTO attendees (id, event_id, email, name, role, "
                                      "status, type, rsvp) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                       rows);
}

} // namespace EventChildRows
