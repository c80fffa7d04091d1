#include "accountrepository.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "eventundo.h"
#include "icalendar.h"
#include "undostack.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestEventUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QLoggingCategory::setFilterRules(u"calendar.store.info=false"_s);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_database = std::make_unique<Database>();
        QVERIFY(m_database->open(m_dir->filePath(u"calendar.db"_s)));
        QVERIFY(m_database->migrate());
        m_events = new EventRepository(m_database.get(), m_database.get());
        Account account;
        account.id = u"a"_s;
        account.name = u"Server"_s;
        account.type = u"caldav"_s;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(AccountRepository(m_database.get()).insert(account));
        Calendar calendar;
        calendar.id = u"c"_s;
        calendar.account_id = account.id;
        calendar.name = u"Work"_s;
        calendar.url = u"http://127.0.0.1/c/"_s;
        calendar.created_at = calendar.updated_at = account.created_at;
        QVERIFY(CalendarRepository(m_database.get()).insert(calendar));

        m_before.id = u"e1"_s;
        m_before.uid = u"e1"_s;
        m_before.calendar_id = calendar.id;
        m_before.title = u"Review"_s;
        m_before.start_time = QDateTime(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);
        m_before.end_time = m_before.start_time.addSecs(3600);
        m_before.etag = u"old-etag"_s;
        m_before.href = u"/c/e1.ics"_s;
        m_before.provider_event_id = u"p-old"_s;
        Reminder reminder;
        reminder.minutes_before = 10;
        m_before.reminders = {reminder};
        m_before.created = m_before.last_modified = QDateTime::currentDateTimeUtc();
        m_before.raw_icalendar = ICalendar::serializeEvent(m_before);
        QVERIFY(m_events->insert(m_before));
        m_before = *m_events->getById(m_before.id);
    }
    void cleanup()
    {
        m_database.reset();
        m_dir.reset();
    }

    // The server saw the move (new ETag) before the undo: the restore writes
    // the old content over it with that ETag.
    void undoOfAMoveKeepsTheServerIdentity()
    {
        Event moved = m_before;
        moved.start_time = moved.start_time.addDays(1);
        moved.end_time = moved.end_time->addDays(1);
        moved.raw_icalendar = ICalendar::rewriteEventTimes(moved.raw_icalendar, moved.start_time, *moved.end_time);
        QVERIFY(m_events->update(moved));
        QVERIFY(m_events->markSynced(moved.id, u"/c/e1-new.ics"_s, u"new-etag"_s));

        UndoStack stack;
        stack.push(EventUndo::entry(m_events, u"Moved \"Review\""_s, {m_before}));
        stack.undo();
        const Event row = *m_events->getById(m_before.id);
        QCOMPARE(row.start_time, m_before.start_time);
        QCOMPARE(row.raw_icalendar, m_before.raw_icalendar);
        QCOMPARE(row.reminders.size(), 1);
        QCOMPARE(row.etag, u"new-etag"_s);
        QCOMPARE(row.href, u"/c/e1-new.ics"_s);
        QCOMPARE(row.provider_event_id, u"p-old"_s);
        QCOMPARE(row.sync_status, u"pending"_s);
    }

    void undoOfADeletion()
    {
        QVERIFY(m_events->remove(m_before.id));
        QVERIFY(EventUndo::restore(m_events, m_before));
        Event row = *m_events->getById(m_before.id);
        QVERIFY(!row.deleted_at);
        QCOMPARE(row.etag, u"old-etag"_s);
        QCOMPARE(row.sync_status, u"pending"_s);

        // Deleted on the server and gone here: a new row for the next push.
        QVERIFY(m_events->hardDelete(m_before.id));
        QVERIFY(EventUndo::restore(m_events, m_before));
        row = *m_events->getById(m_before.id);
        QCOMPARE(row.etag, QString());
        QCOMPARE(row.href, QString());
        QCOMPARE(row.title, m_before.title);
        QCOMPARE(row.sync_status, u"pending"_s);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_database;
    EventRepository *m_events = nullptr;
    Event m_before;
};

QTEST_MAIN(TestEventUndo)
#include "tst_eventundo.moc"
