#include "googleeventstore.h"

#include "database.h"
#include "providerslog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

GoogleEventStore::GoogleEventStore(Database *database, const QString &calendarId)
    : m_database(database), m_calendarId(calendarId)
{
}

bool GoogleEventStore::exec(const QString &sql, const QVariantList &values,
                            const std::function<void(QSqlQuery &)> &row) const
{
    QSqlQuery query(m_database->database());
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok) {
        qCWarning(lcProviders) << "[Google] store query failed:" << query.lastError().text();
        return false;
    }
    while (row && query.next())
        row(query);
    return true;
}

QString GoogleEventStore::rowFor(const QString &providerEventId) const
{
    QString id;
    exec(u"SELECT id FROM events WHERE calendar_id = ? AND provider_event_id = ? LIMIT 1"_s,
         {m_calendarId, providerEventId}, [&id](QSqlQuery &q) { id = q.value(0).toString(); });
    return id;
}

bool GoogleEventStore::takeEtag(const QString &id, const QString &etag)
{
    return exec(u"UPDATE events SET etag = ? WHERE id = ?"_s, {etag, id});
}

bool GoogleEventStore::takeServerIdentity(const QString &id, const QString &providerEventId, const QString &etag)
{
    return exec(u"UPDATE events SET provider_event_id = ?, etag = ? WHERE id = ?"_s, {providerEventId, etag, id});
}

bool GoogleEventStore::forgetServerIdentity(const QString &id)
{
    return exec(u"UPDATE events SET provider_event_id = NULL, etag = NULL, href = NULL WHERE id = ?"_s, {id});
}

bool GoogleEventStore::addException(const QString &seriesProviderId, const QString &startKey)
{
    QString id;
    QString exceptions;
    exec(u"SELECT id, exception_dates FROM events WHERE calendar_id = ? AND provider_event_id = ? "
         "AND (master_event_uid IS NULL OR master_event_uid = '') LIMIT 1"_s,
         {m_calendarId, seriesProviderId}, [&](QSqlQuery &q) {
             id = q.value(0).toString();
             exceptions = q.value(1).toString();
         });
    if (id.isEmpty())
        return false;
    QJsonArray keys = QJsonDocument::fromJson(exceptions.toUtf8()).array();
    if (keys.contains(startKey))
        return true;
    keys.append(startKey);
    return exec(u"UPDATE events SET exception_dates = ? WHERE id = ?"_s,
                {QString::fromUtf8(QJsonDocument(keys).toJson(QJsonDocument::Compact)), id});
}

bool GoogleEventStore::begin()
{
    QSqlDatabase &db = m_database->database();
    // Without a transaction every row is its own commit: slower, still correct.
    if (db.transaction())
        return true;
    qCWarning(lcProviders) << "[Google] could not begin a transaction:" << db.lastError().text();
    return false;
}

void GoogleEventStore::commit()
{
    QSqlDatabase &db = m_database->database();
    if (!db.commit())
        qCWarning(lcProviders) << "[Google] commit failed:" << db.lastError().text();
}
