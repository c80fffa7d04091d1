#pragma once

#include "clock.h"
#include "event.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class AppState;
class DesktopNotifications;
class QDBusConnection;
class QSystemTrayIcon;
class QTimer;

// A reminder that a poll found due and offered for display.
struct FiredReminder
{
    QString reminderId;
    QString eventId;
    QString title;
    QString body;
    QDate date; // the day of the event's start, as a click reports it

    friend bool operator==(const FiredReminder &a, const FiredReminder &b)
    {
        return a.reminderId == b.reminderId && a.eventId == b.eventId && a.title == b.title && a.body == b.body
            && a.date == b.date;
    }
};

// Desktop reminders: polls every 30 s (the first time 2 s after
// construction) for reminders that have come due for an occurrence starting
// later or less than 30 minutes ago, shows each, and marks what was shown
// acknowledged so that it fires once per occurrence: a one-off event's
// reminder by its row's flag, a repeating event's by a note per occurrence.
// An all-day occurrence starts at 00:00 local time of its date. Reminders of
// events whose filter rule suppresses reminders are acknowledged unshown.
//
// They are shown by the desktop's notification service on the session bus,
// one notification each, where one answers; else as one tray balloon that
// names each reminder due at once. What neither could show stays
// unacknowledged for the next poll, and canShowReminders() turns false.
//
// While a file import runs a poll waits, and runs once when it has ended.
//
// Neither the state nor the tray icon is owned; the icon may be null (no
// system tray).
class NotificationService : public QObject
{
    Q_OBJECT
public:
    NotificationService(AppState *state, QSystemTrayIcon *trayIcon, QObject *parent = nullptr);
    ~NotificationService() override;

    // Replaces the system clock for the due checks and the texts.
    void setClock(Clock clock);
    // Looks for the desktop's notification service on `bus` instead of the
    // session bus.
    void setDesktopBus(const QDBusConnection &bus);

    // When an occurrence starting at `start` begins for its reminders: an
    // all-day one at 00:00 local time of its date, whatever zone the date
    // was stored in.
    static QDateTime reminderStart(const QDateTime &start, bool allDay);

    // The balloon text of a reminder of an event starting at `start`, seen
    // at `now`: it names the time left then, whatever the reminder's lead.
    static QString reminderBody(const QDateTime &start, bool allDay, const QString &location, const QDateTime &now);

    // False while the last reminders (or the test reminder) could be shown
    // neither by the desktop nor by the tray.
    bool canShowReminders() const { return m_canShow; }
    // Whether reminders handed to the desktop still wait for its answer.
    bool isDelivering() const { return !m_inFlight.isEmpty(); }

public Q_SLOTS:
    // One poll; returns what it offered for display, in trigger order: due
    // reminders not waiting for the desktop's answer already. Nothing while
    // an import runs.
    QList<FiredReminder> poll();
    void showTestReminder();
    // A click on the tray balloon: the first event it names.
    void onMessageClicked();

Q_SIGNALS:
    // A click on a reminder: its event and the day of its occurrence.
    void reminderClicked(const QString &eventId, const QDate &date);
    void canShowRemindersChanged(bool canShow);

private:
    struct Due;
    struct SeriesTriggers;
    struct Offer;
    struct Batch;
    // What a click on a notification opens.
    struct Target
    {
        QString eventId;
        QDate date;
    };

    QList<Due> dueOneOffs(const QDateTime &now, const QDateTime &cutoff, const SeriesTriggers &series) const;
    QList<Due> dueOccurrences(const QDateTime &now, const QDateTime &cutoff, const SeriesTriggers &series) const;
    const SeriesTriggers &seriesTriggers(const QDateTime &now);
    // The triggers of a series (master first, then its overrides) from
    // occurrences starting after `earliestMs` that come before `untilMs`
    // (instants: in local time every comparison asks the C library for the
    // zone).
    static QList<Due> expandTriggers(const QList<Event> &series, qint64 earliestMs, qint64 untilMs);
    void useDesktop(DesktopNotifications *desktop);
    // Through the desktop where it answers, else the tray; acknowledges
    // what was shown.
    void deliver(const QList<Offer> &offers);
    void settle(const Batch &batch);
    // One balloon naming each; false (nothing acknowledged) without a tray.
    bool showInTray(const QList<Offer> &offers);
    void setCanShow(bool canShow);
    // Per due row: whether an enabled filter rule silences it.
    QList<bool> suppressedRows(const QList<Due> &due) const;
    void acknowledge(const QList<Offer> &offers);

    AppState *m_state = nullptr;
    QPointer<QSystemTrayIcon> m_trayIcon;
    DesktopNotifications *m_desktop = nullptr;
    QTimer *m_pollTimer = nullptr;
    // The event of the balloon on screen; none after the test reminder.
    Target m_trayTarget;
    // The events of the desktop's notifications still on screen, by id.
    QHash<uint, Target> m_desktopTargets;
    // Reminders handed to the desktop, by key, until it answers.
    QSet<QString> m_inFlight;
    QList<Offer> m_shownDuringImport;
    bool m_canShow = true;
    bool m_pollDeferred = false;
    Clock m_clock = systemNow;
    // The coming triggers of repeating events, expanded for some hours ahead
    // and kept until the events change.
    std::unique_ptr<SeriesTriggers> m_series;
};
