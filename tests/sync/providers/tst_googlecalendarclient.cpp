#include "fakegoogle.h"
#include "googlecalendarclient.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Google::CalendarClient;

namespace {

const QString kCalendar = u"team#1@group.example"_s;

QJsonObject timed(const QString &id, const QString &summary)
{
    return {{"id"_L1, id},
            {"summary"_L1, summary},
            {"start"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-01T10:00:00Z"_s}}},
            {"end"_L1, QJsonObject{{"dateTime"_L1, u"2025-03-01T11:00:00Z"_s}}}};
}

} // namespace

class TestGoogleCalendarClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    // Listing
    void calendarListFollowsPages();
    void calendarListWithRepeatingPageTokenFails();
    void firstListingAsksForEverything();
    void listingGathersEveryPage();
    void expiredSyncTokenReportsOnlyExpiry();
    void rejectedListingReportsStatus_data();
    void rejectedListingReportsStatus();
    void unusableListingFails_data();
    void unusableListingFails();

    // Writes
    void updateMergesAndKeepsWhatBodyLacks();
    void staleEtagIsRefused();
    void deleteOfGoneEventCountsAsDeleted();
    void writeWithoutTokenFailsAtOnce();
    void idsArePercentEncoded();

private:
    CalendarClient *client();
    template<typename Signal>
    QList<QVariant> await(CalendarClient *c, Signal signal);

    FakeGoogle m_fake;
    QNetworkAccessManager m_network;
    QString m_access;
};

void TestGoogleCalendarClient::initTestCase()
{
    QVERIFY2(m_fake.start(), qPrintable(m_fake.errorString()));
}

void TestGoogleCalendarClient::init()
{
    m_fake.control(u"reset"_s);
    m_fake.setCalendars({QJsonObject{{"id"_L1, kCalendar}, {"summary"_L1, u"Team"_s}}});
    m_access = m_fake.grantTokens().first;
}

CalendarClient *TestGoogleCalendarClient::client()
{
    auto *c = new CalendarClient(&m_network, m_fake.baseUrl(), this);
    c->setAccessToken(m_access);
    return c;
}

template<typename Signal>
QList<QVariant> TestGoogleCalendarClient::await(CalendarClient *c, Signal signal)
{
    QSignalSpy done(c, signal);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    QSignalSpy writeFailed(c, &CalendarClient::eventWriteFailed);
    if (!QTest::qWaitFor([&] { return done.size() + failed.size() + writeFailed.size() > 0; }, 10000))
        return {};
    if (!failed.isEmpty())
        qWarning() << "requestFailed:" << failed.first().first().value<SyncResult>().describe();
    return done.isEmpty() ? QList<QVariant>{} : done.first();
}

void TestGoogleCalendarClient::calendarListFollowsPages()
{
    QList<QJsonObject> entries;
    for (int i = 0; i < 5; ++i)
        entries.append({{"id"_L1, u"cal%1"_s.arg(i)}, {"summary"_L1, u"C%1"_s.arg(i)}, {"primary"_L1, i == 0}});
    m_fake.setCalendars(entries);
    m_fake.control(u"settings"_s, {{"calendar_page_size"_L1, 2}});
    CalendarClient *c = client();
    c->listCalendars();
    const QList<QVariant> args = await(c, &CalendarClient::calendarsListed);
    QVERIFY(!args.isEmpty());
    const auto calendars = args.first().value<QList<Google::DiscoveredCalendar>>();
    QStringList ids;
    for (const auto &c : calendars)
        ids << c.id;
    QCOMPARE(ids, (QStringList{u"cal0"_s, u"cal1"_s, u"cal2"_s, u"cal3"_s, u"cal4"_s}));
    QVERIFY(calendars.first().primary);
}

void TestGoogleCalendarClient::calendarListWithRepeatingPageTokenFails()
{
    QList<QJsonObject> entries;
    for (int i = 0; i < 6; ++i)
        entries.append({{"id"_L1, u"cal%1"_s.arg(i)}});
    m_fake.setCalendars(entries);
    m_fake.control(u"settings"_s, {{"calendar_page_size"_L1, 2}, {"repeat_calendar_page_token"_L1, true}});
    CalendarClient *c = client();
    QSignalSpy listed(c, &CalendarClient::calendarsListed);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    c->listCalendars();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    QTest::qWait(100);
    QCOMPARE(listed.size(), 0);
    QCOMPARE(failed.size(), 1);
}

void TestGoogleCalendarClient::firstListingAsksForEverything()
{
    m_fake.control(u"clear-log"_s);
    CalendarClient *c = client();
    c->listEvents(kCalendar, QString(), QDateTime(), QDateTime());
    QVERIFY(!await(c, &CalendarClient::eventsListed).isEmpty());
    const QList<QJsonObject> log = m_fake.requests();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().value("path"_L1).toString(), u"/calendar/v3/calendars/team%231%40group.example/events"_s);
    QCOMPARE(
        log.first().value("query"_L1).toObject(),
        (QJsonObject{{"singleEvents"_L1, u"false"_s}, {"showDeleted"_L1, u"true"_s}, {"maxResults"_L1, u"2500"_s}}));
}

void TestGoogleCalendarClient::listingGathersEveryPage()
{
    QList<QJsonObject> items;
    for (int i = 0; i < 7; ++i)
        items.append(timed(u"e%1"_s.arg(i), u"Event %1"_s.arg(i)));
    m_fake.changeEvents(kCalendar, items);
    m_fake.control(u"settings"_s, {{"event_page_size"_L1, 3}});
    CalendarClient *c = client();
    c->listEvents(kCalendar, QString(), QDateTime(), QDateTime());
    const QList<QVariant> args = await(c, &CalendarClient::eventsListed);
    QVERIFY(!args.isEmpty());
    const auto page = args.at(1).value<CalendarClient::EventListPage>();
    QStringList ids;
    for (const QJsonObject &item : page.items)
        ids << item.value("id"_L1).toString();
    QCOMPARE(ids, (QStringList{u"e0"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s, u"e5"_s, u"e6"_s}));
    QVERIFY(!page.nextSyncToken.isEmpty());

    // Incremental: only what changed since, deletions included.
    m_fake.changeEvents(kCalendar, {QJsonObject{{"id"_L1, u"e2"_s}, {"status"_L1, u"cancelled"_s}}});
    c->listEvents(kCalendar, page.nextSyncToken, QDateTime::currentDateTimeUtc(), QDateTime());
    const auto next = await(c, &CalendarClient::eventsListed).at(1).value<CalendarClient::EventListPage>();
    QCOMPARE(next.items.size(), 1);
    QCOMPARE(next.items.first().value("status"_L1).toString(), u"cancelled"_s);
    QVERIFY(!m_fake.requests().last().value("query"_L1).toObject().contains("timeMin"_L1));
}

void TestGoogleCalendarClient::expiredSyncTokenReportsOnlyExpiry()
{
    CalendarClient *c = client();
    QSignalSpy listed(c, &CalendarClient::eventsListed);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    QSignalSpy expired(c, &CalendarClient::syncTokenExpired);
    c->listEvents(kCalendar, u"st-unknown"_s, QDateTime(), QDateTime());
    QTRY_COMPARE_WITH_TIMEOUT(expired.size(), 1, 10000);
    QCOMPARE(expired.first().first().toString(), kCalendar);
    QCOMPARE(listed.size() + failed.size(), 0);
}

void TestGoogleCalendarClient::rejectedListingReportsStatus_data()
{
    QTest::addColumn<QJsonObject>("failure");
    QTest::addColumn<int>("status");
    QTest::addColumn<SyncResult::Kind>("kind");
    QTest::newRow("server error") << QJsonObject{{"path"_L1, u"/events"_s}, {"status"_L1, 503}} << 503
                                  << SyncResult::Kind::Answer;
    QTest::newRow("dropped connection: no HTTP answer")
        << QJsonObject{{"path"_L1, u"/events"_s}, {"drop"_L1, true}, {"count"_L1, 5}} << 0 << SyncResult::Kind::Network;
    // Google's 403 names its cause; only a limit is a rate limit, and its status stays 403.
    const auto refused = [](const char *domain, const char *reason) {
        const QString body = uR"({"error": {"errors": [{"domain": "%1", "reason": "%2"}], "code": 403}})"_s;
        return QJsonObject{{"path"_L1, u"/events"_s},
                           {"status"_L1, 403},
                           {"raw"_L1, body.arg(QLatin1StringView(domain), QLatin1StringView(reason))}};
    };
    QTest::newRow("403 userRateLimitExceeded")
        << refused("usageLimits", "userRateLimitExceeded") << 403 << SyncResult::Kind::RateLimited;
    QTest::newRow("403 quotaExceeded")
        << refused("usageLimits", "quotaExceeded") << 403 << SyncResult::Kind::RateLimited;
    QTest::newRow("403 forbiddenForNonOrganizer")
        << refused("calendar", "forbiddenForNonOrganizer") << 403 << SyncResult::Kind::Answer;
    QTest::newRow("403 accessNotConfigured: usageLimits, yet no limit")
        << refused("usageLimits", "accessNotConfigured") << 403 << SyncResult::Kind::Answer;
}

void TestGoogleCalendarClient::rejectedListingReportsStatus()
{
    QFETCH(QJsonObject, failure);
    QFETCH(int, status);
    QFETCH(SyncResult::Kind, kind);
    m_fake.control(u"fail"_s, failure);
    CalendarClient *c = client();
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    c->listEvents(kCalendar, QString(), QDateTime(), QDateTime());
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    const SyncResult result = failed.first().first().value<SyncResult>();
    QVERIFY2(result.kind == kind, qPrintable(result.describe()));
    QCOMPARE(result.status, status);
    QCOMPARE(result.step, SyncResult::Step::EventListing);
    QCOMPARE(result.provider, SyncResult::Provider::Google);
}

void TestGoogleCalendarClient::unusableListingFails_data()
{
    QTest::addColumn<QString>("raw"); // the 2xx body of the listing; empty: a page token comes back
    QTest::addColumn<SyncResult::Kind>("kind");
    QTest::newRow("2xx body cut short") << u"{\"items\": [{\"id\": \"a"_s << SyncResult::Kind::Unreadable;
    QTest::newRow("2xx body of another shape") << u"{\"items\": {}}"_s << SyncResult::Kind::Unreadable;
    QTest::newRow("a page token handed out again") << QString() << SyncResult::Kind::EndlessListing;
}

void TestGoogleCalendarClient::unusableListingFails()
{
    QFETCH(QString, raw);
    QFETCH(SyncResult::Kind, kind);
    m_fake.changeEvents(kCalendar, {timed(u"a"_s, u"A"_s), timed(u"b"_s, u"B"_s), timed(u"c"_s, u"C"_s)});
    if (raw.isEmpty())
        m_fake.control(u"settings"_s, {{"event_page_size"_L1, 1}, {"repeat_event_page_token"_L1, true}});
    else
        m_fake.control(u"fail"_s, {{"path"_L1, u"/events"_s}, {"raw"_L1, raw}});
    CalendarClient *c = client();
    QSignalSpy listed(c, &CalendarClient::eventsListed);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    c->listEvents(kCalendar, QString(), QDateTime(), QDateTime());
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    QCOMPARE(failed.first().first().value<SyncResult>().kind, kind);
    if (raw.isEmpty())
        QCOMPARE(failed.first().first().value<SyncResult>().limit, 2); // pages read: the first, its token once
    QCOMPARE(listed.size(), 0);
}

void TestGoogleCalendarClient::updateMergesAndKeepsWhatBodyLacks()
{
    QJsonObject seeded = timed(u"m1"_s, u"Meeting"_s);
    seeded.insert("attendees"_L1, QJsonArray{QJsonObject{{"email"_L1, u"a@example.test"_s}}});
    seeded.insert("description"_L1, u"old notes"_s);
    const QString etag = m_fake.changeEvents(kCalendar, {seeded}).first().value("etag"_L1).toString();

    Event row = CalendarClient::eventFromJson(m_fake.events(kCalendar).first(), u"local"_s);
    row.title = u"Meeting (moved)"_s;
    row.description.clear();
    m_fake.control(u"clear-log"_s);
    CalendarClient *c = client();
    c->updateEvent(u"row-1"_s, kCalendar, u"m1"_s, CalendarClient::eventToJson(row), etag);
    const QList<QVariant> args = await(c, &CalendarClient::eventWritten);
    QVERIFY(!args.isEmpty());
    QCOMPARE(args.at(0).toString(), u"row-1"_s);
    QCOMPARE(args.at(1).toString(), u"m1"_s);
    QVERIFY(args.at(2).toString() != etag);

    const QJsonObject request = m_fake.requests().first();
    QCOMPARE(request.value("method"_L1).toString(), u"PATCH"_s);
    QCOMPARE(request.value("ifMatch"_L1).toString(), etag);
    const QJsonObject stored = m_fake.events(kCalendar).first();
    QCOMPARE(stored.value("summary"_L1).toString(), u"Meeting (moved)"_s);
    QCOMPARE(stored.value("description"_L1).toString(), QString());
    QCOMPARE(stored.value("attendees"_L1).toArray().size(), 1);
}

void TestGoogleCalendarClient::staleEtagIsRefused()
{
    m_fake.changeEvents(kCalendar, {timed(u"s1"_s, u"Seen"_s)});
    m_fake.changeEvents(kCalendar, {QJsonObject{{"id"_L1, u"s1"_s}, {"summary"_L1, u"Changed elsewhere"_s}}});
    CalendarClient *c = client();
    QSignalSpy failed(c, &CalendarClient::eventWriteFailed);
    c->updateEvent(u"row"_s, kCalendar, u"s1"_s, timed(u"s1"_s, u"Mine"_s), u"\"1\""_s);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    QCOMPARE(failed.first().at(1).value<SyncResult>().status, 412);
    QCOMPARE(m_fake.events(kCalendar).first().value("summary"_L1).toString(), u"Changed elsewhere"_s);
}

void TestGoogleCalendarClient::deleteOfGoneEventCountsAsDeleted()
{
    m_fake.changeEvents(kCalendar, {timed(u"d1"_s, u"Doomed"_s)});
    CalendarClient *c = client();
    QSignalSpy deleted(c, &CalendarClient::eventDeleted);
    QSignalSpy failed(c, &CalendarClient::eventWriteFailed);
    c->deleteEvent(u"r1"_s, kCalendar, u"d1"_s, QString());
    QTRY_COMPARE_WITH_TIMEOUT(deleted.size(), 1, 10000);
    QCOMPARE(m_fake.events(kCalendar).first().value("status"_L1).toString(), u"cancelled"_s);
    c->deleteEvent(u"r1"_s, kCalendar, u"d1"_s, QString()); // 410 now
    c->deleteEvent(u"r2"_s, kCalendar, u"never"_s, QString()); // 404
    QTRY_COMPARE_WITH_TIMEOUT(deleted.size(), 3, 10000);
    QCOMPARE(failed.size(), 0);
}

void TestGoogleCalendarClient::writeWithoutTokenFailsAtOnce()
{
    CalendarClient c(&m_network, m_fake.baseUrl());
    QSignalSpy failed(&c, &CalendarClient::eventWriteFailed);
    c.insertEvent(u"x"_s, kCalendar, timed(u"x"_s, u"X"_s));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(1).value<SyncResult>(),
             SyncResult::ofProvider(SyncResult::Provider::Google, SyncResult::Kind::SignInNeeded,
                                    SyncResult::Step::EventInsert));
}

void TestGoogleCalendarClient::idsArePercentEncoded()
{
    CalendarClient c(&m_network, QUrl(u"https://api.example.test/"_s));
    QCOMPARE(c.eventsUrl(u"a#b@c"_s), u"https://api.example.test/calendar/v3/calendars/a%23b%40c/events"_s);
    QCOMPARE(c.eventsUrl(u"a"_s, u"x/y z"_s), u"https://api.example.test/calendar/v3/calendars/a/events/x%2Fy%20z"_s);
}

QTEST_GUILESS_MAIN(TestGoogleCalendarClient)
#include "tst_googlecalendarclient.moc"
