#pragma once

#include "caldavpush.h"
#include "caldavworkerstore.h"
#include "event.h"

#include <QStringList>

class CalDavEventStore;
class EventRepository;
namespace Sync {
class ConflictResolutionService;
}

// Pushes the pending events of one calendar. A series and its overrides are
// one resource: whenever one of its rows is pending, the whole resource is
// written (master and every live override, in one VCALENDAR); a deleted
// override leaves the master with an EXDATE for its occurrence; a deleted
// master deletes the resource. When the server's copy changed since both
// sides last agreed on it, its changes are merged into the local rows first
// (see CalDavSeriesMerge), and what both sides changed is recorded as a
// conflict; a 412 fetches the server's copy and merges once more.
class CalDavEventPush : public CalDavPush
{
    Q_OBJECT
public:
    CalDavEventPush(CalDavClient *client, const QUrl &collection, const QString &calendarName, CalDavEventStore *store,
                    CalDavWorkerStore *worker, EventRepository *events, Sync::ConflictResolutionService *conflicts,
                    QObject *parent);

protected:
    // One resource: the series `seriesUid`.
    void push(const QString &seriesUid, bool retried) override;

private:
    // The series, whose rows are `rows` as they are now: deleted or written
    // to `href`.
    void send(const QString &seriesUid, const QList<Event> &rows, const QString &href, const QString &etag,
              const QString &title, bool retried);
    void deleteSeries(const QString &seriesUid, const QString &href, const QString &etag, const QString &title,
                      bool retried);
    void writeSeries(const QString &seriesUid, const QList<Event> &rows, const QString &href, const QString &etag,
                     const QString &title, bool retried);
    // After the server confirmed a write: the rows sent become "synced" (the
    // master with the EXDATEs it went out with) unless they changed while
    // the request was under way; the deleted overrides go. False when the
    // store could not take it.
    bool confirmWrite(const QList<Event> &sent, const QString &masterExceptions, const QList<Event> &deletedOverrides,
                      const QString &href, const QString &etag);
    // Takes the server's newer copy of `href` at `etag`, which the pull or a
    // 412 left, into the series' rows; false when the store could not.
    bool mergeServerCopy(const QList<Event> &rows, const QString &href, const QString &etag,
                         const CalDavWorkerStore::ServerCopy &copy);
    void recordConflict(const Event &local, Event remote, const QString &etag);

    CalDavEventStore *m_store;
    EventRepository *m_events;
    Sync::ConflictResolutionService *m_conflicts;
};
