#include "googlesyncfixture.h"
#include "synccoordinator.h"
#include "testevents.h"
#include "timeutil.h"

#include <QTest>

using namespace Qt::StringLiterals;
using F = GoogleSyncFixture;

// The coordinator runs Google accounts beside the CalDAV ones: the same
// timers, busy count and status texts.
class TestGoogleCoordinator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_f.startServer(), qPrintable(m_f.serverError())); }
    void init() { m_f.reset(); }

    void syncNowPullsEveryCalendarOfTheAccount();
    void localChangeIsPushed();
    void refusedWriteIsNoPlainSuccess();
    void retryAfterPausesTheCalendar_data();
    void retryAfterPausesTheCalendar();

private:
    QString pendingHere(const QString &title)
    {
        Event e = testEvent(F::kWork, title, TimeUtil::utc(QDate(2025, 3, 4), QTime(10, 0)),
                            TimeUtil::utc(QDate(2025, 3, 4), QTime(11, 0)));
        e.sync_status = u"pending"_s;
        return m_f.events()->insert(e) ? e.id : QString();
    }

    std::unique_ptr<SyncCoordinator> coordinator()
    {
        auto c = std::make_unique<SyncCoordinator>(m_f.state(), m_f.tokenStoreCopy());
        c->setProviderConfig(m_f.config());
        return c;
    }

    GoogleSyncFixture m_f;
};

void TestGoogleCoordinator::syncNowPullsEveryCalendarOfTheAccount()
{
    const QJsonObject item{{"id"_L1, u"w"_s},
                           {"summary"_L1, u"Work item"_s},
                           {"start"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-03T09:00:00Z"_s}}}};
    m_f.fake().changeEvents(F::kWorkRemote, {item});
    QJsonObject home = item;
    home.insert("id"_L1, u"h"_s);
    m_f.fake().changeEvents(F::kHomeRemote, {home});
    auto c = coordinator();
    QSignalSpy messages(c.get(), &SyncCoordinator::calendarSynced);
    c->syncNow();
    QTRY_COMPARE_WITH_TIMEOUT(messages.size(), 2, 10000);
    QCOMPARE(messages.last().at(1).toInt(), 2);
    QCOMPARE(messages.last().at(2).toString(), QString());
    QVERIFY(c->calendarsInFlight().isEmpty());
    QCOMPARE(m_f.events()->getByCalendar(F::kWork).size(), 1);
    QCOMPARE(m_f.events()->getByCalendar(F::kHome).size(), 1);
    QVERIFY(m_f.state()->accounts()->getById(F::kAccount)->last_sync_time.has_value());
}

void TestGoogleCoordinator::localChangeIsPushed()
{
    auto c = coordinator();
    c->start();
    Event e = testEvent(F::kWork, u"Made here"_s, TimeUtil::utc(QDate(2025, 3, 4), QTime(10, 0)),
                        TimeUtil::utc(QDate(2025, 3, 4), QTime(11, 0)));
    e.sync_status = u"pending"_s;
    QVERIFY(m_f.events()->insert(e));
    QTRY_COMPARE_WITH_TIMEOUT(m_f.events()->getById(e.id)->sync_status, u"synced"_s, 10000);
    const QList<QJsonObject> server = m_f.fake().events(F::kWorkRemote);
    QCOMPARE(server.size(), 1);
    QCOMPARE(server.first().value("summary"_L1).toString(), u"Made here"_s);
}

void TestGoogleCoordinator::refusedWriteIsNoPlainSuccess()
{
    const QString refused = pendingHere(u"Refused"_s);
    m_f.fake().control(u"fail"_s, {{"method"_L1, u"POST"_s}, {"path"_L1, u"/events"_s}, {"status"_L1, 403}});
    auto c = coordinator();
    QSignalSpy messages(c.get(), &SyncCoordinator::calendarSynced);
    c->syncNow();
    QTRY_COMPARE_WITH_TIMEOUT(messages.size(), 2, 10000);
    QStringList problems;
    for (const QList<QVariant> &message : std::as_const(messages))
        problems << message.at(2).toString();
    QCOMPARE(problems.count(QString()), 1); // the other calendar
    QCOMPARE(m_f.events()->getById(refused)->sync_status, u"pending"_s);
}

void TestGoogleCoordinator::retryAfterPausesTheCalendar_data()
{
    QTest::addColumn<int>("retryAfterMinutes");
    QTest::addColumn<int>("laterMinutes");
    QTest::addColumn<bool>("runsAgain");
    QTest::newRow("still within the server's pause") << 60 << 30 << false;
    QTest::newRow("after the server's pause") << 60 << 61 << true;
    QTest::newRow("a short Retry-After keeps the usual pause") << 0 << 2 << true;
}

void TestGoogleCoordinator::retryAfterPausesTheCalendar()
{
    QFETCH(int, retryAfterMinutes);
    QFETCH(int, laterMinutes);
    QFETCH(bool, runsAgain);
    const QDateTime start = QDateTime::currentDateTimeUtc();
    QDateTime now = start;
    auto c = coordinator();
    c->setClock([&now] { return now; });
    QSignalSpy failed(c.get(), &SyncCoordinator::calendarSyncFailed);
    m_f.fake().control(u"fail"_s,
                       {{"method"_L1, u"GET"_s},
                        {"path"_L1, u"/events"_s},
                        {"status"_L1, 429},
                        {"count"_L1, 2},
                        {"headers"_L1, QJsonObject{{"Retry-After"_L1, QString::number(retryAfterMinutes * 60)}}}});
    c->syncNow();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(c->calendarsInFlight().isEmpty(), 10000);
    const QString mine = pendingHere(u"Made here"_s);
    now = start.addSecs(laterMinutes * 60);
    c->pushPending();
    if (runsAgain) {
        QTRY_COMPARE_WITH_TIMEOUT(m_f.events()->getById(mine)->sync_status, u"synced"_s, 10000);
    } else {
        QTest::qWait(1000); // what must not happen can only be waited for
        QCOMPARE(m_f.events()->getById(mine)->sync_status, u"pending"_s);
    }
}

QTEST_GUILESS_MAIN(TestGoogleCoordinator)
#include "tst_googlecoordinator.moc"
