#include "caldavitemstore.h"

#include "caldavlog.h"
#include "database.h"
#include "icalendar.h"
#include "recordnames.h"
#include "storetransaction.h"

#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

CalDavItemStore::CalDavItemStore(Database *database, const QString &calendarId, const QString &table)
    : m_database(database)
    , m_calendarId(calendarId)
    , m_rows(database, table)
    , m_bases(database)
{
}

QList<CalDavItemStore::Fetched> CalDavItemStore::read(const QString &component,
                                                      const QList<CalDavParse::Resource> &resources)
{
    const bool events = component == u"VEVENT"_s;
    QList<Fetched> out;
    for (const CalDavParse::Resource &resource : resources) {
        if (resource.calendarData.isEmpty())
            continue;
        Fetched fetched;
        fetched.resource = resource;
        if (events)
            fetched.events = ICalendar::parseEvents(resource.calendarData);
        else
            fetched.tasks = ICalendar::parseTasks(resource.calendarData);
        if (fetched.events.isEmpty() && fetched.tasks.isEmpty()) {
            const QString &data = resource.calendarData;
            fetched.otherKind = data.contains(u"BEGIN:VCALENDAR"_s, Qt::CaseInsensitive)
                && !data.contains(u"BEGIN:"_s + component, Qt::CaseInsensitive);
        }
        out.append(std::move(fetched));
    }
    return out;
}

CalDavItemStore::Applied CalDavItemStore::apply(const QList<CalDavParse::Resource> &resources)
{
    Applied applied;
    for (const Fetched &one : read(component(), resources))
        applied.add(applyObjects(one, 0, objectCount(one)));
    return applied;
}

CalDavItemStore::Applied CalDavItemStore::applyObjects(const Fetched &fetched, qsizetype first, qsizetype count)
{
    Applied applied;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qsizetype end = std::min(objectCount(fetched), first + count);
    applyResource(fetched, first, end, now, applied);
    // The last call of a resource written over several: its rows take its ETag.
    if (first > 0 && end == objectCount(fetched))
        m_rows.settleEtag(m_calendarId, fetched.resource.href, fetched.resource.etag);
    // A resource of another kind (a to-do among the events, from a server
    // that lists every kind) is not ours to store. Data that is not
    // iCalendar, or holds an object of this kind that cannot be read, is
    // missing: the run says so, and leaves it until its ETag moves.
    if (objectCount(fetched) == 0 && !fetched.otherKind) {
        qCWarning(lcCalDav) << "[CalDav] no" << component() << "readable in" << fetched.resource.href;
        applied.unreadable.append({fetched.resource.href, fetched.resource.etag});
    }
    return applied;
}

QString CalDavItemStore::newRowId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QHash<QString, QSet<QString>> CalDavItemStore::storedEtags() const
{
    return m_rows.etagsByHref(m_calendarId);
}

int CalDavItemStore::dropUnlisted(const QSet<QString> &listed)
{
    // One read of the calendar: a query per unlisted href would walk the
    // calendar's rows once each (there is no index on href).
    QList<CalDavRowRepository::Row> unlisted;
    QSet<QString> gone;
    const QList<CalDavRowRepository::Row> rows = m_rows.rowsWithHref(m_calendarId);
    for (const CalDavRowRepository::Row &row : rows) {
        if (!listed.contains(row.href)) {
            unlisted.append(row);
            gone.insert(row.href);
        }
    }
    drop(unlisted);
    forgetTexts(gone.values());
    return int(unlisted.size());
}

bool CalDavItemStore::inTransaction(const std::function<void()> &work)
{
    StoreTransaction transaction(m_database, StoreTransaction::Lock::Immediate);
    if (!transaction.isActive()) {
        qCWarning(lcCalDav) << "[CalDav] could not begin a transaction:" << transaction.errorText();
        return false;
    }
    work();
    if (!transaction.keep()) {
        qCWarning(lcCalDav) << "[CalDav] commit failed:" << transaction.errorText();
        return false;
    }
    return true;
}

void CalDavItemStore::takeServerIdentity(const QString &id, const QString &storedHref, const QString &storedEtag,
                                         const QString &href, const QString &etag)
{
    const QString newHref = href.isEmpty() ? storedHref : href;
    if (newHref == storedHref && etag == storedEtag)
        return;
    m_rows.setServerIdentity(id, newHref, etag);
}

void CalDavItemStore::dropResource(const QString &href)
{
    drop(m_rows.rowsAt(m_calendarId, href));
    forgetTexts({href});
}

void CalDavItemStore::drop(const QList<CalDavRowRepository::Row> &rows)
{
    for (const CalDavRowRepository::Row &row : rows) {
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
    m_rows.forgetServerIdentity(id);
}

std::optional<CalDavItemStore::ResourceTexts> CalDavItemStore::texts(const QString &href) const
{
    return m_bases.texts(m_calendarId, href);
}

void CalDavItemStore::keepBase(const QString &href, const QString &text)
{
    m_bases.keepBase(m_calendarId, href, text);
}

void CalDavItemStore::keepServerText(const QString &href, const QString &etag, const QString &text)
{
    m_bases.keepServerText(m_calendarId, href, etag, text);
}

void CalDavItemStore::forgetTexts(const QStringList &hrefs)
{
    m_bases.forget(m_calendarId, hrefs);
}

void CalDavItemStore::keepText(const CalDavParse::Resource &resource, bool pending)
{
    if (pending)
        keepServerText(resource.href, resource.etag, resource.calendarData);
    else
        keepBase(resource.href, resource.calendarData);
}
