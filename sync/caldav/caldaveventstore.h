#pragma once

#include "caldavitemstore.h"
#include "event.h"

#include <optional>

class EventRepository;

// Events of one CalDAV calendar. A series and its overrides share one
// resource (one href); an override is matched by the series UID and its
// RECURRENCE-ID, also when the local row was made with a UID of its own.
class CalDavEventStore : public CalDavItemStore
{
public:
    CalDavEventStore(Database *database, EventRepository *events, const QString &calendarId);

    void scheduleChanged() override;
    QString component() const override { return QStringLiteral("VEVENT"); }

    // Every row of the series `seriesUid`, tombstones included, with children:
    // the master (no recurrence id) and each override.
    QList<Event> series(const QString &seriesUid) const;

    // The UID that names the resource of `event`: the series UID for an override.
    static QString seriesUid(const Event &event);
    // Series UIDs, in the order of the pending list.
    QStringList pendingKeys() const override;

protected:
    void applyResource(const Fetched &fetched, qsizetype first, qsizetype end, const QDateTime &now,
                       Applied &applied) override;
    bool removeRow(const QString &id) override;

private:
    // One object from the server.
    Written applyEvent(Event event, const QDateTime &now);
    std::optional<Event> find(const Event &event) const;

    EventRepository *m_events;
};
