// Search-as-you-type: EventRepository::search with the search dialog's limit
// of 300 over 50,000 events, for the first one, two and three characters of
// a word that many titles share ("lun" of "Lunch") and of one no row holds
// (the whole table is read), and what a range preset adds: 50 series among
// the rows, expanded over the range. The target is under 30 ms per query.
// Figures are kept in NOTES.md beside this file.

#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"
#include "textsearch.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int kEvents = 50000;
constexpr int kSeries = 50;
constexpr int kLimit = 300;
const QStringList kCalendars = {QStringLiteral("cal-0"), QStringLiteral("cal-1"), QStringLiteral("cal-2")};
// Titles as people write them; a few share each common prefix.
const QStringList kTitles = {QStringLiteral("Lunch with Ann"),
                             QStringLiteral("Team standup"),
                             QStringLiteral("Dentist"),
                             QStringLiteral("Project review"),
                             QStringLiteral("Gym"),
                             QStringLiteral("Call with the bank"),
                             QStringLiteral("Planning"),
                             QStringLiteral("Lunch and learn"),
                             QStringLiteral("1:1 with Sam"),
                             QStringLiteral("Flight to Lisbon"),
                             QStringLiteral("Yoga"),
                             QStringLiteral("Budget meeting")};

class Dataset
{
public:
    static Dataset &get()
    {
        static Dataset dataset;
        return dataset;
    }
    EventRepository &events() { return *m_events; }

private:
    Dataset()
        : m_dir(QDir::currentPath() + QStringLiteral("/bench-search-XXXXXX"))
    {
        m_database = std::make_unique<Database>();
        if (!m_database->open(m_dir.filePath(QStringLiteral("calendar.db"))) || !m_database->migrate())
            qFatal("cannot create the benchmark database");
        m_events = std::make_unique<EventRepository>(m_database.get());
        QSqlDatabase &db = m_database->database();
        QSqlQuery q(db);
        q.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Bench', 'caldav')"));
        for (const QString &id : kCalendars)
            q.exec(
                QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('%1', 'acc', 'u-%1', '%1')")
                    .arg(id));
        // Five years around now, written in one transaction as a pull writes.
        QRandomGenerator random(kEvents);
        const QDateTime from = QDateTime::currentDateTimeUtc().addYears(-4);
        db.transaction();
        for (int i = 0; i < kEvents; ++i) {
            Event e;
            e.id = QStringLiteral("ev-%1").arg(i);
            e.uid = e.id + QStringLiteral("@example.org");
            e.calendar_id = kCalendars.at(i % kCalendars.size());
            e.title = kTitles.at(random.bounded(int(kTitles.size()))) + QStringLiteral(" %1").arg(i % 97);
            e.location = QStringLiteral("Room %1").arg(i % 40);
            e.description = QStringLiteral("Agenda and notes for the meeting, a line or two long.");
            e.start_time = from.addSecs(qint64(random.bounded(5 * 365 * 24 * 4)) * 15 * 60);
            e.end_time = e.start_time.addSecs(3600);
            e.timezone = QStringLiteral("UTC");
            e.created = e.last_modified = from;
            e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:%1\r\nSUMMARY:%2\r\n"
                                             "END:VEVENT\r\nEND:VCALENDAR\r\n")
                                  .arg(e.uid, e.title);
            m_events->insert(e);
        }
        // Series that began over the years, as a calendar collects them.
        for (int i = 0; i < kSeries; ++i) {
            Event e;
            e.id = QStringLiteral("series-%1").arg(i);
            e.uid = e.id + QStringLiteral("@example.org");
            e.calendar_id = kCalendars.at(i % kCalendars.size());
            e.title = kTitles.at(i % kTitles.size());
            e.start_time = from.addDays(random.bounded(4 * 365)).addSecs(3600 * (8 + i % 9));
            e.end_time = e.start_time.addSecs(1800);
            e.timezone = QStringLiteral("UTC");
            e.recurrence_rule = i % 2 ? QStringLiteral("FREQ=DAILY") : QStringLiteral("FREQ=WEEKLY;BYDAY=MO,WE");
            e.created = e.last_modified = from;
            e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
            m_events->insert(e);
        }
        db.commit();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<EventRepository> m_events;
};

void BM_SearchAsYouType(benchmark::State &state, const char *word)
{
    const QString typed = QString::fromLatin1(word).left(int(state.range(0)));
    EventRepository &events = Dataset::get().events();
    qsizetype found = 0;
    for (auto _ : state) {
        const QList<Event> rows = events.search(typed, kLimit);
        found = rows.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows"] = double(found);
}
BENCHMARK_CAPTURE(BM_SearchAsYouType, common, "lun")->ArgName("typed")->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAsYouType, absent, "zqx")->ArgName("typed")->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// What the search dialog runs for a range preset (days before and after
// now): the rows of the range, then their matching occurrences.
void BM_SearchRange(benchmark::State &state)
{
    EventRepository &events = Dataset::get().events();
    const QString typed = QStringLiteral("lunch");
    const TextSearch::Needle needle(typed);
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime from = now.addDays(-state.range(0));
    const QDateTime to = now.addDays(state.range(1));
    qsizetype found = 0;
    for (auto _ : state) {
        const QList<Event> rows = events.searchInRange(typed, from, to, kCalendars, now, kLimit);
        found = TextSearch::occurrences(rows, needle, from, to, now, kLimit).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}
BENCHMARK(BM_SearchRange)
    ->ArgNames({"before", "after"})
    ->Args({3650, 3650})
    ->Args({30, 7})
    ->Args({0, 30})
    ->Args({0, 365})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "calendar.store.info=false");
    return BenchRunner::run<QCoreApplication>(argc, argv);
}
