#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "modalscript.h"
#include "taskdetailspopover.h"
#include "testevents.h"
#include "timeutil.h"
#include "undostack.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

} // namespace

class TestDetailsPopovers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
    }
    void cleanup() { m_fixture.reset(); }

    void placement_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("room on the right: 8 px right, centred beside")
            << QRect(100, 300, 50, 40) << QPoint(158, 220);
        QTest::newRow("no room on the right: left of it") << QRect(800, 300, 150, 40) << QPoint(492, 220);
        QTest::newRow("neither side: centred below") << QRect(100, 100, 800, 40) << QPoint(350, 148);
        QTest::newRow("nor below: above") << QRect(100, 700, 800, 60) << QPoint(350, 492);
        QTest::newRow("kept on the screen") << QRect(100, 10, 50, 20) << QPoint(158, 0);
    }
    void placement()
    {
        QFETCH(QRect, anchor);
        QFETCH(QPoint, topLeft);
        QCOMPARE(DetailsPopover::placeNextTo(anchor, QSize(300, 200), QRect(0, 0, 1000, 800)), topLeft);
    }

    void whenText()
    {
        Event timed;
        timed.start_time = QDateTime(QDate(2026, 3, 16), QTime(9, 0), Qt::LocalTime);
        timed.end_time = timed.start_time.addSecs(3600);
        QVERIFY(EventDetailsPopover::whenText(timed).startsWith(u"Mon, Mar 16, 2026 · "_s));
        Event allDay;
        allDay.is_all_day = true;
        // Stored at 00:00 UTC: the stored date counts in every zone.
        allDay.start_time = TimeUtil::utc(QDate(2026, 3, 3));
        allDay.end_time = TimeUtil::utc(QDate(2026, 3, 6));
        QCOMPARE(EventDetailsPopover::whenText(allDay), u"Tue, Mar 3, 2026 – Thu, Mar 5, 2026 · All day"_s);
        allDay.end_time = TimeUtil::utc(QDate(2026, 3, 4));
        QCOMPARE(EventDetailsPopover::whenText(allDay), u"Tue, Mar 3, 2026 · All day"_s);
    }

    void oneOpenAtATime()
    {
        const Event event = insertEvent(QString());
        QPointer<EventDetailsPopover> first = new EventDetailsPopover(m_state, event);
        first->showNextTo(QRect(10, 10, 20, 20));
        QVERIFY(first->isVisible());
        QPointer<EventDetailsPopover> second = new EventDetailsPopover(m_state, event);
        second->showNextTo(QRect(10, 10, 20, 20));
        QTRY_VERIFY(!first);
        QVERIFY(second->isVisible());
        EventDetailsPopover::closeOpen();
        QTRY_VERIFY(!second);

        Task task;
        task.title = u"Pay rent"_s;
        QPointer<TaskDetailsPopover> taskCard = new TaskDetailsPopover(m_state, task);
        taskCard->showNextTo(QRect(10, 10, 20, 20));
        TaskDetailsPopover::closeOpen();
        QTRY_VERIFY(!taskCard);
    }

    // Deleting a series takes its overrides along; undo brings them back,
    // still known to the server.
    // A read-only calendar's event: the card says why, and neither Edit
    // nor Delete can be pressed.
    void readOnlyCalendarsEvent()
    {
        Calendar personal = *m_state->calendars()->getById(kPersonal);
        personal.is_read_only = true;
        QVERIFY(m_state->calendars()->update(personal));
        auto *card = new EventDetailsPopover(m_state, insertEvent(QString()));
        card->showNextTo(QRect(10, 10, 20, 20));
        const QString reason = u"\"%1\" is read-only: its events cannot be changed here."_s.arg(personal.name);
        QCOMPARE(card->findChild<QLabel *>(u"readOnlyNotice"_s)->text(), reason);
        for (const QString &name : {u"edit"_s, u"delete"_s}) {
            const QPushButton *button = card->findChild<QPushButton *>(name);
            QVERIFY(!button->isEnabled());
            QCOMPARE(button->toolTip(), reason);
        }
        card->close();
    }

    void deleteAndUndo_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes);
        QTest::newRow("no") << int(QMessageBox::No);
    }
    void deleteAndUndo()
    {
        QFETCH(int, answer);
        const Event series = insertEvent(u"FREQ=DAILY"_s);
        Event override = series;
        override.id = u"override"_s;
        override.recurrence_rule.clear();
        override.master_event_uid = series.uid;
        override.recurrence_id = TimeUtil::toIcalUtc(series.start_time.addDays(1));
        override.start_time = series.start_time.addDays(1).addSecs(3600);
        override.end_time = override.start_time.addSecs(3600);
        override.reminders.clear();
        override.attendees.clear();
        QVERIFY(m_state->events()->insert(override));

        auto *card = new EventDetailsPopover(m_state, series);
        card->showNextTo(QRect(10, 10, 20, 20));
        ModalScript script;
        script.answer(u"Delete event?"_s, QMessageBox::StandardButton(answer));
        QTest::mouseClick(card->findChild<QPushButton *>(u"delete"_s), Qt::LeftButton);
        QVERIFY(script.done());
        QVERIFY(script.messageTexts().first().startsWith(u"Delete \"Planning\"? You can undo with "_s));
        if (answer == QMessageBox::No) {
            QVERIFY(!m_state->events()->getById(series.id)->deleted_at);
            QVERIFY(!m_state->undoStack()->canUndo());
            return;
        }
        QVERIFY(m_state->events()->getById(series.id)->deleted_at);
        QVERIFY(m_state->events()->getById(override.id)->deleted_at);
        QVERIFY(m_state->undoStack()->canUndo());
        QSignalSpy undone(m_state->undoStack(), &UndoStack::undone);
        m_state->undoStack()->undo();
        QCOMPARE(undone.first().first().toString(), u"Deleted \"Planning\""_s);
        const Event back = *m_state->events()->getById(series.id);
        QVERIFY(!back.deleted_at);
        QCOMPARE(back.etag, u"etag-1"_s);
        QCOMPARE(back.reminders.size(), 2);
        QVERIFY(!m_state->events()->getById(override.id)->deleted_at);
    }

    // Another card opened while the delete question is up (from the tray or
    // a reminder) closes this one for good; the answer still counts.
    void cardClosedWhileAskingStillDeletes()
    {
        const Event event = insertEvent(QString());
        QPointer<EventDetailsPopover> card = new EventDetailsPopover(m_state, event);
        card->showNextTo(QRect(10, 10, 20, 20));
        ModalScript script;
        script.on(u"Delete event?"_s, [](QWidget *modal) {
            EventDetailsPopover::closeOpen();
            ModalScript::click(static_cast<QMessageBox *>(modal)->button(QMessageBox::Yes));
        });
        QTest::mouseClick(card->findChild<QPushButton *>(u"delete"_s), Qt::LeftButton);
        QVERIFY(script.done());
        QTRY_VERIFY(!card);
        QVERIFY(m_state->events()->getById(event.id)->deleted_at);
        QVERIFY(m_state->undoStack()->canUndo());
    }

private:
    Event insertEvent(const QString &rule)
    {
        const QDateTime start(QDate(2026, 3, 16), QTime(9, 0), Qt::LocalTime);
        Event e = testEvent(kPersonal, u"Planning"_s, start, start.addSecs(3600), rule);
        e.etag = u"etag-1"_s;
        e.href = u"/cal/planning.ics"_s;
        if (!m_state->events()->insert(e))
            qWarning("insert failed");
        return *m_state->events()->getById(e.id);
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestDetailsPopovers)
#include "tst_detailspopovers.moc"
