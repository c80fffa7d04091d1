// Run with the offscreen platform: QT_QPA_PLATFORM=offscreen ./bench_googlesync
//
//   firstPull/10000   a Google calendar of 10,000 events pulled for the first
//                     time (four pages of 2,500 from the fake Google on
//                     loopback) and applied in one transaction off the GUI
//                     thread; max_stall_ms is the longest the event loop
//                     went without turning
#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "fakegoogle.h"
#include "googleauthservice.h"
#include "googlesyncclient.h"
#include "memorytokenstore.h"
#include "stallmeter.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QString kRemote = u"bench@group.example"_s;
const QString kAccount = u"acc"_s;

QJsonObject item(int i)
{
    const QString day =
        u"2026-%1-%2"_s.arg(1 + i % 12, 2, 10, QLatin1Char('0')).arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    return {{"id"_L1, u"evt%1"_s.arg(i)},
            {"summary"_L1, u"Event %1"_s.arg(i)},
            {"location"_L1, u"Room %1"_s.arg(i % 40)},
            {"start"_L1, QJsonObject{{"dateTime"_L1, day + u"T09:00:00Z"_s}}},
            {"end"_L1, QJsonObject{{"dateTime"_L1, day + u"T10:00:00Z"_s}}},
            {"reminders"_L1,
             QJsonObject{{"useDefault"_L1, false},
                         {"overrides"_L1, QJsonArray{QJsonObject{{"method"_L1, u"popup"_s}, {"minutes"_L1, 10}}}}}}};
}

void firstPull(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    qputenv("CALENDAR_DATA_DIR", dir.filePath(u"data"_s).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(u"xdg"_s).toUtf8());
    FakeGoogle fake;
    if (!fake.start()) {
        state.SkipWithError("fake Google did not start");
        return;
    }
    fake.setCalendars({QJsonObject{{"id"_L1, kRemote}}});
    QList<QJsonObject> items;
    for (int i = 0; i < count; ++i)
        items.append(item(i));
    fake.changeEvents(kRemote, items);

    AppState app;
    if (!app.initialize()) {
        state.SkipWithError("no application state");
        return;
    }
    Account account;
    account.id = kAccount;
    account.type = u"google"_s;
    account.name = u"bench@example.test"_s;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    app.accounts()->insert(account);
    TolmAccount::MemoryTokenStore tokens;
    const auto granted = fake.grantTokens();
    Google::AuthService::saveTokens(&tokens, kAccount,
                                    {granted.first, granted.second, QDateTime::currentDateTimeUtc().addDays(1)});
    ProviderConfig config;
    config.googleApiBase = fake.baseUrl();
    QNetworkAccessManager network;

    qint64 maxStall = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Calendar calendar;
        calendar.id = u"cal-%1"_s.arg(round++);
        calendar.account_id = kAccount;
        calendar.url = kRemote;
        calendar.name = calendar.id;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
        app.calendars()->insert(calendar);
        Google::SyncClient client(&app, &network, config, &tokens);
        QSignalSpy completed(&client, &Google::SyncClient::calendarSyncCompleted);
        // An event loop rather than qWaitFor, whose naps between turns would
        // count as stalls.
        QEventLoop loop;
        QObject::connect(&client, &Google::SyncClient::calendarSyncCompleted, &loop, &QEventLoop::quit);
        QObject::connect(&client, &Google::SyncClient::calendarSyncFailed, &loop, &QEventLoop::quit);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        state.ResumeTiming();

        {
            StallMeter stalls;
            client.syncCalendar(calendar);
            loop.exec();
            maxStall = std::max(maxStall, stalls.longestMs());
        }
        if (completed.isEmpty())
            state.SkipWithError("the pull did not complete");

        state.PauseTiming();
        if (app.events()->getByCalendar(calendar.id).size() != count)
            state.SkipWithError("not every event was stored");
        state.ResumeTiming();
    }
    state.counters["max_stall_ms"] = double(maxStall);
    state.counters["target_stall_ms"] = 16;
    BenchRunner::target(state, 600);
    state.counters["events"] = count;
}

} // namespace

BENCHMARK(firstPull)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    return BenchRunner::run<QGuiApplication>(argc, argv);
}
