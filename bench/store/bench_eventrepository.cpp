// EventRepository::getInRange over 10k, 50k and 200k events, and a 5,000
// event burst written the way a sync pull writes it (one transaction) against
// one commit per event and one commit per statement. Figures and the query
// plan are kept in NOTES.md beside this file.

#include "database.h"
#include "eventrepository.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>
#include <memory>

namespace {

const QDateTime kSpanStart(QDate(2022, 1, 1), QTime(0, 0), Qt::UTC);
constexpr int kSpanDays = 4 * 365;
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

Event generatedEvent(int i, QRandomGenerator &random)
{
    static const QTimeZone berlin("Europe/Berlin");
    Event e;
    e.id = QStringLiteral("ev-%1").arg(i);
    e.uid = e.id + QStringLiteral("@example.org");
    e.calendar_id = kCalendars.at(i % kCalendars.size());
    e.title = QStringLiteral("Event %1").arg(i);
    e.location = QStringLiteral("Room %1").arg(i % 40);
    e.raw_icalendar = rawText(i, e.title);
    const qint64 minute = qint64(random.bounded(kSpanDays * 24 * 4)) * 15;
    const int roll = random.bounded(100);
    if (roll < 5) {
        // All-day, at UTC midnight as the reader stores them.
        e.is_all_day = true;
        e.start_time = kSpanStart.addSecs(minute * 60).date().startOfDay(Qt::UTC);
        e.end_time = e.start_time.addDays(1 + random.bounded(3));
    } else {
        e.start_time = kSpanStart.addSecs(minute * 60);
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
    e.created = e.last_modified = kSpanStart;
    return e;
}

void seedCalendars(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Bench', 'caldav')"));
    for (const QString &id : kCalendars)
        q.exec(QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('%1', 'acc', 'u-%1', '%1')").arg(id));
}

// One database of `count` events, opened; only one at a time, as the
// connection is the process's default one.
class Dataset
{
public:
    static Dataset &get(int count)
    {
        if (!current() || current()->m_count != count) {
            release();
            current().reset(new Dataset(count));
        }
        return *current();
    }

    // Closes the open dataset, so that another database may be opened.
    static void release() { current().reset(); }

    EventRepository &events() { return *m_events; }
    Database &database() { return *m_database; }

private:
    explicit Dataset(int count)
        : m_count(count)
        , m_dir(QDir::currentPath() + QStringLiteral("/bench-store-XXXXXX"))
    {
        // BENCH_STORE_KEEP=1 leaves the files for a look with sqlite3.
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_STORE_KEEP"));
        m_database = std::make_unique<Database>();
        if (!m_database->open(m_dir.filePath(QStringLiteral("calendar.db"))) || !m_database->migrate())
            qFatal("cannot create the benchmark database");
        m_events = std::make_unique<EventRepository>(m_database.get());
        QSqlDatabase &db = m_database->database();
        seedCalendars(db);
        // Written through the repository, in one transaction as a pull would.
        QRandomGenerator random(count);
        db.transaction();
        for (int i = 0; i < count; ++i)
            m_events->insert(generatedEvent(i, random));
        db.commit();
    }

    static std::unique_ptr<Dataset> &current()
    {
        static std::unique_ptr<Dataset> dataset;
        return dataset;
    }

    int m_count;
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<EventRepository> m_events;
};

// The statements of getInRange for a month from 2024-01-08 (local), with
// their bounds widened as the repository widens them.
void printQueryPlan(QSqlDatabase &db)
{
    static bool printed = false;
    if (printed)
        return;
    printed = true;
    const char *const statements[] = {
        "SELECT id FROM events WHERE start_time >= '2024-01-06T00:00:00' AND start_time < "
        "'2024-02-09T00:00:00' AND deleted_at IS NULL",
        "SELECT id FROM events WHERE julianday(end_time) - julianday(start_time) > 1 AND end_time > "
        "'2024-01-07T00:00:00' AND start_time < '2024-02-09T00:00:00' AND deleted_at IS NULL",
        "SELECT id FROM events WHERE ((recurrence_rule IS NOT NULL AND recurrence_rule != '') OR "
        "end_time IS NULL) AND start_time < '2024-02-09T00:00:00' AND deleted_at IS NULL",
        "SELECT id FROM events WHERE master_event_uid > '' AND recurrence_id > '' AND deleted_at IS NULL",
        "SELECT id, event_id, minutes_before, action, acknowledged, trigger_time FROM reminders WHERE "
        "event_id IN ('a','b') ORDER BY minutes_before ASC",
    };
    for (const char *statement : statements) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + QLatin1String(statement));
        std::fprintf(stderr, "%s\n", statement);
        while (q.next())
            std::fprintf(stderr, "    %s\n", qPrintable(q.value(3).toString()));
    }
}

void BM_GetInRange(benchmark::State &state)
{
    Dataset &data = Dataset::get(int(state.range(0)));
    printQueryPlan(data.database().database());
    const QDateTime to = state.range(1) == 7 ? kWindowStart.addDays(7) : kWindowStart.addMonths(1);
    qsizetype rows = 0;
    for (auto _ : state) {
        const QList<Event> events = data.events().getInRange(kWindowStart, to);
        rows = events.size();
        benchmark::DoNotOptimize(events.constData());
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_GetInRange)
    ->ArgNames({"events", "days"})
    ->Args({10000, 7})
    ->Args({10000, 31})
    ->Args({50000, 7})
    ->Args({50000, 31})
    ->Args({200000, 7})
    ->Args({200000, 31})
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
    for (const QVariant &v : {QVariant(e.id), QVariant(e.calendar_id), QVariant(e.uid), QVariant(e.title),
                              QVariant(e.start_time.toString(Qt::ISODate)),
                              QVariant(e.end_time->toString(Qt::ISODate)), QVariant(e.timezone),
                              QVariant(e.recurrence_rule), QVariant(e.raw_icalendar),
                              QVariant(e.created.toString(Qt::ISODate)),
                              QVariant(e.last_modified.toString(Qt::ISODate))})
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
        child.prepare(QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before, trigger_time) VALUES (?, ?, ?, ?)"));
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
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "calendar.store.info=false");
    // The repository's change timer needs an application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Dataset::release();
    return 0;
}
