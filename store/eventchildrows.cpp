#include "eventchildrows.h"

#include "storesql.h"

#include <QHash>
#include <QSqlError>
#include <QUuid>

using namespace StoreSql;

namespace EventChildRows {

namespace {

Reminder readReminder(const QSqlQuery &q, int first)
{
    Reminder r;
    r.minutes_before = q.value(first).toInt();
    r.action = readText(q.value(first + 1));
    r.acknowledged = q.value(first + 2).toInt() != 0;
    r.trigger_time = readOptionalTime(q.value(first + 3));
    return r;
}

Attendee readAttendee(const QSqlQuery &q, int first)
{
    Attendee a;
    a.email = readText(q.value(first));
    a.name = readText(q.value(first + 1));
    a.role = readText(q.value(first + 2));
    a.status = readText(q.value(first + 3));
    a.type = readText(q.value(first + 4));
    a.rsvp = q.value(first + 5).toInt() != 0;
    return a;
}

// Runs `sql` (an IN list of "%1") over the events' ids in chunks and hands
// every row to `read`, keyed by the event id in column 1. Rows keep the
// statement's order within each event.
template<typename Child, typename Read>
void loadForEvents(QSqlDatabase &db, QList<Event> &events, const QString &sql, Read read,
                   QList<Child> Event::*list)
{
    if (events.isEmpty())
        return;
    QHash<QString, QList<Child>> byEvent;
    // Full chunks share one prepared statement; only the last, shorter chunk
    // needs its own.
    QSqlQuery full(db);
    full.setForwardOnly(true);
    const qsizetype fullChunk = qMin<qsizetype>(kInListChunk, events.size());
    if (!full.prepare(sql.arg(placeholders(int(fullChunk), QLatin1String(",")))))
        return;
    for (qsizetype begin = 0; begin < events.size(); begin += kInListChunk) {
        const qsizetype count = qMin<qsizetype>(kInListChunk, events.size() - begin);
        QSqlQuery partial(db);
        QSqlQuery &query = count == fullChunk ? full : partial;
        if (&query == &partial) {
            partial.setForwardOnly(true);
            if (!partial.prepare(sql.arg(placeholders(int(count), QLatin1String(",")))))
                return;
        }
        for (qsizetype i = 0; i < count; ++i)
            query.bindValue(int(i), events.at(begin + i).id);
        if (!query.exec())
            return;
        while (query.next()) {
            Child child = read(query, 2);
            child.id = readText(query.value(0));
            child.event_id = readText(query.value(1));
            byEvent[child.event_id].append(child);
        }
    }
    for (Event &event : events) {
        const auto it = byEvent.constFind(event.id);
        if (it != byEvent.constEnd())
            event.*list = it.value();
    }
}

template<typename Child, typename Read>
void loadForEvent(QSqlDatabase &db, Event &event, const QString &sql, Read read,
                  QList<Child> Event::*list)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, sql, {event.id}))
        return;
    while (query.next()) {
        Child child = read(query, 1);
        child.id = readText(query.value(0));
        child.event_id = event.id;
        (event.*list).append(child);
    }
}

QString idOrNew(const QString &id)
{
    return id.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : id;
}

QString orDefault(const QString &value, QLatin1String fallback)
{
    return value.isEmpty() ? QString(fallback) : value;
}

// Stored times carry whole seconds, so a trigger read back equals start minus
// minutes only to the second.
bool sameSecond(const QDateTime &a, const QDateTime &b)
{
    return a.toSecsSinceEpoch() == b.toSecsSinceEpoch();
}

bool replaceRows(QSqlDatabase &db, QLatin1String table, const char *operation,
                 const Event &event, bool replacing, const QString &insertSql,
                 const QList<QVariantList> &rows)
{
    QSqlQuery remove(db);
    if (replacing
        && !run(remove, QStringLiteral("DELETE FROM %1 WHERE event_id = ?").arg(table), {event.id})) {
        qCWarning(lcStore).noquote() << operation << "delete failed:" << remove.lastError().text();
        return false;
    }
    QSqlQuery insert(db);
    if (!rows.isEmpty() && !insert.prepare(insertSql)) {
        qCWarning(lcStore).noquote() << operation << "insert failed:" << insert.lastError().text();
        return false;
    }
    for (const QVariantList &row : rows) {
        for (int i = 0; i < row.size(); ++i)
            insert.bindValue(i, row.at(i));
        if (!insert.exec()) {
            qCWarning(lcStore).noquote() << operation << "insert failed:" << insert.lastError().text();
            return false;
        }
    }
    return true;
}

} // namespace

void loadRemindersForEvents(QSqlDatabase &db, QList<Event> &events)
{
    loadForEvents<Reminder>(
        db, events,
        QStringLiteral("SELECT id, event_id, minutes_before, action, acknowledged, trigger_time "
                       "FROM reminders WHERE event_id IN (%1) ORDER BY minutes_before ASC"),
        readReminder, &Event::reminders);
}

void loadAttendeesForEvents(QSqlDatabase &db, QList<Event> &events)
{
    loadForEvents<Attendee>(
        db, events,
        QStringLiteral("SELECT id, event_id, email, name, role, status, type, rsvp FROM attendees "
                       "WHERE event_id IN (%1) ORDER BY name, email"),
        readAttendee, &Event::attendees);
}

void loadReminders(QSqlDatabase &db, Event &event)
{
    loadForEvent<Reminder>(db, event,
                           QStringLiteral("SELECT id, minutes_before, action, acknowledged, "
                                          "trigger_time FROM reminders WHERE event_id = ? ORDER "
                                          "BY minutes_before ASC"),
                           readReminder, &Event::reminders);
}

void loadAttendees(QSqlDatabase &db, Event &event)
{
    loadForEvent<Attendee>(db, event,
                           QStringLiteral("SELECT id, email, name, role, status, type, rsvp FROM "
                                          "attendees WHERE event_id = ? ORDER BY name, email"),
                           readAttendee, &Event::attendees);
}

bool writeReminderRows(QSqlDatabase &db, const Event &event, bool replacing)
{
    QList<QVariantList> rows;
    rows.reserve(event.reminders.size());
    for (const Reminder &r : event.reminders) {
        const QDateTime due = event.start_time.addSecs(-qint64(r.minutes_before) * 60);
        QDateTime trigger = r.trigger_time.value_or(QDateTime());
        bool acknowledged = r.acknowledged;
        if (!trigger.isValid() || !due.isValid() || !sameSecond(trigger, due)) {
            if (trigger.isValid() && due.isValid())
                acknowledged = false;
            trigger = due;
        }
        rows.append({idOrNew(r.id), event.id, r.minutes_before,
                     orDefault(r.action, QLatin1String("display")), flag(acknowledged),
                     time(trigger)});
    }
    return replaceRows(db, QLatin1String("reminders"), "writeReminderRows", event, replacing,
                       QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, action, "
                                      "acknowledged, trigger_time) VALUES (?, ?, ?, ?, ?, ?)"),
                       rows);
}

bool writeAttendeeRows(QSqlDatabase &db, const Event &event, bool replacing)
{
    QList<QVariantList> rows;
    rows.reserve(event.attendees.size());
    for (const Attendee &a : event.attendees) {
        rows.append({idOrNew(a.id), event.id, text(a.email), text(a.name),
                     orDefault(a.role, QLatin1String("required")),
                     orDefault(a.status, QLatin1String("needs-action")), text(a.type),
                     flag(a.rsvp)});
    }
    return replaceRows(db, QLatin1String("attendees"), "writeAttendeeRows", event, replacing,
                       QStringLiteral("INSERT INTO attendees (id, event_id, email, name, role, "
                                      "status, type, rsvp) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                       rows);
}

bool deleteEventChildRows(QSqlDatabase &db, QLatin1String table, const QString &eventId)
{
    QSqlQuery query(db);
    if (run(query, QStringLiteral("DELETE FROM %1 WHERE event_id = ?").arg(table), {eventId}))
        return true;
    qCWarning(lcStore).noquote() << "EventRepository::hardDelete child cleanup failed:" << table
                                 << ":" << query.lastError().text();
    return false;
}

} // namespace EventChildRows


