#include "appstatefixture.h"
#include "caldaveventstore.h"
#include "calendarrepository.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "eventundo.h"
#include "formdriver.h"
#include "icalendar.h"
#include "icsimport.h"
#include "quickadd.h"
#include "recurrence.h"
#include "sampledata.h"
#include "systemzone.h"
#include "taskrepository.h"
#include "timeutil.h"

#include <QFile>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QByteArray kBerlin = "Europe/Berlin";

QDateTime berlin(int y, int m, int d, int h, int min = 0)
{
    return TimeUtil::inZone(QDate(y, m, d), QTime(h, min), QTimeZone(kBerlin));
}

QString calendarText(const QString &start, const QString &uid)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
           "SUMMARY:Standup\r\nDTSTART%2\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, start);
}

// The Berlin wall clocks of a row's occurrences from March to November, over
// both DST changes.
QSet<QTime> berlinWallClocks(const Event &row)
{
    QSet<QTime> times;
    const QList<Event> occurrences = Recurrence::expandEvent(row, berlin(2026, 3, 1, 0), berlin(2026, 11, 30, 0));
    for (const Event &occurrence : occurrences)
        times.insert(occurrence.start_time.toTimeZone(QTimeZone(kBerlin)).time());
    return times;
}

} // namespace

class TestZonedWriters : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    // Each writer stores a 10:00 Berlin event while the system zone is
    // Berlin; read under another system zone it is the same instant, and
    // its weekly occurrences stay at 10:00 Berlin across both DST changes.
    void sameInstantUnderAnotherSystemZone_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QByteArray>("readerZone");
        QTest::addColumn<bool>("weekly");
        const QStringList writers{u"event form"_s,
                                  u"quick add"_s,
                                  u"ics import, TZID"_s,
                                  u"ics import, floating"_s,
                                  u"caldav pull, floating"_s,
                                  u"sample data"_s,
                                  u"undo of a deletion"_s};
        for (const QByteArray &zone : {QByteArray("America/New_York"), QByteArray("Asia/Tokyo")}) {
            for (const QString &writer : writers) {
                const bool weekly = writer != u"quick add"_s && writer != u"sample data"_s;
                QTest::addRow("%s, read in %s", qPrintable(writer), zone.constData()) << writer << zone << weekly;
            }
        }
    }
    void sameInstantUnderAnotherSystemZone()
    {
        QFETCH(QString, writer);
        QFETCH(QByteArray, readerZone);
        QFETCH(bool, weekly);
        QString id;
        {
            const SystemZone zone(kBerlin);
            id = write(writer);
        }
        QVERIFY(!id.isEmpty());
        const SystemZone zone(readerZone);
        const std::optional<Event> row = m_state->events()->getById(id);
        QVERIFY(row);
        QCOMPARE(row->start_time.toUTC(), berlin(2026, 3, 2, 10).toUTC());
        QCOMPARE(row->timezone, QString::fromLatin1(kBerlin));
        if (weekly)
            QCOMPARE(berlinWallClocks(*row), QSet<QTime>{QTime(10, 0)});
    }

    // A repeating task due 09:00 Berlin, completed in the winter, comes due
    // again at 09:00 Berlin after the change to summer time, also when read
    // under another system zone; its text keeps naming the zone.
    void completedTaskKeepsItsWallClock_data()
    {
        QTest::addColumn<QString>("due");
        QTest::addColumn<QByteArray>("readerZone");
        QTest::newRow("due with a TZID, read in New York")
            << u"DUE;TZID=Europe/Berlin:20260323T090000"_s << QByteArray("America/New_York");
        QTest::newRow("floating due, read in Tokyo") << u"DUE:20260323T090000"_s << QByteArray("Asia/Tokyo");
    }
    void completedTaskKeepsItsWallClock()
    {
        QFETCH(QString, due);
        QFETCH(QByteArray, readerZone);
        const QString text = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:weekly-report\r\n"
                             "SUMMARY:Report\r\n%1\r\nRRULE:FREQ=WEEKLY\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s.arg(due);
        {
            const SystemZone zone(kBerlin);
            QList<Task> parsed = ICalendar::parseTasks(text);
            QCOMPARE(parsed.size(), 1);
            Task task = parsed.first();
            task.id = u"task"_s;
            task.calendar_id = kPersonal;
            task.created = task.last_modified = QDateTime::currentDateTimeUtc();
            QVERIFY(m_state->tasks()->insert(task));
            QVERIFY(m_state->tasks()->setCompleted(task.id, true));
        }
        for (const QDateTime &next : {berlin(2026, 3, 30, 9), berlin(2026, 4, 6, 9)}) {
            const SystemZone zone(readerZone);
            const Task stored = *m_state->tasks()->getById(u"task"_s);
            QCOMPARE(stored.status, u"needs-action"_s);
            QCOMPARE(stored.due_date->toUTC(), next.toUTC());
            QVERIFY(stored.raw_icalendar.contains(u"DUE;TZID=Europe/Berlin:"_s));
            QVERIFY(m_state->tasks()->setCompleted(stored.id, true));
        }
    }

private:
    // Writes the row with the given writer; its id.
    QString write(const QString &writer)
    {
        const QDateTime start = berlin(2026, 3, 2, 10).toLocalTime();
        if (writer == u"event form"_s) {
            Event draft;
            draft.title = u"Standup"_s;
            draft.calendar_id = kPersonal;
            draft.start_time = start;
            draft.end_time = start.addSecs(3600);
            draft.recurrence_rule = u"FREQ=WEEKLY"_s;
            EventFormDialog form(m_state, draft);
            ModalScript script;
            script.on(u"Edit Event"_s, [](QWidget *w) { confirm(w); });
            if (form.exec() != QDialog::Accepted)
                return {};
            const QList<Event> rows = m_state->events()->getByCalendar(kPersonal);
            return rows.size() == 1 ? rows.first().id : QString();
        }
        if (writer == u"quick add"_s)
            return QuickAdd::addFromText(m_state, u"Standup tomorrow at 10am"_s, kPersonal,
                                         berlin(2026, 3, 1, 8).toLocalTime());
        if (writer.startsWith(u"ics import"_s)) {
            const QString path = m_fixture->databaseFile() + u".ics"_s;
            QFile file(path);
            const QString dtstart = writer.endsWith(u"TZID"_s) ? u";TZID=Europe/Berlin:20260302T100000"_s
                                                               : u":20260302T100000"_s;
            if (!file.open(QIODevice::WriteOnly) || file.write(calendarText(dtstart, u"imported"_s).toUtf8()) < 0)
                return {};
            file.close();
            IcsImport::importFile(m_state->events(), m_state->database(), path, kPersonal);
            const std::optional<Event> row = m_state->events()->getByUid(u"imported"_s, kPersonal);
            return row ? row->id : QString();
        }
        if (writer == u"caldav pull, floating"_s) {
            CalDavEventStore store(m_state->database(), m_state->events(), kPersonal);
            store.apply({{u"/cal/pulled.ics"_s, u"e1"_s, calendarText(u":20260302T100000"_s, u"pulled"_s)}});
            const std::optional<Event> row = m_state->events()->getByUid(u"pulled"_s, kPersonal);
            return row ? row->id : QString();
        }
        if (writer == u"sample data"_s) {
            const SampleDataStores stores{m_state->database(), m_state->accounts(), m_state->calendars(),
                                          m_state->events(), m_state->tasks()};
            loadSampleData(stores, QDate(2026, 3, 1));
            return u"sample-event-tom-client"_s;
        }
        if (writer == u"undo of a deletion"_s) {
            Event e;
            e.id = e.uid = u"undone"_s;
            e.calendar_id = kPersonal;
            e.title = u"Standup"_s;
            e.start_time = start;
            e.end_time = start.addSecs(3600);
            e.recurrence_rule = u"FREQ=WEEKLY"_s;
            e.created = e.last_modified = QDateTime::currentDateTimeUtc();
            e.raw_icalendar = ICalendar::serializeEvent(e);
            const bool ok = m_state->events()->insert(e) && m_state->events()->hardDelete(e.id)
                && EventUndo::restore(m_state->events(), e);
            return ok ? e.id : QString();
        }
        return {};
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestZonedWriters)
#include "tst_zonedwriters.moc"
