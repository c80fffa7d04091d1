#include "appstatefixture.h"
#include "database.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "modalscript.h"
#include "recurrence.h"
#include "taskdetailspopover.h"
#include "theme.h"
#include "testevents.h"
#include "timeutil.h"
#include "undostack.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

} // namespace

class TestDetailsPopovers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void placement_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("room on the right: 8 px right, centred beside") << QRect(100, 300, 50, 40) << QPoint(158, 220);
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

    // The card's lines for what an event carries; a missing one shows no line.
    void cardTexts_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QList<int>>("reminders");
        QTest::addColumn<QString>("conferenceUrl");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("lines"); // "name=text" of each named line, top to bottom

        QTest::newRow("repeating with reminders")
            << u"FREQ=WEEKLY;BYDAY=MO,WE;COUNT=10"_s << QList<int>{60, 15} << QString() << QString()
            << QStringList{u"recurrence=Repeats weekly · Mon, Wed · 10 time(s)"_s,
                           u"reminders=Reminders: 15 min before, 1 hour(s) before"_s};
        QTest::newRow("online meeting: the link, the join line gone")
            << QString() << QList<int>() << u"https://teams.microsoft.com/l/meetup-join/1"_s
            << u"Agenda\n________________\nMicrosoft Teams\nJoin the meeting now<https://teams.microsoft.com/l/meetup-join/1>\n"
               "For organizers: options"_s
            << QStringList{u"conference=<a href=\"https://teams.microsoft.com/l/meetup-join/1\" style=\"color:%1;\">"
                           "Join online meeting</a> · teams.microsoft.com"_s,
                           u"description=Agenda"_s};
        QTest::newRow("meeting address of another scheme: text, no link")
            << QString() << QList<int>() << u"javascript:alert(\"x\")"_s << u"<draft> only\nnext"_s
            << QStringList{u"conference=Online meeting: javascript:alert(&quot;x&quot;)"_s,
                           u"description=&lt;draft&gt; only<br/>next"_s};
        QTest::newRow("nothing of it") << QString() << QList<int>() << QString() << QString() << QStringList();
    }
    void cardTexts()
    {
        QFETCH(QString, rule);
        QFETCH(QList<int>, reminders);
        QFETCH(QString, conferenceUrl);
        QFETCH(QString, description);
        QFETCH(QStringList, lines);
        Event event = insertEvent(rule);
        event.reminders.clear();
        for (const int minutes : reminders) {
            Reminder reminder;
            reminder.minutes_before = minutes;
            event.reminders.append(reminder);
        }
        event.conference_url = conferenceUrl;
        event.description = description;
        EventDetailsPopover card(m_state, event);
        QStringList shown;
        for (const QLabel *label : card.findChildren<QLabel *>()) {
            if (!label->objectName().isEmpty() && label->objectName() != u"readOnlyReason"_s)
                shown.append(label->objectName() + u'=' + label->text());
            // The title and the calendar's name come from servers too: only
            // the lines built as HTML above are read as HTML.
            const bool rich = label->objectName() == u"conference"_s || label->objectName() == u"description"_s;
            if (!label->text().isEmpty() && !rich)
                QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        for (QString &line : lines)
            line = line.arg(Theme::accent().name());
        QCOMPARE(shown, lines);
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

    // A card open or opened while an import runs offers no change until it
    // has ended: the write would only wait for the import's lock.
    void changesWaitForAnImport_data()
    {
        QTest::addColumn<bool>("openedDuringImport");
        QTest::newRow("card open when the import starts") << false;
        QTest::newRow("card opened during the import") << true;
    }
    void changesWaitForAnImport()
    {
        QFETCH(bool, openedDuringImport);
        const Event event = insertEvent(QString());
        if (openedDuringImport)
            m_state->beginImport();
        QPointer<EventDetailsPopover> card = new EventDetailsPopover(m_state, event);
        if (!openedDuringImport)
            m_state->beginImport();
        for (const QString &button : {u"edit"_s, u"delete"_s})
            QVERIFY2(!card->findChild<QPushButton *>(button)->isEnabled(), qPrintable(button));
        m_state->endImport();
        for (const QString &button : {u"edit"_s, u"delete"_s})
            QVERIFY2(card->findChild<QPushButton *>(button)->isEnabled(), qPrintable(button));
        EventDetailsPopover::closeOpen();
        QTRY_VERIFY(!card);
    }

    // Delete on an occurrence of a repeating event asks how far it reaches
    // and removes that much; undo brings every row back, still known to the
    // server. The series runs daily at 09:00 from Monday 16 March; Tuesday's
    // occurrence is moved to 10:00 and Thursday's to 11:00.
    void deleteAndUndo_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("scopeButton");
        QTest::addColumn<QStringList>("left");
        const QStringList all = {u"16 09:00"_s, u"17 10:00"_s, u"18 09:00"_s, u"19 11:00"_s, u"20 09:00"_s};
        QTest::newRow("this event only: an exception date")
            << u"18 09:00"_s << u"thisEvent"_s
            << QStringList{u"16 09:00"_s, u"17 10:00"_s, u"19 11:00"_s, u"20 09:00"_s};
        QTest::newRow("this event only, a moved one: the other moved one stays")
            << u"17 10:00"_s << u"thisEvent"_s
            << QStringList{u"16 09:00"_s, u"18 09:00"_s, u"19 11:00"_s, u"20 09:00"_s};
        QTest::newRow("this and following: the series ends before it")
            << u"18 09:00"_s << u"thisAndFollowing"_s << QStringList{u"16 09:00"_s, u"17 10:00"_s};
        QTest::newRow("this and following from a moved one")
            << u"19 11:00"_s << u"thisAndFollowing"_s << QStringList{u"16 09:00"_s, u"17 10:00"_s, u"18 09:00"_s};
        QTest::newRow("this and following from the first: everything")
            << u"16 09:00"_s << u"thisAndFollowing"_s << QStringList();
        QTest::newRow("all events") << u"17 10:00"_s << u"allEvents"_s << QStringList();
        QTest::newRow("cancel changes nothing") << u"18 09:00"_s << QString() << all;
    }
    void deleteAndUndo()
    {
        QFETCH(QString, card);
        QFETCH(QString, scopeButton);
        QFETCH(QStringList, left);
        const Event series = insertEvent(u"FREQ=DAILY"_s);
        insertMoved(series, 1, 10);
        insertMoved(series, 3, 11);
        const QStringList before = shown();

        std::optional<Event> occurrence;
        for (const Event &o : occurrences()) {
            if (o.start_time.toLocalTime().toString(u"dd HH:mm"_s) == card)
                occurrence = o;
        }
        QVERIFY(occurrence);
        auto *details = new EventDetailsPopover(m_state, *occurrence);
        details->showNextTo(QRect(10, 10, 20, 20));
        ModalScript script;
        script.on(u"Delete Recurring Event"_s, [scopeButton](QWidget *w) {
            // The title in its heading is read as text, as on the card.
            for (const QLabel *label : w->findChildren<QLabel *>())
                QCOMPARE(label->textFormat(), Qt::PlainText);
            if (scopeButton.isEmpty())
                ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel));
            else
                ModalScript::click(w->findChild<QPushButton *>(scopeButton));
        });
        QTest::mouseClick(details->findChild<QPushButton *>(u"delete"_s), Qt::LeftButton);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QCOMPARE(shown(), left);
        if (scopeButton.isEmpty()) {
            QVERIFY(!m_state->undoStack()->canUndo());
            return;
        }
        QVERIFY(!m_state->events()->getPending(kPersonal).isEmpty());

        QSignalSpy undone(m_state->undoStack(), &UndoStack::undone);
        m_state->undoStack()->undo();
        QCOMPARE(undone.first().first().toString(), u"Deleted \"Planning\""_s);
        QCOMPARE(shown(), before);
        const Event back = *m_state->events()->getById(series.id);
        QVERIFY(!back.deleted_at);
        QCOMPARE(back.etag, u"etag-1"_s);
        QCOMPARE(back.reminders.size(), 2);
        QCOMPARE(back.recurrence_rule, series.recurrence_rule);
        QCOMPARE(back.exception_dates, series.exception_dates);
    }

    // A write that fails half-way leaves the series as it was and offers no
    // undo: the series' new end and the removal of its later override go
    // together or not at all.
    void failedDeleteChangesNothing()
    {
        const Event series = insertEvent(u"FREQ=DAILY"_s);
        insertMoved(series, 3, 11);
        const QStringList before = shown();
        QSqlQuery fail(m_state->database()->database());
        QVERIFY(fail.exec(u"CREATE TRIGGER fail_tombstone BEFORE UPDATE OF deleted_at ON events "
                          "WHEN NEW.deleted_at IS NOT NULL BEGIN SELECT RAISE(ABORT, 'x'); END"_s));

        auto *details = new EventDetailsPopover(m_state, occurrences().at(1));
        details->showNextTo(QRect(10, 10, 20, 20));
        ModalScript script;
        script.on(u"Delete Recurring Event"_s,
                  [](QWidget *w) { ModalScript::click(w->findChild<QPushButton *>(u"thisAndFollowing"_s)); });
        script.answer(u"Database Error"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"failed"_s));
        QTest::mouseClick(details->findChild<QPushButton *>(u"delete"_s), Qt::LeftButton);
        QVERIFY(script.done());
        QCOMPARE(script.messageTexts().constLast(), u"Could not delete \"Planning\"."_s);
        QCOMPARE(shown(), before);
        QCOMPARE(m_state->events()->getById(series.id)->recurrence_rule, series.recurrence_rule);
        QVERIFY(!m_state->undoStack()->canUndo());
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
    // The series' occurrence `days` after its first, moved to `hour`.
    void insertMoved(const Event &series, int days, int hour)
    {
        Event override = series;
        override.id = u"override-%1"_s.arg(days);
        override.recurrence_rule.clear();
        override.master_event_uid = series.uid;
        override.recurrence_id = TimeUtil::toIcalUtc(series.start_time.addDays(days));
        override.start_time = QDateTime(series.start_time.date().addDays(days), QTime(hour, 0), Qt::LocalTime);
        override.end_time = override.start_time.addSecs(3600);
        override.reminders.clear();
        override.attendees.clear();
        QVERIFY(m_state->events()->insert(override));
    }

    QList<Event> occurrences() const
    {
        const QDateTime from(QDate(2026, 3, 16), QTime(0, 0), Qt::LocalTime);
        const QDateTime to = from.addDays(5);
        return Recurrence::expandEvents(m_state->events()->getInRange(from, to), from, to);
    }

    // "dd HH:mm" of what the views show from Monday to Friday.
    QStringList shown() const
    {
        QStringList starts;
        for (const Event &o : occurrences())
            starts.append(o.start_time.toLocalTime().toString(u"dd HH:mm"_s));
        starts.sort();
        return starts;
    }

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
