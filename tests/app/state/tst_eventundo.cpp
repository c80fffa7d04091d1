#include "appstatefixture.h"
#include "database.h"
#include "eventrepository.h"
#include "eventundo.h"
#include "icalendar.h"
#include "testevents.h"
#include "undostack.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

// An undo writes the old content back without losing what the server knows
// of the event since.
class TestEventUndo : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    EventRepository *m_events = nullptr;
    Event m_before;

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        m_events = m_fixture->state()->events();
        const QDateTime start(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);
        Event e = testEvent(u"quillmarten-personal-default"_s, u"Review"_s, start, start.addSecs(3600));
        e.etag = u"old-etag"_s;
        e.href = u"/c/e1.ics"_s;
        e.provider_event_id = u"p-old"_s;
        QVERIFY(m_events->insert(e));
        m_before = *m_events->getById(e.id);
    }
    void cleanup() { m_fixture.reset(); }

    // The server saw the move (new ETag) before the undo: the restore writes
    // the old content over it with that ETag, as a revision newer than the
    // move (a lower SEQUENCE is an outdated one to attendees).
    void undoOfAMoveKeepsTheServerIdentity()
    {
        Event moved = m_before;
        moved.sequence += 1;
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
        QCOMPARE(row.reminders.size(), m_before.reminders.size());
        QCOMPARE(row.etag, u"new-etag"_s);
        QCOMPARE(row.href, u"/c/e1-new.ics"_s);
        QCOMPARE(row.provider_event_id, u"p-old"_s);
        QCOMPARE(row.sync_status, u"pending"_s);
        QCOMPARE(row.sequence, moved.sequence + 1);
    }

    // A sync brought another's edit of the event after the move: the undo
    // takes back the move alone.
    void undoKeepsWhatChangedElsewhere()
    {
        Event moved = m_before;
        moved.start_time = moved.start_time.addDays(1);
        moved.end_time = moved.end_time->addDays(1);
        moved.raw_icalendar = ICalendar::rewriteEventTimes(moved.raw_icalendar, moved.start_time, *moved.end_time);
        QVERIFY(m_events->update(moved));
        UndoStack stack;
        stack.push(EventUndo::entry(m_events, u"Moved \"Review\""_s, {m_before}));
        Event pulled = *m_events->getById(moved.id);
        pulled.title = u"Review in room 4"_s;
        pulled.raw_icalendar = ICalendar::serializeEvent(pulled);
        QVERIFY(m_events->update(pulled));
        QVERIFY(m_events->markSynced(moved.id, u"/c/e1.ics"_s, u"pulled-etag"_s));

        stack.undo();
        const Event row = *m_events->getById(m_before.id);
        QCOMPARE(row.start_time, m_before.start_time);
        QCOMPARE(row.title, u"Review in room 4"_s);
        QCOMPARE(ICalendar::parseEvents(row.raw_icalendar).value(0).title, row.title);
    }

    // The store refusing the restore is no undo to report.
    void undoTheStoreRefusesFails()
    {
        QVERIFY(m_events->remove(m_before.id));
        QVERIFY(QSqlQuery(m_fixture->state()->database()->database()).exec(u"PRAGMA query_only = ON"_s));
        UndoStack stack;
        QSignalSpy undone(&stack, &UndoStack::undone);
        QSignalSpy failed(&stack, &UndoStack::undoFailed);
        stack.push(EventUndo::entry(m_events, u"Deleted \"Review\""_s, {m_before}));
        stack.undo();
        QCOMPARE(undone.count(), 0);
        QCOMPARE(failed.count(), 1);
    }

    void undoOfADeletion()
    {
        QVERIFY(m_events->remove(m_before.id));
        QVERIFY(EventUndo::restore(m_events, m_before));
        Event row = *m_events->getById(m_before.id);
        QVERIFY(!row.deleted_at);
        QCOMPARE(row.etag, u"old-etag"_s);
        QCOMPARE(row.sync_status, u"pending"_s);
        QCOMPARE(row.sequence, m_before.sequence); // the server never saw the deletion

        // Deleted on the server and gone here: a new row for the next push.
        QVERIFY(m_events->hardDelete(m_before.id));
        QVERIFY(EventUndo::restore(m_events, m_before));
        row = *m_events->getById(m_before.id);
        QCOMPARE(row.etag, QString());
        QCOMPARE(row.href, QString());
        QCOMPARE(row.title, m_before.title);
        QCOMPARE(row.sync_status, u"pending"_s);
    }
};

QTEST_GUILESS_MAIN(TestEventUndo)
#include "tst_eventundo.moc"
