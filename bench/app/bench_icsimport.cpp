// The .ics import of a 50 MB file (160,000 events) as the main window runs
// it: on its own thread and connection while the GUI thread's event loop
// keeps turning with the window's views on it. Reports the wall time beside
// the floor (the file read and only each event's key inserted, per_floor
// the ratio; target 2), what SQLite alone needs to write the same rows
// (sqlite_copy_ms, copy_per_floor: the part of the ratio no code of the
// import's can take away), the peak resident memory of the process during the
// import (VmHWM, reset before it starts) and the longest gap between two
// turns of a 1 ms timer on the GUI thread until the views have read the
// imported rows (target 16 ms, one frame).
// BM_ImportBesideBackgroundWriters runs the same import while a reminder is
// due and the sync and reminder polls turn every 100 ms, with the program's
// import state set as the window sets it (1) or not (0, the writers collide
// with the import's lock).

#include "account.h"
#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"
#include "icalendarfilereader.h"
#include "indexrebuild.h"
#include "icsimportjob.h"
#include "mainwindow.h"
#include "notificationservice.h"
#include "peakmemory.h"
#include "sqlitestatement.h"
#include "stallmeter.h"
#include "synccoordinator.h"
#include "tokenstore.h"
#include "weekagenda.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QUuid>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kEvents = 160000;

// About 330 bytes an event, a third of them with an alarm, a tenth in a zone.
// All start at 9:00 on one of 28 days, or, `spread`, each at a start of its
// own over four years, in no order, as a calendar's history may come (the
// view index then takes its rows all over rather than at the ends of 28
// runs).
bool writeCalendar(const QString &path, bool spread = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n");
    QByteArray chunk;
    for (int i = 0; i < kEvents; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QDateTime start = spread
            ? QDateTime(QDate(2022, 1, 1), QTime(9, 0), QTimeZone::utc()).addSecs(qint64(i) * 7919 % kEvents * 13 * 60)
            : QDateTime(QDate(2024, 1, 1 + i % 28), QTime(9, 0), QTimeZone::utc());
        const QByteArray begins = start.toString(u"yyyyMMdd'T'hhmmss"_s).toLatin1();
        const QByteArray ends = start.addSecs(3600).toString(u"yyyyMMdd'T'hhmmss"_s).toLatin1();
        chunk += "BEGIN:VEVENT\r\nUID:bench-" + n
            + "@example.org\r\nDTSTAMP:20240101T000000Z\r\n"
              "SUMMARY:Generated event "
            + n + "\r\n";
        chunk += i % 10 == 0 ? "DTSTART;TZID=Europe/Berlin:" + begins + "\r\n" : "DTSTART:" + begins + "Z\r\n";
        chunk += "DTEND:" + ends + "Z\r\nLOCATION:Room " + QByteArray::number(i % 40)
            + "\r\nDESCRIPTION:A description long enough to look like a real one\\, with an agenda\\, a room and "
              "an escaped comma.\r\n";
        if (i % 3 == 0)
            chunk += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n";
        chunk += "END:VEVENT\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "END:VCALENDAR\r\n");
    return file.error() == QFileDevice::NoError;
}

// Read and insert only each event's key, in one transaction, on a database
// like the program's: what no import of the file can go below.
qint64 floorMs(const QString &ics, const QString &db)
{
    QElapsedTimer timer;
    timer.start();
    Database database;
    if (!database.open(db) || !database.migrate())
        return -1;
    QSqlQuery(database.database()).exec(QStringLiteral("CREATE TABLE keys (id TEXT PRIMARY KEY, uid TEXT)"));
    const std::shared_ptr<SqliteStatement> insert = database.statement(
        QStringLiteral("INSERT INTO keys (id, uid) VALUES (?, ?)"));
    QFile file(ics);
    if (!insert || !file.open(QIODevice::ReadOnly))
        return -1;
    database.database().transaction();
    ICalendarFileReader reader(&file);
    while (!reader.atEnd()) {
        const QList<Event> batch = reader.next(500);
        for (const Event &event : batch)
            insert->execute({QUuid::createUuid().toString(QUuid::WithoutBraces), event.uid});
    }
    database.database().commit();
    return timer.elapsed();
}

// What SQLite alone needs for the rows an import stored: they are copied
// from `source` into a new store of the same schema in one transaction as
// the import writes them (triggers off and the change log written apart,
// the unique and partial indexes kept up, the others built after), with
// nothing parsed or bound. `rowid > 0` keeps SQLite from copying the
// records whole, which no import could.
qint64 sqliteCopyMs(const QString &source, const QString &db)
{
    QElapsedTimer timer;
    timer.start();
    Database database;
    if (!database.open(db, QStringLiteral("sqlite-copy")) || !database.migrate())
        return -1;
    QSqlQuery query(database.database());
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS source"));
    query.addBindValue(source);
    if (!query.exec() || !query.exec(QStringLiteral("BEGIN IMMEDIATE")) || !database.setFileTriggersEnabled(false))
        return -1;
    bool copied = query.exec(QStringLiteral("INSERT OR IGNORE INTO accounts SELECT * FROM source.accounts"))
        && query.exec(QStringLiteral("INSERT OR IGNORE INTO calendars SELECT * FROM source.calendars"));
    {
        IndexRebuild indexes(&database, QStringLiteral("events"), kEvents);
        for (const char *sql : {"INSERT INTO events SELECT * FROM source.events WHERE rowid > 0",
                                "INSERT INTO reminders SELECT * FROM source.reminders WHERE rowid > 0",
                                "INSERT INTO events_changes (event_id) SELECT id FROM source.events"})
            copied = copied && query.exec(QString::fromLatin1(sql));
        copied = copied && indexes.restore();
    }
    copied = copied && query.exec(QStringLiteral("COMMIT"));
    database.setFileTriggersEnabled(true);
    return copied ? timer.elapsed() : -1;
}

// The import as the program runs it: through the main window, whose week
// list, task list and status bar and the reminder service stay on the GUI
// thread and read again once the import has reported. The stall counts from
// the start until the views have settled after it. `shownWeek`: the week
// the window shows (the current one when null).
void importLargeFile(benchmark::State &state, bool spread, const QDate &shownWeek = {})
{
    QTemporaryDir dir(QStringLiteral("bench-icsimport-XXXXXX"));
    const QString ics = dir.filePath(QStringLiteral("large.ics"));
    if (!writeCalendar(ics, spread)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    const qint64 floor = floorMs(ics, dir.filePath(QStringLiteral("floor.db")));
    qputenv("CALENDAR_DATA_DIR", dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    AppState app;
    if (!app.initialize()) {
        state.SkipWithError("cannot start the application state");
        return;
    }
    if (shownWeek.isValid())
        app.setCurrentDate(shownWeek);
    MainWindow window(&app);
    NotificationService reminders(&app, nullptr);
    window.show();
    QCoreApplication::processEvents();
    qint64 importMs = 0;
    qint64 longestStallMs = 0;
    qint64 duringMs = 0;
    qint64 afterMs = 0;
    qint64 peakKb = 0;
    for (auto _ : state) {
        PeakMemory::reset();
        QEventLoop loop;
        QElapsedTimer sinceStart;
        StallMeter stalls;
        std::unique_ptr<StallMeter> after;
        QObject::connect(&window, &MainWindow::importFinished, &loop, [&] {
            importMs = sinceStart.elapsed();
            duringMs = stalls.longestMs();
            after = std::make_unique<StallMeter>();
            // The views read again when the change signal comes (150 ms).
            QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        });
        sinceStart.start();
        QTimer::singleShot(0, &window, [&] { window.importIcsFromCommand(ics); });
        loop.exec();
        longestStallMs = stalls.longestMs();
        afterMs = after ? after->longestMs() : -1;
        peakKb = PeakMemory::statusKilobytes("VmHWM:");
    }
    QSqlQuery count(app.database()->database());
    count.exec(QStringLiteral("SELECT COUNT(*) FROM events WHERE deleted_at IS NULL"));
    const qint64 events = count.next() ? count.value(0).toLongLong() : 0;
    const qint64 fileBytes = QFile(ics).size();
    const qint64 copy = sqliteCopyMs(app.database()->database().databaseName(), dir.filePath(u"copy.db"_s));
    state.counters["events"] = double(events);
    state.counters["import_ms"] = double(importMs);
    state.counters["floor_ms"] = double(floor);
    state.counters["per_floor"] = floor > 0 ? double(importMs) / double(floor) : 0;
    state.counters["sqlite_copy_ms"] = double(copy);
    state.counters["copy_per_floor"] = floor > 0 ? double(copy) / double(floor) : 0;
    state.counters["file_MB"] = double(fileBytes) / (1 << 20);
    state.counters["peak_RSS_MB"] = double(peakKb) / 1024;
    state.counters["peak_per_file_size"] = double(peakKb) * 1024 / double(fileBytes);
    state.counters["longest_GUI_stall_ms"] = double(longestStallMs);
    // Before the import reported, and after it while the views read again.
    state.counters["stall_during_ms"] = double(duringMs);
    state.counters["stall_after_ms"] = double(afterMs);
    state.counters["stall_target_ms"] = 16;
    if (shownWeek.isValid()) // the week's lines as the list holds them, not read again
        state.counters["week_lines"] = window.agenda()->findChild<QListWidget *>()->count();
    BenchRunner::target(state, 4000);
    if (events < kEvents)
        state.SkipWithError("the import did not store the file");
}
// The reading alone, for the share of the import's time that is not the
// store's.
void BM_ReadLargeFile(benchmark::State &state)
{
    QTemporaryDir dir(QStringLiteral("bench-icsimport-XXXXXX"));
    const QString ics = dir.filePath(QStringLiteral("large.ics"));
    if (!writeCalendar(ics)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    qint64 events = 0;
    for (auto _ : state) {
        QFile file(ics);
        file.open(QIODevice::ReadOnly);
        ICalendarFileReader reader(&file);
        while (!reader.atEnd())
            events += reader.next(500).size();
    }
    state.counters["events"] = double(events);
}
BENCHMARK(BM_ReadLargeFile)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ImportLargeFile(benchmark::State &state)
{
    importLargeFile(state, false);
}
BENCHMARK(BM_ImportLargeFile)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same events, each at a start of its own.
void BM_ImportSpreadFile(benchmark::State &state)
{
    importLargeFile(state, true);
}
BENCHMARK(BM_ImportSpreadFile)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// The 28-day file with the window on its first week: the week list reads
// again a week of 40,000 events (5,700 a day) once the import reported.
void BM_ImportDenseWeek(benchmark::State &state)
{
    importLargeFile(state, false, QDate(2024, 1, 1));
}
BENCHMARK(BM_ImportDenseWeek)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// A one-off event in `calendarId` whose 15-minute reminder is due now.
Event dueReminderEvent(const QString &calendarId)
{
    Event event;
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.uid = event.id + QStringLiteral("@bench");
    event.calendar_id = calendarId;
    event.title = QStringLiteral("Due");
    event.start_time = QDateTime::currentDateTime().addSecs(10 * 60);
    event.raw_icalendar = QStringLiteral("");
    event.created = event.last_modified = QDateTime::currentDateTimeUtc();
    Reminder reminder;
    reminder.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    reminder.event_id = event.id;
    reminder.minutes_before = 15;
    event.reminders.append(reminder);
    return event;
}

void BM_ImportBesideBackgroundWriters(benchmark::State &state)
{
    const bool waits = state.range(0) != 0;
    QTemporaryDir dir(QStringLiteral("bench-icsimport-XXXXXX"));
    qputenv("CALENDAR_DATA_DIR", dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
    qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    const QString ics = dir.filePath(QStringLiteral("large.ics"));
    if (!writeCalendar(ics)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    AppState app;
    if (!app.initialize()) {
        state.SkipWithError("cannot start the application state");
        return;
    }
    const QString calendarId = QStringLiteral("quillmarten-personal-default");
    app.events()->insert(dueReminderEvent(calendarId));
    // A CalDAV server that hangs up: each sync fails and writes why.
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            socket->disconnectFromHost();
    });
    Account account;
    account.id = QStringLiteral("bench-account");
    account.name = QStringLiteral("Bench");
    account.type = QStringLiteral("caldav");
    account.server_url = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    account.username = QStringLiteral("bench");
    account.sync_interval_minutes = 1;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    app.accounts()->insert(account);
    NotificationService reminders(&app, nullptr);
    SyncCoordinator sync(&app, nullptr);

    IcsImport::Result result;
    qint64 longestStallMs = 0;
    qint64 importMs = 0;
    for (auto _ : state) {
        IcsImportJob job(app.database()->database().databaseName(), ics, calendarId);
        QEventLoop loop;
        QElapsedTimer sinceStart;
        QObject::connect(&job, &IcsImportJob::finished, &loop, [&](const IcsImport::Result &r) {
            result = r;
            importMs = sinceStart.elapsed();
            if (waits)
                app.endImport();
            // What was held back runs now; its stalls count too.
            QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        });
        QTimer background;
        QObject::connect(&background, &QTimer::timeout, &loop, [&] {
            reminders.poll();
            sync.syncDueAccounts();
        });
        background.start(100);
        StallMeter stalls;
        sinceStart.start();
        if (waits)
            app.beginImport();
        job.start();
        loop.exec();
        longestStallMs = stalls.longestMs();
    }
    QSqlQuery shown(app.database()->database());
    shown.exec(QStringLiteral("SELECT COUNT(*) FROM reminders WHERE acknowledged = 1"));
    state.counters["events"] = result.added + result.updated;
    state.counters["import_ms"] = double(importMs);
    state.counters["reminders_acknowledged"] = shown.next() ? shown.value(0).toDouble() : -1;
    state.counters["longest_GUI_stall_ms"] = double(longestStallMs);
    if (result.outcome != IcsImport::Outcome::Stored)
        state.SkipWithError("the import did not store the file");
}
BENCHMARK(BM_ImportBesideBackgroundWriters)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "calendar.store.info=false");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application state's theme reads the palette.
    return BenchRunner::run<QApplication>(argc, argv);
}
