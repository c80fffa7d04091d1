#pragma once

// A migrated database in a temporary folder with one account and calendar,
// repeating events built as the event form builds them, and the occurrences
// the views would show: EventRepository::getInRange + Recurrence::expandEvents.

#include "account.h"
#include "accountrepository.h"
#include "calendar.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "eventwrites.h"
#include "icalendar.h"
#include "recurrence.h"
#include "testevents.h"
#include "timeutil.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Wall clock in the zone the test runs under.
inline QDateTime local(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}

// "yyyy-MM-dd HH:mm" in local time; all-day occurrences by their stored date.
inline QString startText(const Event &occurrence)
{
    if (occurrence.is_all_day)
        return occurrence.start_time.date().toString(Qt::ISODate);
    return occurrence.start_time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

class SeriesFixture
{
public:
    SeriesFixture()
    {
        QVERIFY(m_dir.isValid());
        m_database = std::make_unique<Database>();
        QVERIFY(m_database->open(m_dir.filePath(QStringLiteral("calendar.db"))));
        QVERIFY(m_database->migrate());
        events = new EventRepository(m_database.get(), m_database.get());
        AccountRepository accounts(m_database.get());
        CalendarRepository calendars(m_database.get());
        Account account;
        account.id = QStringLiteral("account");
        account.name = QStringLiteral("Server");
        account.type = QStringLiteral("caldav");
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(accounts.insert(account));
        Calendar calendar;
        calendar.id = calendarId;
        calendar.account_id = account.id;
        calendar.url = QStringLiteral("http://127.0.0.1/cal/");
        calendar.name = QStringLiteral("Work");
        calendar.created_at = calendar.updated_at = account.created_at;
        QVERIFY(calendars.insert(calendar));
    }

    // A synced series on the server: timed in the local zone, with two
    // reminders and an attendee.
    Event series(const QString &rule, const QDateTime &start, int minutes = 60, bool allDay = false)
    {
        Event e = testEvent(calendarId, QStringLiteral("Standup"), start, start.addSecs(minutes * 60), rule);
        e.location = QStringLiteral("Room 4");
        e.description = QStringLiteral("Daily notes");
        e.is_all_day = allDay;
        if (allDay) {
            e.timezone = QStringLiteral("UTC");
            e.start_time = EventWrites::allDayTime(start.date());
            e.end_time = EventWrites::allDayTime(start.date().addDays(1));
        }
        e.href = QStringLiteral("/cal/") + e.uid + QStringLiteral(".ics");
        e.etag = QStringLiteral("etag-1");
        e.sync_status = QStringLiteral("synced");
        e.raw_icalendar = ICalendar::serializeEvent(e);
        return e;
    }

    Event insertSeries(const QString &rule, const QDateTime &start, int minutes = 60, bool allDay = false)
    {
        const Event e = series(rule, start, minutes, allDay);
        if (!events->insert(e))
            qWarning("insert failed");
        return *events->getById(e.id);
    }

    // The starts of what the views show in [from, to), sorted.
    QStringList starts(const QDateTime &from, const QDateTime &to) const
    {
        QStringList texts;
        for (const Event &occurrence : Recurrence::expandEvents(events->getInRange(from, to), from, to))
            texts.append(startText(occurrence));
        texts.sort();
        return texts;
    }

    // Every live row of the calendar.
    QList<Event> rows() const { return events->getByCalendar(calendarId); }

    void failWrites(const QString &operation)
    {
        QSqlQuery query(m_database->database());
        QVERIFY(query.exec(QStringLiteral("CREATE TRIGGER fail_events BEFORE %1 ON events BEGIN "
                                          "SELECT RAISE(ABORT, 'injected failure'); END")
                               .arg(operation)));
    }

    const QString calendarId = QStringLiteral("work");
    EventRepository *events = nullptr;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
};
