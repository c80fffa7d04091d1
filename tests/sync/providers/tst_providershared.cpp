// What both provider syncs share and decide without a server: the pause a
// Retry-After asks for, the rules a service cannot hold, and what an update
// sends.
#include "providerevents.h"
#include "providerhttp.h"
#include "providerrows.h"

#include <QJsonArray>
#include <QTest>
#include <QTimeZone>

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
};

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

QTEST_GUILESS_MAIN(TestProviderShared)
#include "tst_providershared.moc"
