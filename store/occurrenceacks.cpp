#include "occurrenceacks.h"

#include "database.h"
#include "sqlitestatement.h"
#include "storesql.h"
#include "storetransaction.h"

namespace {

// UTC text, so that the notes sort and compare by instant whatever zone the
// occurrence was expanded in.
QString startText(const QDateTime &start)
{
    return start.toUTC().toString(Qt::ISODate);
}

// An all-day occurrence is its date in every zone: noted at the last
// instant that day begins anywhere (its midnight at UTC-12), so that the
// note is read and kept for as long as the day's reminder can be due under
// any system zone.
QString startText(const QDateTime &start, bool allDay)
{
    return allDay ? startText(QDateTime(start.date(), QTime(12, 0), Qt::UTC)) : startText(start);
}

} // namespace

OccurrenceAcks::OccurrenceAcks(Database *database)
    : m_database(database)
{
}

QString OccurrenceAcks::keyOf(const QString &reminderId, const QDateTime &occurrenceStart, bool allDay)
{
    return reminderId + QLatin1Char('|') + startText(occurrenceStart, allDay);
}

QSet<QString> OccurrenceAcks::since(const QDateTime &since) const
{
    QSet<QString> keys;
    QSqlQuery query(m_database->database());
    query.setForwardOnly(true);
    if (!StoreSql::run(query,
                       QStringLiteral("SELECT reminder_id, occurrence_start FROM reminder_occurrence_acks "
                                      "WHERE occurrence_start >= ?"),
                       {startText(since)})) {
        StoreSql::logFailure("OccurrenceAcks::since", query);
        return keys;
    }
    while (query.next())
        keys.insert(query.value(0).toString() + QLatin1Char('|') + query.value(1).toString());
    return keys;
}

bool OccurrenceAcks::acknowledge(const QList<Key> &keys)
{
    if (keys.isEmpty())
        return true;
    StoreTransaction transaction(m_database);
    if (!transaction.isActive())
        return false;
    // Prepared once per connection rather than once a row: a first poll
    // after a long break notes every occurrence it shows.
    const auto insert = m_database->statement(QStringLiteral(
        "INSERT OR IGNORE INTO reminder_occurrence_acks (reminder_id, occurrence_start) VALUES (?, ?)"));
    if (!insert)
        return false;
    for (const Key &key : keys) {
        if (!insert->execute({key.reminderId, startText(key.occurrenceStart, key.allDay)})) {
            qCWarning(lcStore).noquote() << "OccurrenceAcks::acknowledge failed:" << insert->errorText();
            return false;
        }
    }
    return transaction.keep();
}

bool OccurrenceAcks::prune(const QDateTime &before)
{
    return StoreSql::write(m_database->database(), "OccurrenceAcks::prune",
                           QStringLiteral("DELETE FROM reminder_occurrence_acks WHERE occurrence_start < ?"),
                           {startText(before)});
}
