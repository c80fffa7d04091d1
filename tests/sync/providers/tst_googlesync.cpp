#include "googlesyncfixture.h"
#include "testevents.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;
using F = GoogleSyncFixture;

namespace {

QJsonObject timed(const QString &id, const QString &summary, int day = 3, int hour = 9)
{
    const QString start =
        u"2025-03-%1T%2:00:00Z"_s.arg(day, 2, 10, QLatin1Char('0')).arg(hour, 2, 10, QLatin1Char('0'));
    const QString end = u"2025-03-%1T%2:30:00Z"_s.arg(day, 2, 10, QLatin1Char('0')).arg(hour, 2, 10, QLatin1Char('0'));
    return {{"id"_L1, id},
            {"summary"_L1, summary},
            {"start"_L1, QJsonObject{{"dateTime"_L1, start}}},
            {"end"_L1, QJsonObject{{"dateTime"_L1, end}}}};
}

QJsonObject byId(const QList<QJsonObject> &items, const QString &id)
{
    for (const QJsonObject &item : items) {
        if (item.value("id"_L1).toString() == id)
            return item;
    }
    return {};
}

int listings(FakeGoogle &fake)
{
    int n = 0;
    const QList<QJsonObject> log = fake.requests();
    for (const QJsonObject &request : log)
        n += request.value("method"_L1).toString() == "GET"_L1
            && request.value("path"_L1).toString().endsWith("/events"_L1);
    return n;
}

} // namespace

class TestGoogleSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_f.startServer(), qPrintable(m_f.serverError())); }
    void init() { m_f.reset(); }

    // Pull
    void firstPullThenIncremental();
    void seriesInstancesTakeTheirOccurrencesPlace();
    void expiredSyncTokenGivesOneFullPull_data();
    void expiredSyncTokenGivesOneFullPull();
    void rowsThatCannotBeStoredFailTheRunOnce();
    void aPullThatCannotCommitKeepsTheToken();
    void aRefusedWriteKeepsTheChangesComing_data();
    void aRefusedWriteKeepsTheChangesComing();
    void aClientGoneWhileItWritesLeavesNothing();

    // Push
    void pushesInsertUpdateDelete();
    void pendingRowTakesTheServersVersion();
    void changeDuringPushStaysPending_data();
    void changeDuringPushStaysPending();
    void tokenWriteBackKeepsARename();
    void aPushTheStoreCannotRecordFailsTheRun();

    // Runs
    void twoCalendarsReportOnceEach();
    void credentials_data();
    void credentials();
    void nothingLostOverTenRounds();

private:
    std::optional<Event> row(const QString &providerId, const QString &calendar = F::kWork)
    {
        const QList<Event> rows = m_f.events()->getByCalendar(calendar);
        for (const Event &e : rows) {
            if (e.provider_event_id == providerId)
                return e;
        }
        return std::nullopt;
    }
    QString newLocalEvent(const QString &title)
    {
        Event e = testEvent(F::kWork, title, TimeUtil::utc(QDate(2025, 3, 4), QTime(10, 0)),
                            TimeUtil::utc(QDate(2025, 3, 4), QTime(11, 0)));
        e.sync_status = u"pending"_s;
        if (!m_f.events()->insert(e))
            return QString();
        return e.id;
    }
    void edit(const QString &id, const QString &title)
    {
        std::optional<Event> e = m_f.events()->getById(id);
        QVERIFY(e);
        e->title = title;
        e->sync_status = u"pending"_s;
        QVERIFY(m_f.events()->update(*e));
    }

    GoogleSyncFixture m_f;
};

void TestGoogleSync::firstPullThenIncremental()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"a"_s, u"Alpha"_s), timed(u"b"_s, u"Beta"_s)});
    F::Report report = m_f.sync();
    QCOMPARE(report.completed, QStringList{F::kWork});
    QVERIFY(row(u"a"_s) && row(u"b"_s));
    QCOMPARE(row(u"a"_s)->sync_status, u"synced"_s);
    const QString token = m_f.state()->calendars()->getById(F::kWork)->sync_token;
    QVERIFY(!token.isEmpty());

    m_f.fake().changeEvents(F::kWorkRemote,
                            {QJsonObject{{"id"_L1, u"a"_s}, {"summary"_L1, u"Alpha 2"_s}},
                             QJsonObject{{"id"_L1, u"b"_s}, {"status"_L1, u"cancelled"_s}}});
    m_f.fake().control(u"clear-log"_s);
    report = m_f.sync();
    QCOMPARE(report.completed, QStringList{F::kWork});
    QCOMPARE(m_f.fake().requests().first().value("query"_L1).toObject().value("syncToken"_L1).toString(), token);
    QCOMPARE(row(u"a"_s)->title, u"Alpha 2"_s);
    QVERIFY(!row(u"b"_s));

    // A round with nothing new writes nothing, the token it got back again
    // included.
    m_f.app().cli(u"UPDATE calendars SET updated_at = '2026-01-01T00:00:00Z'"_s);
    const QString rows = u"SELECT * FROM calendars; SELECT * FROM events; SELECT COUNT(*) FROM events_changes"_s;
    const QString stored = m_f.app().cli(rows);
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QCOMPARE(m_f.app().cli(rows), stored);
}

void TestGoogleSync::seriesInstancesTakeTheirOccurrencesPlace()
{
    QJsonObject series = timed(u"s"_s, u"Standup"_s);
    series.insert("recurrence"_L1, QJsonArray{u"RRULE:FREQ=DAILY;COUNT=5"_s});
    QJsonObject moved = timed(u"s_20250304T090000Z"_s, u"Standup (late)"_s, 4, 15);
    moved.insert("recurringEventId"_L1, u"s"_s);
    moved.insert("originalStartTime"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-04T09:00:00Z"_s}});
    QJsonObject dropped{{"id"_L1, u"s_20250305T090000Z"_s},
                        {"status"_L1, u"cancelled"_s},
                        {"recurringEventId"_L1, u"s"_s},
                        {"originalStartTime"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-05T09:00:00Z"_s}}}};
    m_f.fake().changeEvents(F::kWorkRemote, {series, moved, dropped});
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});

    const QList<Event> shown = m_f.events()->getInRange(TimeUtil::utc(QDate(2025, 3, 1)),
                                                        TimeUtil::utc(QDate(2025, 3, 10)), {F::kWork});
    QCOMPARE(row(u"s_20250304T090000Z"_s)->recurrence_id, u"20250304T090000Z"_s);
    QCOMPARE(row(u"s"_s)->exception_dates, u"[\"20250305T090000Z\"]"_s);
    // The stored rows: the master, and the moved instance as its override.
    QCOMPARE(shown.size(), 2);
}

void TestGoogleSync::expiredSyncTokenGivesOneFullPull_data()
{
    QTest::addColumn<bool>("withToken");
    QTest::addColumn<int>("refusals");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<int>("expectedListings");
    QTest::newRow("expired token: one full listing") << true << 1 << true << 2;
    QTest::newRow("full listing refused too: fails, no loop") << true << 5 << false << 2;
    QTest::newRow("410 without a token is an ordinary failure") << false << 5 << false << 1;
}

void TestGoogleSync::expiredSyncTokenGivesOneFullPull()
{
    QFETCH(bool, withToken);
    QFETCH(int, refusals);
    QFETCH(bool, completes);
    QFETCH(int, expectedListings);
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"a"_s, u"Alpha"_s)});
    if (withToken)
        QCOMPARE(m_f.sync().completed.size(), 1);
    m_f.fake().control(u"clear-log"_s);
    m_f.fake().control(
        u"fail"_s, {{"path"_L1, u"/events"_s}, {"method"_L1, u"GET"_s}, {"status"_L1, 410}, {"count"_L1, refusals}});
    const F::Report report = m_f.sync();
    QCOMPARE(report.completed.size() + report.failed.size(), 1);
    QCOMPARE(report.completed.size(), completes ? 1 : 0);
    QCOMPARE(listings(m_f.fake()), expectedListings);
    QVERIFY(row(u"a"_s) || !completes);
}

void TestGoogleSync::rowsThatCannotBeStoredFailTheRunOnce()
{
    QSqlQuery trigger(m_f.state()->database()->database());
    QVERIFY(trigger.exec(u"CREATE TRIGGER poison BEFORE INSERT ON events WHEN NEW.title = 'Poison' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"ok"_s, u"Fine"_s), timed(u"bad"_s, u"Poison"_s)});
    const QString local = newLocalEvent(u"Mine"_s);
    const F::Report report = m_f.sync();
    QCOMPARE(report.completed, QStringList());
    QCOMPARE(report.failed, QStringList{F::kWork});
    SyncResult unsaved = SyncResult::ofProvider(SyncResult::Provider::Google, SyncResult::Kind::LocalStore,
                                                SyncResult::Step::EventListing);
    unsaved.limit = 1;
    QCOMPARE(report.results, QList<SyncResult>{unsaved});
    QVERIFY(row(u"ok"_s));
    QVERIFY(m_f.state()->calendars()->getById(F::kWork)->sync_token.isEmpty());
    QCOMPARE(m_f.events()->getById(local)->sync_status, u"synced"_s); // the push still ran
    // The next run passes the item by as a problem of the calendar: no failure every time.
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    const Calendar after = *m_f.state()->calendars()->getById(F::kWork);
    QVERIFY(!after.sync_token.isEmpty());
    QVERIFY(!after.last_sync_error.isEmpty());
}

void TestGoogleSync::aPullThatCannotCommitKeepsTheToken()
{
    // Every row stores, but the commit is refused: a deferred key check
    // fails only there.
    QSqlQuery schema(m_f.state()->database()->database());
    for (const QString &sql :
         {u"CREATE TABLE late_parent (id TEXT PRIMARY KEY)"_s,
          u"CREATE TABLE late_child (parent TEXT REFERENCES late_parent(id) DEFERRABLE INITIALLY DEFERRED)"_s,
          u"CREATE TRIGGER late AFTER INSERT ON events WHEN NEW.title = 'Late' "
          "BEGIN INSERT INTO late_child VALUES ('none'); END"_s})
        QVERIFY2(schema.exec(sql), qPrintable(sql));
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"ok"_s, u"Fine"_s), timed(u"late"_s, u"Late"_s)});
    const F::Report report = m_f.sync();
    QCOMPARE(report.failed, QStringList{F::kWork});
    QCOMPARE(report.results.first().kind, SyncResult::Kind::LocalStore);
    QCOMPARE(report.results.first().limit, 2); // both rows went with the commit
    QVERIFY(!row(u"ok"_s));
    QVERIFY(m_f.state()->calendars()->getById(F::kWork)->sync_token.isEmpty());
    QVERIFY(schema.exec(u"DROP TRIGGER late"_s));
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QVERIFY(row(u"ok"_s) && row(u"late"_s));
}

void TestGoogleSync::aRefusedWriteKeepsTheChangesComing_data()
{
    QTest::addColumn<QString>("refused"); // a trigger's event and condition
    QTest::addColumn<bool>("cancelled"); // the server cancels the event the first run brought in
    QTest::newRow("the calendar's new sync token") << u"UPDATE ON calendars WHEN NEW.sync_token <> ''"_s << false;
    QTest::newRow("a deletion there") << u"DELETE ON events WHEN OLD.title = 'Fine'"_s << true;
}

// The store would not take what the listing brought: the run says so, the
// sync token stays, and the next run lists the same changes again.
void TestGoogleSync::aRefusedWriteKeepsTheChangesComing()
{
    QFETCH(QString, refused);
    QFETCH(bool, cancelled);
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"ok"_s, u"Fine"_s)});
    if (cancelled) {
        QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
        m_f.fake().changeEvents(F::kWorkRemote, {QJsonObject{{"id"_L1, u"ok"_s}, {"status"_L1, u"cancelled"_s}}});
    }
    const QString token = m_f.state()->calendars()->getById(F::kWork)->sync_token;
    QSqlQuery trigger(m_f.state()->database()->database());
    QVERIFY(trigger.exec(u"CREATE TRIGGER refuse BEFORE %1 BEGIN SELECT RAISE(ABORT, 'no'); END"_s.arg(refused)));
    const F::Report report = m_f.sync();
    QCOMPARE(report.failed, QStringList{F::kWork});
    QCOMPARE(report.results.first().kind, SyncResult::Kind::LocalStore);
    QCOMPARE(m_f.state()->calendars()->getById(F::kWork)->sync_token, token);
    QVERIFY(trigger.exec(u"DROP TRIGGER refuse"_s));
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QCOMPARE(bool(row(u"ok"_s)), !cancelled);
    QVERIFY(m_f.state()->calendars()->getById(F::kWork)->sync_token != token);
}

// The server took a new event and the store would not record that: the run
// fails, the row stays pending, and the server keeps one copy.
void TestGoogleSync::aPushTheStoreCannotRecordFailsTheRun()
{
    const QString local = newLocalEvent(u"Mine"_s);
    QSqlQuery trigger(m_f.state()->database()->database());
    QVERIFY(trigger.exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON events WHEN NEW.sync_status = 'synced' "
                         "BEGIN SELECT RAISE(ABORT, 'no'); END"_s));
    const F::Report report = m_f.sync();
    QCOMPARE(report.failed, QStringList{F::kWork});
    QCOMPARE(report.results.first().storeFailure, StoreFailure::Refused); // a LocalStore failure
    QCOMPARE(m_f.events()->getById(local)->sync_status, u"pending"_s);
    QVERIFY(trigger.exec(u"DROP TRIGGER refuse"_s));
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QCOMPARE(m_f.fake().events(F::kWorkRemote).size(), 1);
}

void TestGoogleSync::aClientGoneWhileItWritesLeavesNothing()
{
    QList<QJsonObject> items;
    for (int i = 0; i < 3000; ++i)
        items.append(timed(u"e%1"_s.arg(i), u"Event %1"_s.arg(i), 1 + i % 28));
    m_f.fake().changeEvents(F::kWorkRemote, items);
    // Another connection that may not wait tells when the pull holds the
    // write lock: its rows are being written.
    QSqlDatabase probe = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"probe"_s);
    probe.setDatabaseName(m_f.app().databaseFile());
    probe.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
    QVERIFY(probe.open());
    const auto writing = [&probe] {
        QSqlQuery q(probe);
        const bool held = !q.exec(u"BEGIN IMMEDIATE"_s);
        if (!held)
            q.exec(u"ROLLBACK"_s);
        return held;
    };
    {
        QNetworkAccessManager network;
        const auto tokens = m_f.tokenStoreCopy();
        Google::SyncClient client(m_f.state(), &network, m_f.config(), tokens.get());
        QSignalSpy reported(&client, &Google::SyncClient::calendarSyncCompleted);
        client.syncCalendar(*m_f.state()->calendars()->getById(F::kWork));
        QVERIFY(QTest::qWaitFor(writing, 20000));
        QVERIFY(reported.isEmpty());
    }
    probe.close();
    probe = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"probe"_s);
    QTest::qWait(100);
    QCOMPARE(m_f.events()->getByCalendar(F::kWork).size(), 0);
    QVERIFY(m_f.state()->calendars()->getById(F::kWork)->sync_token.isEmpty());
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QCOMPARE(m_f.events()->getByCalendar(F::kWork).size(), 3000);
}

void TestGoogleSync::pushesInsertUpdateDelete()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"u"_s, u"To update"_s), timed(u"d"_s, u"To delete"_s)});
    QCOMPARE(m_f.sync().completed.size(), 1);
    const QString inserted = newLocalEvent(u"New here"_s);
    edit(row(u"u"_s)->id, u"Updated here"_s);
    QVERIFY(m_f.events()->remove(row(u"d"_s)->id));
    const QString neverPushed = newLocalEvent(u"Gone before push"_s);
    QVERIFY(m_f.events()->remove(neverPushed));
    m_f.fake().control(u"clear-log"_s);

    QCOMPARE(m_f.sync().completed.size(), 1);
    const QList<QJsonObject> server = m_f.fake().events(F::kWorkRemote);
    const Event pushed = *m_f.events()->getById(inserted);
    QCOMPARE(pushed.sync_status, u"synced"_s);
    QCOMPARE(byId(server, pushed.provider_event_id).value("summary"_L1).toString(), u"New here"_s);
    QCOMPARE(byId(server, u"u"_s).value("summary"_L1).toString(), u"Updated here"_s);
    QCOMPARE(byId(server, u"d"_s).value("status"_L1).toString(), u"cancelled"_s);
    QVERIFY(!row(u"d"_s));
    QVERIFY(!m_f.events()->getById(neverPushed));
    QStringList methods;
    for (const QJsonObject &r : m_f.fake().requests())
        methods << r.value("method"_L1).toString();
    methods.sort();
    QCOMPARE(methods, (QStringList{u"DELETE"_s, u"GET"_s, u"PATCH"_s, u"POST"_s}));
}

void TestGoogleSync::pendingRowTakesTheServersVersion()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"c"_s, u"Original"_s)});
    QCOMPARE(m_f.sync().completed.size(), 1);
    edit(row(u"c"_s)->id, u"Mine"_s);
    m_f.fake().changeEvents(F::kWorkRemote, {QJsonObject{{"id"_L1, u"c"_s}, {"location"_L1, u"Elsewhere"_s}}});
    QCOMPARE(m_f.sync().completed.size(), 1);
    QCOMPARE(row(u"c"_s)->sync_status, u"synced"_s);
    QCOMPARE(byId(m_f.fake().events(F::kWorkRemote), u"c"_s).value("summary"_L1).toString(), u"Mine"_s);
}

void TestGoogleSync::changeDuringPushStaysPending_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("remove");
    QTest::newRow("edit while the update is under way") << u"PATCH"_s << false;
    QTest::newRow("edit while the insert is under way") << u"POST"_s << false;
    QTest::newRow("delete while the update is under way") << u"PATCH"_s << true;
}

void TestGoogleSync::changeDuringPushStaysPending()
{
    QFETCH(QString, method);
    QFETCH(bool, remove);
    QString id;
    if (method == "PATCH"_L1) {
        m_f.fake().changeEvents(F::kWorkRemote, {timed(u"p"_s, u"Before"_s)});
        QCOMPARE(m_f.sync().completed.size(), 1);
        id = row(u"p"_s)->id;
        edit(id, u"First"_s);
    } else {
        id = newLocalEvent(u"First"_s);
    }
    m_f.fake().control(u"fail"_s, {{"method"_L1, method}, {"path"_L1, u"/events"_s}, {"delay"_L1, 1.0}});
    const F::Report report = m_f.sync({F::kWork}, [&] {
        QTest::qWait(400);
        if (remove)
            QVERIFY(m_f.events()->remove(id));
        else
            edit(id, u"Second"_s);
    });
    QCOMPARE(report.completed.size(), 1);
    const std::optional<Event> after = m_f.events()->getById(id);
    QVERIFY(after);
    QCOMPARE(after->sync_status, u"pending"_s);
    QVERIFY(!after->provider_event_id.isEmpty());
    QCOMPARE(m_f.sync().completed.size(), 1);
    const QJsonObject server = byId(m_f.fake().events(F::kWorkRemote), after->provider_event_id);
    if (remove)
        QCOMPARE(server.value("status"_L1).toString(), u"cancelled"_s);
    else
        QCOMPARE(server.value("summary"_L1).toString(), u"Second"_s);
}

void TestGoogleSync::tokenWriteBackKeepsARename()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"a"_s, u"Alpha"_s)});
    m_f.fake().control(u"fail"_s, {{"method"_L1, u"GET"_s}, {"path"_L1, u"/events"_s}, {"delay"_L1, 0.8}});
    const F::Report report = m_f.sync({F::kWork}, [&] {
        std::optional<Calendar> calendar = m_f.state()->calendars()->getById(F::kWork);
        calendar->name = u"Renamed"_s;
        QVERIFY(m_f.state()->calendars()->update(*calendar));
    });
    QCOMPARE(report.completed.size(), 1);
    const Calendar after = *m_f.state()->calendars()->getById(F::kWork);
    QCOMPARE(after.name, u"Renamed"_s);
    QVERIFY(!after.sync_token.isEmpty());
}

void TestGoogleSync::twoCalendarsReportOnceEach()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"w"_s, u"Work"_s)});
    m_f.fake().changeEvents(F::kHomeRemote, {timed(u"h"_s, u"Home"_s)});
    const F::Report report = m_f.sync({F::kWork, F::kHome});
    QStringList reported = report.completed + report.failed;
    reported.sort();
    QCOMPARE(reported, (QStringList{F::kHome, F::kWork}));
    QCOMPARE(report.failed, QStringList());
    QVERIFY(row(u"h"_s, F::kHome));
}

void TestGoogleSync::credentials_data()
{
    QTest::addColumn<int>("expiresIn"); // seconds from now; 0: unreadable
    QTest::addColumn<bool>("rotate");
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("61 s ahead: no refresh") << 61 << false << false;
    QTest::newRow("59 s ahead: refresh, the refresh token kept") << 59 << false << true;
    QTest::newRow("unreadable expiry: refresh, a rotated token stored") << 0 << true << true;
}

void TestGoogleSync::credentials()
{
    QFETCH(int, expiresIn);
    QFETCH(bool, rotate);
    QFETCH(bool, refreshed);
    m_f.fake().control(u"settings"_s, {{"rotate"_L1, rotate}});
    const StoredTokens before = m_f.tokens();
    m_f.storeTokens({before.accessToken, before.refreshToken,
                     expiresIn ? QDateTime::currentDateTimeUtc().addSecs(expiresIn) : QDateTime()});
    QCOMPARE(m_f.sync().completed.size(), 1);
    const StoredTokens after = m_f.tokens();
    QCOMPARE(after.accessToken != before.accessToken, refreshed);
    QCOMPARE(after.refreshToken != before.refreshToken, rotate);
    QVERIFY(!after.refreshToken.isEmpty());
}

void TestGoogleSync::nothingLostOverTenRounds()
{
    m_f.fake().changeEvents(F::kWorkRemote, {timed(u"r1"_s, u"R1 v0"_s), timed(u"r2"_s, u"R2 v0"_s)});
    QCOMPARE(m_f.sync().completed.size(), 1);
    QStringList mine;
    for (int round = 1; round <= 10; ++round) {
        if (round % 2) {
            edit(row(u"r1"_s)->id, u"R1 local %1"_s.arg(round));
            mine << newLocalEvent(u"Local %1"_s.arg(round));
        } else {
            m_f.fake().changeEvents(F::kWorkRemote,
                                    {QJsonObject{{"id"_L1, u"r2"_s}, {"summary"_L1, u"R2 remote %1"_s.arg(round)}},
                                     timed(u"remote%1"_s.arg(round), u"Remote %1"_s.arg(round))});
        }
        const F::Report report = m_f.sync();
        QCOMPARE(report.completed, QStringList{F::kWork});
    }
    QStringList local;
    for (const Event &e : m_f.events()->getByCalendar(F::kWork)) {
        QCOMPARE(e.sync_status, u"synced"_s);
        local << e.title;
    }
    QStringList remote;
    for (const QJsonObject &item : m_f.fake().events(F::kWorkRemote)) {
        if (item.value("status"_L1).toString() != "cancelled"_L1)
            remote << item.value("summary"_L1).toString();
    }
    local.sort();
    remote.sort();
    QCOMPARE(local, remote);
    QCOMPARE(local.size(), 2 + 5 + 5);
    QVERIFY(local.contains(u"R1 local 9"_s));
    QVERIFY(local.contains(u"R2 remote 10"_s));
}

QTEST_GUILESS_MAIN(TestGoogleSync)
#include "tst_googlesync.moc"
