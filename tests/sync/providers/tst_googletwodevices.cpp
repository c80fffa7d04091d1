// This program and a second device editing the same Google calendar: the
// second device talks to the fake's API directly, as any other client would.

#include "conflictresolutionservice.h"
#include "googlesyncfixture.h"
#include "recurringedit.h"
#include "testevents.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using F = GoogleSyncFixture;

class TestGoogleTwoDevices;

namespace {

// The other device: its own token, the API paths of the work calendar.
class OtherDevice
{
public:
    explicit OtherDevice(FakeGoogle &fake)
        : m_fake(fake)
        , m_token(fake.grantTokens().first)
    {
    }
    QJsonObject insert(const QJsonObject &event) { return call("POST", {}, event).body; }
    int patch(const QString &id, const QJsonObject &change) { return call("PATCH", id, change).status; }
    int remove(const QString &id) { return call("DELETE", id).status; }
    QJsonObject get(const QString &id) { return call("GET", id).body; }
    // The series' instances as the server expands them: original start -> instance.
    QHash<QString, QJsonObject> instances(const QString &series)
    {
        QHash<QString, QJsonObject> out;
        const QJsonArray items = call("GET", series + u"/instances"_s).body.value("items"_L1).toArray();
        for (const QJsonValue &item : items) {
            const QJsonObject instance = item.toObject();
            out.insert(instance["originalStartTime"_L1]["dateTime"_L1].toString(), instance);
        }
        return out;
    }

private:
    FakeProviderServer::Answer call(const QByteArray &verb, const QString &id, const QJsonObject &body = {})
    {
        const QString path = u"/calendar/v3/calendars/%1/events"_s.arg(
            QString::fromLatin1(QUrl::toPercentEncoding(F::kWorkRemote)));
        return m_fake.api(verb, id.isEmpty() ? path : path + u'/' + id, m_token, body);
    }

    FakeGoogle &m_fake;
    QString m_token;
};

QJsonObject when(const QString &dateTime, const QString &zone = u"UTC"_s)
{
    return {{"dateTime"_L1, dateTime}, {"timeZone"_L1, zone}};
}

// A weekly meeting in Berlin from 3 March 2025 at 09:00, across the change to summer time.
QJsonObject berlinWeekly(const QStringList &extraLines = {})
{
    QJsonArray recurrence{u"RRULE:FREQ=WEEKLY;COUNT=6"_s};
    for (const QString &line : extraLines)
        recurrence.append(line);
    return {{"summary"_L1, u"Weekly"_s},
            {"location"_L1, u"Room 1"_s},
            {"transparency"_L1, u"transparent"_s},
            {"start"_L1, when(u"2025-03-03T09:00:00"_s, u"Europe/Berlin"_s)},
            {"end"_L1, when(u"2025-03-03T09:30:00"_s, u"Europe/Berlin"_s)},
            {"recurrence"_L1, recurrence}};
}

QJsonObject single(const QString &summary)
{
    return {{"summary"_L1, summary},
            {"location"_L1, u"Room 1"_s},
            {"start"_L1, when(u"2025-03-04T10:00:00Z"_s)},
            {"end"_L1, when(u"2025-03-04T11:00:00Z"_s)}};
}

QDateTime startOf(const QJsonObject &event)
{
    return Google::CalendarClient::dateTimeFromJson(event["start"_L1].toObject()).value.toUTC();
}

struct Scenario
{
    QList<QJsonObject> seeded; // on the server before the first pull
    std::function<void(TestGoogleTwoDevices *, const QStringList &ids)> meanwhile;
    std::function<void(TestGoogleTwoDevices *, const QStringList &ids)> check;
    bool completes = true;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TestGoogleTwoDevices : public QObject
{
    Q_OBJECT

public:
    std::optional<Event> row(const QString &providerId)
    {
        const QList<Event> rows = m_f.events()->getByCalendar(F::kWork);
        for (const Event &e : rows) {
            if (e.provider_event_id == providerId)
                return m_f.events()->getById(e.id);
        }
        return std::nullopt;
    }
    void editHere(const QString &providerId, const std::function<void(Event &)> &change)
    {
        std::optional<Event> e = row(providerId);
        QVERIFY(e);
        change(*e);
        e->sync_status = u"pending"_s;
        QVERIFY(m_f.events()->update(*e));
    }
    void moveOccurrenceHere(const QString &series) // 10 March, an hour later
    {
        const QDateTime occurrence = TimeUtil::utc(QDate(2025, 3, 10), QTime(8, 0));
        QVERIFY(overrideOccurrence(m_f.events(), *row(series), occurrence, occurrence.addSecs(3600),
                                   occurrence.addSecs(5400)));
    }
    int refreshes()
    {
        int n = 0;
        for (const QJsonObject &request : m_f.fake().requests())
            n += request["path"_L1].toString() == "/token"_L1;
        return n;
    }
    OtherDevice &there() { return *m_there; }
    GoogleSyncFixture &f() { return m_f; }
    F::Report lastReport;

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_f.startServer(), qPrintable(m_f.serverError())); }
    void init()
    {
        m_f.reset();
        m_there = std::make_unique<OtherDevice>(m_f.fake());
    }
    void bothDevicesEdit_data();
    void bothDevicesEdit();
    void rotatedRefreshTokenServesTwoCalendars();

private:
    GoogleSyncFixture m_f;
    std::unique_ptr<OtherDevice> m_there;
};

void TestGoogleTwoDevices::bothDevicesEdit_data()
{
    using T = TestGoogleTwoDevices;
    QTest::addColumn<Scenario>("scenario");

    QTest::newRow("different properties: both changes survive") << Scenario{{single(u"Plan"_s)},
                                                                            [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.title = u"Plan (here)"_s; });
        QCOMPARE(t->there().patch(ids[0], {{"location"_L1, u"Room 9"_s}}), 200);
                                                                            },
                                                                            [](T *t, const QStringList &ids) {
        const QJsonObject server = t->there().get(ids[0]);
        QCOMPARE(server["summary"_L1].toString(), u"Plan (here)"_s);
        QCOMPARE(server["location"_L1].toString(), u"Room 9"_s);
        QCOMPARE(t->row(ids[0])->location, u"Room 9"_s);
        QVERIFY(t->f().state()->conflicts()->conflicts().isEmpty());
    }};

    QTest::newRow("same property: the local value wins and the conflict is recorded")
        << Scenario{{single(u"Plan"_s)},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.title = u"Ours"_s; });
        QCOMPARE(t->there().patch(ids[0], {{"summary"_L1, u"Theirs"_s}}), 200);
                    },
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->there().get(ids[0])["summary"_L1].toString(), u"Ours"_s);
        const QList<SyncConflict> conflicts = t->f().state()->conflicts()->conflicts();
        QCOMPARE(conflicts.size(), 1);
        QCOMPARE(conflicts.first().remote.title, u"Theirs"_s);
           }};

    QTest::newRow("a location cleared here is cleared there; transparency stays")
        << Scenario{{berlinWeekly()},
                    [](T *t, const QStringList &ids) { t->editHere(ids[0], [](Event &e) { e.location.clear(); }); },
                    [](T *t, const QStringList &ids) {
        const QJsonObject server = t->there().get(ids[0]);
        QCOMPARE(server["location"_L1].toString(), QString());
        QCOMPARE(server["transparency"_L1].toString(), u"transparent"_s);
        QCOMPARE(server["start"_L1].toObject(), when(u"2025-03-03T09:00:00"_s, u"Europe/Berlin"_s));
                    }};

    QTest::newRow("reminders cleared here are cleared there, not reset to the defaults") << Scenario{
        {[] {
            QJsonObject event = single(u"Plan"_s);
            event.insert("reminders"_L1,
                         QJsonObject{{"useDefault"_L1, false},
                                     {"overrides"_L1,
                                      QJsonArray{QJsonObject{{"method"_L1, u"popup"_s}, {"minutes"_L1, 10}}}}});
            return event;
        }()},
        [](T *t, const QStringList &ids) { t->editHere(ids[0], [](Event &e) { e.reminders.clear(); }); },
        [](T *t, const QStringList &ids) {
        QCOMPARE(t->there().get(ids[0])["reminders"_L1].toObject(),
                 (QJsonObject{{"useDefault"_L1, false}, {"overrides"_L1, QJsonArray()}}));
        }};

    QTest::newRow("one occurrence moved here moves that instance, no copy")
        << Scenario{{berlinWeekly()},
                    [](T *t, const QStringList &ids) { t->moveOccurrenceHere(ids[0]); },
                    [](T *t, const QStringList &ids) {
        const QHash<QString, QJsonObject> instances = t->there().instances(ids[0]);
        QCOMPARE(instances.size(), 6);
        QCOMPARE(startOf(instances.value(u"2025-03-10T08:00:00Z"_s)), TimeUtil::utc(QDate(2025, 3, 10), QTime(9, 0)));
        QCOMPARE(t->f().fake().events(F::kWorkRemote).size(), 2); // the series and its one exception
        int overrides = 0;
        for (const Event &e : t->f().events()->getByCalendar(F::kWork))
            overrides += e.recurrence_id == u"20250310T080000Z"_s;
        QCOMPARE(overrides, 1);
                    }};

    QTest::newRow("one occurrence deleted here, another there") << Scenario{{berlinWeekly()},
                                                                            [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.exception_dates = u"[\"20250317T080000Z\"]"_s; });
        QCOMPARE(t->there().remove(ids[0] + u"_20250324T080000Z"_s), 204);
                                                                            },
                                                                            [](T *t, const QStringList &ids) {
        const QHash<QString, QJsonObject> instances = t->there().instances(ids[0]);
        QVERIFY(!instances.contains(u"2025-03-17T08:00:00Z"_s));
        QVERIFY(!instances.contains(u"2025-03-24T08:00:00Z"_s));
        QCOMPARE(instances.size(), 4);
        // The instance was cancelled: the series itself was left as it was.
        QCOMPARE(t->there().get(ids[0])["recurrence"_L1].toArray(), QJsonArray{u"RRULE:FREQ=WEEKLY;COUNT=6"_s});
        const QString excluded = t->row(ids[0])->exception_dates;
        QVERIFY(excluded.contains(u"20250317T080000Z"_s) && excluded.contains(u"20250324T080000Z"_s));
    }};

    QTest::newRow("a series with a moved occurrence deleted there leaves nothing here")
        << Scenario{{berlinWeekly()},
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->there().patch(ids[0] + u"_20250310T080000Z"_s,
                                  {{"start"_L1, when(u"2025-03-10T12:00:00Z"_s)},
                                   {"end"_L1, when(u"2025-03-10T13:00:00Z"_s)}}),
                 200);
        QCOMPARE(t->f().sync().completed, QStringList{F::kWork});
        QCOMPARE(t->f().events()->getByCalendar(F::kWork).size(), 2);
        QCOMPARE(t->there().remove(ids[0]), 204);
                    },
                    [](T *t, const QStringList &) { QVERIFY(t->f().events()->getByCalendar(F::kWork).isEmpty()); }};

    QTest::newRow("a series that began a year ago keeps its start when renamed")
        << Scenario{{QJsonObject{{"summary"_L1, u"Old"_s},
                                 {"start"_L1, when(u"2024-03-04T10:00:00"_s, u"America/New_York"_s)},
                                 {"end"_L1, when(u"2024-03-04T11:00:00"_s, u"America/New_York"_s)},
                                 {"recurrence"_L1, QJsonArray{u"RRULE:FREQ=MONTHLY"_s}}}},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.title = u"Old, renamed"_s; });
                    },
                    [](T *t, const QStringList &ids) {
        const QJsonObject server = t->there().get(ids[0]);
        QCOMPARE(server["summary"_L1].toString(), u"Old, renamed"_s);
        QCOMPARE(server["start"_L1].toObject(), when(u"2024-03-04T10:00:00"_s, u"America/New_York"_s));
        QCOMPARE(server["recurrence"_L1].toArray(), QJsonArray{u"RRULE:FREQ=MONTHLY"_s});
           }};

    QTest::newRow("a Berlin series edited here stays at 09:00 across DST")
        << Scenario{{berlinWeekly()},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.end_time = e.start_time.addSecs(3600); });
                    },
                    [](T *t, const QStringList &ids) {
        const QJsonObject server = t->there().get(ids[0]);
        QCOMPARE(server["end"_L1].toObject(), when(u"2025-03-03T10:00:00"_s, u"Europe/Berlin"_s));
        // After the change to summer time 09:00 in Berlin is 07:00 UTC.
        QVERIFY(t->there().instances(ids[0]).contains(u"2025-04-07T07:00:00Z"_s));
           }};

    QTest::newRow("EXDATE and RDATE lines are read and sent back")
        << Scenario{{berlinWeekly({u"EXDATE;TZID=Europe/Berlin:20250310T090000"_s, u"RDATE:20250312T080000Z"_s})},
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->row(ids[0])->exception_dates, u"[\"20250310T080000Z\"]"_s);
        QCOMPARE(t->row(ids[0])->recurrence_dates, u"[\"20250312T080000Z\"]"_s);
        t->editHere(ids[0], [](Event &e) { e.recurrence_rule = u"FREQ=WEEKLY;COUNT=5"_s; });
                    },
                    [](T *t, const QStringList &ids) {
        const QHash<QString, QJsonObject> instances = t->there().instances(ids[0]);
        QVERIFY(!instances.contains(u"2025-03-10T08:00:00Z"_s));
        QVERIFY(instances.contains(u"2025-03-12T08:00:00Z"_s));
        QCOMPARE(instances.size(), 5); // five weeks less one, and the extra date
           }};

    QTest::newRow("after 410 the full listing drops what the server deleted; pending rows go out")
        << Scenario{{single(u"Kept"_s), single(u"Deleted there"_s)},
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->there().remove(ids[1]), 204);
        t->f().fake().control(u"expire-sync-tokens"_s, {{"purge"_L1, true}});
        Event mine = testEvent(F::kWork, u"Made here"_s, TimeUtil::utc(QDate(2025, 3, 5), QTime(9, 0)),
                               TimeUtil::utc(QDate(2025, 3, 5), QTime(10, 0)));
        mine.id = u"mine"_s;
        mine.sync_status = u"pending"_s;
        QVERIFY(t->f().events()->insert(mine));
                    },
                    [](T *t, const QStringList &ids) {
        QVERIFY(t->row(ids[0]));
        QVERIFY(!t->row(ids[1]));
        QCOMPARE(t->f().events()->getById(u"mine"_s)->sync_status, u"synced"_s);
           }};

    QTest::newRow("401 on a token whose expiry says it is fresh: one refresh, one retry")
        << Scenario{{single(u"Plan"_s)},
                    [](T *t, const QStringList &) { t->f().fake().control(u"expire-access-tokens"_s); },
                    [](T *t, const QStringList &) { QCOMPARE(t->refreshes(), 1); }};

    QTest::newRow("a write refused for good waits as a problem; the others go on")
        << Scenario{{single(u"Refused"_s), single(u"Fine"_s)},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.title = u"Refused 2"_s; });
        t->editHere(ids[1], [](Event &e) { e.title = u"Fine 2"_s; });
        t->f().fake().control(u"fail"_s, {{"method"_L1, u"PATCH"_s}, {"path"_L1, ids[0]}, {"status"_L1, 400}});
                    },
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->row(ids[0])->sync_status, u"pending"_s);
        QCOMPARE(t->there().get(ids[1])["summary"_L1].toString(), u"Fine 2"_s);
        QVERIFY(!t->f().state()->calendars()->getById(F::kWork)->last_sync_error.isEmpty());
           }};

    QTest::newRow("an occurrence moved here whose series is gone there (410) waits; the others go on")
        << Scenario{{berlinWeekly(), single(u"Fine"_s)},
                    [](T *t, const QStringList &ids) {
        t->moveOccurrenceHere(ids[0]);
        t->editHere(ids[1], [](Event &e) { e.title = u"Fine 2"_s; });
        t->f().fake().control(u"fail"_s, {{"method"_L1, u"PATCH"_s}, {"path"_L1, ids[0]}, {"status"_L1, 410}});
                    },
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->there().get(ids[1])["summary"_L1].toString(), u"Fine 2"_s);
        QVERIFY(!t->f().state()->calendars()->getById(F::kWork)->last_sync_error.isEmpty());
           }};

    QTest::newRow("an hourly rule Google cannot hold stays pending, nothing sent")
        << Scenario{{single(u"Plan"_s)},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.recurrence_rule = u"FREQ=HOURLY;COUNT=3"_s; });
                    },
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->row(ids[0])->sync_status, u"pending"_s);
        QVERIFY(!t->there().get(ids[0]).contains("recurrence"_L1));
        QVERIFY(!t->f().state()->calendars()->getById(F::kWork)->last_sync_error.isEmpty());
           }};

    QTest::newRow("an insert whose answer is cut short is not made twice") << Scenario{{},
                                                                                       [](T *t, const QStringList &) {
        Event mine = testEvent(F::kWork, u"Made here"_s, TimeUtil::utc(QDate(2025, 3, 5), QTime(9, 0)),
                               TimeUtil::utc(QDate(2025, 3, 5), QTime(10, 0)));
        mine.sync_status = u"pending"_s;
        QVERIFY(t->f().events()->insert(mine));
        t->f().fake().control(u"fail"_s, {{"method"_L1, u"POST"_s}, {"path"_L1, u"/events"_s}, {"garble"_L1, true}});
                                                                                       },
                                                                                       [](T *t, const QStringList &) {
        QCOMPARE(t->f().fake().events(F::kWorkRemote).size(), 1);
        QCOMPARE(t->f().events()->getByCalendar(F::kWork).size(), 1);
        QVERIFY(!t->f().state()->calendars()->getById(F::kWork)->last_sync_error.isEmpty());
    }};

    QTest::newRow("a garbled 2xx listing fails the run and keeps the token") << Scenario{{single(u"Plan"_s)},
                                                                                         [](T *t, const QStringList &) {
        t->f().fake().control(u"fail"_s,
                              {{"method"_L1, u"GET"_s}, {"path"_L1, u"/events"_s}, {"raw"_L1, u"{\"items\": [{"_s}});
                                                                                         },
                                                                                         [](T *t, const QStringList &) {
        QCOMPARE(t->lastReport.results.first().kind, SyncResult::Kind::Unreadable);
    },
        false};

    QTest::newRow("429 with Retry-After fails the run with that pause")
        << Scenario{{single(u"Plan"_s)},
                    [](T *t, const QStringList &) {
        t->f().fake().control(u"fail"_s,
                              {{"method"_L1, u"GET"_s},
                               {"path"_L1, u"/events"_s},
                               {"status"_L1, 429},
                               {"headers"_L1, QJsonObject{{"Retry-After"_L1, u"120"_s}}}});
                    },
                    [](T *t, const QStringList &) { QCOMPARE(t->lastReport.results.first().retryAfterSecs, 120); },
                    false};

    QTest::newRow("403 rateLimitExceeded on a write is a pause: the edit goes out next time")
        << Scenario{{single(u"Plan"_s)},
                    [](T *t, const QStringList &ids) {
        t->editHere(ids[0], [](Event &e) { e.title = u"Plan 2"_s; });
        const QString limit = uR"({"error": {"errors": [{"domain": "usageLimits", "reason": "rateLimitExceeded",
            "message": "Rate Limit Exceeded"}], "code": 403, "message": "Rate Limit Exceeded"}})"_s;
        t->f().fake().control(u"fail"_s,
                              {{"method"_L1, u"PATCH"_s}, {"path"_L1, ids[0]}, {"status"_L1, 403}, {"raw"_L1, limit}});
                    },
                    [](T *t, const QStringList &ids) {
        QCOMPARE(t->lastReport.results.first().kind, SyncResult::Kind::RateLimited);
        QCOMPARE(t->lastReport.results.first().status, 403);
        QCOMPARE(t->f().sync().completed, QStringList{F::kWork});
        QCOMPARE(t->there().get(ids[0])["summary"_L1].toString(), u"Plan 2"_s);
           },
        false};
}

void TestGoogleTwoDevices::bothDevicesEdit()
{
    QFETCH(Scenario, scenario);
    QStringList ids;
    for (const QJsonObject &event : std::as_const(scenario.seeded))
        ids << m_there->insert(event)["id"_L1].toString();
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    const QString token = m_f.state()->calendars()->getById(F::kWork)->sync_token;

    scenario.meanwhile(this, ids);
    if (QTest::currentTestFailed())
        return;
    m_f.fake().control(u"clear-log"_s);
    lastReport = m_f.sync();
    QCOMPARE(lastReport.completed.size(), scenario.completes ? 1 : 0);
    if (!scenario.completes)
        QCOMPARE(m_f.state()->calendars()->getById(F::kWork)->sync_token, token);
    scenario.check(this, ids);
    if (QTest::currentTestFailed() || !scenario.completes)
        return;
    // Further rounds leave one copy of everything on either side, and settle.
    const qsizetype rows = m_f.events()->getByCalendar(F::kWork).size();
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    const QList<QJsonObject> server = m_f.fake().events(F::kWorkRemote);
    QCOMPARE(m_f.sync().completed, QStringList{F::kWork});
    QCOMPARE(m_f.fake().events(F::kWorkRemote), server);
    QCOMPARE(m_f.events()->getByCalendar(F::kWork).size(), rows);
    QVERIFY(m_f.state()->conflicts()->conflicts().size() <= 1);
}

void TestGoogleTwoDevices::rotatedRefreshTokenServesTwoCalendars()
{
    m_f.fake().control(u"settings"_s, {{"rotate"_L1, true}});
    const auto expireAll = [this] {
        StoredTokens stale = m_f.tokens();
        stale.expiresAt = QDateTime::currentDateTimeUtc().addSecs(-10);
        m_f.storeTokens(stale);
    };
    expireAll();
    m_f.fake().control(u"clear-log"_s);
    const F::Report report = m_f.sync({F::kWork, F::kHome});
    QCOMPARE(report.completed.size(), 2);
    QCOMPARE(refreshes(), 1);
    // The rotated refresh token was stored: the next refresh works.
    expireAll();
    QCOMPARE(m_f.sync({F::kWork, F::kHome}).completed.size(), 2);
}

QTEST_GUILESS_MAIN(TestGoogleTwoDevices)
#include "tst_googletwodevices.moc"
