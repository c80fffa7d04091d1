// Run with the offscreen platform: QT_QPA_PLATFORM=offscreen ./bench_microsoftsync
//
//   applyDelta/5000/0    a first delta of 5,000 new events into an empty
//                        calendar, one transaction
//   applyDelta/5000/1    a delta changing every one of those 5,000 events
//   applyDelta/5000/2    a delta removing all 5,000
#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "calendarrepository.h"
#include "microsoftsyncclient.h"
#include "tempappstate.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QJsonObject graphEvent(int i, const QString &subject)
{
    const QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(8, 0), QTimeZone::utc()).addSecs(qint64(i) * 3600);
    const auto at = [](const QDateTime &t) {
        return QJsonObject{{"dateTime"_L1, t.toString(u"yyyy-MM-ddTHH:mm:ss.0000000"_s)}, {"timeZone"_L1, u"UTC"_s}};
    };
    return QJsonObject{{"id"_L1, u"AAMk-%1"_s.arg(i)},
                       {"changeKey"_L1, u"ck-%1-%2"_s.arg(i).arg(subject)},
                       {"subject"_L1, u"%1 %2"_s.arg(subject).arg(i)},
                       {"body"_L1, QJsonObject{{"contentType"_L1, u"html"_s}, {"content"_L1, u"<p>Agenda</p>"_s}}},
                       {"location"_L1, QJsonObject{{"displayName"_L1, u"Room %1"_s.arg(i % 40)}}},
                       {"start"_L1, at(start)},
                       {"end"_L1, at(start.addSecs(1800))},
                       {"isReminderOn"_L1, true},
                       {"reminderMinutesBeforeStart"_L1, 15},
                       {"lastModifiedDateTime"_L1, u"2026-03-01T09:00:00.0000000Z"_s}};
}

QList<QJsonObject> delta(int count, const QString &subject)
{
    QList<QJsonObject> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(graphEvent(i, subject));
    return out;
}

QList<QJsonObject> removals(int count)
{
    QList<QJsonObject> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(
            QJsonObject{{"id"_L1, u"AAMk-%1"_s.arg(i)}, {"@removed"_L1, QJsonObject{{"reason"_L1, u"deleted"_s}}}});
    return out;
}

// An AppState over a temporary data directory, with one Microsoft calendar.
struct Store : TempAppState
{
    QString calendarId = u"ms-calendar"_s;

    Store()
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account;
        account.id = u"ms-account"_s;
        account.name = u"Work"_s;
        account.type = u"microsoft"_s;
        account.created_at = account.updated_at = now;
        Calendar calendar;
        calendar.id = calendarId;
        calendar.account_id = account.id;
        calendar.url = u"AAMkTeam"_s;
        calendar.name = u"Team"_s;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = now;
        if (!state->accounts()->insert(account) || !state->calendars()->insert(calendar))
            qFatal("calendar not stored");
    }
};

void applyDelta(benchmark::State &state)
{
    const int count = int(state.range(0));
    const int kind = int(state.range(1));
    const QList<QJsonObject> fresh = delta(count, u"Meeting"_s);
    const QList<QJsonObject> changed = delta(count, u"Moved"_s);
    const QList<QJsonObject> gone = removals(count);
    int failed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<Store>();
        if (kind > 0)
            Microsoft::SyncClient::applyItems(store->state.get(), store->calendarId, fresh);
        state.ResumeTiming();
        const QList<QJsonObject> &items = kind == 0 ? fresh : kind == 1 ? changed : gone;
        failed += Microsoft::SyncClient::applyItems(store->state.get(), store->calendarId, items).failed;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["failed"] = failed;
}
BENCHMARK(applyDelta)->Args({5000, 0})->Args({5000, 1})->Args({5000, 2})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    BenchRunner::quietSync();
    return BenchRunner::run<QCoreApplication>(argc, argv);
}
