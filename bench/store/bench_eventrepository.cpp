// EventRepository::getInRange over 10k, 50k and 200k events (200k also
// spread over fifteen years), with and without a calendar list, and a 5,000
// event burst written the way a sync pull writes it (one transaction) against
// one commit per event and one commit per statement. Figures and the query
// plan are kept in NOTES.md beside this file.

#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>
#include <memory>
#include <utility>

namespace {

// The years the events are spread over, all ending with 2025: four (about
// 140 events a day at 200k) or fifteen (about 36 a day: a heavy user's
// years of history rather than denser days).
QDateTime spanStart(int years)
{
    return QDateTime(QDate(2026 - years, 1, 1), QTime(0, 0), Qt::UTC);
}
// The windows sit in the middle of the four years, history on both sides.
const QDateTime kWindowStart(QDate(2024, 1, 8), QTime(0, 0), Qt::LocalTime);
const QStringList kCalendars = {QStringLiteral("cal-0"), QStringLiteral("cal-1"), QStringLiteral("cal-2"),
                                QStringLiteral("cal-3"), QStringLiteral("cal-4")};

QString rawText(int i, const QString &title)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarten//Calendar Desktop//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:ev-%1@example.org\r\nDTSTAMP:20240101T000000Z\r\n"
                          "SUMMARY:%2\r\nDESCRIPTION:Generated row for the range benchmark\\, with a "
                          "description long enough to look like a real one.\r\nLOCATION:Room %3\r\n"
                          "ORGANIZER;CN=Organiser:mailto:organiser@example.org\r\nEND:VEVENT\r\n"
                          "END:VCALENDAR\r\n")
        .arg(i)
        .arg(title)
        .arg(i % 40);
}

Event generatedEvent(int i, QRandomGenerator &random, int years = 4)
{
    const QDateTime spanFrom = spanStart(years);
    const int spanDays = years * 365;
    static const QTimeZone berlin("Europe/Berlin");
    Event e;
    e.id = QStringLiteral("ev-%1").arg(i);
    e.uid = e.id + QStringLiteral("@example.org");
    e.calendar_id = kCalendars.at(i % kCalendars.size());
    e.title = QStringLiteral("Event %1").arg(i);
    e.location = QStringLiteral("Room %1").arg(i % 40);
    e.raw_icalendar = rawText(i, e.title);
    const qint64 minute = qint64(random.bounded(spanDays * 24 * 4)) * 15;
    const int roll = random.bounded(100);
    if (roll < 5) {
        // All-day, at UTC midnight as the reader stores them.
        e.is_all_day = true;
        e.start_time = spanFrom.addSecs(minute * 60).date().startOfDay(Qt::UTC);
        e.end_time = e.start_time.addDays(1 + random.bounded(3));
    } else {
        e.start_time = spanFrom.addSecs(minute * 60);
        e.end_time = e.start_time.addSecs(60 * (30 + 15 * random.bounded(7)));
        if (roll < 35) {
            e.timezone = QStringLiteral("Europe/Berlin");
            e.start_time = e.start_time.toTimeZone(berlin);
            e.end_time = e.end_time->toTimeZone(berlin);
        }
    }
    if (i % 50 == 0)
        e.recurrence_rule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE");
    if (i % 5 == 1) {
        Reminder r;
        r.minutes_before = 15;
        e.reminders = {r};
        Attendee a;
        a.email = QStringLiteral("a%1@example.org").arg(i % 97);
        a.name = QStringLiteral("Attendee %1").arg(i % 97);
        Attendee b = a;
        b.email = QStringLiteral("b%1@example.org").arg(i % 89);
        e.attendees = {a, b};
    }
    e.created = e.last_modified = spanFrom;
    return e;
}

void seedCalendars(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Bench', 'caldav')"));
    for (const QString &id : kCalendars)
        q.exec(QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('%1', 'acc', 'u-%1', '%1')")
                   .arg(id));
}

// One database of `count` events over `years`, opened; only one at a time,
// as the connection is the process's default one.
class Dataset
{
public:
    static Dataset &get(int count, int years)
    {
        if (!current() || current()->m_count != count || current()->m_years != years) {
            release();
            current().reset(new Dataset(count, years));
        }
        return *current();
    }

    // Closes the open dataset, so that another database may be opened.
    static void release() { current().reset(); }

    EventRepository &events() { return *m_events; }
    Database &database() { return *m_database; }

private:
    Dataset(int count, int years)
        : m_count(count)
        , m_years(years)
        , m_dir(QDir::currentPath() + QStringLiteral("/bench-store-XXXXXX"))
    {
        // BENCH_STORE_KEEP=1 leaves the files for a look with sqlite3;
        // BENCH_STORE_DATA=<folder> keeps one database per size and span
        // there and reuses it in later runs instead of seeding it again.
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_STORE_KEEP"));
        const QString cache = qEnvironmentVariable("BENCH_STORE_DATA");
        const QString path = cache.isEmpty()
            ? m_dir.filePath(QStringLiteral("calendar.db"))
            : QDir(cache).filePath(years == 4 ? QStringLiteral("events-%1.db").arg(count)
                                              : QStringLiteral("events-%1-%2y.db").arg(count).arg(years));
        const bool seeded = !cache.isEmpty() && QFile::exists(path);
        if (!cache.isEmpty())
            QDir().mkpath(cache);
        m_database = std::make_unique<Database>();
        if (!m_database->open(path) || !m_database->migrate())
            qFatal("cannot create the benchmark database");
        m_events = std::make_unique<EventRepository>(m_database.get());
        if (seeded)
            return;
        QSqlDatabase &db = m_database->database();
        seedCalendars(db);
        // Written through the repository, in one transaction as a pull would.
        QRandomGenerator random(count);
        db.transaction();
        for (int i = 0; i < count; ++i)
            m_events->insert(generatedEvent(i, random, years));
        db.commit();
    }

    static std::unique_ptr<Dataset> &current()
    {
        static std::unique_ptr<Dataset> dataset;
        return dataset;
    }

    int m_count;
    int m_years;
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<EventRepository> m_events;
};

// The statements of getInRange for a month from 2024-01-08 (local), with
// their bounds widened as the repository widens them, without and with the
// calendar list the application passes.
void printQueryPlan(QSqlDatabase &db)
{
    static bool printed = false;
    if (printed)
        return;
    printed = true;
    // The two window ranges, then the three statements that read the standing
    // rows (repeating masters and rows without an end, masters repeating by
    // dates alone, overrides), which are kept until the database changes.
    const char *const ranges[] = {
        "start_time >= '2024-01-06T00:00:00' AND start_time < '2024-02-09T00:00:00' AND deleted_at IS NULL",
        "julianday(end_time) - julianday(start_time) > 1 AND end_time > '2024-01-07T00:00:00' AND "
        "start_time < '2024-02-09T00:00:00' AND deleted_at IS NULL",
        "((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR end_time IS NULL) AND start_time >= '' "
        "AND start_time < '2024-02-09T00:00:00' AND deleted_at IS NULL",
        "recurrence_dates GLOB '*[0-9]*' AND start_time >= '' AND start_time < '2024-02-09T00:00:00' "
        "AND deleted_at IS NULL",
        "master_event_uid > '' AND recurrence_id > '' AND deleted_at IS NULL",
    };
    const QString calendars = QStringLiteral("'") + kCalendars.join(QStringLiteral("', '")) + QStringLiteral("'");
    QStringList statements;
    for (const char *range : ranges)
        statements.append(QStringLiteral("SELECT id FROM events WHERE ") + QLatin1String(range));
    for (int i = 0; i < 2; ++i) {
        // The first range may narrow by calendar through its index; the
        // second keeps the calendars off the indexes.
        statements.append(
            statements.at(i)
            + (i == 0 ? QStringLiteral(" AND calendar_id IN (%1)") : QStringLiteral(" AND +calendar_id IN (%1)"))
                  .arg(calendars));
    }
    statements.append(QStringLiteral("SELECT id, event_id, minutes_before, action, acknowledged, trigger_time "
                                     "FROM reminders WHERE event_id IN ('a','b') ORDER BY minutes_before ASC"));
    for (const QString &statement : std::as_const(statements)) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + statement);
        std::fprintf(stderr, "%s\n", qPrintable(statement));
        while (q.next())
            std::fprintf(stderr, "    %s\n", qPrintable(q.value(3).toString()));
    }
}

// events, days, the calendars listed (0 for none: every calendar; 5 for all
// five by id, as the application passes its enabled calendars) and the years
// the events are spread over.
void BM_GetInRange(benchmark::State &state)
{
    Dataset &data = Dataset::get(int(state.range(0)), int(state.range(3)));
    printQueryPlan(data.database().database());
    const QDateTime to = state.range(1) == 7 ? kWindowStart.addDays(7) : kWindowStart.addMonths(1);
    const QStringList calendars = state.range(2) == 0 ? QStringList() : kCalendars.mid(0, int(state.range(2)));
    qsizetype rows = 0;
    for (auto _ : state) {
        const QList<Event> events = data.events().getInRange(kWindowStart, to, calendars);
        rows = events.size();
        benchmark::DoNotOptimize(events.constData());
    }
    state.counters["rows"] = double(rows);
}
// One size after the other: only one database is open at a time.
BENCHMARK(BM_GetInRange)
    ->ArgNames({"events", "days", "calendars", "years"})
    ->Apply([](benchmark::internal::Benchmark *b) {
        for (const auto &[events, years] : {std::pair{10000, 4}, {50000, 4}, {200000, 4}, {200000, 15}}) {
            for (const int calendars : {0, 5}) {
                for (const int days : {7, 31})
                    b->Args({events, days, calendars, years});
            }
        }
    })
    ->Unit(benchmark::kMillisecond);

// The first month read after a write. A write to an event (here one row's
// ETag, as a push leaves it) makes the repository read the kept rows again;
// a write elsewhere (the view's date in the settings) leaves them.
void BM_GetInRangeAfterWrite(benchmark::State &state)
{
    Dataset &data = Dataset::get(int(state.range(0)), int(state.range(1)));
    QSqlDatabase &db = data.database().database();
    const QDateTime to = kWindowStart.addMonths(1);
    const QString write = state.range(2) == 0
        ? QStringLiteral("UPDATE events SET etag = etag WHERE rowid = 1")
        : QStringLiteral("INSERT OR REPLACE INTO settings (key, value) VALUES ('bench', '1')");
    qsizetype rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QSqlQuery touch(db);
        if (!touch.exec(write))
            qFatal("benchmark write failed");
        state.ResumeTiming();
        const QList<Event> events = data.events().getInRange(kWindowStart, to);
        rows = events.size();
        benchmark::DoNotOptimize(events.constData());
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_GetInRangeAfterWrite)
    ->ArgNames({"events", "years", "settings"})
    ->Args({200000, 4, 0})
    ->Args({200000, 15, 0})
    ->Args({200000, 15, 1})
    ->Unit(benchmark::kMillisecond);

enum class Commit { OneTransaction, PerEvent, PerStatement };

// The repository's statements for one event without its savepoint: what a
// write without any transaction costs, one commit per statement.
void insertStatementByStatement(QSqlDatabase &db, const Event &e)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, "
                             "timezone, recurrence_rule, raw_icalendar, created, last_modified) VALUES "
                             "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &v :
         {QVariant(e.id), QVariant(e.calendar_id), QVariant(e.uid), QVariant(e.title),
          QVariant(e.start_time.toString(Qt::ISODate)), QVariant(e.end_time->toString(Qt::ISODate)),
          QVariant(e.timezone), QVariant(e.recurrence_rule), QVariant(e.raw_icalendar),
          QVariant(e.created.toString(Qt::ISODate)), QVariant(e.last_modified.toString(Qt::ISODate))})
        q.addBindValue(v);
    q.exec();
    QSqlQuery child(db);
    child.prepare(QStringLiteral("DELETE FROM reminders WHERE event_id = ?"));
    child.addBindValue(e.id);
    child.exec();
    child.prepare(QStringLiteral("DELETE FROM attendees WHERE event_id = ?"));
    child.addBindValue(e.id);
    child.exec();
    for (const Reminder &r : e.reminders) {
        child.prepare(
            QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, trigger_time) VALUES (?, ?, ?, ?)"));
        child.addBindValue(e.id + QStringLiteral("-r"));
        child.addBindValue(e.id);
        child.addBindValue(r.minutes_before);
        child.addBindValue(e.start_time.addSecs(-60 * r.minutes_before).toString(Qt::ISODate));
        child.exec();
    }
    int n = 0;
    for (const Attendee &a : e.attendees) {
        child.prepare(QStringLiteral("INSERT INTO attendees (id, event_id, email, name) VALUES (?, ?, ?, ?)"));
        child.addBindValue(e.id + QStringLiteral("-a%1").arg(n++));
        child.addBindValue(e.id);
        child.addBindValue(a.email);
        child.addBindValue(a.name);
        child.exec();
    }
}

void BM_PullBurst(benchmark::State &state)
{
    Dataset::release();
    const auto mode = Commit(state.range(0));
    constexpr int kBurst = 5000;
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-store-XXXXXX"));
    Database database;
    if (!database.open(dir.filePath(QStringLiteral("calendar.db"))) || !database.migrate())
        qFatal("cannot create the benchmark database");
    QSqlDatabase &db = database.database();
    seedCalendars(db);
    EventRepository events(&database);
    QRandomGenerator random(7);
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<Event> burst;
        burst.reserve(kBurst);
        for (int i = 0; i < kBurst; ++i)
            burst.append(generatedEvent(next++, random));
        state.ResumeTiming();
        if (mode == Commit::OneTransaction)
            db.transaction();
        for (const Event &e : std::as_const(burst)) {
            if (mode == Commit::PerStatement)
                insertStatementByStatement(db, e);
            else
                events.insert(e);
        }
        if (mode == Commit::OneTransaction)
            db.commit();
    }
    state.SetItemsProcessed(state.iterations() * kBurst);
}
BENCHMARK(BM_PullBurst)
    ->ArgName("commit")
    ->Arg(int(Commit::OneTransaction))
    ->Arg(int(Commit::PerEvent))
    ->Arg(int(Commit::PerStatement))
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "calendar.store.info=false");
    // The repository's change timer needs an application object.
    return BenchRunner::run<QCoreApplication>(argc, argv, Dataset::release);
}
