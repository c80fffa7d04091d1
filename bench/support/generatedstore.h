#pragma once

// A store of 10k, 200k or 1M generated events for the scale benchmarks, kept
// under the build folder (BENCH_DATA_DIR, or the variable of that name) and reused by later runs: seeding a
// million events takes about a minute. The file name carries the generator's
// version and the month the events are placed around, so a changed generator
// or a new month builds it again; older files of the same size are removed.
//
// The mix, over three years before and one after the first of the current
// month: 98% single events (5% all-day, 30% in Europe/Berlin), 1.5% weekly
// and 0.3% daily series without an end, 0.2% weekly series with an end, one
// in five with a 15-minute reminder, one in ten with two attendees, a ~300 byte
// iCalendar text per row, in five calendars.

#include "database.h"
#include "eventrepository.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimeZone>

#include <memory>

namespace GeneratedStore {

// Raise when the mix or the schema seed changes: cached stores are rebuilt.
constexpr int kGeneratorVersion = 2;

inline const QStringList &calendars()
{
    static const QStringList ids = {QStringLiteral("cal-0"), QStringLiteral("cal-1"), QStringLiteral("cal-2"),
                                    QStringLiteral("cal-3"), QStringLiteral("cal-4")};
    return ids;
}

// The first of the current month, local time: the windows are placed from it.
inline QDate anchor()
{
    const QDate today = QDate::currentDate();
    return QDate(today.year(), today.month(), 1);
}

inline Event event(int i, QRandomGenerator &random)
{
    static const QTimeZone berlin("Europe/Berlin");
    static const QStringList words = {QStringLiteral("Lunch"),   QStringLiteral("Review"), QStringLiteral("Call"),
                                      QStringLiteral("Standup"), QStringLiteral("Gym"),    QStringLiteral("Dentist")};
    const QDateTime spanFrom(anchor().addYears(-3), QTime(0, 0), Qt::UTC);
    const int spanDays = 4 * 365;
    Event e;
    e.id = QStringLiteral("ev-%1").arg(i);
    e.uid = e.id + QStringLiteral("@example.org");
    e.calendar_id = calendars().at(i % calendars().size());
    e.title = words.at(i % words.size()) + QLatin1Char(' ') + QString::number(i);
    e.location = QStringLiteral("Room %1").arg(i % 40);
    const int day = int(random.bounded(spanDays));
    const int roll = int(random.bounded(1000));
    if (roll < 50) {
        e.is_all_day = true;
        e.start_time = QDateTime(spanFrom.date().addDays(day), QTime(0, 0), Qt::UTC);
        e.end_time = e.start_time.addDays(1 + random.bounded(3));
    } else {
        e.start_time = spanFrom.addSecs(qint64(day) * 86400 + 60 * (6 * 60 + 15 * int(random.bounded(56))));
        e.end_time = e.start_time.addSecs(60 * (30 + 15 * int(random.bounded(7))));
        if (roll < 350) {
            e.timezone = QStringLiteral("Europe/Berlin");
            e.start_time = e.start_time.toTimeZone(berlin);
            e.end_time = e.end_time->toTimeZone(berlin);
        }
        if (roll >= 900 && roll < 915)
            e.recurrence_rule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE");
        else if (roll >= 915 && roll < 918)
            e.recurrence_rule = QStringLiteral("FREQ=DAILY");
        else if (roll >= 918 && roll < 920)
            e.recurrence_rule = QStringLiteral("FREQ=WEEKLY;COUNT=20");
    }
    if (i % 5 == 1) {
        Reminder r;
        r.minutes_before = 15;
        e.reminders = {r};
    }
    if (i % 10 == 3) {
        Attendee a;
        a.email = QStringLiteral("a%1@example.org").arg(i % 97);
        a.name = QStringLiteral("Attendee %1").arg(i % 97);
        Attendee b = a;
        b.email = QStringLiteral("b%1@example.org").arg(i % 89);
        e.attendees = {a, b};
    }
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
                                     "DTSTAMP:20240101T000000Z\r\nSUMMARY:%2\r\nLOCATION:%3\r\n"
                                     "DESCRIPTION:A generated row of the scale benchmarks.\r\n"
                                     "END:VEVENT\r\nEND:VCALENDAR\r\n")
                          .arg(e.uid, e.title, e.location);
    e.created = e.last_modified = spanFrom;
    return e;
}

// An opened store of `count` generated events; one at a time, as the
// connection is the process's default one.
class Store
{
public:
    explicit Store(int count)
    {
        // BENCH_DATA_DIR in the environment shares one folder between builds.
        QDir dir(qEnvironmentVariable("BENCH_DATA_DIR", QStringLiteral(BENCH_DATA_DIR)));
        dir.mkpath(QStringLiteral("."));
        const QString name =
            QStringLiteral("events-%1-g%2-%3.db").arg(count).arg(kGeneratorVersion).arg(anchor().toString(u"yyyyMM"));
        const QString prefix = QStringLiteral("events-%1-").arg(count);
        for (const QString &old : dir.entryList({prefix + QStringLiteral("*")}, QDir::Files)) {
            if (!old.startsWith(name))
                dir.remove(old);
        }
        m_path = dir.filePath(name);
        if (!QFile::exists(m_path)) {
            // Seeded under another name and renamed when complete, so an
            // interrupted run leaves no half store to be reused.
            const QString partial = m_path + QStringLiteral(".partial");
            QFile::remove(partial);
            open(partial);
            seed(count);
            m_events.reset();
            m_database.reset();
            if (!QFile::rename(partial, m_path))
                qFatal("cannot keep the generated store");
            // The store's clean-close stamp names the file as it was called.
            QFile::remove(partial + QStringLiteral("-closed"));
        }
        open(m_path);
    }

    Database &database() { return *m_database; }
    EventRepository &events() { return *m_events; }
    QString path() const { return m_path; }

private:
    void open(const QString &path)
    {
        m_database = std::make_unique<Database>();
        if (!m_database->open(path) || !m_database->migrate())
            qFatal("cannot open the generated store");
        m_events = std::make_unique<EventRepository>(m_database.get());
    }

    void seed(int count)
    {
        QSqlDatabase &db = m_database->database();
        QSqlQuery q(db);
        q.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Bench', 'caldav')"));
        for (const QString &id : calendars())
            q.exec(
                QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('%1', 'acc', 'u-%1', '%1')")
                    .arg(id));
        QRandomGenerator random{quint32(count)};
        constexpr int kBatch = 20000;
        for (int first = 0; first < count; first += kBatch) {
            db.transaction();
            for (int i = first; i < std::min(count, first + kBatch); ++i) {
                if (!m_events->insert(event(i, random)))
                    qFatal("cannot seed the generated store");
            }
            db.commit();
        }
        // The WAL folded into the file before the rename.
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }

    QString m_path;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<EventRepository> m_events;
};

} // namespace GeneratedStore
