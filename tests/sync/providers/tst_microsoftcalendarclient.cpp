#include "fakegraph.h"
#include "microsoftcalendarclient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Microsoft::CalendarClient;

namespace {

const QString kCalendar = u"AAMkCal=="_s;

QJsonObject timed(const QString &id, const QString &subject, const QString &day)
{
    return {{"id"_L1, id},
            {"subject"_L1, subject},
            {"start"_L1, QJsonObject{{"dateTime"_L1, day + u"T10:00:00.0000000"_s}, {"timeZone"_L1, u"UTC"_s}}},
            {"end"_L1, QJsonObject{{"dateTime"_L1, day + u"T11:00:00.0000000"_s}, {"timeZone"_L1, u"UTC"_s}}}};
}

QStringList ids(const QList<QJsonObject> &items)
{
    QStringList out;
    for (const QJsonObject &item : items)
        out.append(item.value("id"_L1).toString() + (item.contains("@removed"_L1) ? u" removed"_s : QString()));
    out.sort();
    return out;
}

} // namespace

class TestMicrosoftCalendarClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    // Listing
    void calendarListFollowsNextLink();
    void calendarColors_data();
    void calendarColors();
    void windowedListingEndsWithDeltaToken();
    void unusablePagesFailTheListing_data();
    void unusablePagesFailTheListing();
    void deltaListingReportsChangesAndRemovals();
    void expiredDeltaTokenReportsOnlyExpiry();
    void linksToAnotherHostAreNotFollowed_data();
    void linksToAnotherHostAreNotFollowed();

    // Writes
    void insertAndUpdateCarryChangeKeys();
    void staleChangeKeyIsRefused();
    void deleteOfGoneEventCountsAsDeleted();
    void weeklyRuleWithoutDaysIsAccepted();

private:
    CalendarClient *client();
    template<typename Signal>
    QList<QVariant> await(CalendarClient *c, Signal signal);
    Microsoft::CalendarClient::EventListPage list(const QString &deltaToken, const QDateTime &from = {},
                                                  const QDateTime &to = {});

    FakeGraph m_fake;
    QNetworkAccessManager m_network;
    QString m_access;
};

void TestMicrosoftCalendarClient::initTestCase()
{
    QVERIFY2(m_fake.start(), qPrintable(m_fake.errorString()));
}

void TestMicrosoftCalendarClient::init()
{
    m_fake.control(u"reset"_s);
    m_fake.setCalendars({QJsonObject{{"id"_L1, kCalendar}, {"name"_L1, u"Team"_s}, {"canEdit"_L1, true}}});
    m_access = m_fake.grantAccessToken();
}

CalendarClient *TestMicrosoftCalendarClient::client()
{
    auto *c = new CalendarClient(&m_network, m_fake.graphUrl(), this);
    c->setAccessToken(m_access);
    return c;
}

template<typename Signal>
QList<QVariant> TestMicrosoftCalendarClient::await(CalendarClient *c, Signal signal)
{
    QSignalSpy done(c, signal);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    QSignalSpy writeFailed(c, &CalendarClient::eventWriteFailed);
    QSignalSpy expired(c, &CalendarClient::deltaTokenExpired);
    if (!QTest::qWaitFor([&] { return done.size() + failed.size() + writeFailed.size() + expired.size() > 0; }, 10000))
        return {};
    return done.isEmpty() ? QList<QVariant>{} : done.first();
}

CalendarClient::EventListPage TestMicrosoftCalendarClient::list(const QString &deltaToken, const QDateTime &from,
                                                                const QDateTime &to)
{
    CalendarClient *c = client();
    c->requestEventsPage(kCalendar, deltaToken, from, to);
    const QList<QVariant> args = await(c, &CalendarClient::eventsListed);
    delete c;
    return args.isEmpty() ? CalendarClient::EventListPage{{}, u"(none)"_s}
                          : args.at(1).value<CalendarClient::EventListPage>();
}

void TestMicrosoftCalendarClient::calendarListFollowsNextLink()
{
    QList<QJsonObject> entries;
    for (int i = 0; i < 5; ++i)
        entries.append({{"id"_L1, u"cal%1"_s.arg(i)}, {"name"_L1, u"C%1"_s.arg(i)}, {"isDefaultCalendar"_L1, i == 0}});
    m_fake.setCalendars(entries);
    m_fake.control(u"settings"_s, {{"calendar_page_size"_L1, 2}});
    CalendarClient *c = client();
    c->listCalendars();
    const QList<QVariant> args = await(c, &CalendarClient::calendarsListed);
    QVERIFY(!args.isEmpty());
    const auto calendars = args.first().value<QList<Microsoft::DiscoveredCalendar>>();
    QCOMPARE(calendars.size(), 5);
    QCOMPARE(calendars.last().id, u"cal4"_s);
    QVERIFY(calendars.first().isDefault);
}

void TestMicrosoftCalendarClient::calendarColors_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("color");
    QTest::addColumn<bool>("canEdit");
    QTest::newRow("hex colour wins over the name")
        << uR"({"hexColor":"#4285F4","color":"lightRed","canEdit":true})"_s << u"#4285F4"_s << true;
    QTest::newRow("named colour without hex") << uR"({"hexColor":"","color":"lightRed"})"_s << u"#D13438"_s << false;
    QTest::newRow("no colour at all") << uR"({})"_s << u"#0078D4"_s << false;
    QTest::newRow("name in another case is unknown") << uR"({"color":"LightRed"})"_s << u"#0078D4"_s << false;
}

void TestMicrosoftCalendarClient::calendarColors()
{
    QFETCH(QString, entry);
    QFETCH(QString, color);
    QFETCH(bool, canEdit);
    const auto calendar = CalendarClient::calendarFromJson(QJsonDocument::fromJson(entry.toUtf8()).object());
    QCOMPARE(calendar.color, color);
    QCOMPARE(calendar.canEdit, canEdit);
}

void TestMicrosoftCalendarClient::windowedListingEndsWithDeltaToken()
{
    m_fake.control(u"settings"_s, {{"event_page_size"_L1, 2}});
    QJsonObject series = timed(u"old-series"_s, u"Standup"_s, u"2020-01-06"_s);
    series.insert("recurrence"_L1,
                  QJsonObject{{"pattern"_L1, QJsonObject{{"type"_L1, u"daily"_s}, {"interval"_L1, 1}}},
                              {"range"_L1, QJsonObject{{"type"_L1, u"noEnd"_s}, {"startDate"_L1, u"2020-01-06"_s}}}});
    m_fake.changeEvents(kCalendar,
                        {timed(u"a"_s, u"A"_s, u"2025-03-01"_s), timed(u"b"_s, u"B"_s, u"2025-03-02"_s),
                         timed(u"c"_s, u"C"_s, u"2025-03-03"_s), series});
    const auto page = list(QString(), QDateTime(QDate(2025, 3, 1), QTime(0, 0), QTimeZone::utc()),
                           QDateTime(QDate(2025, 3, 3), QTime(0, 0), QTimeZone::utc()));
    // Each event once; the series from before the window by its occurrences in it.
    QCOMPARE(ids(page.items),
             (QStringList{u"a"_s, u"b"_s, u"old-series_20250301T100000Z"_s, u"old-series_20250302T100000Z"_s}));
    for (const QJsonObject &item : page.items) {
        if (item.value("id"_L1).toString().startsWith("old-series"_L1))
            QCOMPARE(item.value("seriesMasterId"_L1).toString(), u"old-series"_s);
    }
    QVERIFY(m_fake.graphUrl().isParentOf(QUrl(page.deltaToken)));

    const QList<QJsonObject> log = m_fake.requests();
    QCOMPARE(log.first().value("path"_L1).toString(), u"/v1.0/me/calendars/AAMkCal%3D%3D/calendarView/delta"_s);
    QCOMPARE(log.first().value("query"_L1).toObject().value("startDateTime"_L1).toString(),
             u"2025-03-01T00:00:00.000Z"_s);
    for (const QJsonObject &entry : log) {
        QVERIFY(entry.value("prefer"_L1).toString().startsWith(uR"(outlook.timezone="UTC")"_s));
        QVERIFY(entry.value("prefer"_L1).toString().contains("odata.maxpagesize=100"_L1));
    }
}

void TestMicrosoftCalendarClient::unusablePagesFailTheListing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status"); // 200: the body is cut short
    QTest::addColumn<int>("retryAfter");
    QTest::newRow("cut-short 2xx body") << u"/delta"_s << 200 << 0;
    QTest::newRow("refused") << u"/delta"_s << 400 << 0;
    QTest::newRow("throttled with Retry-After") << u"/delta"_s << 429 << 7;
    QTest::newRow("cut-short instances answer is no missing occurrence") << u"/instances"_s << 200 << 0;
}

void TestMicrosoftCalendarClient::unusablePagesFailTheListing()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(int, retryAfter);
    const bool instances = path == "/instances"_L1; // an occurrence looked up, else a delta round

    m_fake.changeEvents(kCalendar, {timed(u"a"_s, u"A"_s, u"2025-03-01"_s)});
    if (status == 200)
        m_fake.control(u"garble"_s, {{"path"_L1, path}});
    else
        m_fake.control(u"fail"_s, {{"path"_L1, path}, {"status"_L1, status}});
    CalendarClient *c = client();
    QSignalSpy listed(c, &CalendarClient::eventsListed);
    QSignalSpy found(c, &CalendarClient::instanceFound);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    if (instances)
        c->findInstance(kCalendar, u"a"_s, u"20250301T090000Z"_s, false);
    else
        c->requestEventsPage(kCalendar, QString(), QDateTime(QDate(2025, 1, 1), QTime(0, 0), QTimeZone::utc()),
                             QDateTime(QDate(2026, 1, 1), QTime(0, 0), QTimeZone::utc()));
    QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty() || !found.isEmpty(); }, 10000));
    QVERIFY(found.isEmpty());
    QVERIFY(listed.isEmpty());
    const SyncResult result = failed.first().first().value<SyncResult>();
    QCOMPARE(result.status, status);
    QCOMPARE(result.retryAfterSecs, retryAfter);
}

void TestMicrosoftCalendarClient::deltaListingReportsChangesAndRemovals()
{
    m_fake.changeEvents(kCalendar, {timed(u"a"_s, u"A"_s, u"2025-03-01"_s), timed(u"b"_s, u"B"_s, u"2025-03-02"_s)});
    const QString token =
        list(QString(), QDateTime::currentDateTimeUtc().addYears(-10), QDateTime::currentDateTimeUtc()).deltaToken;
    QVERIFY(!token.isEmpty());
    m_fake.control(u"settings"_s, {{"event_page_size"_L1, 1}});
    m_fake.changeEvents(kCalendar,
                        {QJsonObject{{"id"_L1, u"a"_s}, {"subject"_L1, u"A2"_s}},
                         timed(u"n"_s, u"New"_s, u"2025-04-01"_s)});
    m_fake.removeEvents(kCalendar, {u"b"_s});
    const auto page = list(token);
    QCOMPARE(ids(page.items), (QStringList{u"a"_s, u"b removed"_s, u"n"_s}));
    for (const QJsonObject &item : page.items) {
        if (item.contains("@removed"_L1))
            QCOMPARE(item.keys(), (QStringList{u"@removed"_s, u"id"_s}));
    }
    QVERIFY(!page.deltaToken.isEmpty());
    QVERIFY(page.deltaToken != token);
    QCOMPARE(list(page.deltaToken).items.size(), 0);
}

void TestMicrosoftCalendarClient::expiredDeltaTokenReportsOnlyExpiry()
{
    const QString token = list(QString()).deltaToken;
    m_fake.control(u"expire-delta-tokens"_s);
    CalendarClient *c = client();
    QSignalSpy listed(c, &CalendarClient::eventsListed);
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    c->requestEventsPage(kCalendar, token, {}, {});
    const QList<QVariant> args = await(c, &CalendarClient::deltaTokenExpired);
    QCOMPARE(args.value(0).toString(), kCalendar);
    QCOMPARE(listed.size() + failed.size(), 0);
}

void TestMicrosoftCalendarClient::linksToAnotherHostAreNotFollowed_data()
{
    QTest::addColumn<bool>("calendars");
    QTest::addColumn<bool>("delta");
    QTest::newRow("next link of the calendar list") << true << false;
    QTest::newRow("next link of a windowed listing") << false << false;
    QTest::newRow("next link of a delta listing") << false << true;
}

void TestMicrosoftCalendarClient::linksToAnotherHostAreNotFollowed()
{
    QFETCH(bool, calendars);
    QFETCH(bool, delta);
    const QString token = delta ? list(QString()).deltaToken : QString();
    m_fake.setCalendars({QJsonObject{{"id"_L1, kCalendar}}, QJsonObject{{"id"_L1, u"other"_s}}});
    m_fake.changeEvents(kCalendar, {timed(u"a"_s, u"A"_s, u"2025-03-01"_s), timed(u"b"_s, u"B"_s, u"2025-03-02"_s)});
    m_fake.control(u"settings"_s,
                   {{"calendar_page_size"_L1, 1},
                    {"event_page_size"_L1, 1},
                    {"link_host"_L1, u"graph.example.invalid"_s}});
    m_fake.control(u"clear-log"_s);

    CalendarClient *c = client();
    QSignalSpy failed(c, &CalendarClient::requestFailed);
    if (calendars)
        c->listCalendars();
    else
        c->requestEventsPage(kCalendar, token, {}, {});
    QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 10000));
    QCOMPARE(failed.first().first().value<SyncResult>(),
             SyncResult::ofProvider(SyncResult::Provider::Microsoft, SyncResult::Kind::BadAddress,
                                    calendars ? SyncResult::Step::CalendarList : SyncResult::Step::EventListing));
    QCOMPARE(m_fake.requests().size(), 1);
}

void TestMicrosoftCalendarClient::insertAndUpdateCarryChangeKeys()
{
    CalendarClient *c = client();
    c->insertEvent(u"local-1"_s, kCalendar, timed(QString(), u"Review"_s, u"2025-03-01"_s));
    QList<QVariant> args = await(c, &CalendarClient::eventWritten);
    QVERIFY(!args.isEmpty());
    const QString id = args.at(1).toString();
    const QString key = args.at(2).toString();
    QVERIFY(!id.isEmpty());
    QVERIFY(!key.isEmpty());

    c->updateEvent(u"local-1"_s, kCalendar, id, {{"subject"_L1, u"Moved"_s}}, key);
    args = await(c, &CalendarClient::eventWritten);
    QVERIFY(!args.isEmpty());
    QVERIFY(args.at(2).toString() != key);
    const QJsonObject stored = m_fake.events(kCalendar).first();
    QCOMPARE(stored.value("subject"_L1).toString(), u"Moved"_s);
    QVERIFY(stored.contains("start"_L1)); // PATCH keeps what the body lacks
    QCOMPARE(m_fake.requests().last().value("ifMatch"_L1).toString(), u"W/\"%1\""_s.arg(key));
}

void TestMicrosoftCalendarClient::staleChangeKeyIsRefused()
{
    const QJsonObject stored = m_fake.changeEvents(kCalendar, {timed(u"a"_s, u"A"_s, u"2025-03-01"_s)}).first();
    CalendarClient *c = client();
    QSignalSpy failed(c, &CalendarClient::eventWriteFailed);
    c->updateEvent(u"local-1"_s, kCalendar, u"a"_s, {{"subject"_L1, u"Mine"_s}}, u"ck-stale"_s);
    QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 10000));
    QCOMPARE(failed.first().at(1).value<SyncResult>().status, 412);
    QCOMPARE(m_fake.events(kCalendar).first().value("subject"_L1).toString(), u"A"_s);
    Q_UNUSED(stored);
}

void TestMicrosoftCalendarClient::deleteOfGoneEventCountsAsDeleted()
{
    CalendarClient *c = client();
    c->deleteEvent(u"local-1"_s, kCalendar, u"never-there"_s, QString());
    QCOMPARE(await(c, &CalendarClient::eventDeleted).value(0).toString(), u"local-1"_s);
}

void TestMicrosoftCalendarClient::weeklyRuleWithoutDaysIsAccepted()
{
    Event event;
    event.title = u"Weekly"_s;
    event.start_time = QDateTime(QDate(2025, 3, 5), QTime(9, 0), QTimeZone::utc());
    event.end_time = event.start_time.addSecs(1800);
    event.recurrence_rule = u"FREQ=WEEKLY"_s;
    CalendarClient *c = client();
    c->insertEvent(u"local-1"_s, kCalendar, CalendarClient::eventToJson(event));
    QVERIFY(!await(c, &CalendarClient::eventWritten).isEmpty());
}

QTEST_GUILESS_MAIN(TestMicrosoftCalendarClient)
#include "tst_microsoftcalendarclient.moc"
