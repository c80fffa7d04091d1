#include "reminderrepository.h"

#include "database.h"
#include "storesql.h"

#include <algorithm>

using namespace StoreSql;

ReminderRepository::ReminderRepository(Database *database)
    : m_database(database)
{
}

QList<ReminderRepository::Unacknowledged> ReminderRepository::unacknowledged(const QDateTime &startsAfter,
                                                                             const QDateTime &triggeredBy) const
{
    // Reminders that were never shown pile up with the years (synced in, or
    // due while the program was not running), and a store with years ahead
    // has tens of thousands of events still to start. A reminder's trigger
    // lies its lead before its event's start, so one of an event starting
    // after the cutoff triggers no earlier than the cutoff less the longest
    // lead of the unshown reminders: the statement reads that range of the
    // unshown ones' trigger index, and looks up their events.
    QSqlDatabase &db = m_database->database();
    const QStringList longest = firstColumn(db, "ReminderRepository::unacknowledged",
                                            QStringLiteral(
                                                "SELECT MAX(minutes_before) FROM reminders WHERE acknowledged = 0"),
                                            {});
    if (longest.isEmpty() || longest.first().isEmpty())
        return {};
    const qint64 leadSecs = std::max<qint64>(longest.first().toLongLong(), 0) * 60;
    const QDateTime after = startsAfter.toUTC().addDays(-1);
    QList<Unacknowledged> rows;
    eachRow(db, "ReminderRepository::unacknowledged",
            QStringLiteral("SELECT r.id, e.title, e.start_time, e.location, r.minutes_before, "
                           "       e.id, e.is_all_day FROM reminders r CROSS JOIN events e "
                           "ON r.event_id = e.id WHERE r.acknowledged = 0 AND r.trigger_time >= ? "
                           "AND r.trigger_time <= ? AND e.start_time > ? AND e.deleted_at IS NULL "
                           "ORDER BY r.trigger_time ASC"),
            {after.addSecs(-leadSecs).toString(Qt::ISODate), triggeredBy.toUTC().addDays(1).toString(Qt::ISODate),
             after.toString(Qt::ISODate)},
            [&rows](const QSqlQuery &q) {
        Unacknowledged row;
        row.reminderId = q.value(0).toString();
        row.title = q.value(1).toString();
        row.start = readTime(q.value(2));
        row.location = q.value(3).toString();
        row.minutesBefore = q.value(4).toInt();
        row.eventId = q.value(5).toString();
        row.allDay = q.value(6).toInt() != 0;
        rows.append(row);
    });
    return rows;
}

bool ReminderRepository::acknowledge(const QStringList &reminderIds)
{
    // SQLite caps the number of bound values per statement; a first start
    // after a long break can find thousands due at once.
    constexpr qsizetype kBatch = 500;
    for (qsizetype first = 0; first < reminderIds.size(); first += kBatch) {
        const QStringList batch = reminderIds.mid(first, kBatch);
        QVariantList values;
        values.reserve(batch.size());
        for (const QString &id : batch)
            values.append(id);
        if (!write(m_database->database(), "ReminderRepository::acknowledge",
                   QStringLiteral("UPDATE reminders SET acknowledged = 1 WHERE id IN (%1)")
                       .arg(placeholders(int(batch.size()), QLatin1String(","))),
                   values))
            return false;
    }
    return true;
}
