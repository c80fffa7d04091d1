#include "sampledata.h"

#include "accountrepository.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "recordnames.h"
#include "storesql.h"
#include "taskrepository.h"

#include <QSqlQuery>

namespace {

const QLatin1String kAccountId("sample-account");

struct SampleCalendar
{
    const char *id;
    const char *name;
    const char *color;
};

constexpr SampleCalendar kCalendars[] = {
    {"sample-cal-work", "Work", "#1565C0"},
    {"sample-cal-personal", "Personal", "#2E7D32"},
    {"sample-cal-family", "Family", "#E65100"},
    {"sample-cal-birthdays", "Birthdays", "#6A1B9A"},
};

// Day offsets from today and local wall-clock times.
struct SampleEvent
{
    const char *key;
    const char *calendar;
    int startDay;
    QTime start;
    int endDay;
    QTime end;
    QString title;
    const char *location;
    const char *description;
    const char *rule;
    bool allDay;
};

struct SampleTask
{
    const char *key;
    const char *calendar;
    std::optional<int> dueDay;
    QTime dueTime;
    int priority;
    bool completed;
    const char *title;
};

QString calendarId(const char *suffix)
{
    return QStringLiteral("sample-cal-") + QLatin1String(suffix);
}

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QDateTime localAt(QDate today, int dayOffset, QTime time)
{
    return QDateTime(today.addDays(dayOffset), time, Qt::LocalTime);
}

bool ensureSampleAccount(AccountRepository &accounts)
{
    if (accounts.getById(kAccountId))
        return true;
    Account account;
    account.id = kAccountId;
    account.name = QStringLiteral("Sample Data");
    account.type = AccountType::Quillmarten;
    account.color = QStringLiteral("#9E9E9E");
    account.sync_interval_minutes = 0;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    return accounts.insert(account);
}

int ensureSampleCalendars(CalendarRepository &calendars)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    int inserted = 0;
    for (const SampleCalendar &sample : kCalendars) {
        const QString id = QLatin1String(sample.id);
        if (calendars.getById(id))
            continue;
        Calendar calendar;
        calendar.id = id;
        calendar.account_id = kAccountId;
        calendar.url = QStringLiteral("local://calendar/") + id;
        calendar.name = QLatin1String(sample.name);
        calendar.color = QLatin1String(sample.color);
        calendar.created_at = calendar.updated_at = now;
        inserted += calendars.insert(calendar) ? 1 : 0;
    }
    return inserted;
}

void makeSampleEvent(EventRepository &events, const SampleEvent &sample, QDate today, int &counter)
{
    const QString id = QStringLiteral("sample-event-") + QLatin1String(sample.key);
    if (events.getById(id))
        return;
    Event event;
    event.id = event.uid = id;
    event.calendar_id = calendarId(sample.calendar);
    event.title = sample.title;
    event.location = utf8(sample.location);
    event.description = utf8(sample.description);
    event.recurrence_rule = QLatin1String(sample.rule);
    event.is_all_day = sample.allDay;
    event.start_time = localAt(today, sample.startDay, sample.start);
    event.end_time = localAt(today, sample.endDay, sample.end);
    event.created = event.last_modified = QDateTime::currentDateTimeUtc();
    keepZoned(event);
    event.raw_icalendar = ICalendar::serializeNewEvent(event);
    if (events.insert(event))
        ++counter;
}

void makeSampleTask(TaskRepository &tasks, const SampleTask &sample, QDate today, int &counter)
{
    const QString id = QStringLiteral("sample-task-") + QLatin1String(sample.key);
    if (tasks.getById(id))
        return;
    Task task;
    task.id = task.uid = id;
    task.calendar_id = calendarId(sample.calendar);
    task.title = utf8(sample.title);
    task.priority = sample.priority;
    if (sample.dueDay) {
        task.due_date = localAt(today, *sample.dueDay, sample.dueTime);
        task.due_is_date_only = false;
    }
    if (sample.completed) {
        task.status = TaskStatus::Completed;
        task.percent_complete = 100;
        task.completed_date = QDateTime::currentDateTimeUtc();
    }
    task.created = task.last_modified = QDateTime::currentDateTimeUtc();
    task.raw_icalendar = ICalendar::serializeTask(task);
    if (tasks.insert(task))
        ++counter;
}

QList<SampleEvent> sampleEvents(QDate today)
{
    const auto t = [](int h, int m = 0) { return QTime(h, m); };
    return {
        {"yesterday-retro", "work", -1, t(15), -1, t(16), QStringLiteral("Sprint retrospective"), "",
         "Review what went well and what to improve", "", false},
        {"today-deadline", "work", 0, t(0), 1, t(0), QStringLiteral("Q3 roadmap deadline"), "",
         "Final submission of the Q3 roadmap", "", true},
        {"today-run", "personal", 0, t(6, 30), 0, t(7, 15), QStringLiteral("Morning run"), "", "", "", false},
        {"today-standup", "work", 0, t(9), 0, t(9, 30), QStringLiteral("Team standup"), "", "",
         "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", false},
        {"today-design", "work", 0, t(10, 30), 0, t(11, 30), QStringLiteral("Design review"), "",
         "Review new dashboard mockups with design team", "", false},
        {"today-lunch", "personal", 0, t(12), 0, t(13), QStringLiteral("Lunch with Maya"),
         "Olive & Thyme, 12 Market Street", "", "", false},
        {"today-sprint", "work", 0, t(14), 0, t(15, 30), QStringLiteral("Sprint planning"), "",
         "Plan next sprint priorities and assignments", "", false},
        {"today-yoga", "personal", 0, t(17, 30), 0, t(18, 30), QStringLiteral("Yoga class"), "Lotus Yoga Studio", "",
         "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR", false},
        {"today-date", "family", 0, t(19), 0, t(21), QStringLiteral("Date night"), "Trattoria Bella", "", "", false},
        {"tom-client", "work", 1, t(10), 1, t(11), QStringLiteral("Client presentation"), "Conference Room B",
         "Quarterly progress presentation for Northwind Traders", "", false},
        {"tom-dentist", "personal", 1, t(14), 1, t(15), QStringLiteral("Dentist appointment"), "Bright Smile Dental",
         "", "", false},
        {"d2-1on1", "work", 2, t(11), 2, t(11, 30), QStringLiteral("1:1 with manager"), "", "", "FREQ=WEEKLY", false},
        {"d2-pickup", "family", 2, t(15, 45), 2, t(16, 15), QStringLiteral("Pick up kids"), "Maple Grove Elementary",
         "", "FREQ=WEEKLY;BYDAY=MO,WE,FR", false},
        {"d3-bookclub", "personal", 3, t(19), 3, t(21), QStringLiteral("Book club"), "Downtown Library", "",
         "FREQ=MONTHLY;BYDAY=1TH", false},
        {"d5-happy-hour", "work", 5, t(17), 5, t(19), QStringLiteral("Happy hour"), "The Copper Tap", "", "", false},
        {"d5-birthday", "family", 5, t(15), 5, t(18), QStringLiteral("Leo's birthday party"), "42 Oak Street",
         "Bring a wrapped gift and swimsuit", "", false},
        {"d2-redeye", "personal", 2, t(21, 30), 4, t(6, 15), QStringLiteral("Red-eye to Tokyo (multi-day timed)"),
         "SFO → NRT", "", "", false},
        {"d6-conf", "work", 6, t(0), 9, t(0), QStringLiteral("DevSummit %1 (multi-day all-day)").arg(today.year()),
         "Harbor Convention Center", "Three-day conference, badge required", "", true},
    };
}

const SampleTask kTasks[] = {
    {"review-mockups", "work", 1, QTime(17, 0), 5, false, "Review design mockups"},
    {"q1-report", "work", -2, QTime(17, 0), 2, false, "Prepare Q1 report"},
    {"anniversary", "family", 7, QTime(17, 0), 4, false, "Book restaurant for anniversary"},
    {"buy-gift", "family", 14, QTime(17, 0), 3, false, "Buy birthday gift for Mom"},
    {"dentist-followup", "personal", 12, QTime(12, 0), 8, false, "Schedule dentist follow-up"},
    {"buy-milk", "personal", std::nullopt, QTime(), 0, false, "Buy milk"},
    {"renew-license", "personal", 30, QTime(17, 0), 5, false, "Renew driver's license"},
    {"old-completed", "work", -3, QTime(17, 0), 5, true, "File expense report"},
};

} // namespace

int loadSampleData(const SampleDataStores &stores, QDate today)
{
    if (!ensureSampleAccount(*stores.accounts))
        return 0;
    int counter = ensureSampleCalendars(*stores.calendars);
    const QList<SampleEvent> events = sampleEvents(today);
    for (const SampleEvent &sample : events)
        makeSampleEvent(*stores.events, sample, today, counter);
    for (const SampleTask &sample : kTasks)
        makeSampleTask(*stores.tasks, sample, today, counter);
    return counter;
}

int removeSampleData(const SampleDataStores &stores)
{
    // Children first: with foreign keys on, an event that the user gave a
    // reminder or an attendee could not be deleted otherwise, and with it
    // neither its calendar nor the account.
    // A sample event, or an occurrence of a sample series the user changed:
    // a row of its own under the series' UID, which goes with the series.
    const QLatin1String sampleEvents(
        "SELECT id FROM events WHERE id LIKE 'sample-event-%' OR EXISTS (SELECT 1 FROM events AS series "
        "WHERE series.id LIKE 'sample-event-%' AND series.calendar_id = events.calendar_id "
        "AND series.uid = events.uid)");
    const QString statements[] = {
        QStringLiteral("DELETE FROM attendees WHERE event_id IN (%1)").arg(sampleEvents),
        QStringLiteral("DELETE FROM attachments WHERE event_id IN (%1)").arg(sampleEvents),
        QStringLiteral("DELETE FROM reminders WHERE event_id IN (%1)").arg(sampleEvents),
        QStringLiteral("DELETE FROM events WHERE id IN (%1)").arg(sampleEvents),
        QStringLiteral("DELETE FROM tasks WHERE id LIKE 'sample-task-%'"),
        // A sample calendar the user filed items of their own in stays, and
        // so does the account while a calendar is left under it; the others
        // go even so.
        QStringLiteral("DELETE FROM calendars WHERE id LIKE 'sample-cal-%' "
                       "AND NOT EXISTS (SELECT 1 FROM events WHERE events.calendar_id = calendars.id) "
                       "AND NOT EXISTS (SELECT 1 FROM tasks WHERE tasks.calendar_id = calendars.id)"),
        QStringLiteral("DELETE FROM accounts WHERE id = 'sample-account' "
                       "AND NOT EXISTS (SELECT 1 FROM calendars WHERE calendars.account_id = accounts.id)"),
    };
    constexpr int kFirstCounted = 3;
    int removed = 0;
    int index = 0;
    for (const QString &statement : statements) {
        QSqlQuery query(stores.database->database());
        if (!StoreSql::run(query, statement, {}))
            StoreSql::logFailure("removeSampleData", query);
        else if (index >= kFirstCounted)
            removed += query.numRowsAffected();
        ++index;
    }
    Q_EMIT stores.calendars->calendarsChanged();
    stores.events->scheduleChanged(QString());
    stores.tasks->scheduleChanged(QString());
    return removed;
}
