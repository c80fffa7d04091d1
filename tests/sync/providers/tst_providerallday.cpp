#include "eventrepository.h"
#include "fakegoogle.h"
#include "googleauthservice.h"
#include "googlesyncclient.h"
#include "graphsyncfixture.h"
#include "icalendar.h"
#include "microsoftsyncclient.h"
#include "recurrence.h"
#include "systemzone.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kRemote = u"AAMkDays"_s;
const QString kGoogleRemote = u"days"_s;

QString iso(const QDate &day)
{
    return day.toString(Qt::ISODate);
}

template<typename Client>
bool runSync(Client &client, const Calendar &calendar)
{
    QSignalSpy completed(&client, &Client::calendarSyncCompleted);
    QSignalSpy failed(&client, &Client::calendarSyncFailed);
    client.syncCalendar(calendar);
    return QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 30000) && failed.isEmpty();
}

} // namespace

// All-day events and series through both providers' stand-ins, under system
// zones east and west of UTC: pulled, edited here and pushed, and what the
// server got. A day stays that day everywhere.
class TestProviderAllDay : public QObject, protected GraphSyncFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void roundTrip_data();
    void roundTrip();

private:
    bool sync(bool google);
    QString path(bool google, const QString &id = {}) const;
    // The days and titles the week list shows over the five weeks from `first`.
    QStringList shown(bool google, const QDate &first) const;
    // The row of the server's event "d".
    Event row(bool google) const;

    FakeGoogle m_google;
    QString m_googleCalendar;
};

void TestProviderAllDay::initTestCase()
{
    QVERIFY2(startAll(), qPrintable(m_fake.errorString()));
    QVERIFY2(m_google.start(), qPrintable(m_google.errorString()));
    Account account;
    account.id = u"google-account"_s;
    account.name = u"Home"_s;
    account.type = u"google"_s;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    QVERIFY(m_state->accounts()->insert(account));
    m_config.googleTokenEndpoint = QUrl(m_google.baseUrl().toString() + u"/token"_s);
    m_config.googleApiBase = m_google.baseUrl();
    m_config.googleClientId = QLatin1StringView(FakeGoogle::kClientId);
    m_config.googleClientSecret = QLatin1StringView(FakeGoogle::kClientSecret);
}

void TestProviderAllDay::init()
{
    QVERIFY(freshCalendar(kRemote, u"Days"_s));
    m_google.control(u"reset"_s);
    m_google.setCalendars({QJsonObject{{"id"_L1, kGoogleRemote}}});
    const auto granted = m_google.grantTokens();
    QVERIFY(Google::AuthService::saveTokens(&m_tokens, u"google-account"_s,
                                            {granted.first, granted.second,
                                             QDateTime::currentDateTimeUtc().addSecs(3600)}));
    Calendar calendar = *m_state->calendars()->getById(m_calendarId);
    calendar.id = m_googleCalendar = QUuid::createUuid().toString(QUuid::WithoutBraces);
    calendar.account_id = u"google-account"_s;
    calendar.url = kGoogleRemote;
    QVERIFY(m_state->calendars()->insert(calendar));
}

bool TestProviderAllDay::sync(bool google)
{
    const Calendar calendar = *m_state->calendars()->getById(google ? m_googleCalendar : m_calendarId);
    if (google) {
        Google::SyncClient client(m_state, &m_network, m_config, &m_tokens);
        return runSync(client, calendar);
    }
    Microsoft::SyncClient client(m_state, &m_network, &m_tokens, m_config, m_fake.graphUrl());
    return runSync(client, calendar);
}

QString TestProviderAllDay::path(bool google, const QString &id) const
{
    const QString events = google ? u"/calendar/v3/calendars/%1/events"_s.arg(kGoogleRemote)
                                  : u"/v1.0/me/calendars/%1/events"_s.arg(kRemote);
    return id.isEmpty() ? events : events + u'/' + id;
}

QStringList TestProviderAllDay::shown(bool google, const QDate &first) const
{
    const QStringList calendars{google ? m_googleCalendar : m_calendarId};
    const QDateTime from = first.startOfDay();
    const QDateTime to = first.addDays(35).startOfDay();
    QStringList out;
    for (const Event &occurrence :
         Recurrence::expandEvents(m_state->events()->getInRange(from, to, calendars), from, to))
        out.append(iso(occurrence.start_time.date()) + u' ' + occurrence.title);
    out.sort();
    return out;
}

Event TestProviderAllDay::row(bool google) const
{
    for (const Event &event : m_state->events()->getByCalendar(google ? m_googleCalendar : m_calendarId)) {
        if (event.provider_event_id == "d"_L1)
            return *m_state->events()->getById(event.id);
    }
    return Event();
}

void TestProviderAllDay::roundTrip_data()
{
    QTest::addColumn<bool>("google");
    QTest::addColumn<bool>("series");
    QTest::addColumn<QByteArray>("zone"); // of this machine; empty: the test's own
    QTest::addColumn<QString>("written"); // the zone Graph's copy was written in
    QTest::addColumn<bool>("legacy"); // exceptions keyed by the day before, as earlier versions did

    for (const bool google : {true, false}) {
        for (const bool series : {false, true}) {
            const char *provider = google ? "Google" : "Graph";
            const char *shape = series ? "series" : "single";
            const auto add = [&](const char *zone, const char *written) {
                QTest::addRow("%s %s, here %s, written in %s", provider, shape, *zone ? zone : "test zone", written)
                    << google << series << QByteArray(zone) << QString::fromLatin1(written) << false;
            };
            add("", "Tokyo Standard Time");
            add("Pacific/Honolulu", "Tokyo Standard Time");
            add("Asia/Tokyo", "Pacific Standard Time");
            add("UTC", "Hawaiian Standard Time");
        }
    }
    QTest::newRow("Graph series keyed by earlier versions, here Tokyo")
        << false << true << QByteArray("Asia/Tokyo") << u"Tokyo Standard Time"_s << true;
}

void TestProviderAllDay::roundTrip()
{
    QFETCH(bool, google);
    QFETCH(bool, series);
    QFETCH(QByteArray, zone);
    QFETCH(QString, written);
    QFETCH(bool, legacy);
    std::optional<SystemZone> here;
    if (!zone.isEmpty())
        here.emplace(zone);

    // A Monday two weeks ahead; a series repeats on it five weeks running.
    QDate day = QDate::currentDate().addDays(14);
    day = day.addDays(1 - day.dayOfWeek());
    QJsonObject item;
    if (google) {
        item = {{"id"_L1, u"d"_s},
                {"summary"_L1, u"Holiday"_s},
                {"start"_L1, QJsonObject{{"date"_L1, iso(day)}}},
                {"end"_L1, QJsonObject{{"date"_L1, iso(day.addDays(1))}}}};
        if (series)
            item.insert("recurrence"_L1,
                        QJsonArray{u"RRULE:FREQ=WEEKLY;COUNT=5"_s,
                                   u"EXDATE;VALUE=DATE:"_s + TimeUtil::toIcalDate(day.addDays(28))});
    } else {
        const auto midnight = [&](const QDate &d) {
            return QJsonObject{{"dateTime"_L1, iso(d) + u"T00:00:00"_s}, {"timeZone"_L1, written}};
        };
        item = {{"id"_L1, u"d"_s},
                {"subject"_L1, u"Holiday"_s},
                {"isAllDay"_L1, true},
                {"start"_L1, midnight(day)},
                {"end"_L1, midnight(day.addDays(1))}};
        if (series)
            item.insert("recurrence"_L1,
                        QJsonObject{{"pattern"_L1,
                                     QJsonObject{{"type"_L1, u"weekly"_s},
                                                 {"interval"_L1, 1},
                                                 {"daysOfWeek"_L1, QJsonArray{u"monday"_s}}}},
                                    {"range"_L1,
                                     QJsonObject{{"type"_L1, u"numbered"_s},
                                                 {"numberOfOccurrences"_L1, 5},
                                                 {"startDate"_L1, iso(day)},
                                                 {"recurrenceTimeZone"_L1, written}}}});
    }
    FakeProviderServer &server = google ? static_cast<FakeProviderServer &>(m_google) : m_fake;
    server.changeEvents(google ? kGoogleRemote : kRemote, {item});
    QStringList expected{iso(day) + u" Holiday"_s};
    if (series) {
        // Another device renames the second occurrence and cancels the third.
        const QString token = google ? m_google.grantTokens().first : m_fake.grantAccessToken();
        const QString query = u"?startDateTime=%1T00:00:00Z&endDateTime=%2T00:00:00Z&timeMin=%1T00:00:00Z"_s.arg(
            iso(day.addDays(-1)), iso(day.addDays(40)));
        const QJsonArray listed = server.api("GET", path(google, u"d/instances"_s) + query, token)
                                      .body.value(google ? "items"_L1 : "value"_L1)
                                      .toArray();
        QCOMPARE(listed.size(), google ? 4 : 5);
        const QString renamed = listed.at(1)["id"_L1].toString();
        QCOMPARE(server
                     .api("PATCH", path(google, renamed), token, {{google ? "summary"_L1 : "subject"_L1, u"Renamed"_s}})
                     .status,
                 200);
        QVERIFY(server.api("DELETE", path(google, listed.at(2)["id"_L1].toString()), token).status < 300);
        expected << iso(day.addDays(7)) + u" Renamed"_s << iso(day.addDays(21)) + u" Holiday"_s;
        // Google's fifth is excluded by a date (EXDATE;VALUE=DATE).
        if (!google)
            expected << iso(day.addDays(28)) + u" Holiday"_s;
    }

    QVERIFY(sync(google));
    QCOMPARE(shown(google, day), expected);
    // Held as every source holds a day: 00:00 UTC of its date.
    const Event pulled = row(google);
    QCOMPARE(pulled.start_time, TimeUtil::utc(day));
    if (legacy) {
        // As migrated from an earlier version: the calendar's next round is a new one.
        for (Event event : m_state->events()->getByCalendar(m_calendarId)) {
            if (!event.isOverride())
                continue;
            event.recurrence_id = TimeUtil::toIcalDate(
                QDate::fromString(event.recurrence_id, u"yyyyMMdd"_s).addDays(-1));
            QVERIFY(m_state->events()->update(event));
        }
        Calendar calendar = *m_state->calendars()->getById(m_calendarId);
        calendar.delta_sync_token.clear();
        QVERIFY(m_state->calendars()->update(calendar));
        QVERIFY(sync(google));
        QCOMPARE(shown(google, day), expected);
    }

    // Renamed here, and a day made here: the rename sends no dates, and the
    // new day goes in the form the service documents.
    Event renamed = pulled;
    renamed.title = u"Day off"_s;
    renamed.sync_status = SyncStatus::Pending;
    QVERIFY(m_state->events()->update(renamed));
    Event made;
    made.id = made.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    made.calendar_id = google ? m_googleCalendar : m_calendarId;
    made.title = u"Made here"_s;
    made.is_all_day = true;
    made.start_time = TimeUtil::utc(day.addDays(1));
    made.end_time = TimeUtil::utc(day.addDays(3));
    made.created = made.last_modified = QDateTime::currentDateTimeUtc();
    made.sync_status = SyncStatus::Pending;
    made.raw_icalendar = ICalendar::serializeNewEvent(made);
    QVERIFY(m_state->events()->insert(made));
    server.control(u"clear-log"_s);
    QVERIFY(sync(google));
    QJsonObject patch;
    QJsonObject post;
    for (const QJsonObject &request : server.requests()) {
        const QJsonObject body = QJsonDocument::fromJson(request["body"_L1].toString().toUtf8()).object();
        if (request["method"_L1] == "PATCH"_L1 && request["path"_L1].toString() == path(google, u"d"_s))
            patch = body;
        else if (request["method"_L1] == "POST"_L1)
            post = body;
    }
    QVERIFY(!patch.isEmpty());
    QVERIFY(!patch.contains("start"_L1) && !patch.contains("end"_L1) && !patch.contains("recurrence"_L1));
    const auto sent = [&](const QDate &d) {
        return google ? QJsonObject{{"date"_L1, iso(d)}}
                      : QJsonObject{{"dateTime"_L1, iso(d) + u"T00:00:00"_s}, {"timeZone"_L1, u"UTC"_s}};
    };
    QCOMPARE(post["start"_L1].toObject(), sent(day.addDays(1)));
    QCOMPARE(post["end"_L1].toObject(), sent(day.addDays(3)));
    QCOMPARE(post["isAllDay"_L1].toBool(), !google);

    QVERIFY(sync(google));
    expected.replaceInStrings(u" Holiday"_s, u" Day off"_s);
    expected << iso(day.addDays(1)) + u" Made here"_s;
    expected.sort();
    QCOMPARE(shown(google, day), expected);
    QCOMPARE(m_state->events()->getPending(google ? m_googleCalendar : m_calendarId).size(), 0);
    if (google || !series)
        return;
    // Deleted there while the delta link expired: the new round no longer
    // lists it, and it goes here too.
    m_fake.removeEvents(kRemote, {u"d"_s});
    m_fake.control(u"expire-delta-tokens"_s);
    QVERIFY(sync(google));
    QCOMPARE(shown(google, day), QStringList{iso(day.addDays(1)) + u" Made here"_s});
}

QTEST_GUILESS_MAIN(TestProviderAllDay)
#include "tst_providerallday.moc"
