#include "notificationservice.h"

#include "applog.h"
#include "appstate.h"
#include "database.h"
#include "desktopnotifications.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filterrulerepository.h"
#include "occurrenceacks.h"
#include "recurrence.h"
#include "reminderrepository.h"
#include "timeutil.h"
#include "traytime.h"

#include <QDBusConnection>
#include <QHash>
#include <QSystemTrayIcon>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

constexpr int kPollIntervalMs = 30000;
constexpr int kFirstPollMs = 2000;
constexpr int kBalloonMs = 15000;
// A reminder still shows for an event that began less than this long ago.
constexpr qint64 kLateStartSecs = 1800;
// How far ahead the triggers of repeating events are expanded at a time.
constexpr qint64 kSeriesHorizonSecs = 6 * 3600;
// Series whose first occurrence lies further ahead than this (beyond the
// horizon) are expanded once it comes closer; until then a reminder with a
// longer lead fires for that first occurrence from the series' own row.
constexpr qint64 kSeriesLeadSecs = 28 * 24 * 3600;

// A series by its rule or by listed dates alone, as the reminding query
// reads their masters.
bool repeats(const Event &event)
{
    return !event.recurrence_rule.isEmpty()
        || std::any_of(event.recurrence_dates.cbegin(), event.recurrence_dates.cend(),
                       [](QChar c) { return c.isDigit(); });
}

} // namespace

// A reminder due at this poll: of a one-off row (acknowledged by its flag)
// or of one occurrence of a series (acknowledged by a note).
struct NotificationService::Due
{
    QString reminderId;
    QString title;
    QDateTime trigger;
    // The trigger's instant: comparing date-times in local time asks the C
    // library for the zone every time.
    qint64 triggerMs = 0;
    QDateTime start;
    QString location;
    QString eventId;
    bool allDay = false;
    bool occurrence = false;
};

// A reminder offered for display, with what acknowledges it; the test
// reminder has no id and is never acknowledged.
struct NotificationService::Offer
{
    FiredReminder reminder;
    QDateTime start;
    bool occurrence = false;
    bool allDay = false;

    QString key() const { return reminder.reminderId + QLatin1Char('|') + QString::number(start.toMSecsSinceEpoch()); }
};

// The reminders of one poll handed to the desktop, as its answers come in.
struct NotificationService::Batch
{
    qsizetype waiting = 0;
    QList<Offer> shown;
    QList<Offer> refused;
};

struct NotificationService::SeriesTriggers
{
    // A master with its overrides, as read, and the triggers they gave.
    struct Series
    {
        QList<Event> rows;
        QList<Due> triggers;
    };

    quint64 connection = 0;
    qint64 counter = -1;
    QByteArray zone;
    QDateTime from;
    QDateTime until;
    QList<Due> triggers; // by trigger
    QHash<QString, Series> bySeries; // by master id
};

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
    useDesktop(new DesktopNotifications(QDBusConnection::sessionBus(), this));
    if (state) {
        // The poll held back by an import runs as soon as it has ended.
        connect(state, &AppState::importRunningChanged, this, [this](bool running) {
            if (running)
                return;
            acknowledge(std::exchange(m_shownDuringImport, {}));
            if (std::exchange(m_pollDeferred, false))
                poll();
        });
    }
}

NotificationService::~NotificationService() = default;

void NotificationService::setDesktopBus(const QDBusConnection &bus)
{
    useDesktop(new DesktopNotifications(bus, this));
}

void NotificationService::useDesktop(DesktopNotifications *desktop)
{
    // Answers still due from the one before are dropped with it.
    delete m_desktop;
    m_inFlight.clear();
    m_desktopTargets.clear();
    m_desktop = desktop;
    connect(m_desktop, &DesktopNotifications::activated, this, [this](uint id) {
        const Target target = m_desktopTargets.value(id);
        if (!target.eventId.isEmpty())
            Q_EMIT reminderClicked(target.eventId, target.date);
    });
    connect(m_desktop, &DesktopNotifications::closed, this, [this](uint id) { m_desktopTargets.remove(id); });
}

void NotificationService::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(systemNow);
}

QDateTime NotificationService::reminderStart(const QDateTime &start, bool allDay)
{
    return TimeUtil::placedStart(start, allDay);
}

QString NotificationService::reminderBody(const QDateTime &start, bool allDay, const QString &location,
                                          const QDateTime &now)
{
    const QDate today = now.toLocalTime().date();
    const QDate day = TrayTime::occurrenceDay(start, allDay);
    const QString time = TrayTime::clockText(start);
    // The time left when the balloon shows, to the nearest minute: a
    // reminder shown late (the program was not running, the machine slept)
    // or with a lead longer than what is left must not promise its lead.
    const qint64 secondsLeft = now.secsTo(start);
    const int minutesLeft = int((secondsLeft + (secondsLeft < 0 ? -30 : 30)) / 60);
    QString body;
    if (allDay) {
        // An all-day start has no time of day worth naming: midnight in one
        // zone is the evening before in another.
        body = tr("%1, all day").arg(TrayTime::dayLabel(day, today));
    } else if (minutesLeft == 0) {
        body = tr("Starting now (%1)").arg(time);
    } else if (minutesLeft < 0) {
        body = tr("Started %n minute(s) ago (%1)", nullptr, -minutesLeft).arg(time);
    } else if (minutesLeft < 60) {
        body = tr("In %n minute(s) (%1)", nullptr, minutesLeft).arg(time);
    } else if (minutesLeft < 1440 && minutesLeft % 60 == 0) {
        body = tr("In %nh (%1)", nullptr, minutesLeft / 60).arg(time);
    } else if (minutesLeft < 1440) {
        // Whole hours alone would say "1h" with 119 minutes left.
        body = tr("In %nh %1m (%2)", nullptr, minutesLeft / 60).arg(minutesLeft % 60).arg(time);
    } else if (day == today.addDays(1)) {
        body = tr("Tomorrow at %1").arg(time);
    } else {
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
    // Acknowledging waits for the import's lock: nothing is shown that could
    // not be marked, and so nothing twice.
    if (m_state->isImportRunning()) {
        m_pollDeferred = true;
        return {};
    }

    const QDateTime now = m_clock();
    const QDateTime cutoff = now.addSecs(-kLateStartSecs);
    const SeriesTriggers &series = seriesTriggers(now);
    QList<Due> due = dueOneOffs(now, cutoff, series);
    due += dueOccurrences(now, cutoff, series);
    if (due.isEmpty())
        return {};
    // The texts sort by instant only while they share one offset.
    std::stable_sort(due.begin(), due.end(), [](const Due &a, const Due &b) { return a.triggerMs < b.triggerMs; });

    const QList<bool> suppressed = suppressedRows(due);
    QList<Offer> silenced;
    QList<Offer> offers;
    for (qsizetype i = 0; i < due.size(); ++i) {
        const Due &row = due.at(i);
        Offer offer;
        offer.reminder.reminderId = row.reminderId;
        offer.start = row.start;
        offer.occurrence = row.occurrence;
        offer.allDay = row.allDay;
        // A suppressed reminder is still acknowledged: its moment has passed
        // under the user's rule, and it must not pile up in every later poll.
        if (suppressed.at(i)) {
            silenced.append(offer);
            continue;
        }
        // Offered before and not answered yet: once is enough.
        if (m_inFlight.contains(offer.key()))
            continue;
        offer.reminder.eventId = row.eventId;
        offer.reminder.title = row.title.isEmpty() ? tr("Reminder") : row.title;
        offer.reminder.body = reminderBody(row.start, row.allDay, row.location, now);
        offer.reminder.date = TrayTime::occurrenceDay(row.start, row.allDay);
        offers.append(offer);
    }
    acknowledge(silenced);
    deliver(offers);
    QList<FiredReminder> fired;
    for (const Offer &offer : std::as_const(offers))
        fired.append(offer.reminder);
    return fired;
}

QList<NotificationService::Due> NotificationService::dueOneOffs(const QDateTime &now, const QDateTime &cutoff,
                                                                const SeriesTriggers &series) const
{
    // The rows are a day wider than the instants the loop below decides on.
    // The series expanded for this horizon fire per occurrence
    // (dueOccurrences).
    const QList<ReminderRepository::Unacknowledged> rows =
        ReminderRepository(m_state->database()).unacknowledged(cutoff, now);
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 cutoffMs = cutoff.toMSecsSinceEpoch();
    QList<Due> due;
    for (const ReminderRepository::Unacknowledged &stored : rows) {
        Due row;
        row.allDay = stored.allDay;
        row.start = stored.start;
        if (!row.start.isValid())
            continue;
        // The stored trigger of an all-day event is taken from its date's
        // midnight in UTC; the user's day begins at local midnight.
        row.start = reminderStart(row.start, row.allDay);
        row.trigger = row.start.addSecs(-60 * qint64(stored.minutesBefore));
        row.triggerMs = row.trigger.toMSecsSinceEpoch();
        if (row.triggerMs > nowMs || !(row.start.toMSecsSinceEpoch() > cutoffMs))
            continue;
        row.eventId = stored.eventId;
        if (series.bySeries.contains(row.eventId))
            continue;
        row.reminderId = stored.reminderId;
        row.title = stored.title;
        row.location = stored.location;
        due.append(row);
    }
    return due;
}

QList<NotificationService::Due> NotificationService::dueOccurrences(const QDateTime &now, const QDateTime &cutoff,
                                                                    const SeriesTriggers &series) const
{
    QList<Due> due;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 cutoffMs = cutoff.toMSecsSinceEpoch();
    for (const Due &trigger : series.triggers) {
        if (trigger.triggerMs > nowMs)
            break;
        if (trigger.start.toMSecsSinceEpoch() > cutoffMs)
            due.append(trigger);
    }
    if (due.isEmpty())
        return due;
    const QSet<QString> shown = OccurrenceAcks(m_state->database()).since(cutoff);
    // An all-day occurrence is noted by its date; earlier versions noted it
    // by the instant its day began here.
    due.removeIf([&shown](const Due &row) {
        return shown.contains(OccurrenceAcks::keyOf(row.reminderId, row.start, row.allDay))
            || (row.allDay && shown.contains(OccurrenceAcks::keyOf(row.reminderId, row.start)));
    });
    return due;
}

const NotificationService::SeriesTriggers &NotificationService::seriesTriggers(const QDateTime &now)
{
    EventRepository *events = m_state->events();
    std::optional<qint64> counter;
    if (events)
        counter = events->changeCounter();
    const quint64 connection = m_state->database()->connectionId();
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    const bool sameHorizon = m_series && m_series->connection == connection && m_series->zone == zone
        && m_series->from <= now && now < m_series->until;
    if (sameHorizon && counter && m_series->counter == *counter)
        return *m_series;

    // Occurrences that may fire from the horizon's start to its end: those
    // starting after the late window before it and no later than its end
    // plus a reminder's lead. All-day ones compare by their dates, a day
    // either side. Within one horizon a series whose rows did not change
    // keeps its triggers: an edit of one event expands one series again.
    auto fresh = std::make_unique<SeriesTriggers>();
    fresh->connection = connection;
    fresh->counter = counter.value_or(-1);
    fresh->zone = zone;
    fresh->from = sameHorizon ? m_series->from : now;
    fresh->until = sameHorizon ? m_series->until : now.addSecs(kSeriesHorizonSecs);
    const QHash<QString, SeriesTriggers::Series> previous = sameHorizon ? std::move(m_series->bySeries)
                                                                        : QHash<QString, SeriesTriggers::Series>();
    m_series = std::move(fresh);
    if (!events)
        return *m_series;
    const QDateTime earliest = m_series->from.addSecs(-kLateStartSecs);
    const QDateTime from = earliest.addDays(-1);
    const qint64 earliestMs = earliest.toMSecsSinceEpoch();
    const qint64 untilMs = m_series->until.toMSecsSinceEpoch();
    // Only series with reminders and their overrides remind per occurrence:
    // neither the window's single events nor the other series are read.
    const QList<Event> rows =
        events->getRemindingSeriesInRange(from, m_series->until.addSecs(kSeriesLeadSecs).addDays(1));

    // Overrides go with their series, so that an occurrence they replace is
    // not reminded of twice (the override row carries reminders of its own).
    QHash<QString, QList<Event>> overrides;
    for (const Event &row : rows) {
        if (!row.master_event_uid.isEmpty() && !row.recurrence_id.isEmpty())
            overrides[row.calendar_id + QLatin1Char('\n') + row.master_event_uid].append(row);
    }
    for (const Event &master : rows) {
        if (master.reminders.isEmpty() || !repeats(master) || !master.recurrence_id.isEmpty())
            continue;
        SeriesTriggers::Series series;
        series.rows = overrides.value(master.calendar_id + QLatin1Char('\n') + master.uid);
        series.rows.prepend(master);
        const auto kept = previous.constFind(master.id);
        if (kept != previous.constEnd() && kept->rows == series.rows)
            series.triggers = kept->triggers;
        else
            series.triggers = expandTriggers(series.rows, earliestMs, untilMs);
        m_series->triggers += series.triggers;
        m_series->bySeries.insert(master.id, std::move(series));
    }
    std::stable_sort(m_series->triggers.begin(), m_series->triggers.end(),
                     [](const Due &a, const Due &b) { return a.triggerMs < b.triggerMs; });
    return *m_series;
}

QList<NotificationService::Due> NotificationService::expandTriggers(const QList<Event> &series, qint64 earliestMs,
                                                                    qint64 untilMs)
{
    int longestLead = 0;
    for (const Event &row : series) {
        for (const Reminder &reminder : row.reminders)
            longestLead = std::max(longestLead, reminder.minutes_before);
    }
    // The window in UTC: a day's hour more or less at a change of offset
    // moves it only where nothing passes the tests below.
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(earliestMs, Qt::UTC).addDays(-1);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(untilMs, Qt::UTC).addSecs(60 * qint64(longestLead)).addDays(1);
    QList<Due> triggers;
    // Light occurrences: only the generated ones are reminded of (an
    // override row reminds of itself), and most series place none in the
    // horizon. One an override for every later occurrence moved is its.
    Recurrence::forEachOccurrence(series, from, to, [&](const Occurrence &occurrence) {
        if (!occurrence.isGenerated())
            return;
        const Event &row = occurrence.event();
        const QDateTime start = reminderStart(occurrence.start(), row.is_all_day);
        if (!(start.toMSecsSinceEpoch() > earliestMs))
            return;
        for (const Reminder &reminder : row.reminders) {
            Due due;
            due.start = start;
            due.trigger = start.addSecs(-60 * qint64(reminder.minutes_before));
            due.triggerMs = due.trigger.toMSecsSinceEpoch();
            if (due.triggerMs >= untilMs)
                continue;
            due.reminderId = reminder.id;
            due.title = row.title;
            due.location = row.location;
            due.eventId = row.id;
            due.allDay = row.is_all_day;
            due.occurrence = true;
            triggers.append(due);
        }
    });
    return triggers;
}

QList<bool> NotificationService::suppressedRows(const QList<Due> &due) const
{
    QList<bool> suppressed(due.size(), false);
    if (!m_state->events() || !m_state->filterRules())
        return suppressed;
    const QList<FilterRule> rules = m_state->filterRules()->getEnabled();
    if (rules.isEmpty())
        return suppressed;
    QHash<QString, std::optional<Event>> rows;
    for (qsizetype i = 0; i < due.size(); ++i) {
        const Due &row = due.at(i);
        auto it = rows.find(row.eventId);
        if (it == rows.end())
            it = rows.insert(row.eventId, m_state->events()->getById(row.eventId));
        if (!*it)
            continue;
        // A rule on the day or the time judges the occurrence reminded of,
        // as the agenda judges it, not the series' first one.
        Event occurrence = **it;
        if (row.occurrence && !occurrence.is_all_day && occurrence.start_time.isValid()) {
            const QDateTime start = TimeUtil::toSameRepresentation(row.start, occurrence.start_time);
            if (occurrence.end_time && occurrence.end_time->isValid())
                occurrence.end_time = start.addSecs(occurrence.start_time.secsTo(*occurrence.end_time));
            occurrence.start_time = start;
        } else if (row.occurrence && occurrence.is_all_day && occurrence.start_time.isValid()) {
            const qint64 days = occurrence.start_time.date().daysTo(row.start.date());
            occurrence.start_time = occurrence.start_time.addDays(days);
            if (occurrence.end_time && occurrence.end_time->isValid())
                occurrence.end_time = occurrence.end_time->addDays(days);
        }
        suppressed[i] = !FilterEngine::apply({occurrence}, rules).suppressedReminderIds.isEmpty();
    }
    return suppressed;
}

void NotificationService::acknowledge(const QList<Offer> &offers)
{
    // A row's own reminder is noted for its start too: a series whose first
    // occurrence was reminded of from its row, before it was expanded, must
    // not remind of it again.
    QStringList rows;
    QList<OccurrenceAcks::Key> occurrences;
    for (const Offer &offer : offers) {
        if (offer.reminder.reminderId.isEmpty())
            continue;
        occurrences.append({offer.reminder.reminderId, offer.start, offer.allDay});
        if (!offer.occurrence)
            rows.append(offer.reminder.reminderId);
    }
    if (occurrences.isEmpty() || !m_state || !m_state->database())
        return;
    // An answer of the desktop that comes during an import waits for it
    // rather than for its lock.
    if (m_state->isImportRunning()) {
        m_shownDuringImport += offers;
        return;
    }
    // The flags are part of what the events' change counter follows; setting
    // them changes no occurrence, so the expanded series stay current.
    const std::optional<qint64> before = m_state->events() ? m_state->events()->changeCounter() : std::nullopt;
    ReminderRepository(m_state->database()).acknowledge(rows);
    if (m_series && before && m_series->counter == *before && !rows.isEmpty())
        m_series->counter = m_state->events()->changeCounter().value_or(-1);
    OccurrenceAcks acks(m_state->database());
    if (acks.acknowledge(occurrences))
        acks.prune(m_clock().addSecs(-kLateStartSecs)); // never read again
}

void NotificationService::deliver(const QList<Offer> &offers)
{
    if (offers.isEmpty())
        return;
    if (!m_desktop->isConnected()) {
        showInTray(offers);
        return;
    }
    // One notification each: the desktop keeps them all on screen.
    auto batch = std::make_shared<Batch>();
    batch->waiting = offers.size();
    for (const Offer &offer : offers) {
        if (!offer.reminder.reminderId.isEmpty())
            m_inFlight.insert(offer.key());
        m_desktop->notify(offer.reminder.title, offer.reminder.body, [this, offer, batch](std::optional<uint> id) {
            if (id) {
                m_desktopTargets.insert(*id, {offer.reminder.eventId, offer.reminder.date});
                batch->shown.append(offer);
            } else {
                batch->refused.append(offer);
            }
            if (--batch->waiting == 0)
                settle(*batch);
        });
    }
}

void NotificationService::settle(const Batch &batch)
{
    // Offered again only now: one already shown is acknowledged just below,
    // and a poll while the rest of its batch waits would show it twice.
    for (const QList<Offer> *offers : {&batch.shown, &batch.refused}) {
        for (const Offer &offer : *offers)
            m_inFlight.remove(offer.key());
    }
    acknowledge(batch.shown);
    // What the desktop did not take goes to the tray, together.
    if (!batch.refused.isEmpty())
        showInTray(batch.refused);
    else
        setCanShow(true);
}

bool NotificationService::showInTray(const QList<Offer> &offers)
{
    if (!m_trayIcon || !m_trayIcon->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable()) {
        setCanShow(false);
        return false;
    }
    // A balloon replaces the one before it: several due at once share one.
    QString title = offers.constFirst().reminder.title;
    QString body = offers.constFirst().reminder.body;
    if (offers.size() > 1) {
        title = tr("%n reminder(s)", nullptr, int(offers.size()));
        QStringList lines;
        for (const Offer &offer : offers)
            lines.append(tr("%1: %2").arg(offer.reminder.title, offer.reminder.body));
        body = lines.join(QLatin1Char('\n'));
    }
    m_trayIcon->showMessage(title, body, QSystemTrayIcon::Information, kBalloonMs);
    m_trayTarget = {offers.constFirst().reminder.eventId, offers.constFirst().reminder.date};
    acknowledge(offers);
    setCanShow(true);
    return true;
}

void NotificationService::setCanShow(bool canShow)
{
    if (std::exchange(m_canShow, canShow) != canShow)
        Q_EMIT canShowRemindersChanged(canShow);
}

void NotificationService::showTestReminder()
{
    Offer test;
    test.reminder.title = tr("Test reminder");
    test.reminder.body = tr("If you can see this, your desktop notifications are wired up correctly. "
                            "Real reminders look just like this one.");
    deliver({test});
}

void NotificationService::onMessageClicked()
{
    if (!m_trayTarget.eventId.isEmpty())
        Q_EMIT reminderClicked(m_trayTarget.eventId, m_trayTarget.date);
}
