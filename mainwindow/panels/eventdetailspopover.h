#pragma once

#include "detailspopover.h"
#include "event.h"
#include "recurringeditscope.h"

#include <QPointer>

class AppState;

// The details of one event or occurrence: title, time, its rule and
// reminders, place, online meeting, calendar and notes (cleaned of an
// invitation's boilerplate, their web addresses as links), with Edit and
// Delete. At most one is open: a new one closes the
// last. Edit is asked for through editRequested, which the main window
// answers with the event form; Delete asks, tombstones the row (a series with
// its overrides) and pushes an undo entry. On an occurrence of a repeating
// event both first ask how far they reach (RecurringEditScopeDialog): Edit
// passes the scope on, Delete removes that occurrence, it and the following
// ones, or the series; Cancel does nothing.
class EventDetailsPopover : public DetailsPopover
{
    Q_OBJECT
public:
    EventDetailsPopover(AppState *state, const Event &event, QWidget *parent = nullptr);
    ~EventDetailsPopover() override;

    static void closeOpen();

    // "Mon, Mar 16, 2026 · 09:00 – 10:00", "… · All day"; all-day dates as stored.
    static QString whenText(const Event &event);
    // "Reminders: 15 min before, 1 hour(s) before", shortest lead first;
    // empty without reminders.
    static QString remindersText(const Event &event);
    // Rich text: a link to a web meeting address, else the address as text.
    static QString conferenceHtml(const QString &url);

Q_SIGNALS:
    // `event` is the occurrence shown; `scope` is AllEvents for an event
    // that does not repeat.
    void editRequested(const Event &event, RecurringEditScope scope);

private:
    bool isRepeating() const;
    // Hides the card while asking, in the words of an edit or a deletion;
    // None when cancelled.
    RecurringEditScope askScope(bool deleting);
    void editEvent();
    void deleteEvent();

    AppState *m_state;
    Event m_event;
    static QPointer<EventDetailsPopover> s_open;
};
