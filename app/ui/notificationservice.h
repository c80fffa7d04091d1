#pragma once

#include "clock.h"
#include "event.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class AppState;
class QSystemTrayIcon;
class QTimer;

// A reminder that a poll found due and presented.
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
// construction), shows a tray balloon for each reminder that has come due for
// an occurrence starting later or less than 30 minutes ago, and marks it
// acknowledged so that it fires once per occurrence: a one-off event's
// reminder by its row's flag, a repeating event's by a note per occurrence.
// An all-day occurrence starts at 00:00 local time of its date. Reminders of
// events whose filter rule suppresses reminders are acknowledged without a
// balloon.
//
// While a file import runs a poll waits, and runs once when it has ended.
//
// Neither the state nor the tray icon is owned; the icon may be null (no
// system tray), and then reminders are acknowledged all the same.
class NotificationService : public QObject
{
    Q_OBJECT
public:
    NotificationService(AppState *state, QSystemTrayIcon *trayIcon, QObject *parent = nullptr);
    ~NotificationService() override;

    // Replaces the system clock for the due checks and the texts.
    void setClock(Clock clock);

    // When an occurrence starting at `start` begins for its reminders: an
    // all-day one at 00:00 local time of its date, whatever zone the date
    // was stored in.
    static QDateTime reminderStart(const QDateTime &start, bool allDay);

    // The balloon text of a reminder of an event starting at `start`, seen
    // at `now`: it names the time left then, whatever the reminder's lead.
    static QString reminderBody(const QDateTime &start, bool allDay, const QString &location, const QDateTime &now);

public Q_SLOTS:
    // One poll; returns what it presented, in trigger order. Nothing while
    // an import runs.
    QList<FiredReminder> poll();
    void showTestReminder();
    void onMessageClicked();

Q_SIGNALS:
    void reminderClicked(const QString &eventId, const QDate &date);

private:
    struct Due;
    struct SeriesTriggers;

    QList<Due> dueOneOffs(const QDateTime &now, const QDateTime &cutoff, const SeriesTriggers &series) const;
    QList<Due> dueOccurrences(const QDateTime &now, const QDateTime &cutoff, const SeriesTriggers &series) const;
    const SeriesTriggers &seriesTriggers(const QDateTime &now);
    // The triggers of a series (master first, then its overrides) from
    // occurrences starting after `earliestMs` that come before `untilMs`
    // (instants: in local time every comparison asks the C library for the
    // zone).
    static QList<Due> expandTriggers(const QList<Event> &series, qint64 earliestMs, qint64 untilMs);
    void showBalloon(const QString &title, const QString &body);
    // Per due row: whether an enabled filter rule silences it.
    QList<bool> suppressedRows(const QList<Due> &due) const;
    void acknowledge(const QStringList &reminderIds);

    AppState *m_state = nullptr;
    QPointer<QSystemTrayIcon> m_trayIcon;
    QTimer *m_pollTimer = nullptr;
    QString m_lastEventId;
    QDate m_lastDate;
    bool m_pollDeferred = false;
    Clock m_clock = systemNow;
    // The coming triggers of repeating events, expanded for some hours ahead
    // and kept until the events change.
    std::unique_ptr<SeriesTriggers> m_series;
};
