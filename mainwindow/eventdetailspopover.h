#pragma once

#include "detailspopover.h"
#include "event.h"

#include <QPointer>

class AppState;

// The details of one event or occurrence: title, time, place, calendar and
// notes, with Edit and Delete. At most one is open: a new one closes the
// last. Edit is asked for through editRequested, which the main window
// answers with the event form; Delete asks, tombstones the row (a series with
// its overrides) and pushes an undo entry.
class EventDetailsPopover : public DetailsPopover
{
    Q_OBJECT
public:
    EventDetailsPopover(AppState *state, const Event &event, QWidget *parent = nullptr);
    ~EventDetailsPopover() override;

    static void closeOpen();

    // "Mon, Mar 16, 2026 · 09:00 – 10:00", "… · All day"; all-day dates as stored.
    static QString whenText(const Event &event);

Q_SIGNALS:
    void editRequested(const Event &event);

private:
    void deleteEvent();

    AppState *m_state;
    Event m_event;
    static QPointer<EventDetailsPopover> s_open;
};
