#include "appstatefixture.h"
#include "awaitresponse.h"
#include "caldavclient.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventdetailspopover.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "formdriver.h"
#include "radicaleserver.h"
#include "recurrence.h"
#include "recurringedit.h"
#include "recurringeditscopedialog.h"
#include "syncharness.h"
#include "undostack.h"

#include <QColorDialog>
#include <QProcess>
#include <QSpinBox>
#include <QSqlQuery>

#include <functional>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QString kUser = u"alice"_s;
const QString kPassword = u"horse battery"_s;

QDateTime local(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}

const QDateTime kFrom = local(2026, 2, 23);
const QDateTime kTo = local(2026, 4, 28);

QStringList timedAt(const QString &time, const QStringList &days)
{
    QStringList list;
    for (const QString &day : days)
        list.append(day + u' ' + time);
    return list;
}

// An occurrence as any client shows it: its start (the date of an all-day
// one, else the instant in UTC), title, notes, alarms and attendees.
QString fingerprint(const QString &start, bool allDay, const QString &title, const QString &notes, QList<int> alarms,
                    QStringList attendees)
{
    std::sort(alarms.begin(), alarms.end());
    attendees.sort();
    QStringList alarmTexts;
    for (int minutes : alarms)
        alarmTexts.append(QString::number(minutes));
    return QStringList{
        start, allDay ? u"all-day"_s : u"timed"_s, title, notes, alarmTexts.join(u','), attendees.join(u',')}
        .join(u" | "_s);
}

QString fingerprint(const Event &o)
{
    QList<int> alarms;
    for (const Reminder &r : o.reminders)
        alarms.append(r.minutes_before);
    QStringList attendees;
    for (const Attendee &a : o.attendees)
        attendees.append(a.email);
    const QString start = o.is_all_day ? o.start_time.date().toString(Qt::ISODate)
                                       : o.start_time.toUTC().toString(u"yyyy-MM-ddTHH:mm:ssZ"_s);
    return fingerprint(start, o.is_all_day, o.title, o.description, alarms, attendees);
}

} // namespace

// A user's week of editing one repeating event, through the real dialogs:
// every step shows the right occurrences, on this device and, after a push
// and a pull through Radicale, on the server as another client reads it.
class TestEditingScenario : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onThisDevice()
    {
        AppStateFixture fixture;
        QVERIFY(fixture.start());
        m_state = fixture.state();
        m_calendarId = kPersonal;
        runScenario([](const QString &) {});
    }

    void roundTripThroughRadicale()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        RadicaleServer radicale({kUser, kPassword, {}, {}});
        QVERIFY2(radicale.start(), qPrintable(radicale.errorString()));
        const QUrl collection = radicale.url(u"/alice/team/"_s);
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        QVERIFY(makeCalendar(client, collection, u"Team"_s));

        AppStateFixture fixture;
        QVERIFY(fixture.start());
        m_state = fixture.state();
        m_calendarId = addCalDavCalendar(m_state, collection, kUser, u"[\"VEVENT\"]"_s).id;
        runScenario([this, &collection](const QString &step) { pushPullAndCompare(step, collection); });
    }

private:
    void runScenario(const std::function<void(const QString &)> &afterStep)
    {
        const QStringList mondays = {u"03-02"_s, u"03-09"_s, u"03-16"_s, u"03-23"_s,
                                     u"03-30"_s, u"04-06"_s, u"04-13"_s, u"04-20"_s};

        createWeeklyEvent();
        checkOccurrences(timedAt(u"10:00"_s, mondays), u"Team sync"_s);
        afterStep(u"created"_s);

        editFromOccurrence(u"03-09"_s, [](QWidget *w) {
            type(w, u"title"_s, u"Team sync (weekly)"_s);
            setWhen(w, u"start"_s, local(2026, 3, 2, 9, 30));
            setWhen(w, u"end"_s, local(2026, 3, 2, 10, 30));
        });
        checkOccurrences(timedAt(u"09:30"_s, mondays), u"Team sync (weekly)"_s);
        afterStep(u"edited"_s);

        editFromOccurrence(u"03-23"_s, [](QWidget *w) { setAllDay(w, true); });
        checkOccurrences(mondays, u"Team sync (weekly)"_s);
        afterStep(u"all-day"_s);

        moveOccurrence(u"03-16"_s, 1, u"thisEvent"_s);
        checkOccurrences({u"03-02"_s, u"03-09"_s, u"03-17"_s, u"03-23"_s, u"03-30"_s, u"04-06"_s, u"04-13"_s,
                          u"04-20"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"one occurrence moved"_s);

        moveOccurrence(u"03-30"_s, 1, u"thisAndFollowing"_s);
        checkOccurrences({u"03-02"_s, u"03-09"_s, u"03-17"_s, u"03-23"_s, u"03-31"_s, u"04-07"_s, u"04-14"_s,
                          u"04-21"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"split"_s);

        moveOccurrence(u"04-07"_s, 1, u"allEvents"_s);
        checkOccurrences({u"03-02"_s, u"03-09"_s, u"03-17"_s, u"03-23"_s, u"04-01"_s, u"04-08"_s, u"04-15"_s,
                          u"04-22"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"whole series shifted"_s);

        // The form moves the first series a day later: its rule and its
        // moved occurrence go along, so 03-17 shows once.
        editFromOccurrence(u"03-02"_s, [](QWidget *w) {
            setWhen(w, u"start"_s, local(2026, 3, 3));
            setWhen(w, u"end"_s, local(2026, 3, 3));
        });
        checkOccurrences({u"03-03"_s, u"03-10"_s, u"03-17"_s, u"03-24"_s, u"04-01"_s, u"04-08"_s, u"04-15"_s,
                          u"04-22"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"series start moved in the form"_s);

        deleteFromCard(u"03-10"_s, u"thisEvent"_s);
        checkOccurrences({u"03-03"_s, u"03-17"_s, u"03-24"_s, u"04-01"_s, u"04-08"_s, u"04-15"_s, u"04-22"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"one occurrence deleted"_s);

        deleteFromCard(u"03-17"_s, u"thisEvent"_s);
        checkOccurrences({u"03-03"_s, u"03-24"_s, u"04-01"_s, u"04-08"_s, u"04-15"_s, u"04-22"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"the moved occurrence deleted"_s);

        editFromCard(u"04-08"_s, u"thisEvent"_s, [](QWidget *w) {
            setWhen(w, u"start"_s, local(2026, 4, 9));
            setWhen(w, u"end"_s, local(2026, 4, 9));
        });
        checkOccurrences({u"03-03"_s, u"03-24"_s, u"04-01"_s, u"04-09"_s, u"04-15"_s, u"04-22"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"one occurrence edited from the details"_s);

        editFromCard(u"04-15"_s, u"thisAndFollowing"_s, [](QWidget *w) {
            setWhen(w, u"start"_s, local(2026, 4, 16));
            setWhen(w, u"end"_s, local(2026, 4, 16));
        });
        checkOccurrences({u"03-03"_s, u"03-24"_s, u"04-01"_s, u"04-09"_s, u"04-16"_s, u"04-23"_s},
                         u"Team sync (weekly)"_s);
        afterStep(u"following occurrences edited from the details"_s);

        deleteFromCard(u"04-16"_s, u"thisAndFollowing"_s);
        checkOccurrences({u"03-03"_s, u"03-24"_s, u"04-01"_s, u"04-09"_s}, u"Team sync (weekly)"_s);
        afterStep(u"following occurrences deleted"_s);

        deleteFromCard(u"04-09"_s, u"allEvents"_s);
        checkOccurrences({u"03-03"_s, u"03-24"_s}, u"Team sync (weekly)"_s);
        afterStep(u"a series deleted from a moved occurrence"_s);

        // Undo brings the series and its moved occurrence back, also after
        // the deletion reached the server.
        m_state->undoStack()->undo();
        checkOccurrences({u"03-03"_s, u"03-24"_s, u"04-01"_s, u"04-09"_s}, u"Team sync (weekly)"_s);
        afterStep(u"deletion undone"_s);
    }

    EventDetailsPopover *cardOn(const QString &day)
    {
        const std::optional<Event> occurrence = occurrenceOn(day);
        if (!occurrence)
            return nullptr;
        auto *card = new EventDetailsPopover(m_state, *occurrence);
        card->showNextTo(QRect(10, 10, 20, 20));
        return card;
    }

    // The details of an occurrence, Delete, and the scope chosen.
    void deleteFromCard(const QString &day, const QString &scopeButton)
    {
        EventDetailsPopover *card = cardOn(day);
        QVERIFY(card);
        ModalScript script;
        script.on(u"Delete Recurring Event"_s, [scopeButton](QWidget *w) { clickLater(w, scopeButton); });
        QTest::mouseClick(card->findChild<QPushButton *>(u"delete"_s), Qt::LeftButton);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
    }

    // The details of an occurrence, Edit, the scope chosen, and the form as
    // the main window opens it.
    void editFromCard(const QString &day, const QString &scopeButton, const std::function<void(QWidget *)> &change)
    {
        EventDetailsPopover *card = cardOn(day);
        QVERIFY(card);
        bool accepted = false;
        connect(card, &EventDetailsPopover::editRequested, this,
                [this, &accepted](const Event &event, RecurringEditScope scope) {
            EventFormDialog form(m_state, event);
            form.setScope(scope);
            accepted = form.exec() == QDialog::Accepted;
        });
        ModalScript script;
        script.on(u"Edit Recurring Event"_s, [scopeButton](QWidget *w) { clickLater(w, scopeButton); });
        script.on(u"Edit Event"_s, [change](QWidget *w) {
            change(w);
            confirm(w);
        });
        QTest::mouseClick(card->findChild<QPushButton *>(u"edit"_s), Qt::LeftButton);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QVERIFY(accepted);
    }

    void createWeeklyEvent()
    {
        EventFormDialog form(m_state);
        ModalScript script;
        const QString calendarId = m_calendarId;
        script.on(u"New Event"_s, [calendarId](QWidget *w) {
            choose(w, u"calendar"_s, calendarId);
            type(w, u"title"_s, u"  Team sync  "_s);
            setWhen(w, u"start"_s, local(2026, 3, 2, 10));
            setWhen(w, u"end"_s, local(2026, 3, 2, 11));
            addReminder(w, 10);
            addReminder(w, 1440);
            addAttendee(w, u"Ann Lee"_s, u"  ann@example.com "_s);
            addAttendee(w, u"Nobody"_s, QString()); // a row left empty adds no one
            type(w, u"location"_s, u" Room 4 "_s);
            typeNotes(w, u"Agenda:\nslides"_s);
            clickLater(w, u"colorSwatch"_s);
        });
        script.on(u"Event color"_s, [](QWidget *w) {
            qobject_cast<QColorDialog *>(w)->setCurrentColor(QColor(0xaa, 0x33, 0x77));
            confirm(w);
        });
        script.on(u"New Event"_s, [](QWidget *w) { clickLater(w, u"repeat"_s); });
        script.on(u"Recurrence"_s, [](QWidget *w) {
            click(w, u"endAfter"_s);
            auto *count = find<QSpinBox>(w, u"count"_s);
            count->selectAll();
            QTest::keyClicks(count, u"8"_s);
            confirm(w);
        });
        script.on(u"New Event"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
    }

    // The details of an occurrence, then Edit: the form on that occurrence.
    void editFromOccurrence(const QString &day, const std::function<void(QWidget *)> &change)
    {
        const std::optional<Event> occurrence = occurrenceOn(day);
        QVERIFY(occurrence);
        EventFormDialog form(m_state, *occurrence);
        ModalScript script;
        script.on(u"Edit Event"_s, [change](QWidget *w) {
            change(w);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
    }

    // What the day view does for a drag of a repeating event by whole days.
    void moveOccurrence(const QString &day, int days, const QString &scopeButton)
    {
        const std::optional<Event> occurrence = occurrenceOn(day);
        QVERIFY(occurrence);
        const std::optional<Event> row = m_state->events()->getById(occurrence->id);
        QVERIFY(row);
        QVERIFY(!row->recurrence_rule.isEmpty());
        const QDateTime newStart = occurrence->start_time.addSecs(qint64(days) * 1440 * 60);
        std::optional<QDateTime> newEnd;
        if (row->end_time)
            newEnd = newStart.addSecs(row->start_time.secsTo(*row->end_time));

        RecurringEditScopeDialog prompt(row->title);
        ModalScript script;
        script.on(u"Edit Recurring Event"_s, [scopeButton](QWidget *w) { click(w, scopeButton); });
        QCOMPARE(prompt.exec(), int(QDialog::Accepted));
        QVERIFY(applyRecurringEdit(m_state->events(), *row, occurrence->start_time, newStart, newEnd, prompt.scope()));
    }

    QList<Event> occurrences() const
    {
        return Recurrence::expandEvents(m_state->events()->getInRange(kFrom, kTo, {m_calendarId}), kFrom, kTo);
    }

    std::optional<Event> occurrenceOn(const QString &day) const
    {
        for (const Event &o : occurrences()) {
            if (o.start_time.toLocalTime().toString(u"MM-dd"_s) == day
                || (o.is_all_day && o.start_time.date().toString(u"MM-dd"_s) == day))
                return o;
        }
        return std::nullopt;
    }

    void checkOccurrences(const QStringList &expected, const QString &title)
    {
        QStringList shown;
        for (const Event &o : occurrences()) {
            shown.append(o.is_all_day ? o.start_time.date().toString(u"MM-dd"_s)
                                      : o.start_time.toLocalTime().toString(u"MM-dd HH:mm"_s));
            QCOMPARE(o.title, title);
            QCOMPARE(o.description, u"Agenda:\nslides"_s);
            QCOMPARE(o.location, u"Room 4"_s);
            QCOMPARE(o.color, u"#aa3377"_s);
            QCOMPARE(o.reminders.size(), 2);
            QCOMPARE(o.attendees.size(), 1);
            QCOMPARE(o.attendees.first().email, u"ann@example.com"_s);
            QCOMPARE(o.is_all_day, !expected.first().contains(u' '));
        }
        shown.sort();
        QCOMPARE(shown, expected);
    }

    QStringList localFingerprints() const
    {
        QStringList list;
        for (const Event &o : occurrences())
            list.append(fingerprint(o));
        list.sort();
        return list;
    }

    // A push, then a pull: nothing changes here, and another client reads the
    // same occurrences from the server.
    void pushPullAndCompare(const QString &step, const QUrl &collection)
    {
        const QStringList before = localFingerprints();
        const QList<Event> rowsBefore = m_state->events()->getByCalendar(m_calendarId);
        for (int run = 0; run < 2; ++run) {
            const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, kPassword);
            QVERIFY2(outcome.completed, qPrintable(step + u": "_s + outcome.failure));
        }
        QVERIFY2(m_state->events()->getPending(m_calendarId).isEmpty(), qPrintable(step));
        QCOMPARE(localFingerprints(), before);

        // As if the server had changed everything: the pull reads every
        // resource back into the rows.
        QSqlQuery forget(m_state->database()->database());
        QVERIFY(
            forget.exec(u"UPDATE calendars SET ctag = NULL, sync_token = NULL WHERE id = '%1'"_s.arg(m_calendarId)));
        QVERIFY(forget.exec(u"UPDATE events SET etag = 'stale' WHERE calendar_id = '%1'"_s.arg(m_calendarId)));
        const SyncOutcome pull = syncOnce(m_state, m_calendarId, kUser, kPassword);
        QVERIFY2(pull.completed, qPrintable(step + u": "_s + pull.failure));
        QCOMPARE(pull.count, rowsBefore.size());
        const QList<Event> rowsAfter = m_state->events()->getByCalendar(m_calendarId);
        QCOMPARE(rowsAfter.size(), rowsBefore.size());
        for (const Event &row : rowsAfter)
            QVERIFY2(row.etag != u"stale"_s, qPrintable(step + u": not read back: "_s + row.title));
        QCOMPARE(localFingerprints(), before);

        const QJsonObject server = serverView(collection);
        QStringList seen;
        for (const QJsonValue &value : server.value(u"occurrences"_s).toArray()) {
            const QJsonObject o = value.toObject();
            QList<int> alarms;
            for (const QJsonValue &a : o.value(u"alarms"_s).toArray())
                alarms.append(a.toInt());
            QStringList attendees;
            for (const QJsonValue &a : o.value(u"attendees"_s).toArray())
                attendees.append(a.toString());
            seen.append(fingerprint(o.value(u"start"_s).toString(), o.value(u"allDay"_s).toBool(),
                                    o.value(u"summary"_s).toString(), o.value(u"description"_s).toString(), alarms,
                                    attendees));
        }
        seen.sort();
        QCOMPARE(seen, before);
        // One resource per series, one component per row.
        QSet<QString> series;
        for (const Event &row : rowsAfter)
            series.insert(row.href);
        QCOMPARE(server.value(u"resources"_s).toInt(), int(series.size()));
        QCOMPARE(server.value(u"components"_s).toInt(), int(rowsAfter.size()));
    }

    QJsonObject serverView(const QUrl &collection) const
    {
        QProcess python;
        python.start(u"/usr/bin/python3"_s, {QStringLiteral(CALENDAR_TEST_DATA_DIR "/serveroccurrences.py")});
        const QJsonObject request{{u"url"_s, collection.toString()},
                                  {u"user"_s, kUser},
                                  {u"password"_s, kPassword},
                                  {u"from"_s, kFrom.date().toString(Qt::ISODate)},
                                  {u"to"_s, kTo.date().toString(Qt::ISODate)}};
        python.write(QJsonDocument(request).toJson(QJsonDocument::Compact));
        python.closeWriteChannel();
        if (!python.waitForFinished(30000) || python.exitCode() != 0)
            qWarning("server view failed: %s", python.readAllStandardError().constData());
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    AppState *m_state = nullptr;
    QString m_calendarId;
};

QTEST_MAIN(TestEditingScenario)
#include "tst_editingscenario.moc"
