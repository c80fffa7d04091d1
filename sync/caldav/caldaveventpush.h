#pragma once

#include "caldavpush.h"
#include "event.h"

#include <QStringList>

class CalDavEventStore;
class EventRepository;

// Pushes the pending events of one calendar. A series and its overrides are
// one resource: whenever one of its rows is pending, the whole resource is
// written (master and every live override, in one VCALENDAR); a deleted
// override leaves the master with an EXDATE for its occurrence; a deleted
// master deletes the resource.
class CalDavEventPush : public CalDavPush
{
    Q_OBJECT
public:
    CalDavEventPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
                    CalDavEventStore *store, EventRepository *events, QObject *parent);

protected:
    // Series UIDs, in the order of the pending list.
    QStringList pendingKeys() override;
    // One resource: the series `seriesUid`.
    void push(const QString &seriesUid, bool retried) override;

private:
    void deleteSeries(const QString &seriesUid, const QString &href, const QString &etag, const QString &title,
                      bool retried);
    void writeSeries(const QString &seriesUid, const QList<Event> &rows, const QString &href,
                     const QString &etag, const QString &title, bool retried);
    // After the server confirmed a write: the rows sent become "synced" (the
    // master with the EXDATEs it went out with) unless they changed while
    // the request was under way; the deleted overrides go.
    void confirmWrite(const QList<Event> &sent, const QString &masterExceptions,
                      const QList<Event> &deletedOverrides, const QString &href, const QString &etag);

    CalDavEventStore *m_store;
    EventRepository *m_events;
};
