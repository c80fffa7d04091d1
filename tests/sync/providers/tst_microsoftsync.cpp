#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "graphsyncfixture.h"
#include "icalendar.h"
#include "memorytokenstore.h"
#include "microsoftauthservice.h"
#include "microsoftsyncclient.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

const QString kRemote = u"AAMkTeam=="_s;

QJsonObject timed(const QString &id, const QString &subject, const QDateTime &start)
{
    const auto at = [](const QDateTime &t) {
        return QJsonObject{{"dateTime"_L1, t.toUTC().toString(u"yyyy-MM-ddTHH:mm:ss.0000000"_s)},
                           {"timeZone"_L1, u"UTC"_s}};
    };
    QJsonObject out{{"subject"_L1, subject}, {"start"_L1, at(start)}, {"end"_L1, at(start.addSecs(3600))}};
    if (!id.isEmpty())
        out.insert("id"_L1, id);
    return out;
}

QDateTime soon(int days)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return QDateTime(now.date().addDays(days), QTime(9, 0), QTimeZone::utc());
}

struct Outcome
{
    bool completed = false;
    int reports = 0;
    QString failure;
};

} // namespace

// A Microsoft calendar synced against the fake Graph: the first windowed
// pull, later delta pulls, the push of local changes and what survives
// changes on both sides.
class TestMicrosoftSync : public QObject, protected GraphSyncFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void firstPullIsWindowedThenDelta();
    void removalDeletesEvenPendingRows();
    void expiredDeltaTokenClearsOnlyThatToken();
    void deltaRefusedAgainEndsTheRun();
    void pushesInsertUpdateAndDelete();
    void pendingRowTakesServerChangeKey();
    void editDuringPushStaysPending();
    void refusedPushFailsTheRun_data();
    void refusedPushFailsTheRun();
    void tokenWriteBackKeepsOtherColumns();
    void refusedWriteFailsTheRun_data();
    void refusedWriteFailsTheRun();
    void expiredAccessTokenIsRefreshed();
    void nothingLostAcrossAlternatingRounds();

private:
    Outcome sync(const Calendar &calendar);
    Outcome sync() { return sync(*m_state->calendars()->getById(m_calendarId)); }
    Event localEvent(const QString &title, const QDateTime &start);
    // The row pulled for a Graph id, retitled here and left pending.
    Event editPulled(const QString &providerId, const QString &title);
    QStringList localTitles() const;
    QStringList serverTitles();
};

void TestMicrosoftSync::initTestCase()
{
    QVERIFY2(startAll(), qPrintable(m_fake.errorString()));
}

void TestMicrosoftSync::init()
{
    QVERIFY(freshCalendar(kRemote, u"Team"_s));
}

Outcome TestMicrosoftSync::sync(const Calendar &calendar)
{
    Microsoft::SyncClient client(m_state, &m_network, &m_tokens, m_config, m_fake.graphUrl());
    QSignalSpy completed(&client, &Microsoft::SyncClient::calendarSyncCompleted);
    QSignalSpy failed(&client, &Microsoft::SyncClient::calendarSyncFailed);
    client.syncCalendar(calendar);
    Outcome out;
    if (!QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 20000))
        return out;
    QTest::qWait(50); // a second report would come now
    out.completed = !completed.isEmpty();
    out.reports = int(completed.size() + failed.size());
    if (!failed.isEmpty())
        out.failure = failed.first().at(1).value<SyncResult>().describe();
    return out;
}

Event TestMicrosoftSync::localEvent(const QString &title, const QDateTime &start)
{
    Event event;
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.uid = event.id;
    event.calendar_id = m_calendarId;
    event.title = title;
    event.start_time = start;
    event.end_time = start.addSecs(1800);
    event.created = event.last_modified = QDateTime::currentDateTimeUtc();
    event.sync_status = u"pending"_s;
    event.raw_icalendar = ICalendar::serializeNewEvent(event);
    if (!m_state->events()->insert(event))
        qFatal("event not stored");
    return event;
}

Event TestMicrosoftSync::editPulled(const QString &providerId, const QString &title)
{
    Event row = *m_state->events()->getById(m_state->events()->getByUid(providerId, m_calendarId)->id);
    row.title = title;
    row.sync_status = u"pending"_s;
    if (!m_state->events()->update(row))
        qFatal("event not updated");
    return row;
}

QStringList TestMicrosoftSync::localTitles() const
{
    QStringList out;
    for (const Event &event : m_state->events()->getByCalendar(m_calendarId))
        out.append(event.title);
    out.sort();
    return out;
}

QStringList TestMicrosoftSync::serverTitles()
{
    QStringList out;
    for (const QJsonObject &item : m_fake.events(kRemote))
        out.append(item.value("subject"_L1).toString());
    out.sort();
    return out;
}

void TestMicrosoftSync::firstPullIsWindowedThenDelta()
{
    QJsonObject series = timed(u"old-series"_s, u"Standup"_s, soon(-800));
    series.insert("recurrence"_L1,
                  QJsonObject{{"pattern"_L1, QJsonObject{{"type"_L1, u"daily"_s}, {"interval"_L1, 1}}},
                              {"range"_L1, QJsonObject{{"type"_L1, u"noEnd"_s}, {"startDate"_L1, u"2020-01-01"_s}}}});
    m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(1)), timed(u"b"_s, u"Beta"_s, soon(2)), series});
    Outcome outcome = sync();
    QVERIFY2(outcome.completed, qPrintable(outcome.failure));
    QCOMPARE(outcome.reports, 1);
    QCOMPARE(localTitles(), (QStringList{u"Alpha"_s, u"Beta"_s, u"Standup"_s}));
    QCOMPARE(m_state->events()->getByUid(u"old-series"_s, m_calendarId)->recurrence_rule, u"FREQ=DAILY"_s);
    const QString token = m_state->calendars()->getById(m_calendarId)->delta_sync_token;
    QVERIFY(!token.isEmpty());
    const QJsonObject first = m_fake.requests().first();
    QVERIFY(first.value("path"_L1).toString().endsWith("/calendarView/delta"_L1));
    QVERIFY(first.value("query"_L1).toObject().contains("startDateTime"_L1));

    m_fake.control(u"clear-log"_s);
    m_fake.changeEvents(kRemote, {QJsonObject{{"id"_L1, u"a"_s}, {"subject"_L1, u"Alpha 2"_s}}});
    m_fake.removeEvents(kRemote, {u"b"_s});
    outcome = sync();
    QVERIFY2(outcome.completed, qPrintable(outcome.failure));
    QCOMPARE(localTitles(), (QStringList{u"Alpha 2"_s, u"Standup"_s}));
    const QList<QJsonObject> log = m_fake.requests();
    QCOMPARE(log.size(), 1);
    // The delta link goes out as it was given.
    QVERIFY(token.endsWith(log.first().value("query"_L1).toObject().value("$deltatoken"_L1).toString()));

    // A round with nothing new writes no event and has no view reload.
    QTest::qWait(200); // the last round's change signal is out
    QCoreApplication::processEvents();
    QSignalSpy changed(m_state->events(), &EventRepository::eventsChanged);
    const QString events = u"SELECT * FROM events; SELECT COUNT(*) FROM events_changes"_s;
    const QString stored = m_fixture.cli(events);
    QVERIFY(sync().completed);
    QTest::qWait(200);
    QCOMPARE(m_fixture.cli(events), stored);
    QCOMPARE(changed.size(), 0);
}

void TestMicrosoftSync::removalDeletesEvenPendingRows()
{
    m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(1))});
    QVERIFY(sync().completed);
    const Event row = editPulled(u"a"_s, u"Edited here"_s);
    m_fake.removeEvents(kRemote, {u"a"_s});
    QVERIFY(sync().completed);
    QVERIFY(!m_state->events()->getById(row.id));
    QVERIFY(serverTitles().isEmpty());
}

void TestMicrosoftSync::expiredDeltaTokenClearsOnlyThatToken()
{
    m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(1))});
    QVERIFY(sync().completed);
    Calendar calendar = *m_state->calendars()->getById(m_calendarId);
    const QString oldToken = calendar.delta_sync_token;
    calendar.sync_token = u"kept"_s;
    QVERIFY(m_state->calendars()->update(calendar));
    m_fake.control(u"expire-delta-tokens"_s);
    m_fake.changeEvents(kRemote, {timed(u"n"_s, u"New"_s, soon(3))});

    const Outcome outcome = sync();
    QVERIFY2(outcome.completed, qPrintable(outcome.failure));
    QCOMPARE(outcome.reports, 1);
    calendar = *m_state->calendars()->getById(m_calendarId);
    QCOMPARE(calendar.sync_token, u"kept"_s);
    QVERIFY(!calendar.delta_sync_token.isEmpty());
    QVERIFY(calendar.delta_sync_token != oldToken);
    QCOMPARE(localTitles(), (QStringList{u"Alpha"_s, u"New"_s}));
}

void TestMicrosoftSync::deltaRefusedAgainEndsTheRun()
{
    QVERIFY(sync().completed);
    m_fake.control(u"fail"_s, {{"path"_L1, u"/delta"_s}, {"status"_L1, 410}, {"count"_L1, 5}});
    const Outcome outcome = sync();
    QVERIFY(!outcome.completed);
    QCOMPARE(outcome.reports, 1);
    QVERIFY(outcome.failure.contains("again"_L1));
    QVERIFY(m_state->calendars()->getById(m_calendarId)->delta_sync_token.isEmpty());
}

void TestMicrosoftSync::pushesInsertUpdateAndDelete()
{
    Event event = localEvent(u"Made here"_s, soon(4));
    QVERIFY(sync().completed);
    QCOMPARE(serverTitles(), QStringList{u"Made here"_s});
    event = *m_state->events()->getById(event.id);
    QCOMPARE(event.sync_status, u"synced"_s);
    QVERIFY(!event.provider_event_id.isEmpty());

    event.title = u"Renamed here"_s;
    event.sync_status = u"pending"_s;
    QVERIFY(m_state->events()->update(event));
    QVERIFY(sync().completed);
    QCOMPARE(serverTitles(), QStringList{u"Renamed here"_s});
    QCOMPARE(m_fake.requests().last().value("method"_L1).toString(), u"PATCH"_s);

    QVERIFY(m_state->events()->remove(event.id));
    QVERIFY(sync().completed);
    QVERIFY(serverTitles().isEmpty());
    QVERIFY(!m_state->events()->getById(event.id));
}

void TestMicrosoftSync::pendingRowTakesServerChangeKey()
{
    m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(1))});
    QVERIFY(sync().completed);
    const Event row = editPulled(u"a"_s, u"Mine"_s);
    m_fake.changeEvents(kRemote,
                        {QJsonObject{{"id"_L1, u"a"_s},
                                     {"location"_L1, QJsonObject{{"displayName"_L1, u"Room 2"_s}}}}});

    const Outcome outcome = sync();
    QVERIFY2(outcome.completed, qPrintable(outcome.failure));
    QCOMPARE(serverTitles(), QStringList{u"Mine"_s});
    QCOMPARE(m_state->events()->getById(row.id)->sync_status, u"synced"_s);
}

void TestMicrosoftSync::editDuringPushStaysPending()
{
    const Event event = localEvent(u"First"_s, soon(5));
    m_fake.control(u"fail"_s, {{"method"_L1, u"POST"_s}, {"path"_L1, u"/events"_s}, {"delay"_L1, 1}});
    Microsoft::SyncClient client(m_state, &m_network, &m_tokens, m_config, m_fake.graphUrl());
    QSignalSpy completed(&client, &Microsoft::SyncClient::calendarSyncCompleted);
    client.syncCalendar(*m_state->calendars()->getById(m_calendarId));
    QVERIFY(QTest::qWaitFor([this] { return m_fake.requests().last().value("method"_L1) == "POST"_L1; }, 10000));
    Event edited = *m_state->events()->getById(event.id);
    edited.title = u"Second"_s;
    edited.sync_status = u"pending"_s;
    QTest::qWait(5);
    QVERIFY(m_state->events()->update(edited));
    QVERIFY(QTest::qWaitFor([&] { return !completed.isEmpty(); }, 10000));

    const Event after = *m_state->events()->getById(event.id);
    QCOMPARE(after.sync_status, u"pending"_s);
    QCOMPARE(after.title, u"Second"_s);
    QVERIFY(!after.provider_event_id.isEmpty());
    QVERIFY(sync().completed);
    QCOMPARE(serverTitles(), QStringList{u"Second"_s});
    QCOMPARE(m_state->events()->getById(event.id)->sync_status, u"synced"_s);
}

void TestMicrosoftSync::refusedPushFailsTheRun_data()
{
    QTest::addColumn<QString>("method");
    QTest::newRow("a new event the server refuses") << u"POST"_s;
    QTest::newRow("an edit the server refuses") << u"PATCH"_s;
}

void TestMicrosoftSync::refusedPushFailsTheRun()
{
    QFETCH(QString, method);
    Event event = localEvent(u"Made here"_s, soon(6));
    if (method == "PATCH"_L1) {
        QVERIFY(sync().completed);
        event = *m_state->events()->getById(event.id);
        event.title = u"Renamed here"_s;
        event.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(event));
    }
    localEvent(u"Also made here"_s, soon(7));
    m_fake.control(u"fail"_s, {{"method"_L1, method}, {"path"_L1, u"/events"_s}, {"status"_L1, 500}});
    m_fake.control(u"clear-log"_s);

    const Outcome outcome = sync();
    QVERIFY(!outcome.completed);
    QCOMPARE(outcome.reports, 1);
    QVERIFY2(outcome.failure.contains("injected"_L1), qPrintable(outcome.failure));
    QCOMPARE(m_state->events()->getById(event.id)->sync_status, u"pending"_s);
    // The failed write was the run's last: a failing server is not sent more.
    const QList<QJsonObject> log = m_fake.requests();
    qsizetype failedAt = log.size();
    for (qsizetype i = 0; i < log.size(); ++i) {
        if (i > failedAt)
            QCOMPARE(log.at(i).value("method"_L1).toString(), u"GET"_s);
        else if (log.at(i).value("method"_L1).toString() == method)
            failedAt = i;
    }
}

void TestMicrosoftSync::tokenWriteBackKeepsOtherColumns()
{
    const Calendar stale = *m_state->calendars()->getById(m_calendarId);
    Calendar renamed = stale;
    renamed.name = u"Renamed meanwhile"_s;
    renamed.color = u"#123456"_s;
    QVERIFY(m_state->calendars()->update(renamed));
    QVERIFY(sync(stale).completed);
    const Calendar after = *m_state->calendars()->getById(m_calendarId);
    QCOMPARE(after.name, u"Renamed meanwhile"_s);
    QCOMPARE(after.color, u"#123456"_s);
    QVERIFY(!after.delta_sync_token.isEmpty());
}

void TestMicrosoftSync::refusedWriteFailsTheRun_data()
{
    QTest::addColumn<QString>("refused"); // a table, and when its update is refused
    QTest::addColumn<bool>("pushed"); // a new event goes out; else one comes in
    QTest::newRow("the calendar's new delta link") << u"calendars WHEN NEW.delta_sync_token <> ''"_s << false;
    QTest::newRow("a pushed event taking its server id") << u"events WHEN NEW.provider_event_id <> ''"_s << true;
}

// The store would not record what came in, or that the server took a new
// event: the run says so, and the next one does that work again.
void TestMicrosoftSync::refusedWriteFailsTheRun()
{
    QFETCH(QString, refused);
    QFETCH(bool, pushed);
    const Event made = pushed ? localEvent(u"Made here"_s, soon(6)) : Event();
    if (!pushed)
        m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(2))});
    QSqlQuery trigger(m_state->database()->database());
    QVERIFY(trigger.exec(
        u"CREATE TRIGGER refuse BEFORE UPDATE ON %1 BEGIN SELECT RAISE(ABORT, 'no'); END"_s.arg(refused)));
    const Outcome outcome = sync();
    QVERIFY(trigger.exec(u"DROP TRIGGER refuse"_s));
    QVERIFY(!outcome.completed);
    QCOMPARE(outcome.failure, u"local store failed (%1)"_s.arg(int(StoreFailure::Refused)));
    if (pushed) {
        QCOMPARE(m_state->events()->getById(made.id)->sync_status, u"pending"_s);
        return;
    }
    QVERIFY(sync().completed);
    QVERIFY(!m_state->calendars()->getById(m_calendarId)->delta_sync_token.isEmpty());
}

void TestMicrosoftSync::expiredAccessTokenIsRefreshed()
{
    const QString refresh = m_fake.control(u"tokens"_s).value("refresh_token"_L1).toString();
    QVERIFY(
        Microsoft::AuthService::saveTokens(&m_tokens, kAccount,
                                           {u"at-expired"_s, refresh, QDateTime::currentDateTimeUtc().addSecs(10)}));
    m_fake.changeEvents(kRemote, {timed(u"a"_s, u"Alpha"_s, soon(1))});
    const Outcome outcome = sync();
    QVERIFY2(outcome.completed, qPrintable(outcome.failure));
    QCOMPARE(localTitles(), QStringList{u"Alpha"_s});
    const auto stored = Microsoft::AuthService::loadTokens(&m_tokens, kAccount);
    QVERIFY(stored.accessToken != "at-expired"_L1);
    QVERIFY(!stored.refreshToken.isEmpty());
}

void TestMicrosoftSync::nothingLostAcrossAlternatingRounds()
{
    m_fake.changeEvents(kRemote, {timed(u"s0"_s, u"Server 0"_s, soon(1))});
    QVERIFY(sync().completed);
    for (int round = 1; round <= 10; ++round) {
        if (round % 2) {
            // Here: a new event and an edit of one that came from the server.
            localEvent(u"Local %1"_s.arg(round), soon(round));
            editPulled(u"s0"_s, u"Server 0 edited %1"_s.arg(round));
        } else {
            // There: a new event and an edit of one made here.
            m_fake.changeEvents(kRemote, {timed(u"s%1"_s.arg(round), u"Server %1"_s.arg(round), soon(round))});
            const QString made = m_state->events()->getByCalendar(m_calendarId).first().provider_event_id;
            QVERIFY(!made.isEmpty());
            m_fake.changeEvents(kRemote,
                                {QJsonObject{{"id"_L1, made},
                                             {"location"_L1,
                                              QJsonObject{{"displayName"_L1, u"Room %1"_s.arg(round)}}}}});
        }
        const Outcome outcome = sync();
        QVERIFY2(outcome.completed, qPrintable(u"round %1: %2"_s.arg(round).arg(outcome.failure)));
        QCOMPARE(outcome.reports, 1);
        QCOMPARE(localTitles(), serverTitles());
    }
    QCOMPARE(localTitles().size(), 11);
    QVERIFY(localTitles().contains(u"Server 0 edited 9"_s));
    for (const Event &event : m_state->events()->getByCalendar(m_calendarId))
        QCOMPARE(event.sync_status, u"synced"_s);
}

QTEST_GUILESS_MAIN(TestMicrosoftSync)
#include "tst_microsoftsync.moc"
