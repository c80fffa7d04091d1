#include "event.h"

#include <QTest>

// Records are values: a copy is independent, and equality sees the child
// lists that the sync code compares to tell edits apart.
class TestRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
