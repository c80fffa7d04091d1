// What both provider syncs share and decide without a server: the pause a
// Retry-After asks for, the rules a service cannot hold, what an update
// sends, and how a pulled listing reaches the rows.
#include "accountrepository.h"
#include "appstatefixture.h"
#include "conflictresolutionservice.h"
#include "database.h"
#include "eventrepository.h"
#include "googlecalendarclient.h"
#include "providerapplyjob.h"
#include "providereventrepository.h"
#include "providerevents.h"
#include "providerhttp.h"
#include "providerrows.h"
#include "resourcebaserepository.h"
#include "storetransaction.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimeZone>

#include <thread>

using namespace Qt::StringLiterals;

class TestProviderShared : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void retryAfter_data();
    void retryAfter();
    void ruleProblem_data();
    void ruleProblem();
    void updateSendsWhatChanged_data();
    void updateSendsWhatChanged();
    void pruneRemovesOnlyWhatTheListingCouldName_data();
    void pruneRemovesOnlyWhatTheListingCouldName();
    void removedRowsTakeTheirChildren_data();
    void removedRowsTakeTheirChildren();
    void aJobCommitsOnceOrLeavesNothing_data();
    void aJobCommitsOnceOrLeavesNothing();
    void aReplacedRowForgetsItsBase_data();
    void aReplacedRowForgetsItsBase();
};

namespace {

const QString kCalendar = u"cal"_s;

// A Google account with the calendar kCalendar.
void addCalendar(AppState *state)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Account account;
    account.id = account.name = u"acc"_s;
    account.type = u"google"_s;
    account.created_at = account.updated_at = now;
    QVERIFY(state->accounts()->insert(account));
    Calendar c;
    c.account_id = account.id;
    c.url = u"cal@example.test"_s;
    c.id = c.name = kCalendar;
    c.created_at = c.updated_at = now;
    QVERIFY(state->calendars()->insert(c));
}

Event pulled(const QString &providerId, int day = 15)
{
    return Google::CalendarClient::eventFromJson(
        {{"id"_L1, providerId},
         {"start"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-%1T09:00:00Z"_s.arg(day, 2, 10, QLatin1Char('0'))}}}},
        kCalendar);
}

int countOf(AppState *state, const QString &table)
{
    QSqlQuery q(state->database()->database());
    return q.exec(u"SELECT COUNT(*) FROM "_s + table) && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

void TestProviderShared::retryAfter_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<qint64>("secs");
    QTest::newRow("seconds") << QByteArray("120") << qint64(120);
    QTest::newRow("an HTTP date") << QByteArray("Mon, 07 Dec 2026 10:05:00 GMT") << qint64(300);
    QTest::newRow("a date already past") << QByteArray("Mon, 07 Dec 2026 09:00:00 GMT") << qint64(0);
    QTest::newRow("nothing readable") << QByteArray("soon") << qint64(0);
    QTest::newRow("negative") << QByteArray("-5") << qint64(0);
}

void TestProviderShared::retryAfter()
{
    QFETCH(QByteArray, value);
    QFETCH(qint64, secs);
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc());
    QCOMPARE(ProviderHttp::retryAfterSecs(value, now), secs);
}

void TestProviderShared::ruleProblem_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<bool>("held");
    QTest::newRow("weekly") << u"FREQ=WEEKLY;BYDAY=MO,WE"_s << true;
    QTest::newRow("daily until a date") << u"FREQ=DAILY;UNTIL=20250401"_s << true;
    QTest::newRow("daily until an instant") << u"FREQ=DAILY;UNTIL=20250401T120000Z"_s << true;
    QTest::newRow("hourly") << u"FREQ=HOURLY;COUNT=3"_s << false;
    QTest::newRow("every minute") << u"freq=minutely"_s << false;
    QTest::newRow("an UNTIL that cannot be read") << u"FREQ=DAILY;UNTIL=tomorrow"_s << false;
}

void TestProviderShared::ruleProblem()
{
    QFETCH(QString, rule);
    QFETCH(bool, held);
    QCOMPARE(ProviderEvents::ruleProblem(rule).isEmpty(), held);
}

void TestProviderShared::updateSendsWhatChanged_data()
{
    QTest::addColumn<QJsonObject>("local");
    QTest::addColumn<QJsonObject>("expect");
    QTest::newRow("nothing changed: nothing to send")
        << QJsonObject{{"summary"_L1, u"A"_s}, {"location"_L1, u"R"_s}} << QJsonObject{};
    QTest::newRow("a cleared location goes out empty")
        << QJsonObject{{"summary"_L1, u"A"_s}, {"location"_L1, u""_s}} << QJsonObject{{"location"_L1, u""_s}};
    QTest::newRow("a property the row no longer has goes out as null")
        << QJsonObject{{"summary"_L1, u"A"_s}} << QJsonObject{{"location"_L1, QJsonValue::Null}};
    QTest::newRow("a changed list goes out whole") << QJsonObject{{"summary"_L1, u"A"_s},
                                                                  {"location"_L1, u"R"_s},
                                                                  {"recurrence"_L1, QJsonArray{u"RRULE:FREQ=DAILY"_s}}}
                                                   << QJsonObject{{"recurrence"_L1, QJsonArray{u"RRULE:FREQ=DAILY"_s}}};
}

void TestProviderShared::updateSendsWhatChanged()
{
    QFETCH(QJsonObject, local);
    QFETCH(QJsonObject, expect);
    const QJsonObject reference{{"summary"_L1, u"A"_s}, {"location"_L1, u"R"_s}};
    QCOMPARE(ProviderRows::changes(reference, local), expect);
}

void TestProviderShared::pruneRemovesOnlyWhatTheListingCouldName_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("startDay"); // in March 2025
    QTest::addColumn<bool>("windowed"); // a listing of 10 to 20 March
    QTest::addColumn<bool>("removed");
    QTest::newRow("synced, not listed") << u"synced"_s << 15 << false << true;
    QTest::newRow("pending, not listed: goes out") << u"pending"_s << 15 << false << false;
    QTest::newRow("in the window") << u"synced"_s << 15 << true << true;
    QTest::newRow("before the window") << u"synced"_s << 5 << true << false;
    QTest::newRow("after the window") << u"synced"_s << 25 << true << false;
}

void TestProviderShared::pruneRemovesOnlyWhatTheListingCouldName()
{
    QFETCH(QString, status);
    QFETCH(int, startDay);
    QFETCH(bool, windowed);
    QFETCH(bool, removed);
    AppStateFixture fixture;
    AppState *state = fixture.start();
    QVERIFY(state);
    addCalendar(state);
    const auto row = [&](const QString &providerId, const QString &sync) {
        Event e = pulled(providerId, startDay);
        e.sync_status = sync;
        QVERIFY(state->events()->insert(e));
    };
    row(u"listed"_s, u"synced"_s);
    row(u"other"_s, status);
    ProviderRows rows(state, kCalendar, {}, {});
    const QDateTime from = windowed ? QDateTime(QDate(2025, 3, 10), QTime(0, 0), QTimeZone::utc()) : QDateTime();
    const QDateTime to = windowed ? from.addDays(10) : QDateTime();
    QCOMPARE(rows.pruneUnlisted({u"listed"_s}, from, to), removed ? 1 : 0);
    QCOMPARE(state->events()->getByCalendar(kCalendar).size(), removed ? 1 : 2);
}

void TestProviderShared::removedRowsTakeTheirChildren_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("removed"); // the first ones, with an id no row has
    QTest::addColumn<bool>("refused"); // the store will not delete the first event
    QTest::newRow("one of two") << 2 << 1 << false;
    QTest::newRow("more than one statement holds") << 1201 << 1200 << false;
    QTest::newRow("none") << 3 << 0 << false;
    QTest::newRow("one refused: none go, nor their children") << 3 << 2 << true;
}

void TestProviderShared::removedRowsTakeTheirChildren()
{
    QFETCH(int, rows);
    QFETCH(int, removed);
    QFETCH(bool, refused);
    AppStateFixture fixture;
    AppState *state = fixture.start();
    QVERIFY(state);
    addCalendar(state);
    QStringList ids;
    {
        StoreTransaction transaction(state->database());
        for (int i = 0; i < rows; ++i) {
            Event e = pulled(u"p%1"_s.arg(i));
            e.reminders = {Reminder{}};
            Attendee attendee;
            attendee.email = u"a%1@example.test"_s.arg(i);
            e.attendees = {attendee};
            QVERIFY(state->events()->insert(e));
            ids.append(e.id);
        }
        QVERIFY(transaction.keep());
    }
    const qint64 before = *state->events()->changeCounter();
    QStringList gone = ids.mid(0, removed);
    gone.append(u"no-such-row"_s);
    if (refused) {
        QVERIFY(QSqlQuery(state->database()->database())
                    .exec(u"CREATE TEMP TRIGGER keep BEFORE DELETE ON events WHEN old.id = '%1' "
                          "BEGIN SELECT RAISE(ABORT, 'kept'); END"_s.arg(ids.first())));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"removeRows failed"_s));
        QVERIFY(!ProviderEventRepository(state->database()).removeRows(gone));
        removed = 0;
    } else {
        QVERIFY(ProviderEventRepository(state->database()).removeRows(gone));
    }
    const QList<Event> left = state->events()->getByCalendar(kCalendar);
    QCOMPARE(left.size(), rows - removed);
    QCOMPARE(left.last().reminders.size(), 1);
    QCOMPARE(countOf(state, u"reminders"_s), rows - removed);
    QCOMPARE(countOf(state, u"attendees"_s), rows - removed);
    // The views learn of it through the change log.
    QCOMPARE(*state->events()->changeCounter() > before, removed > 0);
}

void TestProviderShared::aJobCommitsOnceOrLeavesNothing_data()
{
    QTest::addColumn<bool>("destroyedMidway");
    QTest::newRow("runs to its end") << false;
    QTest::newRow("destroyed while it writes") << true;
}

void TestProviderShared::aJobCommitsOnceOrLeavesNothing()
{
    QFETCH(bool, destroyedMidway);
    AppStateFixture fixture;
    AppState *state = fixture.start();
    QVERIFY(state);
    addCalendar(state);
    std::atomic<bool> wrote{false};
    auto job = std::make_unique<ProviderApplyJob>(state->database()->fileName(), ProviderApplyJob::Access::Write,
                                                  [&](const ProviderStore &store, ProviderApplyJob::Outcome &outcome,
                                                      const std::atomic<bool> &cancelled) {
        for (int i = 0; i < 5; ++i)
            outcome.upserted += store.events->insert(pulled(u"p%1"_s.arg(i))) ? 1 : 0;
        store.conflict(pulled(u"p0"_s), pulled(u"p0"_s));
        wrote = true;
        // Held until the test lets go, so that it ends while under way.
        for (int i = 0; destroyedMidway && !cancelled && i < 1000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    QSignalSpy finished(job.get(), &ProviderApplyJob::finished);
    job->start();
    QVERIFY(QTest::qWaitFor([&] { return wrote.load(); }));
    if (destroyedMidway) {
        job.reset();
        QTest::qWait(50);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(state->events()->getByCalendar(kCalendar).size(), 0);
        return;
    }
    QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }));
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
    const auto outcome = finished.first().first().value<ProviderApplyJob::Outcome>();
    QCOMPARE(outcome.upserted, 5);
    QCOMPARE(state->events()->getByCalendar(kCalendar).size(), 5);
    ProviderApplyJob::record(state, outcome);
    QCOMPARE(state->conflicts()->conflicts().size(), 1);
}

// Inside a round the bases are read once: one kept before it or during it
// still goes with its row, replaced or removed.
void TestProviderShared::aReplacedRowForgetsItsBase_data()
{
    QTest::addColumn<bool>("inRound");
    QTest::addColumn<bool>("keptDuringRound"); // else before it
    QTest::addColumn<bool>("removed"); // else replaced by a newer version
    for (const bool removed : {false, true}) {
        const char *how = removed ? "removed" : "replaced";
        QTest::addRow("%s, no round", how) << false << false << removed;
        QTest::addRow("%s, base kept before the round", how) << true << false << removed;
        QTest::addRow("%s, base kept during the round", how) << true << true << removed;
    }
}

void TestProviderShared::aReplacedRowForgetsItsBase()
{
    QFETCH(bool, inRound);
    QFETCH(bool, keptDuringRound);
    QFETCH(bool, removed);
    AppStateFixture fixture;
    AppState *state = fixture.start();
    QVERIFY(state);
    addCalendar(state);
    const Event row = pulled(u"p1"_s);
    const Event other = pulled(u"p2"_s); // without a base
    QVERIFY(state->events()->insert(row) && state->events()->insert(other));
    ProviderRows rows(state, kCalendar, {}, {});
    std::optional<StoreTransaction> transaction;
    std::optional<ProviderRows::Round> round;
    for (const bool during : {false, true}) {
        if (during && inRound) {
            transaction.emplace(state->database());
            round.emplace(rows);
        }
        if (during == keptDuringRound)
            rows.written(u"p1"_s, {{"id"_L1, u"p1"_s}});
    }
    QVERIFY(removed ? rows.removeAll({row}) : rows.take(row, pulled(u"p1"_s, 16)));
    QVERIFY(rows.take(other, pulled(u"p2"_s, 17)));
    round.reset();
    QVERIFY(!transaction || transaction->keep());
    QVERIFY(!ResourceBaseRepository(state->database()).texts(kCalendar, u"p1"_s));
}

QTEST_GUILESS_MAIN(TestProviderShared)
#include "tst_providershared.moc"
