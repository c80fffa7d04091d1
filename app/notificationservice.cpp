#include "notificationservice.h"

#include "appstate.h"
#include "database.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filterrulerepository.h"
#include "timeutil.h"
#include "traytime.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kPollIntervalMs = 30000;
constexpr int kFirstPollMs = 2000;
constexpr int kBalloonMs = 15000;
// A reminder still shows for an event that began less than this long ago.
constexpr qint64 kLateStartSecs = 1800;

struct DueRow
{
    QString reminderId;
    QString title;
    QDateTime trigger;
    QDateTime start;
    QString location;
    int minutesBefore = 0;
    QString eventId;
    bool allDay = false;
};

} // namespace

NotificationService::NotificationService(AppState *state, QSystemTrayIcon *trayIcon, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_trayIcon(trayIcon)
    , m_pollTimer(new QTimer(this))
{
    m_pollTimer->setInterval(kPollIntervalMs);
    connect(m_pollTimer, &QTimer::timeout, this, &NotificationService::poll);
    m_pollTimer->start();
    QTimer::singleShot(kFirstPollMs, this, &NotificationService::poll);
    if (trayIcon)
        connect(trayIcon, &QSystemTrayIcon::messageClicked, this, &NotificationService::onMessageClicked);
}

void NotificationService::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(systemNow);
}

QString NotificationService::reminderBody(int minutesBefore, const QDateTime &start, bool allDay,
                                          const QString &location, const QDateTime &now)
{
    const QDate today = now.toLocalTime().date();
    const QDate day = TrayTime::occurrenceDay(start, allDay);
    const QString time = TrayTime::clockText(start);
    QString body;
    if (allDay) {
        // An all-day start has no time of day worth naming: midnight in one
        // zone is the evening before in another.
        body = tr("%1, all day").arg(TrayTime::dayLabel(day, today));
    } else if (minutesBefore == 0) {
        body = tr("Starting now (%1)").arg(time);
    } else if (minutesBefore < 60) {
        body = tr("In %1 minutes (%2)").arg(minutesBefore).arg(time);
    } else if (minutesBefore < 1440) {
        body = tr("In %1h (%2)").arg(minutesBefore / 60).arg(time);
    } else if (day == today.addDays(1)) {
        body = tr("Tomorrow at %1").arg(time);
    } else {
        // A reminder days ahead, or one shown late, names the real day rather
        // than "tomorrow".
        body = tr("%1 at %2").arg(TrayTime::dayLabel(day, today), time);
    }
    if (!location.isEmpty())
        body += QStringLiteral(" \u00b7 ") + location;
    return body;
}

QList<FiredReminder> NotificationService::poll()
{
    if (!m_state || !m_state->database())
        return {};

    const QDateTime now = m_clock();
    const QDateTime cutoff = now.addSecs(-kLateStartSecs);

    // Reminders that were never shown pile up with the years (synced in, or
    // due while the program was not running), and every poll used to read
    // them all. Only events starting after the cutoff can fire, and there
    // are few of them: the statement walks those by start and looks up their
    // reminders. Stored times carry "Z", an offset or no suffix, so the text
    // bounds are a day wider than the instants the loop below decides on.
    QSqlQuery query(m_state->database()->database());
    query.prepare(QStringLiteral(
        "SELECT r.id, e.title, e.start_time, e.location, r.minutes_before, "
        "       r.trigger_time, e.id, e.is_all_day FROM events e CROSS JOIN reminders r "
        "ON r.event_id = e.id WHERE e.start_time > ? AND e.deleted_at IS NULL "
        "AND r.acknowledged = 0 AND r.trigger_time <= ? ORDER BY r.trigger_time ASC"));
    query.addBindValue(cutoff.toUTC().addDays(-1).toString(Qt::ISODate));
    query.addBindValue(now.toUTC().addDays(1).toString(Qt::ISODate));
    if (!query.exec()) {
        qWarning().noquote() << "NotificationService poll failed:" << query.lastError().text();
        return {};
    }

    QList<DueRow> due;
    QStringList dueEventIds;
    while (query.next()) {
        const QDateTime start = TimeUtil::fromStorage(query.value(2).toString());
        const QDateTime trigger = TimeUtil::fromStorage(query.value(5).toString());
        if (!trigger.isValid() || trigger > now || !start.isValid() || !(start > cutoff))
            continue;
        DueRow row;
        row.reminderId = query.value(0).toString();
        row.title = query.value(1).toString();
        row.trigger = trigger;
        row.start = start;
        row.location = query.value(3).toString();
        row.minutesBefore = query.value(4).toInt();
        row.eventId = query.value(6).toString();
        row.allDay = query.value(7).toInt() != 0;
        due.append(row);
        dueEventIds.append(row.eventId);
    }
    query.finish();
    if (due.isEmpty())
        return {};
    // The texts sort by instant only while they share one offset.
    std::stable_sort(due.begin(), due.end(),
                     [](const DueRow &a, const DueRow &b) { return a.trigger < b.trigger; });

    const QSet<QString> suppressed = suppressedEventIds(dueEventIds);
    QList<FiredReminder> fired;
    QStringList handled;
    for (const DueRow &row : std::as_const(due)) {
        // A suppressed reminder is still acknowledged: its moment has passed
        // under the user's rule, and it must not pile up in every later poll.
        handled.append(row.reminderId);
        if (suppressed.contains(row.eventId))
            continue;
        FiredReminder reminder;
        reminder.reminderId = row.reminderId;
        reminder.eventId = row.eventId;
        reminder.title = row.title.isEmpty() ? tr("Reminder") : row.title;
        reminder.body = reminderBody(row.minutesBefore, row.start, row.allDay, row.location, now);
        reminder.date = TrayTime::occurrenceDay(row.start, row.allDay);
        m_lastEventId = reminder.eventId;
        m_lastDate = reminder.date;
        showBalloon(reminder.title, reminder.body);
        fired.append(reminder);
    }
    acknowledge(handled);
    return fired;
}

QSet<QString> NotificationService::suppressedEventIds(const QStringList &eventIds) const
{
    if (!m_state->events() || !m_state->filterRules())
        return {};
    const QList<FilterRule> rules = m_state->filterRules()->getEnabled();
    if (rules.isEmpty())
        return {};
    QList<Event> events;
    for (const QString &id : eventIds) {
        if (const std::optional<Event> event = m_state->events()->getById(id))
            events.append(*event);
    }
    return FilterEngine::apply(events, rules).suppressedReminderIds;
}

void NotificationService::acknowledge(const QStringList &reminderIds)
{
    // SQLite caps the number of bound values per statement; a first start
    // after a long break can find thousands due at once.
    constexpr qsizetype kBatch = 500;
    for (qsizetype first = 0; first < reminderIds.size(); first += kBatch) {
        const QStringList batch = reminderIds.mid(first, kBatch);
        QStringList marks;
        marks.reserve(batch.size());
        for (qsizetype i = 0; i < batch.size(); ++i)
            marks.append(QStringLiteral("?"));
        QSqlQuery update(m_state->database()->database());
        update.prepare(QStringLiteral("UPDATE reminders SET acknowledged = 1 WHERE id IN (%1)")
                           .arg(marks.join(QLatin1Char(','))));
        for (qsizetype i = 0; i < batch.size(); ++i)
            update.bindValue(int(i), batch.at(i));
        if (!update.exec()) {
            qWarning().noquote() << "NotificationService ack failed:" << update.lastError().text();
            return;
        }
    }
}

void NotificationService::showTestReminder()
{
    m_lastEventId.clear();
    m_lastDate = QDate();
    showBalloon(tr("Test reminder"),
                tr("If you can see this, your desktop notifications are wired up correctly. "
                   "Real reminders look just like this one."));
}

void NotificationService::onMessageClicked()
{
    if (!m_lastEventId.isEmpty())
        Q_EMIT reminderClicked(m_lastEventId, m_lastDate);
}

void NotificationService::showBalloon(const QString &title, const QString &body)
{
    if (m_trayIcon && m_trayIcon->isVisible())
        m_trayIcon->showMessage(title, body, QSystemTrayIcon::Information, kBalloonMs);
}
