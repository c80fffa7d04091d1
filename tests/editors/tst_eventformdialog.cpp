#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "eventwrites.h"
#include "formdriver.h"
#include "icalendar.h"
#include "recurrence.h"
#include "recurrenceeditdialog.h"
#include "recurringeditscope.h"
#include "ruleuntil.h"
#include "templaterepository.h"
#include "testevents.h"
#include "thememanager.h"
#include "timeutil.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

QDateTime local(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}

// A weekly series of 8 Mondays at 10:00 in Berlin as a server holds it:
// UNTIL on its last start, an e-mail and a sound alarm, properties of other
// clients, an organizer and an attendee; `more` goes into the VEVENT, `after`
// after it (an override).
QString serverSeries(const QString &more = QString(), const QString &after = QString())
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//server//EN\r\nBEGIN:VEVENT\r\nUID:board-sync\r\n"
           "DTSTAMP:20260101T000000Z\r\nSUMMARY:Board sync\r\nDTSTART;TZID=Europe/Berlin:20260302T100000\r\n"
           "DTEND;TZID=Europe/Berlin:20260302T110000\r\nRRULE:FREQ=WEEKLY;UNTIL=20260420T080000Z\r\n"
           "SEQUENCE:3\r\nX-SERVER-COLOR:teal\r\nORGANIZER;CN=Olga:mailto:olga@example.com\r\n"
           "ATTENDEE;CN=Ann;PARTSTAT=ACCEPTED;X-NUM-GUESTS=0:mailto:ann@example.com\r\n"
           "BEGIN:VALARM\r\nACTION:EMAIL\r\nTRIGGER:-PT30M\r\nSUMMARY:Board sync soon\r\n"
           "DESCRIPTION:Bring the figures\r\nATTENDEE:mailto:ann@example.com\r\nX-ALARM-NOTE:kept\r\n"
           "END:VALARM\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT5M\r\n"
           "ATTACH;FMTTYPE=audio/basic:https://example.com/ding.wav\r\nEND:VALARM\r\n%1END:VEVENT\r\n%2"
           "END:VCALENDAR\r\n"_s.arg(more, after);
}

// The series' override of 16 March, moved to noon.
const QString kOverride = u"BEGIN:VEVENT\r\nUID:board-sync\r\nDTSTAMP:20260101T000000Z\r\n"
                          "RECURRENCE-ID;TZID=Europe/Berlin:20260316T100000\r\nSUMMARY:Board sync\r\n"
                          "DTSTART;TZID=Europe/Berlin:20260316T120000\r\nDTEND;TZID=Europe/Berlin:20260316T130000\r\n"
                          "END:VEVENT\r\n"_s;

QList<int> minutesOf(const QList<Reminder> &reminders)
{
    QList<int> list;
    for (const Reminder &r : reminders)
        list.append(r.minutes_before);
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class TestEventFormDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void defaultStart_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("start");
        QTest::newRow("on the hour") << local(2026, 3, 2, 10, 0) << local(2026, 3, 2, 10, 0);
        QTest::newRow("7 past: half past") << local(2026, 3, 2, 10, 7) << local(2026, 3, 2, 10, 30);
        QTest::newRow("31 past: the next hour") << local(2026, 3, 2, 10, 31) << local(2026, 3, 2, 11, 0);
        QTest::newRow("before midnight: the next day") << local(2026, 3, 2, 23, 45) << local(2026, 3, 3, 0, 0);
    }
    void defaultStart()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, start);
        QCOMPARE(EventFormDialog::defaultStart(now.addSecs(42)), start);
    }

    void validation()
    {
        EventFormDialog form(m_state);
        ModalScript script;
        script.on(u"New Event"_s, [](QWidget *w) {
            type(w, u"title"_s, u"   "_s);
            confirm(w);
        });
        script.answer(u"Title required"_s);
        script.on(u"New Event"_s, [](QWidget *w) {
            type(w, u"title"_s, u"Call"_s);
            setWhen(w, u"start"_s, local(2026, 3, 2, 9));
            setWhen(w, u"end"_s, local(2026, 3, 2, 8, 59));
            confirm(w);
        });
        script.answer(u"End before start"_s);
        script.on(u"New Event"_s, [](QWidget *w) {
            QVERIFY(find<QWidget>(w, u"end"_s)->isAncestorOf(w->focusWidget()));
            setWhen(w, u"end"_s, local(2026, 3, 2, 9)); // equal is fine
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QCOMPARE(script.messageTexts(),
                 QStringList(
                     {u"Please enter a title for the event."_s, u"The end time is earlier than the start time."_s}));
        const QList<Event> rows = m_state->events()->getByCalendar(kPersonal);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().end_time, local(2026, 3, 2, 9));
    }

    // All-day dates are kept as dates: the stored end is the day after the
    // last, and the form shows the last day again.
    void allDayDates()
    {
        Event created = createTimed(u"Trip"_s, local(2026, 3, 3, 9), local(2026, 3, 3, 10));
        {
            EventFormDialog form(m_state, created);
            ModalScript script;
            script.on(u"Edit Event"_s, [](QWidget *w) {
                setAllDay(w, true);
                setWhen(w, u"end"_s, local(2026, 3, 5));
                confirm(w);
            });
            QCOMPARE(form.exec(), int(QDialog::Accepted));
        }
        const Event e = *m_state->events()->getById(created.id);
        QVERIFY(e.is_all_day);
        QCOMPARE(e.start_time.date(), QDate(2026, 3, 3));
        QCOMPARE(e.end_time->date(), QDate(2026, 3, 6));
        QCOMPARE(e.sequence, created.sequence + 1);
        QVERIFY(e.raw_icalendar.contains(u"DTSTART;VALUE=DATE:20260303"_s));
        QVERIFY(e.raw_icalendar.contains(u"DTEND;VALUE=DATE:20260306"_s));

        EventFormDialog again(m_state, e);
        QVERIFY(find<QCheckBox>(&again, u"allDay"_s)->isChecked());
        QCOMPARE(find<DateTimePicker>(&again, u"start"_s)->date(), QDate(2026, 3, 3));
        QCOMPARE(find<DateTimePicker>(&again, u"end"_s)->date(), QDate(2026, 3, 5));
        QVERIFY(find<DateTimePicker>(&again, u"end"_s)->isDateOnly());
    }

    // What other clients wrote and the form does not show stays in the text.
    void keepsWhatItDoesNotShow()
    {
        const QString text = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\n"
                             "UID:other-1\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Imported\r\n"
                             "DTSTART:20260302T090000Z\r\nDTEND:20260302T100000Z\r\nCATEGORIES:WORK,TEAM\r\n"
                             "X-OTHER-FLAG:yes\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\n"
                             "TRIGGER;VALUE=DATE-TIME:20260302T080000Z\r\nEND:VALARM\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n"_s;
        Event imported = ICalendar::parseEvents(text).first();
        imported.id = u"imported"_s;
        imported.calendar_id = kPersonal;
        imported.created = imported.last_modified = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->events()->insert(imported));

        EventFormDialog form(m_state, imported);
        ModalScript script;
        script.on(u"Edit Event"_s, [](QWidget *w) {
            type(w, u"title"_s, u"Imported, renamed"_s);
            addReminder(w, 30);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Event stored = *m_state->events()->getById(u"imported"_s);
        QVERIFY(stored.raw_icalendar.contains(u"CATEGORIES:WORK,TEAM"_s));
        QVERIFY(stored.raw_icalendar.contains(u"X-OTHER-FLAG:yes"_s));
        QVERIFY(stored.raw_icalendar.contains(u"ACTION:AUDIO"_s));
        QVERIFY(stored.raw_icalendar.contains(u"SUMMARY:Imported\\, renamed"_s));
        QCOMPARE(minutesOf(ICalendar::parseEvents(stored.raw_icalendar).first().reminders), QList<int>({30}));
    }

    // A pull may take the row away (the server deleted it) while the form is
    // open: Save keeps the edit as a local row that the next push creates.
    void keepsAnEditWhoseRowWasDeletedMeanwhile()
    {
        Event e = testEvent(kPersonal, u"Dentist"_s, local(2026, 3, 2, 9), local(2026, 3, 2, 10));
        e.href = u"/cal/dentist.ics"_s;
        e.etag = u"\"1\""_s;
        e.provider_event_id = u"remote-1"_s;
        e.sync_status = u"synced"_s;
        QVERIFY(m_state->events()->insert(e));
        EventFormDialog form(m_state, *m_state->events()->getById(e.id));
        ModalScript script;
        script.on(u"Edit Event"_s, [this, id = e.id](QWidget *w) {
            type(w, u"title"_s, u"Dentist, moved"_s);
            QVERIFY(m_state->events()->hardDelete(id));
            confirm(w);
        });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^EventRepository::update failed: no row"_s));
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const QList<Event> pending = m_state->events()->getPending(kPersonal);
        QCOMPARE(pending.size(), 1);
        const Event stored = *m_state->events()->getById(e.id);
        QCOMPARE(stored.title, u"Dentist, moved"_s);
        QCOMPARE(stored.uid, e.uid);
        QCOMPARE(stored.sync_status, u"pending"_s);
        QCOMPARE(QStringList({stored.href, stored.etag, stored.provider_event_id}), QStringList({{}, {}, {}}));
        QCOMPARE(minutesOf(stored.reminders), QList<int>({15, 60}));
        QCOMPARE(stored.attendees.size(), 1);
    }

    // A hidden calendar's event stays where it is.
    void editsInItsOwnCalendar()
    {
        Calendar other = AppStateFixture::localCalendar(u"other"_s, u"Feeds"_s, u"#0b8043"_s);
        other.is_visible = false;
        QVERIFY(m_state->calendars()->insert(other));
        Event e = createTimed(u"Holiday"_s, local(2026, 3, 2, 9), local(2026, 3, 2, 10), QString(), other.id);
        EventFormDialog form(m_state, e);
        QCOMPARE(find<QComboBox>(&form, u"calendar"_s)->currentData().toString(), other.id);
        ModalScript script;
        script.on(u"Edit Event"_s, [](QWidget *w) {
            type(w, u"title"_s, u"Holiday!"_s);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Event stored = *m_state->events()->getById(e.id);
        QCOMPARE(stored.calendar_id, other.id);
        QCOMPARE(stored.title, u"Holiday!"_s);
        EventFormDialog fresh(m_state);
        QCOMPARE(find<QComboBox>(&fresh, u"calendar"_s)->findData(other.id), -1);
    }

    // The moved event keeps its reminders, attendees and overrides; the old
    // rows become tombstones in the same transaction. A start moved with it
    // takes the overrides along.
    void movesToAnotherCalendar_data()
    {
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<QStringList>("starts");
        QTest::newRow("same start") << 0 << QStringList({u"03-02 09:00"_s, u"03-10 09:00"_s, u"03-16 09:00"_s});
        QTest::newRow("a day later: the moved occurrence shows once")
            << 1 << QStringList({u"03-03 09:00"_s, u"03-10 09:00"_s});
    }
    void movesToAnotherCalendar()
    {
        QFETCH(int, daysLater);
        QFETCH(QStringList, starts);
        QVERIFY(m_state->calendars()->insert(AppStateFixture::localCalendar(u"work"_s, u"Work"_s, u"#d50000"_s)));
        Event series = createTimed(u"Sync"_s, local(2026, 3, 2, 9), local(2026, 3, 2, 10), u"FREQ=WEEKLY;BYDAY=MO"_s);
        series.etag = u"etag-1"_s;
        series.href = u"/cal/sync.ics"_s;
        QVERIFY(m_state->events()->update(series));
        Event override = series;
        override.id = u"override"_s;
        override.recurrence_rule.clear();
        override.master_event_uid = series.uid;
        override.recurrence_id = TimeUtil::toIcalUtc(local(2026, 3, 9, 9));
        override.start_time = local(2026, 3, 10, 9);
        override.end_time = local(2026, 3, 10, 10);
        EventWrites::detachChildren(override);
        override.raw_icalendar = ICalendar::serializeEvent(override);
        QVERIFY(m_state->events()->insert(override));

        auto moveTo = [this, &series, daysLater](const QString &calendarId) {
            EventFormDialog form(m_state, series);
            ModalScript script;
            script.on(u"Edit Event"_s, [calendarId, daysLater](QWidget *w) {
                choose(w, u"calendar"_s, calendarId);
                setWhen(w, u"start"_s, local(2026, 3, 2 + daysLater, 9));
                setWhen(w, u"end"_s, local(2026, 3, 2 + daysLater, 10));
                confirm(w);
            });
            return form.exec();
        };

        // A failing insert leaves everything as it was.
        QSqlQuery fail(m_state->database()->database());
        QVERIFY(fail.exec(u"CREATE TRIGGER fail_insert BEFORE INSERT ON events BEGIN SELECT RAISE(ABORT, 'x'); END"_s));
        {
            EventFormDialog form(m_state, series);
            ModalScript script;
            script.on(u"Edit Event"_s, [](QWidget *w) {
                choose(w, u"calendar"_s, u"work"_s);
                confirm(w);
            });
            script.answer(u"Database Error"_s);
            script.on(u"Edit Event"_s, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"EventRepository::insert failed"_s));
            QCOMPARE(form.exec(), int(QDialog::Rejected));
            QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        }
        QVERIFY(!m_state->events()->getById(series.id)->deleted_at);
        QVERIFY(fail.exec(u"DROP TRIGGER fail_insert"_s));

        QCOMPARE(moveTo(u"work"_s), int(QDialog::Accepted));
        QVERIFY(m_state->events()->getById(series.id)->deleted_at);
        QVERIFY(m_state->events()->getById(u"override"_s)->deleted_at);
        const QList<Event> moved = m_state->events()->getByCalendar(u"work"_s);
        QCOMPARE(moved.size(), 2);
        const Event copy = moved.first().isOverride() ? moved.last() : moved.first();
        const Event copiedOverride = moved.first().isOverride() ? moved.first() : moved.last();
        // A new resource on the other calendar's server, not the old one's.
        QVERIFY(copy.uid != series.uid);
        QCOMPARE(copy.href, QString());
        QCOMPARE(copy.etag, QString());
        QCOMPARE(copy.sync_status, u"pending"_s);
        QCOMPARE(minutesOf(copy.reminders), QList<int>({15, 60}));
        QCOMPARE(copy.attendees.size(), 1);
        QCOMPARE(ICalendar::parseEvents(copy.raw_icalendar).first().uid, copy.uid);
        QCOMPARE(copiedOverride.master_event_uid, copy.uid);
        QCOMPARE(copiedOverride.uid, copy.uid);
        const QList<Event> shown = Recurrence::expandEvents(m_state->events()->getInRange(local(2026, 3, 1),
                                                                                          local(2026, 3, 17)),
                                                            local(2026, 3, 1), local(2026, 3, 17));
        QStringList shownStarts;
        for (const Event &o : shown)
            shownStarts.append(o.start_time.toLocalTime().toString(u"MM-dd HH:mm"_s));
        shownStarts.sort();
        QCOMPARE(shownStarts, starts);
    }

    void templates()
    {
        EventFormDialog empty(m_state);
        {
            ModalScript script;
            script.answer(u"No templates"_s);
            click(&empty, u"fromTemplate"_s);
            QVERIFY(script.done());
        }

        EventTemplate review;
        review.name = u"Review"_s;
        review.title = u"Code review"_s;
        review.duration_minutes = 90;
        review.reminders = {5, 60};
        review.color = u"#123456"_s;
        QVERIFY(m_state->templates()->insert(review));
        EventFormDialog form(m_state);
        find<DateTimePicker>(&form, u"start"_s)->setDateTime(local(2026, 3, 2, 9));
        addReminder(&form, 30);
        QTimer::singleShot(50, this, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 1);
            menu->actions().first()->trigger();
            menu->close();
        });
        click(&form, u"fromTemplate"_s);
        QCOMPARE(find<QLineEdit>(&form, u"title"_s)->text(), u"Code review"_s);
        QCOMPARE(find<DateTimePicker>(&form, u"end"_s)->dateTime(), local(2026, 3, 2, 10, 30));
        QTest::qWait(0); // the replaced rows go
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<int> rows;
        for (QComboBox *row : form.findChildren<QComboBox *>(u"reminder"_s))
            rows.append(row->currentData().toInt());
        QCOMPARE(rows, QList<int>({5, 60}));
        QVERIFY(find<QPushButton>(&form, u"useCalendarColor"_s)->isVisibleTo(&form));
    }

    // "Use calendar color" drops the event's own colour from the saved row.
    void useCalendarColour()
    {
        Event e = createTimed(u"Colourful"_s, local(2026, 3, 2, 9), local(2026, 3, 2, 10));
        e.color = u"#00ff00"_s;
        QVERIFY(m_state->events()->update(e));
        EventFormDialog form(m_state, e);
        ModalScript script;
        script.on(u"Edit Event"_s, [](QWidget *w) {
            click(w, u"useCalendarColor"_s);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(m_state->events()->getById(e.id)->color, QString());
    }

    // The rule editor's "Does not repeat" removes the rule; a timed series'
    // end date is written as the last second of that day, in UTC.
    void repetition()
    {
        Event e = createTimed(u"Gym"_s, local(2026, 3, 2, 18), local(2026, 3, 2, 19), u"FREQ=DAILY"_s);
        auto editRule = [this, &e](std::function<void(QWidget *)> inRecurrence) {
            EventFormDialog form(m_state, e);
            ModalScript script;
            script.on(u"Edit Event"_s, [](QWidget *w) { clickLater(w, u"repeat"_s); });
            script.on(u"Recurrence"_s, [inRecurrence](QWidget *w) {
                inRecurrence(w);
                confirm(w);
            });
            script.on(u"Edit Event"_s, [](QWidget *w) { confirm(w); });
            const int result = form.exec();
            QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
            QCOMPARE(result, int(QDialog::Accepted));
            e = *m_state->events()->getById(e.id);
        };
        editRule([](QWidget *w) {
            click(w, u"endOn"_s);
            find<QDateEdit>(w, u"untilDate"_s)->setDate(QDate(2026, 3, 31));
        });
        QCOMPARE(e.recurrence_rule,
                 u"FREQ=DAILY;UNTIL="_s + RuleUntil::value(QDate(2026, 3, 31), QTimeZone::systemTimeZone()));
        const QList<Event> march = Recurrence::expandEvents({e}, local(2026, 3, 1), local(2026, 4, 10));
        QCOMPARE(march.size(), 30);
        QCOMPARE(march.last().start_time.toLocalTime(), local(2026, 3, 31, 18));

        editRule([](QWidget *w) {
            auto *frequency = find<QComboBox>(w, u"frequency"_s);
            frequency->setCurrentIndex(RecurrenceEditDialog::NoRepeat);
        });
        QCOMPARE(e.recurrence_rule, QString());
        QCOMPARE(ICalendar::parseEvents(e.raw_icalendar).first().recurrence_rule, QString());
    }

    // The repeat label names the end the series is saved with, also once
    // "All day" changed its kind: a timed series ends on the day its UTC end
    // falls on here. Back to all-day, a changed rule keeps the day that end
    // named.
    void repeatEndFollowsTheKind_data()
    {
        QTest::addColumn<QString>("until");
        QTest::newRow("UTC midnight: the day before west of UTC") << u"20270101T000000Z"_s;
        QTest::newRow("half past eleven UTC: the day after east of UTC") << u"20261231T233000Z"_s;
    }
    void repeatEndFollowsTheKind()
    {
        QFETCH(QString, until);
        const Event series = insertPulled(u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:trip\r\nSUMMARY:Trip\r\n"
                                          "DTSTART;VALUE=DATE:20261220\r\nRRULE:FREQ=DAILY;UNTIL=%1\r\n"
                                          "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(until))
                                 .first();
        const QDateTime from(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
        const QDate last = Recurrence::expandEvent(series, from, from.addMonths(2)).last().start_time.date();
        EventFormDialog form(m_state, series);
        auto *allDay = find<QCheckBox>(&form, u"allDay"_s);
        allDay->setChecked(false);
        const QDate timedLast = TimeUtil::fromIcalUtc(until).toLocalTime().date();
        const QString label = find<QPushButton>(&form, u"repeat"_s)->text();
        QVERIFY2(label.endsWith(u"until "_s + QLocale::c().toString(timedLast, u"MMM d, yyyy"_s)), qPrintable(label));
        allDay->setChecked(true);
        ModalScript script;
        script.on(u"Edit Event"_s, [](QWidget *w) { clickLater(w, u"repeat"_s); });
        script.on(u"Recurrence"_s, [](QWidget *w) {
            find<QSpinBox>(w, u"interval"_s)->setValue(2);
            confirm(w);
        });
        script.on(u"Edit Event"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QCOMPARE(m_state->events()->getById(series.id)->recurrence_rule,
                 u"FREQ=DAILY;INTERVAL=2;UNTIL="_s + last.toString(u"yyyyMMdd"_s));
    }

    // A series from a server, opened and saved: without a change nothing is
    // written; with one its times stay in the series' own zone (UTC stays
    // UTC, never the system zone).
    void savingKeepsTheSeriesZone_data()
    {
        QTest::addColumn<QString>("dtstart");
        QTest::addColumn<QString>("title"); // typed; empty: no change
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("startLine");
        QTest::addColumn<QString>("zoneBlock");
        QTest::addColumn<bool>("atOffset"); // held at +01:00, as a provider gives a time without its zone
        const QString utc = u"DTSTART:20260302T140000Z"_s;
        const QString berlin = u"DTSTART;TZID=Europe/Berlin:20260302T100000"_s;
        // A zone only the invitation itself defines, as mail clients send it.
        const QString custom = u"DTSTART;TZID=Customized Time Zone:20260302T100000"_s;
        const QString customZone = u"BEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\n"
                                   "BEGIN:STANDARD\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0400\r\n"
                                   "TZOFFSETTO:-0500\r\nRRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\nEND:STANDARD\r\n"
                                   "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0500\r\n"
                                   "TZOFFSETTO:-0400\r\nRRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\nEND:DAYLIGHT\r\n"
                                   "END:VTIMEZONE\r\n"_s;
        QTest::newRow("UTC series, no change: row and text as they were")
            << utc << QString() << u"UTC"_s << utc << QString() << false;
        QTest::newRow("Berlin series, no change: row and text as they were")
            << berlin << QString() << u"Europe/Berlin"_s << berlin << QString() << false;
        QTest::newRow("UTC series, new title: still UTC")
            << utc << u"Sync (moved room)"_s << u"UTC"_s << utc << QString() << false;
        QTest::newRow("Berlin series, new title: still Berlin")
            << berlin << u"Sync (moved room)"_s << u"Europe/Berlin"_s << berlin << QString() << false;
        QTest::newRow("series in a zone its invitation defines, no change: row and text as they were")
            << custom << QString() << u"Customized Time Zone"_s << custom << customZone << false;
        QTest::newRow("series in a zone its invitation defines, new title: still that zone")
            << custom << u"Sync (moved room)"_s << u"Customized Time Zone"_s << custom << customZone << false;
        QTest::newRow("held at an offset, no change: row as it was")
            << utc << QString() << u"UTC"_s << utc << QString() << true;
        QTest::newRow("held at an offset, new title: not moved into this machine's zone")
            << utc << u"Sync (moved room)"_s << u"UTC"_s << utc << QString() << true;
    }
    void savingKeepsTheSeriesZone()
    {
        QFETCH(QString, dtstart);
        QFETCH(QString, title);
        QFETCH(QString, zone);
        QFETCH(QString, startLine);
        QFETCH(QString, zoneBlock);
        QFETCH(bool, atOffset);
        const QString text =
            u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//server//EN\r\n%2BEGIN:VEVENT\r\n"
            "UID:weekly-sync\r\nSUMMARY:Sync\r\n%1\r\nDURATION:PT1H\r\n"
            "RRULE:FREQ=WEEKLY;UNTIL=20270101T000000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(dtstart, zoneBlock);
        Event pulled = ICalendar::parseEvents(text).first();
        if (atOffset)
            pulled.start_time = pulled.start_time.toOffsetFromUtc(3600);
        pulled.id = u"series"_s;
        pulled.calendar_id = kPersonal;
        pulled.href = u"/cal/weekly-sync.ics"_s;
        pulled.etag = u"etag-1"_s;
        pulled.created = pulled.last_modified = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->events()->insert(pulled));
        const Event before = *m_state->events()->getById(pulled.id);
        {
            EventFormDialog form(m_state, before);
            ModalScript script;
            script.on(u"Edit Event"_s, [title](QWidget *w) {
                if (!title.isEmpty())
                    type(w, u"title"_s, title);
                confirm(w);
            });
            QCOMPARE(form.exec(), int(QDialog::Accepted));
        }
        const Event after = *m_state->events()->getById(pulled.id);
        if (title.isEmpty()) {
            QCOMPARE(after, before);
            return;
        }
        QCOMPARE(after.title, title);
        QCOMPARE(after.timezone, zone);
        QCOMPARE(after.start_time, before.start_time);
        QCOMPARE(after.recurrence_rule, before.recurrence_rule);
        QVERIFY2(after.raw_icalendar.contains(startLine + u"\r\n"_s), qPrintable(after.raw_icalendar));
    }

    // Saved with nothing changed, through any scope and from any
    // occurrence, the form writes nothing: no override, no split, no
    // rewritten rule or alarm. Also after the rule editor was confirmed
    // untouched.
    void untouchedSaveWritesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QDate>("opened"); // the occurrence opened; invalid: the stored row
        QTest::addColumn<bool>("ruleEditor");
        const int all = int(RecurringEditScope::AllEvents);
        const int thisEvent = int(RecurringEditScope::ThisEvent);
        const int following = int(RecurringEditScope::ThisAndFollowing);
        const QDate first(2026, 3, 2), later(2026, 3, 23), overridden(2026, 3, 16), none;
        const QString series = serverSeries();
        const QString withOverride = serverSeries(QString(), kOverride);
        QTest::newRow("single event") << serverSeries().replace(u"RRULE:FREQ=WEEKLY;UNTIL=20260420T080000Z\r\n"_s,
                                                                QString())
                                      << all << none << false;
        QTest::newRow("series, all events, its first") << series << all << first << false;
        QTest::newRow("series, all events, a later one") << series << all << later << false;
        QTest::newRow("series, this event only") << series << thisEvent << later << false;
        QTest::newRow("series, this and following") << series << following << later << false;
        QTest::newRow("series, this and following, its first") << series << following << first << false;
        QTest::newRow("override, this event only") << withOverride << thisEvent << overridden << false;
        QTest::newRow("override, this and following") << withOverride << following << overridden << false;
        QTest::newRow("override, all events") << withOverride << all << overridden << false;
        QTest::newRow("series, this event only, rule editor") << series << thisEvent << later << true;
        QTest::newRow("series, all events, rule editor") << series << all << first << true;
        const auto withRule = [&series](const QString &rule) {
            return QString(series).replace(u"FREQ=WEEKLY;UNTIL=20260420T080000Z"_s, rule);
        };
        QTest::newRow("timed series ending on a date, all events")
            << withRule(u"FREQ=WEEKLY;UNTIL=20260420"_s) << all << first << false;
        QTest::newRow("last weekday of the month, rule editor")
            << withRule(u"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"_s) << all << none << true;
        QTest::newRow("last Sunday of March, rule editor, this and following")
            << withRule(u"FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"_s) << following << QDate(2027, 3, 28) << true;
        QTest::newRow("1st and 15th, rule editor, this event only")
            << withRule(u"FREQ=MONTHLY;BYMONTHDAY=1,15"_s) << thisEvent << QDate(2026, 3, 15) << true;
        QTest::newRow("weekdays, rule editor, this event only")
            << withRule(u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"_s) << thisEvent << QDate(2026, 3, 4) << true;
        QTest::newRow("all-day series, this event only")
            << u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:trip\r\nSUMMARY:Trip\r\nDTSTART;VALUE=DATE:20260302\r\n"
               "DTEND;VALUE=DATE:20260304\r\nRRULE:FREQ=WEEKLY;COUNT=8\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s
            << thisEvent << later << true;
        QTest::newRow("all-day series ending at a client's midnight east of UTC, rule editor")
            << u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:trip\r\nSUMMARY:Trip\r\nDTSTART;VALUE=DATE:20260302\r\n"
               "RRULE:FREQ=WEEKLY;UNTIL=20261231T230000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s
            << all << none << true;
        // No DTEND: a timed event ends as it starts, an all-day one after its day.
        const QString noEnd = QString(series).remove(u"DTEND;TZID=Europe/Berlin:20260302T110000\r\n"_s);
        QTest::newRow("without an end, single event")
            << QString(noEnd).remove(u"RRULE:FREQ=WEEKLY;UNTIL=20260420T080000Z\r\n"_s) << all << none << false;
        QTest::newRow("without an end, this event only") << noEnd << thisEvent << later << false;
        QTest::newRow("all-day without an end")
            << u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:day\r\nSUMMARY:Day\r\nDTSTART;VALUE=DATE:20260302\r\n"
               "END:VEVENT\r\nEND:VCALENDAR\r\n"_s
            << all << none << false;
        // What the form's fields would write in another form: blanks around
        // a title or place, a non-breaking space or a carriage return in the
        // notes.
        QTest::newRow("all-day ending as it starts")
            << u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:day\r\nSUMMARY:Day\r\nDTSTART;VALUE=DATE:20260302\r\n"
               "DTEND;VALUE=DATE:20260302\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s
            << all << none << false;
        QTest::newRow("texts the fields would reshape")
            << serverSeries(u"LOCATION: Room 2 \r\nDESCRIPTION:Agenda\u00a0first\\nthen lunch\r\n"_s)
                   .replace(u"SUMMARY:Board sync\r\n"_s, u"SUMMARY:Board sync \r\n"_s)
            << all << none << false;
    }
    void untouchedSaveWritesNothing()
    {
        QFETCH(QString, text);
        QFETCH(int, scope);
        QFETCH(QDate, opened);
        QFETCH(bool, ruleEditor);
        const QList<Event> rows = insertPulled(text);
        const QString before = storedRows();
        Event event = rows.first();
        if (opened.isValid()) {
            const QDateTime from = local(2026, 2, 1);
            const QList<Event> shown = Recurrence::expandEvents(m_state->events()->getInRange(from, from.addYears(2)),
                                                                from, from.addYears(2));
            const auto it = std::find_if(shown.begin(), shown.end(), [opened](const Event &o) {
                return o.start_time.toLocalTime().date() == opened || (o.is_all_day && o.start_time.date() == opened);
            });
            QVERIFY(it != shown.end());
            event = *it;
        }
        EventFormDialog form(m_state, event);
        form.setScope(RecurringEditScope(scope));
        ModalScript script;
        if (ruleEditor) {
            script.on(u"Edit Event"_s, [](QWidget *w) { clickLater(w, u"repeat"_s); });
            script.on(u"Recurrence"_s, [](QWidget *w) { confirm(w); });
        }
        script.on(u"Edit Event"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QVERIFY(before.count(u'\n') >= 4);
        QCOMPARE(storedRows(), before);
    }

    // A server event's alarms keep their action and everything they hold,
    // and its other clients' properties and attendees stay, in the row and
    // in the text the next push sends.
    void keepsAlarmsAndProperties_data()
    {
        QTest::addColumn<QString>("title"); // typed; empty: untouched
        QTest::addColumn<int>("emailLead"); // chosen for the e-mail alarm
        QTest::addColumn<QStringList>("kept"); // lines of the pushed text
        const QStringList always = {
            u"ACTION:EMAIL"_s,
            u"SUMMARY:Board sync soon"_s,
            u"DESCRIPTION:Bring the figures"_s,
            u"ATTENDEE:mailto:ann@example.com"_s,
            u"X-ALARM-NOTE:kept"_s,
            u"ACTION:AUDIO"_s,
            u"TRIGGER:-PT5M"_s,
            u"ATTACH;FMTTYPE=audio/basic:https://example.com/ding.wav"_s,
            u"X-SERVER-COLOR:teal"_s,
            u"ATTENDEE;CN=Ann;ROLE=REQ-PARTICIPANT;PARTSTAT=ACCEPTED;X-NUM-GUESTS=0:mailto:ann@example.com"_s,
            u"ORGANIZER;CN=Olga:mailto:olga@example.com"_s,
        };
        QTest::newRow("untouched") << QString() << 30 << always + QStringList{u"TRIGGER:-PT30M"_s};
        QTest::newRow("retitled") << u"Board sync (room 2)"_s << 30
                                  << always + QStringList{u"TRIGGER:-PT30M"_s, u"SUMMARY:Board sync (room 2)"_s};
        QTest::newRow("the e-mail an hour before")
            << QString() << 60 << always + QStringList{u"TRIGGER:-PT60M"_s, u"SUMMARY:Board sync"_s};
    }
    void keepsAlarmsAndProperties()
    {
        QFETCH(QString, title);
        QFETCH(int, emailLead);
        QFETCH(QStringList, kept);
        const Event pulled = insertPulled(serverSeries()).first();
        EventFormDialog form(m_state, pulled);
        ModalScript script;
        script.on(u"Edit Event"_s, [title, emailLead](QWidget *w) {
            if (!title.isEmpty())
                type(w, u"title"_s, title);
            for (QComboBox *row : w->findChildren<QComboBox *>(u"reminder"_s)) {
                if (row->currentData().toInt() == 30)
                    row->setCurrentIndex(row->findData(emailLead));
            }
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Event stored = *m_state->events()->getById(pulled.id);
        QStringList actions;
        for (const Reminder &r : stored.reminders)
            actions.append(u"%1 %2"_s.arg(r.action).arg(r.minutes_before));
        actions.sort();
        QCOMPARE(actions, QStringList({u"audio 5"_s, u"email %1"_s.arg(emailLead)}));
        QCOMPARE(stored.attendees.size(), 1);
        QCOMPARE(stored.sequence, title.isEmpty() && emailLead == 30 ? 3 : 4);
        const QString pushed = ICalendar::serializeEvents({stored});
        for (const QString &line : kept)
            QVERIFY2(pushed.contains(line + u"\r\n"_s), qPrintable(line + u" not in\n"_s + pushed));
        QCOMPARE(pushed.count(u"BEGIN:VALARM"_s), 2);
    }

    // The time list of the start shows whole times ("13:30") in either
    // theme, also with the form at its narrowest.
    void timeListShowsWholeTimes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("light theme") << u"light"_s;
        QTest::newRow("dark theme") << u"dark"_s;
    }
    void timeListShowsWholeTimes()
    {
        QFETCH(QString, theme);
        m_state->themeManager()->apply(theme);
        EventFormDialog form(m_state);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(form.minimumSizeHint().width(), form.height());
        QComboBox *times = find<DateTimePicker>(&form, u"start"_s)->timeCombo();
        times->showPopup();
        QAbstractItemView *list = times->view();
        QVERIFY(list->isVisible());
        // Each entry fits the visible width it is drawn in.
        for (int row = 0; row < times->count(); ++row) {
            const QModelIndex index = times->model()->index(row, 0);
            QVERIFY2(list->viewport()->width() >= list->sizeHintForIndex(index).width(),
                     qPrintable(times->itemText(row)));
        }
        times->hidePopup();
    }

private:
    Event createTimed(const QString &title, const QDateTime &start, const QDateTime &end,
                      const QString &rule = QString(), const QString &calendarId = kPersonal)
    {
        const Event e = testEvent(calendarId, title, start, end, rule);
        if (!m_state->events()->insert(e))
            qWarning("insert failed");
        return *m_state->events()->getById(e.id);
    }

    // The events of a server's text, stored as a pull stores them: synced,
    // in the resource it came in. The master first.
    QList<Event> insertPulled(const QString &text)
    {
        QList<Event> rows;
        for (Event e : ICalendar::parseEvents(text)) {
            e.id = e.recurrence_id.isEmpty() ? e.uid : e.uid + u"-"_s + e.recurrence_id;
            e.calendar_id = kPersonal;
            e.href = u"/cal/"_s + e.uid + u".ics"_s;
            e.etag = u"etag-1"_s;
            e.sync_status = u"synced"_s;
            e.created = e.last_modified = QDateTime::currentDateTimeUtc();
            if (!m_state->events()->insert(e))
                qWarning("insert failed");
            rows.append(*m_state->events()->getById(e.id));
        }
        return rows;
    }

    // Every event, reminder and attendee row, read apart from the
    // application's connection.
    QString storedRows() const
    {
        return m_fixture->cli(u"SELECT * FROM events ORDER BY id; SELECT * FROM reminders ORDER BY id; "
                              "SELECT * FROM attendees ORDER BY id"_s);
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestEventFormDialog)
#include "tst_eventformdialog.moc"
