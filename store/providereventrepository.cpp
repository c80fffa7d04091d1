#include "providereventrepository.h"

#include "database.h"
#include "eventrowwriter.h"
#include "storesql.h"
#include "storetransaction.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace StoreSql;

ProviderEventRepository::ProviderEventRepository(Database *database)
    : m_database(database)
{
}

QHash<QString, QString> ProviderEventRepository::rowsByProviderId(const QString &calendarId) const
{
    QHash<QString, QString> out;
    eachRow(m_database->database(), "ProviderEventRepository::rowsByProviderId",
            QStringLiteral("SELECT provider_event_id, id FROM events WHERE calendar_id = ? "
                           "AND provider_event_id IS NOT NULL AND provider_event_id <> ''"),
            {calendarId}, [&out](const QSqlQuery &q) { out.insert(q.value(0).toString(), q.value(1).toString()); });
    return out;
}

bool ProviderEventRepository::setServerIdentity(const QString &id, const QString &providerEventId, const QString &etag)
{
    return write(m_database->database(), "ProviderEventRepository::setServerIdentity",
                 QStringLiteral("UPDATE events SET provider_event_id = ?, etag = ? WHERE id = ?"),
                 {providerEventId, etag, id});
}

bool ProviderEventRepository::forgetServerIdentity(const QString &id)
{
    return write(m_database->database(), "ProviderEventRepository::forgetServerIdentity",
                 QStringLiteral("UPDATE events SET provider_event_id = NULL, etag = NULL, href = NULL WHERE id = ?"),
                 {id});
}

bool ProviderEventRepository::addException(const QString &calendarId, const QString &seriesProviderId,
                                           const QString &startKey)
{
    QString id;
    QString exceptions;
    eachRow(m_database->database(), "ProviderEventRepository::addException",
            QStringLiteral("SELECT id, exception_dates FROM events WHERE calendar_id = ? AND provider_event_id = ? "
                           "AND (master_event_uid IS NULL OR master_event_uid = '') LIMIT 1"),
            {calendarId, seriesProviderId}, [&](const QSqlQuery &q) {
                id = q.value(0).toString();
                exceptions = q.value(1).toString();
            });
    if (id.isEmpty())
        return false;
    QJsonArray keys = QJsonDocument::fromJson(exceptions.toUtf8()).array();
    if (keys.contains(startKey))
        return true;
    keys.append(startKey);
    return write(m_database->database(), "ProviderEventRepository::addException",
                 QStringLiteral("UPDATE events SET exception_dates = ? WHERE id = ?"),
                 {QString::fromUtf8(QJsonDocument(keys).toJson(QJsonDocument::Compact)), id});
}

bool ProviderEventRepository::removeRows(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    // All or none: children gone without their event would pass for an
    // event without reminders.
    StoreTransaction transaction(m_database);
    EventRowWriter writer(*m_database);
    if (!transaction.isActive() || !writer.deleteRows(ids)) {
        qCWarning(lcStore).noquote() << "ProviderEventRepository::removeRows failed:" << writer.errorText();
        return false;
    }
    return transaction.keep();
}

QHash<QString, QString> ProviderEventRepository::syncedRowsNotIn(const QString &calendarId, const QSet<QString> &listed,
                                                                 const QDateTime &from, const QDateTime &to) const
{
    QHash<QString, QString> out;
    eachRow(m_database->database(), "ProviderEventRepository::syncedRowsNotIn",
            QStringLiteral("SELECT id, provider_event_id, start_time FROM events WHERE calendar_id = ? "
                           "AND sync_status = 'synced' AND provider_event_id IS NOT NULL AND provider_event_id <> ''"),
            {calendarId}, [&](const QSqlQuery &q) {
                const QString providerId = q.value(1).toString();
                if (listed.contains(providerId))
                    return;
                if (from.isValid() || to.isValid()) {
                    const QDateTime start = readTime(q.value(2));
                    if (!start.isValid() || (from.isValid() && start < from) || (to.isValid() && start >= to))
                        return;
                }
                out.insert(q.value(0).toString(), providerId);
            });
    return out;
}
