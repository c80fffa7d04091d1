#include "resourcebaserepository.h"

#include "database.h"
#include "sqlitestatement.h"
#include "storesql.h"

using namespace StoreSql;

ResourceBaseRepository::ResourceBaseRepository(Database *database)
    : m_database(database)
{
}

std::optional<ResourceBaseRepository::Texts> ResourceBaseRepository::texts(const QString &calendarId,
                                                                           const QString &href) const
{
    std::optional<Texts> found;
    eachRow(m_database->database(), "ResourceBaseRepository::texts",
            QStringLiteral("SELECT base_text, server_etag, server_text FROM caldav_resource_bases "
                           "WHERE calendar_id = ? AND href = ?"),
            {calendarId, href}, [&found](const QSqlQuery &q) {
                found = Texts{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
            });
    return found;
}

bool ResourceBaseRepository::keepBase(const QString &calendarId, const QString &href, const QString &text)
{
    return write(m_database->database(), "ResourceBaseRepository::keepBase",
                 QStringLiteral("INSERT OR REPLACE INTO caldav_resource_bases (calendar_id, href, base_text) "
                                "VALUES (?, ?, ?)"),
                 {calendarId, href, text});
}

bool ResourceBaseRepository::keepServerText(const QString &calendarId, const QString &href, const QString &etag,
                                            const QString &text)
{
    return write(m_database->database(), "ResourceBaseRepository::keepServerText",
                 QStringLiteral("INSERT INTO caldav_resource_bases (calendar_id, href, server_etag, server_text) "
                                "VALUES (?, ?, ?, ?) ON CONFLICT (calendar_id, href) DO UPDATE SET "
                                "server_etag = excluded.server_etag, server_text = excluded.server_text"),
                 {calendarId, href, etag, text});
}

bool ResourceBaseRepository::forget(const QString &calendarId, const QStringList &hrefs)
{
    // A pull forgets its removed items one by one: prepared once per
    // connection rather than compiled for each.
    const auto statement = m_database->statement(
        QStringLiteral("DELETE FROM caldav_resource_bases WHERE calendar_id = ? AND href = ?"));
    if (!statement)
        return false;
    bool ok = true;
    for (const QString &href : hrefs) {
        if (!statement->execute({calendarId, href})) {
            qCWarning(lcStore).noquote() << "ResourceBaseRepository::forget failed:" << statement->errorText();
            ok = false;
        }
    }
    return ok;
}

std::optional<QSet<QString>> ResourceBaseRepository::hrefsOf(const QString &calendarId) const
{
    QSet<QString> hrefs;
    if (!eachRow(m_database->database(), "ResourceBaseRepository::hrefsOf",
                 QStringLiteral("SELECT href FROM caldav_resource_bases WHERE calendar_id = ?"), {calendarId},
                 [&hrefs](const QSqlQuery &q) { hrefs.insert(q.value(0).toString()); }))
        return std::nullopt;
    return hrefs;
}
