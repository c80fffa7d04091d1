#include "account.h"
#include "calendar.h"
#include "calendarview.h"
#include "event.h"
#include "eventtemplate.h"
#include "filterrule.h"
#include "task.h"

#include <QTest>

// Defaults are part of the contract: the store inserts them for columns a
// caller leaves alone, and sync code tells local edits from pulled rows by them.
class TestRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eventDefaults()
    {
        const Event e;
        QCOMPARE(e.timezone, QStringLiteral("UTC"));
        QCOMPARE(e.status, QStringLiteral("confirmed"));
        QCOMPARE(e.sync_status, QStringLiteral("synced"));
        QCOMPARE(e.sequence, 0);
        QVERIFY(!e.end_time.has_value());
        QVERIFY(!e.deleted_at.has_value());
        QVERIFY(e.reminders.isEmpty());
        QVERIFY(e.attendees.isEmpty());
        QVERIFY(!e.start_time.isValid());
    }

    void taskDefaults()
    {
        const Task t;
        QVERIFY(t.due_is_date_only);
        QVERIFY(t.start_is_date_only);
        QCOMPARE(t.repeat_mode, QStringLiteral("fromDueDate"));
        QCOMPARE(t.status, QStringLiteral("needs-action"));
        QCOMPARE(t.sync_status, QStringLiteral("synced"));
    }

    void syncedRowsVersusLocalConfiguration()
    {
        const FilterRule r;
        QVERIFY(r.enabled);
        QCOMPARE(r.priority, 100);
        QCOMPARE(r.action, QStringLiteral("hide"));
        QCOMPARE(r.calendar_ids, QStringLiteral("[]"));
        QCOMPARE(r.sync_status, QStringLiteral("pending"));
        QCOMPARE(CalendarView().sync_status, QStringLiteral("pending"));
        QCOMPARE(Calendar().supported_components, QStringLiteral("[\"VEVENT\"]"));
        QCOMPARE(Calendar().color, QStringLiteral("#4285F4"));
        QCOMPARE(Account().sync_interval_minutes, 15);
        QVERIFY(Account().enabled);
        QCOMPARE(EventTemplate().duration_minutes, 60);
    }

    void copyCarriesChildLists()
    {
        Event e;
        Reminder r;
        r.minutes_before = 15;
        Attendee a;
        a.email = QStringLiteral("ann@example.org");
        e.reminders.append(r);
        e.attendees.append(a);
        Event copy = e;
        QCOMPARE(copy, e);
        copy.reminders[0].minutes_before = 30;
        QCOMPARE(e.reminders.at(0).minutes_before, 15);
        QVERIFY(copy != e);
        QCOMPARE(copy.attendees.at(0).email, QStringLiteral("ann@example.org"));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
