#include "caldaveventpush.h"

#include "caldaveventstore.h"
#include "caldavhref.h"
#include "caldavlog.h"
#include "caldavseriesmerge.h"
#include "conflictresolutionservice.h"
#include "eventmerge.h"
#include "eventrepository.h"
#include "exceptionkey.h"
#include "icalendar.h"
#include "recordnames.h"

#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kCalendarType = u"text/calendar; charset=utf-8"_s;

// The master's EXDATE list with the occurrences of deleted overrides added,
// as the JSON text the record keeps: dates for an all-day series, UTC times
// otherwise.
QString withExceptions(const Event &master, const QList<Event> &deletedOverrides)
{
    QStringList dates = EventMerge::dateList(master.exception_dates);
    const qsizetype before = dates.size();
    for (const Event &removed : deletedOverrides) {
        const QString key = ExceptionKey::normalized(master, removed.recurrence_id);
        if (!key.isEmpty() && !ExceptionKey::listed(master, dates, key))
            dates.append(key);
    }
    return dates.size() == before ? master.exception_dates : EventMerge::dateJson(dates);
}

// What stands for the text of a DELETE when the server refuses it.
QByteArray deleteMarker(const QString &href)
{
    return "DELETE " + href.toUtf8();
}

} // namespace

CalDavEventPush::CalDavEventPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
                                 CalDavEventStore *store, CalDavWorkerStore *worker, EventRepository *events,
                                 Sync::ConflictResolutionService *conflicts, QObject *parent)
    : CalDavPush(client, collection, calendarName, store, worker, parent)
    , m_store(store)
    , m_events(events)
    , m_conflicts(conflicts)
{
}

void CalDavEventPush::push(const QString &seriesUid, bool retried)
{
    const QList<Event> rows = m_store->series(seriesUid);
    const auto pending = std::find_if(rows.cbegin(), rows.cend(),
                                      [](const Event &e) { return e.sync_status == SyncStatus::Pending; });
    if (pending == rows.cend()) {
        next(); // pushed with an earlier resource, or gone meanwhile
        return;
    }
    const QString title = pending->title;
    const auto master = std::find_if(rows.cbegin(), rows.cend(),
                                     [](const Event &e) { return e.recurrence_id.isEmpty(); });
    // The master's href names the resource; an override-only resource has its own.
    auto holder = master != rows.cend() && !master->href.isEmpty()
        ? master
        : std::find_if(rows.cbegin(), rows.cend(), [](const Event &e) { return !e.href.isEmpty(); });
    const QString href = holder == rows.cend() ? QString() : holder->href;
    const QString etag = holder == rows.cend() ? QString() : holder->etag;
    if (href.isEmpty()) {
        send(seriesUid, rows, href, etag, title, retried);
        return;
    }
    // A newer server copy that waits is read off this thread and merged first.
    m_worker->serverCopy(m_store->component(), href, etag,
                         [this, seriesUid, href, etag, title,
                          retried](const std::optional<CalDavWorkerStore::ServerCopy> &copy) {
        const QList<Event> rows = m_store->series(seriesUid);
        if (std::none_of(rows.cbegin(), rows.cend(), [](const Event &e) { return e.sync_status == SyncStatus::Pending; })) {
            next(); // pushed or gone while the copy was read
            return;
        }
        // Sent unmerged, the rows would write over what changed there.
        StoreFailure::clear();
        if (copy && !mergeServerCopy(rows, href, etag, *copy)) {
            storeFailed();
            return;
        }
        // Only a merge wrote to the rows since they were read.
        send(seriesUid, copy ? m_store->series(seriesUid) : rows, href, etag, title, retried);
    });
}

void CalDavEventPush::send(const QString &seriesUid, const QList<Event> &rows, const QString &href,
                           const QString &etag, const QString &title, bool retried)
{
    const bool anyLive = std::any_of(rows.cbegin(), rows.cend(), [](const Event &e) { return !e.deleted_at; });

    const bool masterDeleted = std::any_of(rows.cbegin(), rows.cend(),
                                           [](const Event &e) { return e.recurrence_id.isEmpty() && e.deleted_at; });
    if (masterDeleted || !anyLive)
        deleteSeries(seriesUid, href, etag, title, retried);
    else
        writeSeries(seriesUid, rows, href, etag, title, retried);
}

void CalDavEventPush::deleteSeries(const QString &seriesUid, const QString &href, const QString &etag,
                                   const QString &title, bool retried)
{
    const auto removeLocally = [this, seriesUid, href] {
        m_store->inTransaction([&] {
            const QList<Event> current = m_store->series(seriesUid);
            const auto master = std::find_if(current.cbegin(), current.cend(),
                                             [](const Event &e) { return e.recurrence_id.isEmpty(); });
            // A deleted master takes every occurrence with it; a master restored
            // meanwhile is created again by the next push.
            const bool wholeSeries = master != current.cend() && master->deleted_at;
            for (const Event &row : current) {
                if ((wholeSeries || row.deleted_at) && !m_events->hardDelete(row.id))
                    qCWarning(lcCalDav) << "[CalDav] hardDelete failed for id=" << row.id;
            }
            if (!href.isEmpty() && !wholeSeries)
                m_store->dropResource(href);
            else if (!href.isEmpty())
                m_store->forgetTexts({href});
        });
    };
    if (href.isEmpty()) {
        qCDebug(lcCalDav) << "[CalDav] Local-only delete skip-push for" << title;
        removeLocally();
        next();
        return;
    }
    if (wasRefused(seriesUid, deleteMarker(href))) {
        next();
        return;
    }
    m_client->deleteResource(
        CalDavHref::resourceUrl(m_collection, href),
        [this, seriesUid, href, title, retried, removeLocally](const CalDavClient::Response &response) {
        qCDebug(lcCalDav) << "[CalDav] Push response for" << title << "→ HTTP" << response.status
                          << "err=" << response.error << "(delete)";
        if (!response.error.isEmpty()) {
            qCWarning(lcCalDav) << "[CalDav] Push network error for uid=" << seriesUid << ":" << response.error;
            fail(writeResult(response, SyncResult::Step::EventPush, title));
        } else if (response.isWriteSuccess() || response.status == 404) {
            removeLocally();
            next();
        } else {
            rejected(seriesUid, deleteMarker(href), href, writeResult(response, SyncResult::Step::EventPush, title),
                     retried);
        }
        },
        etag);
}

void CalDavEventPush::writeSeries(const QString &seriesUid, const QList<Event> &rows, const QString &href,
                                  const QString &etag, const QString &title, bool retried)
{
    QList<Event> sent;
    QList<Event> deletedOverrides;
    for (const Event &row : rows) {
        if (!row.deleted_at)
            sent.append(row);
        else if (!row.recurrence_id.isEmpty())
            deletedOverrides.append(row);
    }
    // Master first; every object of the resource carries the series UID.
    std::stable_sort(sent.begin(), sent.end(), [](const Event &a, const Event &b) {
        return a.recurrence_id.isEmpty() && !b.recurrence_id.isEmpty();
    });
    QList<Event> objects = sent;
    for (Event &object : objects) {
        if (object.recurrence_id.isEmpty())
            object.exception_dates = withExceptions(object, deletedOverrides);
        else
            object.uid = seriesUid;
    }
    const QByteArray body = ICalendar::serializeEvents(objects).toUtf8();
    const QString masterExceptions = objects.first().recurrence_id.isEmpty() ? objects.first().exception_dates
                                                                             : QString();

    const bool create = href.isEmpty();
    const QUrl url = create ? CalDavHref::newResourceUrl(m_collection, seriesUid)
                            : CalDavHref::resourceUrl(m_collection, href);
    const QString target = create ? CalDavHref::decodedPath(url) : href;
    const char *kind = create ? "(create)" : "(update)";
    auto onReply = [=](const CalDavClient::Response &response) {
        qCDebug(lcCalDav) << "[CalDav] Push response for" << title << "→ HTTP" << response.status
                          << "err=" << response.error << kind;
        if (!response.error.isEmpty()) {
            qCWarning(lcCalDav) << "[CalDav] Push network error for uid=" << seriesUid << ":" << response.error;
            fail(writeResult(response, SyncResult::Step::EventPush, title));
        } else if (response.isWriteSuccess()) {
            const QString newEtag = response.etag();
            // What went out is what both sides now hold.
            m_store->keepBase(target, QString::fromUtf8(body));
            StoreFailure::clear();
            // Left pending, the rows go out again; the run must not pass
            // for one that synced them.
            if (!confirmWrite(sent, masterExceptions, deletedOverrides, target, newEtag.isEmpty() ? etag : newEtag)) {
                storeFailed();
                return;
            }
            accepted(seriesUid);
            next();
        } else {
            rejected(seriesUid, body, target, writeResult(response, SyncResult::Step::EventPush, title), retried);
        }
    };
    if (wasRefused(seriesUid, body)) {
        next();
        return;
    }
    if (create)
        m_client->putNew(url, body, kCalendarType, onReply);
    else
        m_client->put(url, body, kCalendarType, onReply, etag);
}

bool CalDavEventPush::confirmWrite(const QList<Event> &sent, const QString &masterExceptions,
                                   const QList<Event> &deletedOverrides, const QString &href, const QString &etag)
{
    bool allKept = true;
    const bool committed = m_store->inTransaction([&] {
        for (const Event &row : sent) {
            std::optional<Event> current = m_events->getById(row.id);
            if (!current)
                continue;
            if (*current != row) {
                // Changed while the request was under way: that change still
                // has to go out, now against the version just written.
                m_store->takeServerIdentity(row.id, current->href, current->etag, href, etag);
                continue;
            }
            bool ok;
            if (row.recurrence_id.isEmpty() && masterExceptions != row.exception_dates) {
                current->exception_dates = masterExceptions;
                current->href = href;
                current->etag = etag;
                current->sync_status = SyncStatus::Synced;
                ok = m_events->update(*current);
            } else {
                ok = m_events->markSynced(row.id, href, etag);
            }
            if (!ok) {
                qCWarning(lcCalDav) << "[CalDav] markSynced failed for id=" << row.id;
                allKept = false;
            }
        }
        for (const Event &removed : deletedOverrides) {
            const std::optional<Event> current = m_events->getById(removed.id);
            if (current && current->deleted_at && !m_events->hardDelete(removed.id)) {
                qCWarning(lcCalDav) << "[CalDav] hardDelete failed for id=" << removed.id;
                allKept = false;
            }
        }
    });
    return committed && allKept;
}

bool CalDavEventPush::mergeServerCopy(const QList<Event> &rows, const QString &href, const QString &etag,
                                      const CalDavWorkerStore::ServerCopy &copy)
{
    const QString &serverText = copy.server.resource.calendarData;
    const QList<Event> &server = copy.server.events;
    const auto master = std::find_if(rows.cbegin(), rows.cend(),
                                     [](const Event &e) { return e.recurrence_id.isEmpty(); });
    bool stored = true;
    const bool committed = m_store->inTransaction([&] {
        if (master != rows.cend() && master->deleted_at) {
            // Deleted here: the deletion stands over what changed there.
            const auto theirs = std::find_if(server.cbegin(), server.cend(),
                                             [](const Event &e) { return e.recurrence_id.isEmpty(); });
            if (theirs != server.cend() && serverText != copy.base.resource.calendarData)
                recordConflict(*master, *theirs, etag);
        } else {
            const CalDavSeriesMerge::Result merged = CalDavSeriesMerge::merge(copy.base.events, rows,
                                                                              server);
            qCInfo(lcCalDav) << "[CalDav] Merging the server's copy of" << href << ": changed" << merged.changed.size()
                             << "added" << merged.added.size() << "removed" << merged.removedIds.size() << "conflicts"
                             << merged.conflicts.size();
            for (Event row : merged.changed) {
                row.sync_status = SyncStatus::Pending;
                if (!m_events->update(row)) {
                    qCWarning(lcCalDav) << "[CalDav] merged row not stored, id=" << row.id;
                    stored = false;
                }
            }
            const QDateTime now = QDateTime::currentDateTimeUtc();
            for (Event row : merged.added) {
                row.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
                row.calendar_id = m_store->calendarId();
                row.href = href;
                row.etag = etag;
                row.sync_status = SyncStatus::Pending;
                if (row.title.isNull())
                    row.title = ""_L1;
                if (!row.created.isValid())
                    row.created = now;
                if (!row.last_modified.isValid())
                    row.last_modified = row.created;
                if (!m_events->insert(row)) {
                    qCWarning(lcCalDav) << "[CalDav] merged occurrence not stored, uid=" << row.uid;
                    stored = false;
                }
            }
            for (const QString &id : merged.removedIds)
                stored = m_events->hardDelete(id) && stored;
            for (const auto &[local, remote] : merged.conflicts)
                recordConflict(local, remote, etag);
        }
        // Everything of the server's copy is in the local rows now, unless
        // the store refused some of it: then the rows must not go out, or
        // they would write over what changed there.
        if (stored)
            m_store->keepBase(href, serverText);
    });
    return committed && stored;
}

void CalDavEventPush::recordConflict(const Event &local, Event remote, const QString &etag)
{
    qCInfo(lcCalDav) << "[CalDav] Both sides changed" << local.id << "- the local version stays";
    if (!m_conflicts)
        return;
    remote.id = local.id;
    remote.calendar_id = local.calendar_id;
    remote.etag = etag;
    remote.href = local.href;
    m_conflicts->recordConflict(local, remote);
}
