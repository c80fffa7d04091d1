#include "conflictresolutionservice.h"
#include "eventrepository.h"
#include "graphsyncfixture.h"
#include "icalendar.h"
#include "microsoftsyncclient.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString kRemote = u"AAMkShared"_s;

// A Monday nine o'clock in Berlin, a few weeks back.
QDateTime seriesStart(int weeksBack)
{
    const QTimeZone berlin("Europe/Berlin");
    QDate day = QDateTime::currentDateTimeUtc().toTimeZone(berlin).date().addDays(-7 * weeksBack);
    day = day.addDays(1 - day.dayOfWeek());
    return TimeUtil::inZone(day, QTime(9, 0), berlin);
}

QJsonObject berlinTime(const QDateTime &at)
{
    return {{"dateTime"_L1, at.toTimeZone(QTimeZone("Europe/Berlin")).toString(u"yyyy-MM-ddTHH:mm:ss"_s)},
            {"timeZone"_L1, u"W. Europe Standard Time"_s}};
}

// Half an hour, a week from now.
QJsonObject single(const QString &id, const QString &subject)
{
    const QDateTime start = seriesStart(-1);
    return {{"id"_L1, id},
            {"subject"_L1, subject},
            {"start"_L1, berlinTime(start)},
            {"end"_L1, berlinTime(start.addSecs(1800))}};
}

QJsonObject weeklySeries(const QString &id, const QDateTime &start)
{
    return {{"id"_L1, id},
            {"subject"_L1, u"Weekly"_s},
            {"showAs"_L1, u"free"_s},
            {"start"_L1, berlinTime(start)},
            {"end"_L1, berlinTime(start.addSecs(3600))},
            {"recurrence"_L1,
             QJsonObject{{"pattern"_L1,
                          QJsonObject{{"type"_L1, u"weekly"_s},
                                      {"interval"_L1, 1},
                                      {"daysOfWeek"_L1, QJsonArray{u"monday"_s}},
                                      {"firstDayOfWeek"_L1, u"monday"_s}}},
                         {"range"_L1,
                          QJsonObject{{"type"_L1, u"noEnd"_s},
                                      {"startDate"_L1, start.date().toString(Qt::ISODate)},
                                      {"recurrenceTimeZone"_L1, u"W. Europe Standard Time"_s}}}}}};
}

} // namespace

// One Graph calendar edited from two devices: this program, and a second
// client that talks to the stand-in over Graph's own API.
class TestGraphScenarios : public QObject, protected GraphSyncFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void concurrentEdits_data();
    void concurrentEdits();
    void seriesEdits_data();
    void seriesEdits();
    void runOutcomes_data();
    void runOutcomes();

private:
    bool sync(QString *failure = nullptr);
    // The second device's request; the answer's object.
    QJsonObject other(const QByteArray &verb, const QString &path, const QJsonObject &body = {});
    QString eventsPath(const QString &id = {}) const;
    // The second device's instance of `series` on the Monday `weeksFromNow`.
    QJsonObject instance(const QString &series, int weeksFromNow);
    QList<QJsonObject> rows(bool overrides) const;
    Event row(const QString &providerId) const;

    QString m_otherToken;
};

void TestGraphScenarios::initTestCase()
{
    QVERIFY2(startAll(), qPrintable(m_fake.errorString()));
}

void TestGraphScenarios::init()
{
    QVERIFY(freshCalendar(kRemote, u"Shared"_s));
    m_otherToken = m_fake.grantAccessToken();
}

bool TestGraphScenarios::sync(QString *failure)
{
    Microsoft::SyncClient client(m_state, &m_network, &m_tokens, m_config, m_fake.graphUrl());
    QSignalSpy completed(&client, &Microsoft::SyncClient::calendarSyncCompleted);
    QSignalSpy failed(&client, &Microsoft::SyncClient::calendarSyncFailed);
    client.syncCalendar(*m_state->calendars()->getById(m_calendarId));
    if (!QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 30000))
        return false;
    if (failure && !failed.isEmpty())
        *failure = failed.first().at(1).value<SyncResult>().describe();
    return !completed.isEmpty();
}

QString TestGraphScenarios::eventsPath(const QString &id) const
{
    return u"/me/calendars/%1/events%2"_s.arg(kRemote, id.isEmpty() ? QString() : u"/"_s + id);
}

QJsonObject TestGraphScenarios::other(const QByteArray &verb, const QString &path, const QJsonObject &body)
{
    QNetworkRequest request(QUrl(m_fake.graphUrl().toString() + path));
    request.setRawHeader("Authorization", "Bearer " + m_otherToken.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"application/json"_s);
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, QJsonDocument(body).toJson());
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        return {};
    reply->deleteLater();
    return QJsonDocument::fromJson(reply->readAll()).object();
}

QJsonObject TestGraphScenarios::instance(const QString &series, int weeksFromNow)
{
    const QDateTime at = seriesStart(-weeksFromNow);
    QUrlQuery query;
    query.addQueryItem(u"startDateTime"_s, at.addDays(-1).toUTC().toString(Qt::ISODate));
    query.addQueryItem(u"endDateTime"_s, at.addDays(1).toUTC().toString(Qt::ISODate));
    const QJsonArray found =
        other("GET", eventsPath(series) + u"/instances?"_s + query.toString(QUrl::FullyEncoded))["value"_L1].toArray();
    return found.isEmpty() ? QJsonObject() : found.first().toObject();
}

QList<QJsonObject> TestGraphScenarios::rows(bool overrides) const
{
    QList<QJsonObject> out;
    for (const Event &event : m_state->events()->getByCalendar(m_calendarId)) {
        if (event.isOverride() == overrides)
            out.append({{"title"_L1, event.title}, {"start"_L1, event.start_time.toUTC().toString(Qt::ISODate)}});
    }
    return out;
}

Event TestGraphScenarios::row(const QString &providerId) const
{
    for (const Event &event : m_state->events()->getByCalendar(m_calendarId)) {
        if (event.provider_event_id == providerId)
            return *m_state->events()->getById(event.id);
    }
    return Event();
}

void TestGraphScenarios::concurrentEdits_data()
{
    QTest::addColumn<QJsonObject>("there");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("serverLocation");
    QTest::addColumn<bool>("conflict");

    QTest::newRow("different properties both survive")
        << QJsonObject{{"location"_L1, QJsonObject{{"displayName"_L1, u"Room 2"_s}}}} << u"Mine"_s << u"Room 1"_s
        << u"Mine"_s << u"Room 2"_s << false;
    QTest::newRow("same property: this side wins and it is recorded")
        << QJsonObject{{"subject"_L1, u"Theirs"_s}} << u"Mine"_s << u"Room 1"_s << u"Mine"_s << u"Room 1"_s << true;
    QTest::newRow("a location cleared here is cleared there")
        << QJsonObject{} << u"Review"_s << QString() << u"Review"_s << QString() << false;
}

void TestGraphScenarios::concurrentEdits()
{
    QFETCH(QJsonObject, there);
    QFETCH(QString, title);
    QFETCH(QString, location);
    QFETCH(QString, subject);
    QFETCH(QString, serverLocation);
    QFETCH(bool, conflict);

    QJsonObject seeded = single(u"e"_s, u"Review"_s);
    seeded.insert("showAs"_L1, u"free"_s);
    seeded.insert("location"_L1, QJsonObject{{"displayName"_L1, u"Room 1"_s}});
    m_fake.changeEvents(kRemote, {seeded});
    QVERIFY(sync());
    Event local = row(u"e"_s);
    local.title = title;
    local.location = location;
    local.sync_status = SyncStatus::Pending;
    QVERIFY(m_state->events()->update(local));
    if (!there.isEmpty())
        other("PATCH", eventsPath(u"e"_s), there);
    const qsizetype conflictsBefore = m_state->conflicts()->conflicts().size();

    QString failure;
    QVERIFY2(sync(&failure), qPrintable(failure));
    const QJsonObject stored = m_fake.events(kRemote).first();
    QCOMPARE(stored.value("subject"_L1).toString(), subject);
    QCOMPARE(stored["location"_L1].toObject().value("displayName"_L1).toString(), serverLocation);
    // What this program does not model stays as the server has it.
    QCOMPARE(stored.value("showAs"_L1).toString(), u"free"_s);
    QCOMPARE(m_state->conflicts()->conflicts().size() > conflictsBefore, conflict);
    QVERIFY(sync());
    QCOMPARE(row(u"e"_s).title, subject);
    QCOMPARE(row(u"e"_s).location, serverLocation);
    QCOMPARE(row(u"e"_s).sync_status, SyncStatus::Synced);
}

void TestGraphScenarios::seriesEdits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("overrides");
    QTest::addColumn<int>("exclusions");

    QTest::newRow("an occurrence moved here") << u"move here"_s << 1 << 0;
    QTest::newRow("an occurrence deleted here") << u"delete here"_s << 0 << 1;
    QTest::newRow("an occurrence moved there") << u"move there"_s << 1 << 0;
    QTest::newRow("an occurrence deleted there") << u"delete there"_s << 0 << 1;
    QTest::newRow("an occurrence deleted there while the link expired") << u"delete there, expire"_s << 0 << 1;
    QTest::newRow("the series moved an hour later here keeps its zone") << u"move series here"_s << 0 << 0;
    QTest::newRow("the series deleted there") << u"delete series there"_s << -1 << -1;
}

void TestGraphScenarios::seriesEdits()
{
    QFETCH(QString, edit);
    QFETCH(int, overrides);
    QFETCH(int, exclusions);

    // Begun a year ago, before the window; it crosses DST changes in it.
    const QDateTime first = seriesStart(52);
    m_fake.changeEvents(kRemote, {weeklySeries(u"s"_s, first)});
    QVERIFY(sync());
    Event master = row(u"s"_s);
    QCOMPARE(master.start_time, first);
    QCOMPARE(master.recurrence_rule, u"FREQ=WEEKLY;BYDAY=MO"_s);
    QCOMPARE(master.timezone, u"Europe/Berlin"_s);

    const QJsonObject target = instance(u"s"_s, 2);
    QVERIFY(!target.isEmpty());
    const QDateTime original = seriesStart(-2);
    const QString key = TimeUtil::toIcalUtc(original);
    const QDateTime moved = original.addSecs(2 * 3600);
    if (edit == "move here"_L1) {
        Event change = master;
        change.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        change.provider_event_id.clear();
        change.recurrence_rule.clear();
        change.raw_icalendar = ICalendar::serializeNewEvent(change);
        change.master_event_uid = master.uid;
        change.recurrence_id = key;
        change.start_time = moved;
        change.end_time = moved.addSecs(3600);
        change.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->insert(change));
    } else if (edit == "delete here"_L1) {
        master.exception_dates = QString::fromUtf8(QJsonDocument(QJsonArray{key}).toJson(QJsonDocument::Compact));
        master.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->update(master));
    } else if (edit == "move series here"_L1) {
        master.start_time = master.start_time.addSecs(3600);
        master.end_time = master.end_time->addSecs(3600);
        master.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->update(master));
    } else if (edit == "move there"_L1) {
        other("PATCH", eventsPath(target["id"_L1].toString()),
              {{"start"_L1, berlinTime(moved)}, {"end"_L1, berlinTime(moved.addSecs(3600))}});
    } else if (edit.startsWith("delete there"_L1)) {
        other("DELETE", eventsPath(target["id"_L1].toString()));
        if (edit.endsWith("expire"_L1))
            m_fake.control(u"expire-delta-tokens"_s);
    } else {
        other("DELETE", eventsPath(u"s"_s));
    }
    m_fake.control(u"clear-log"_s);
    QString failure;
    QVERIFY2(sync(&failure), qPrintable(failure));
    QVERIFY(sync());

    for (const QJsonObject &request : m_fake.requests()) {
        // One occurrence changes by its own id, never by the series.
        if (edit != "move series here"_L1 && request["path"_L1].toString().endsWith(eventsPath(u"s"_s)))
            QVERIFY(request["method"_L1].toString() == "GET"_L1);
        QVERIFY(request["method"_L1].toString() != "POST"_L1);
    }
    const QList<QJsonObject> stored = m_fake.events(kRemote);
    if (overrides < 0) {
        QVERIFY(rows(false).isEmpty() && rows(true).isEmpty());
        return;
    }
    QCOMPARE(stored.size(), 1);
    // The series keeps its Berlin wall clock, whoever wrote it last.
    QCOMPARE(stored.first()["start"_L1].toObject().value("timeZone"_L1).toString(), u"W. Europe Standard Time"_s);
    const int hour = edit == "move series here"_L1 ? 10 : 9;
    QVERIFY(stored.first()["start"_L1]
                .toObject()
                .value("dateTime"_L1)
                .toString()
                .contains(u"T%1:00:00"_s.arg(hour, 2, 10, QChar(u'0'))));
    // Every occurrence of the coming year, in summer and winter time alike.
    QUrlQuery year;
    year.addQueryItem(u"startDateTime"_s, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    year.addQueryItem(u"endDateTime"_s, QDateTime::currentDateTimeUtc().addYears(1).toString(Qt::ISODate));
    for (const QJsonValue &item :
         other("GET", eventsPath(u"s"_s) + u"/instances?"_s + year.toString(QUrl::FullyEncoded))["value"_L1]
             .toArray()) {
        const QDateTime wall = QDateTime::fromString(item["start"_L1]["dateTime"_L1].toString().left(19), Qt::ISODate);
        const QDateTime at = TimeUtil::utc(wall.date(), wall.time());
        if (item["type"_L1].toString() == "occurrence"_L1)
            QCOMPARE(at.toTimeZone(QTimeZone("Europe/Berlin")).time(), QTime(hour, 0));
    }
    QCOMPARE(row(u"s"_s).title, stored.first().value("subject"_L1).toString());
    QCOMPARE(rows(false).size(), 1);
    QCOMPARE(rows(true).size(), overrides);
    const QStringList excluded =
        QJsonDocument::fromJson(row(u"s"_s).exception_dates.toUtf8()).toVariant().toStringList();
    QCOMPARE(excluded.size(), exclusions);
    if (exclusions > 0)
        QCOMPARE(excluded.first(), key);
    if (overrides > 0)
        QCOMPARE(rows(true).first().value("start"_L1).toString(), moved.toUTC().toString(Qt::ISODate));
    // There, the occurrence is where this side has it, and only there.
    const QJsonObject now = instance(u"s"_s, 2);
    QCOMPARE(now.isEmpty(), exclusions > 0);
    if (!now.isEmpty())
        QCOMPARE(now.value("type"_L1).toString(), overrides > 0 ? u"exception"_s : u"occurrence"_s);
}

void TestGraphScenarios::runOutcomes_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<QStringList>("here");

    const QString gone = u"Gone there"_s;
    const QString kept = u"Kept"_s;
    const QString made = u"New here"_s;
    QTest::newRow("410 after deletions there: a new round leaves nothing stale")
        << u"expire"_s << true << 0 << QStringList{kept, made} << QStringList{kept, made};
    QTest::newRow("a refused write among good ones")
        << u"refuse"_s << true << 1 << QStringList{gone, kept, made} << QStringList{gone, u"Kept here"_s, made};
    QTest::newRow("a rule Graph cannot hold stays here")
        << u"hourly"_s << true << 1 << QStringList{gone, kept, made} << QStringList{gone, u"Hourly"_s, kept, made};
    QTest::newRow("a window moved on starts a new round")
        << u"reanchor"_s << true << 0 << QStringList{gone, kept, made} << QStringList{gone, kept, made};
    QTest::newRow("an insert whose answer is cut short is not made twice")
        << u"garble insert"_s << true << 1 << QStringList{gone, kept, made} << QStringList{gone, kept, made};
    QTest::newRow("a cut-short page fails and keeps the cursor")
        << u"garble"_s << false << 1 << QStringList{gone, kept} << QStringList{gone, kept, made};
}

void TestGraphScenarios::runOutcomes()
{
    QFETCH(QString, trouble);
    QFETCH(bool, completes);
    QFETCH(int, pending);
    QFETCH(QStringList, there);
    QFETCH(QStringList, here);

    const QDateTime start = seriesStart(-1);
    m_fake.changeEvents(kRemote, {single(u"k"_s, u"Kept"_s), single(u"g"_s, u"Gone there"_s)});
    QVERIFY(sync());
    const QString cursor = m_state->calendars()->getById(m_calendarId)->delta_sync_token;

    Event local;
    local.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    local.uid = local.id;
    local.calendar_id = m_calendarId;
    local.title = u"New here"_s;
    local.start_time = start;
    local.end_time = start.addSecs(1800);
    local.timezone = u"Europe/Berlin"_s;
    local.created = local.last_modified = QDateTime::currentDateTimeUtc();
    local.sync_status = SyncStatus::Pending;
    local.raw_icalendar = ICalendar::serializeNewEvent(local);
    QVERIFY(m_state->events()->insert(local));
    if (trouble == "expire"_L1) {
        m_fake.removeEvents(kRemote, {u"g"_s});
        m_fake.control(u"expire-delta-tokens"_s);
    } else if (trouble == "refuse"_L1) {
        Event edited = row(u"k"_s);
        edited.title = u"Kept here"_s;
        edited.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->update(edited));
        m_fake.control(u"fail"_s, {{"method"_L1, u"PATCH"_s}, {"path"_L1, u"/events/k"_s}, {"status"_L1, 403}});
    } else if (trouble == "reanchor"_L1) {
        Calendar calendar = *m_state->calendars()->getById(m_calendarId);
        const QDateTime earlier = QDateTime::currentDateTimeUtc().addMonths(-8);
        calendar.delta_sync_token = earlier.toString(Qt::ISODate) + calendar.delta_sync_token.mid(20);
        QVERIFY(m_state->calendars()->update(calendar));
    } else if (trouble == "hourly"_L1) {
        local.id = local.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        local.title = u"Hourly"_s;
        local.recurrence_rule = u"FREQ=HOURLY;COUNT=3"_s;
        QVERIFY(m_state->events()->insert(local));
    } else if (trouble == "garble insert"_L1) {
        m_fake.control(u"garble"_s, {{"path"_L1, u"/events"_s}});
    } else {
        m_fake.control(u"garble"_s, {{"path"_L1, u"/delta"_s}});
    }

    m_fake.control(u"clear-log"_s);
    QCOMPARE(sync(), completes);
    if (trouble == "reanchor"_L1)
        QVERIFY(m_fake.requests().first()["query"_L1].toObject().contains("startDateTime"_L1));
    const auto bothSides = [&] {
        QStringList server;
        for (const QJsonObject &item : m_fake.events(kRemote))
            server.append(item.value("subject"_L1).toString());
        server.sort();
        QCOMPARE(server, there);
        QStringList mine;
        for (const QJsonObject &item : rows(false))
            mine.append(item.value("title"_L1).toString());
        mine.sort();
        QCOMPARE(mine, here);
    };
    bothSides();
    QCOMPARE(m_state->events()->getPending(m_calendarId).size(), pending);
    const Calendar calendar = *m_state->calendars()->getById(m_calendarId);
    // Never "synced" alone while a row stays behind.
    if (completes)
        QCOMPARE(calendar.last_sync_error.isEmpty(), pending == 0);
    else
        QCOMPARE(calendar.delta_sync_token, cursor);
    // The next run settles: nothing made twice on either side.
    if (completes) {
        QVERIFY(sync());
        bothSides();
    }
}

QTEST_GUILESS_MAIN(TestGraphScenarios)
#include "tst_graphscenarios.moc"
