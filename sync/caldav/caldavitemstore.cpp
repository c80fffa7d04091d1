#include "caldavitemstore.h"

#include "caldavlog.h"
#include "database.h"
#include "recordnames.h"

#include <QSqlError>
#include <QUuid>

using namespace Qt::StringLiterals;

CalDavItemStore::CalDavItemStore(Database *database, const QString &calendarId, const QString &table)
    : m_database(database), m_calendarId(calendarId), m_table(table)
{
}

CalDavItemStore::Applied CalDavItemStore::apply(const QList<CalDavParse::Resource> &resources)
{
    Applied applied;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const CalDavParse::Resource &resource : resources) {
        if (resource.calendarData.isEmpty())
            continue;
        const int before = applied.parsed;
        applyResource(resource, now, applied);
        if (applied.parsed > before)
            continue;
        // A resource of another kind (a to-do among the events, from a
        // server that lists every kind) is not ours to store. Data that is
        // not iCalendar, or holds an object of this kind that cannot be
        // read, is missing: the run says so, and leaves it until its ETag
        // moves.
        const QString &data = resource.calendarData;
        const bool calendar = data.contains(u"BEGIN:VCALENDAR"_s, Qt::CaseInsensitive);
        if (calendar && !data.contains(u"BEGIN:"_s + component(), Qt::CaseInsensitive))
            continue;
        qCWarning(lcCalDav) << "[CalDav] no" << component() << "readable in" << resource.href;
        applied.unreadable.append({resource.href, resource.etag});
    }
    scheduleChanged();
    return applied;
}

QString CalDavItemStore::newRowId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QHash<QString, QSet<QString>> CalDavItemStore::storedEtags() const
{
    QHash<QString, QSet<QString>> etags;
    exec(u"SELECT href, etag FROM %1 WHERE calendar_id = ? AND href IS NOT NULL AND href <> ''"_s.arg(m_table),
         {m_calendarId}, [&etags](const QSqlQuery &q) {
             etags[q.value(0).toString()].insert(q.value(1).toString());
         });
    return etags;
}

void CalDavItemStore::dropUnlisted(const QSet<QString> &listed)
{
    // One read of the calendar: a query per unlisted href would walk the
    // calendar's rows once each (there is no index on href).
    QList<StoredRow> unlisted;
    QSet<QString> gone;
    exec(u"SELECT id, sync_status, href FROM %1 WHERE calendar_id = ? AND href IS NOT NULL AND href <> ''"_s.arg(m_table),
         {m_calendarId}, [&unlisted, &gone, &listed](const QSqlQuery &q) {
             const QString href = q.value(2).toString();
             if (!listed.contains(href)) {
                 unlisted.append({q.value(0).toString(), q.value(1).toString() == SyncStatus::Pending});
                 gone.insert(href);
             }
         });
    drop(unlisted);
    forgetTexts(gone.values());
}

void CalDavItemStore::inTransaction(const std::function<void()> &work)
{
    QSqlDatabase &db = m_database->database();
    // Without a transaction every row is its own commit: slower, still correct.
    const bool began = db.transaction();
    if (!began)
        qCWarning(lcCalDav) << "[CalDav] could not begin a transaction:" << db.lastError().text();
    work();
    if (began && !db.commit())
        qCWarning(lcCalDav) << "[CalDav] commit failed:" << db.lastError().text();
}

bool CalDavItemStore::exec(const QString &sql, const QVariantList &values,
                           const std::function<void(const QSqlQuery &)> &row) const
{
    QSqlQuery query(m_database->database());
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok) {
        qCWarning(lcCalDav) << "[CalDav] store query failed:" << query.lastError().text();
        return false;
    }
    while (row && query.next())
        row(query);
    return true;
}

void CalDavItemStore::takeServerIdentity(const QString &id, const QString &storedHref, const QString &storedEtag,
                                         const QString &href, const QString &etag)
{
    const QString newHref = href.isEmpty() ? storedHref : href;
    if (newHref == storedHref && etag == storedEtag)
        return;
    exec(u"UPDATE %1 SET href = ?, etag = ? WHERE id = ?"_s.arg(m_table),
         {newHref.isEmpty() ? QVariant() : QVariant(newHref), etag.isEmpty() ? QVariant() : QVariant(etag), id});
}

void CalDavItemStore::dropResource(const QString &href)
{
    QList<StoredRow> rows;
    exec(u"SELECT id, sync_status FROM %1 WHERE calendar_id = ? AND href = ?"_s.arg(m_table), {m_calendarId, href},
         [&rows](const QSqlQuery &q) {
             rows.append({q.value(0).toString(), q.value(1).toString() == SyncStatus::Pending});
         });
    drop(rows);
    forgetTexts({href});
}

void CalDavItemStore::drop(const QList<StoredRow> &rows)
{
    for (const StoredRow &row : rows) {
        if (row.pending)
            forgetServerIdentity(row.id);
        else
            removeRow(row.id);
    }
    if (!rows.isEmpty())
        scheduleChanged();
}

void CalDavItemStore::forgetServerIdentity(const QString &id)
{
    exec(u"UPDATE %1 SET href = NULL, etag = NULL WHERE id = ?"_s.arg(m_table), {id});
}

std::optional<CalDavItemStore::ResourceTexts> CalDavItemStore::texts(const QString &href) const
{
    std::optional<ResourceTexts> found;
    exec(u"SELECT base_text, server_etag, server_text FROM caldav_resource_bases WHERE calendar_id = ? AND href = ?"_s,
         {m_calendarId, href}, [&found](const QSqlQuery &q) {
             found = ResourceTexts{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
         });
    return found;
}

void CalDavItemStore::keepBase(const QString &href, const QString &text)
{
    exec(u"INSERT OR REPLACE INTO caldav_resource_bases (calendar_id, href, base_text) VALUES (?, ?, ?)"_s,
         {m_calendarId, href, text});
}

void CalDavItemStore::keepServerText(const QString &href, const QString &etag, const QString &text)
{
    exec(u"INSERT INTO caldav_resource_bases (calendar_id, href, server_etag, server_text) VALUES (?, ?, ?, ?) "
         "ON CONFLICT (calendar_id, href) DO UPDATE SET server_etag = excluded.server_etag, "
         "server_text = excluded.server_text"_s,
         {m_calendarId, href, etag, text});
}

void CalDavItemStore::forgetTexts(const QStringList &hrefs)
{
    for (const QString &href : hrefs)
        exec(u"DELETE FROM caldav_resource_bases WHERE calendar_id = ? AND href = ?"_s, {m_calendarId, href});
}

void CalDavItemStore::keepText(const CalDavParse::Resource &resource, bool pending)
{
    if (pending)
        keepServerText(resource.href, resource.etag, resource.calendarData);
    else
        keepBase(resource.href, resource.calendarData);
}
