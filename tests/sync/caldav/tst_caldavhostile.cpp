#include "awaitresponse.h"
#include "caldavdiscovery.h"
#include "faultproxy.h"
#include "radicaleserver.h"
#include "replysizeguard.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Fault = FaultProxy::Fault;
using Kind = SyncResult::Kind;
using Step = SyncResult::Step;

// Radicale without authentication takes the user from the Basic header.
const QString kUser = u"alice"_s;

QString uidAt(int index)
{
    return u"hostile-%1@test"_s.arg(index, 2, 10, QLatin1Char('0'));
}

QByteArray objectText(const QString &uid, const QString &title)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Peer//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
           "DTSTAMP:20260301T080000Z\r\nDTSTART:20260310T090000Z\r\nDTEND:20260310T100000Z\r\nSUMMARY:%2\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, title)
               .toUtf8();
}

// A 1.6 MB multistatus whose DTD defines a 4,000-character entity and uses
// it 400,000 times in one object's `element`: about 1.6 GB once read.
QByteArray entityBomb(const QByteArray &element)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE d:multistatus [<!ENTITY e \""
        + QByteArray(4000, 'x')
        + "\">]>\n<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\" "
          "xmlns:cs=\"http://calendarserver.org/ns/\"><d:response><d:href>/alice/x.ics</d:href><d:propstat><d:prop><"
        + element + '>' + QByteArray("&e;").repeated(400000) + "</" + element.split(' ').first()
        + "></d:prop></d:propstat></d:response></d:multistatus>";
}

// One response naming `href` with an ETag, and calendar data when given.
QByteArray responseFor(const QByteArray &href, const QByteArray &data = {})
{
    const QByteArray calendarData =
        data.isEmpty() ? QByteArray() : "<C:calendar-data xmlns:C=\"urn:ietf:params:xml:ns:caldav\">" + data + "</C:calendar-data>";
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop><d:getetag>\"evil\"</d:getetag>"
        + calendarData + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

} // namespace

// A calendar on Radicale behind a proxy that misbehaves as servers do: one
// resource answers 412 to every write, a listing is cut short at the
// server's limit, an answer never ends or announces more than any bound.
// What the server did answer is synced, and the run says what it did not.
class TestCalDavHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        QVERIFY(m_fixture.start());
        m_state = m_fixture.state();
        m_direct.setCredentials(kUser, {});
    }

    void init()
    {
        m_proxy = std::make_unique<FaultProxy>(m_radicale.baseUrl());
        QVERIFY(m_proxy->start());
        const QString path = u"/alice/hostile-%1/"_s.arg(++m_collections);
        QVERIFY(makeCalendar(m_direct, m_radicale.url(path), path));
        m_collection = m_radicale.url(path);
        m_calendarId = addCalDavCalendar(m_state, m_proxy->url(path), kUser).id;
    }

    void cleanup() { m_proxy.reset(); }

    void stuckConflictHoldsBackNoOther_data()
    {
        QTest::addColumn<int>("stuck");
        QTest::addColumn<bool>("edited"); // an update of a synced event, else a new one
        QTest::newRow("the first new event") << 0 << false;
        QTest::newRow("a new event in the middle") << 4 << false;
        QTest::newRow("the last new event") << 19 << false;
        QTest::newRow("an edited event in the middle") << 4 << true;
    }

    // One resource the server answers 412 whatever is sent: the other 19 go
    // out in the same run, the stuck one stays pending with its text, and
    // the run reports that one 412.
    void stuckConflictHoldsBackNoOther()
    {
        QFETCH(int, stuck);
        QFETCH(bool, edited);
        QStringList ids;
        for (int i = 0; i < 20; ++i) {
            const QDateTime start = TimeUtil::utc(QDate(2026, 3, 2), QTime(8, 0)).addSecs(3600 * i);
            ids.append(
                insertNewEvent(m_state, m_calendarId, uidAt(i), u"New %1"_s.arg(i), start, start.addSecs(1800)).id);
        }
        QString want = u"New"_s;
        if (edited) {
            QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
            for (const QString &id : std::as_const(ids)) {
                Event event = *m_state->events()->getById(id);
                event.title.replace(u"New"_s, u"Edited"_s);
                event.sync_status = u"pending"_s;
                QVERIFY(m_state->events()->update(event));
            }
            want = u"Edited"_s;
        }
        // The name before the "@", which the resource's URL may escape.
        m_proxy->addRule("PUT", uidAt(stuck).section(u'@', 0, 0).toUtf8(), {}, Fault::PreconditionFailed);

        const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, {});
        QCOMPARE(outcome.result.kind, Kind::Answer);
        QCOMPARE(outcome.result.step, Step::EventPush);
        QCOMPARE(outcome.result.status, 412);
        QCOMPARE(outcome.result.subject, u"%1 %2"_s.arg(want).arg(stuck));
        QCOMPARE(m_proxy->faultsServed(), 2); // sent once more after the server copy was read
        QStringList expected;
        for (int i = 0; i < 20; ++i) {
            const Event event = *m_state->events()->getById(ids.at(i));
            QCOMPARE(event.sync_status, i == stuck ? u"pending"_s : u"synced"_s);
            QCOMPARE(event.title, u"%1 %2"_s.arg(want).arg(i));
            if (i != stuck)
                expected.append(event.title);
            else if (edited)
                expected.append(u"New %1"_s.arg(i));
        }
        expected.sort();
        QCOMPARE(serverTitles(), expected);
    }

    void cutListingIsTold_data()
    {
        QTest::addColumn<QByteArray>("component");
        QTest::addColumn<int>("keep");
        QTest::addColumn<Step>("step");
        QTest::newRow("events: two of five, then the server's limit")
            << QByteArray("VEVENT") << 2 << Step::EventListing;
        QTest::newRow("events: none at all, only the limit") << QByteArray("VEVENT") << 0 << Step::EventListing;
        QTest::newRow("to-dos: the limit before any") << QByteArray("VTODO") << 0 << Step::TaskListing;
    }

    // Every row stays, the local change still goes out, the markers are not
    // taken, and the run ends saying the listing was incomplete.
    void cutListingIsTold()
    {
        QFETCH(QByteArray, component);
        QFETCH(int, keep);
        QFETCH(Step, step);
        for (int i = 0; i < 5; ++i)
            QVERIFY(putObject(m_direct, m_collection, uidAt(i), objectText(uidAt(i), u"There %1"_s.arg(i))));
        QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
        QCOMPARE(m_state->events()->getByCalendar(m_calendarId).size(), 5);
        const QString ctag = m_state->calendars()->getById(m_calendarId)->ctag;

        const QDateTime start = TimeUtil::utc(QDate(2026, 3, 20), QTime(9, 0));
        const QString added =
            insertNewEvent(m_state, m_calendarId, u"added@here"_s, u"Added here"_s, start, start.addSecs(3600)).id;
        QVERIFY(putObject(m_direct, m_collection, uidAt(5), objectText(uidAt(5), u"There 5"_s)));
        m_proxy->addRule("REPORT", {}, "name=\"" + component + "\"", Fault::CutListing, keep);

        const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, {});
        QCOMPARE(outcome.result, SyncResult::failure(Kind::IncompleteListing, step));
        QCOMPARE(m_proxy->faultsServed(), 1);
        QVERIFY(m_state->events()->getByCalendar(m_calendarId).size() >= 6);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(m_state->events()->getByUid(uidAt(i), m_calendarId), qPrintable(uidAt(i)));
        QCOMPARE(m_state->events()->getById(added)->sync_status, u"synced"_s);
        QCOMPARE(m_state->calendars()->getById(m_calendarId)->ctag, ctag);
    }

    void endlessAnswerIsCutOff_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("body"); // a piece of the request body the fault waits for
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Step>("step");
        QTest::addColumn<qint64>("bound");
        const qint64 multistatus = ReplySizeGuard::kMultistatusBytes;
        QTest::newRow("the markers never end")
            << QByteArray("PROPFIND") << QByteArray("getctag") << Fault::Endless << Step::Markers << multistatus;
        QTest::newRow("the listing never ends") << QByteArray("REPORT") << QByteArray("calendar-query")
                                                << Fault::Endless << Step::EventListing << multistatus;
        QTest::newRow("the multiget never ends")
            << QByteArray("REPORT") << QByteArray("calendar-multiget") << Fault::Endless << Step::Fetch << multistatus;
        QTest::newRow("the answer to a PUT never ends")
            << QByteArray("PUT") << QByteArray() << Fault::Endless << Step::EventPush << ReplySizeGuard::kObjectBytes;
        QTest::newRow("the listing announces a terabyte") << QByteArray("REPORT") << QByteArray("calendar-query")
                                                          << Fault::AnnouncedHuge << Step::EventListing << multistatus;
    }

    // The run fails at the bound of the answer's kind, having read little
    // more than the bound, and what is stored stays as it was.
    void endlessAnswerIsCutOff()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, body);
        QFETCH(Fault, fault);
        QFETCH(Step, step);
        QFETCH(qint64, bound);
        QVERIFY(putObject(m_direct, m_collection, uidAt(0), objectText(uidAt(0), u"There"_s)));
        const QDateTime start = TimeUtil::utc(QDate(2026, 3, 20), QTime(9, 0));
        const QString added =
            insertNewEvent(m_state, m_calendarId, u"added@here"_s, u"Added here"_s, start, start.addSecs(3600)).id;
        m_proxy->addRule(method, {}, body, fault);

        const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, {});
        QCOMPARE(outcome.result.kind, Kind::TooLarge);
        QCOMPARE(outcome.result.step, step);
        QCOMPARE(outcome.result.limit, bound);
        QVERIFY2(m_proxy->streamed() < 2 * bound, qPrintable(QString::number(m_proxy->streamed())));
        QCOMPARE(m_state->events()->getById(added)->sync_status, u"pending"_s);
    }

    void answerWithADtdIsRefused_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("body"); // a piece of the request body the fault waits for
        QTest::addColumn<QByteArray>("element"); // where the entity is used
        QTest::addColumn<Step>("step");
        QTest::newRow("the markers, inside the ctag")
            << QByteArray("PROPFIND") << QByteArray("getctag") << QByteArray("cs:getctag") << Step::Markers;
        QTest::newRow("the event listing, inside an etag")
            << QByteArray("REPORT") << QByteArray("name=\"VEVENT\"") << QByteArray("d:getetag") << Step::EventListing;
        QTest::newRow("the multiget, inside calendar-data")
            << QByteArray("REPORT") << QByteArray("calendar-multiget") << QByteArray("c:calendar-data") << Step::Fetch;
        QTest::newRow("the to-do listing, inside an etag")
            << QByteArray("REPORT") << QByteArray("name=\"VTODO\"") << QByteArray("d:getetag") << Step::TaskListing;
        QTest::newRow("discovery's principal")
            << QByteArray("PROPFIND") << QByteArray("current-user-principal")
            << QByteArray("d:current-user-principal") << Step::Principal;
    }

    // The run fails at that request, saying why, and what is stored stays
    // as it was: the server's change is not taken, the local one still waits.
    void answerWithADtdIsRefused()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, element);
        QFETCH(Step, step);
        if (step == Step::Principal) {
            m_proxy->addRule(method, {}, body, Fault::Answer, 0, entityBomb(element));
            CalDavClient client;
            CalDavDiscovery discovery(&client);
            QSignalSpy failed(&discovery, &CalDavDiscovery::failed);
            discovery.start(m_proxy->url(u"/"_s));
            QVERIFY(failed.wait(10000));
            QCOMPARE(failed.first().first().value<SyncResult>(), SyncResult::failure(Kind::DocumentType, step));
            return;
        }
        QVERIFY(putObject(m_direct, m_collection, uidAt(0), objectText(uidAt(0), u"There"_s)));
        QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
        QVERIFY(putObject(m_direct, m_collection, uidAt(0), objectText(uidAt(0), u"Changed there"_s)));
        const QDateTime start = TimeUtil::utc(QDate(2026, 3, 20), QTime(9, 0));
        const QString added =
            insertNewEvent(m_state, m_calendarId, u"added@here"_s, u"Added here"_s, start, start.addSecs(3600)).id;
        const QString ctag = m_state->calendars()->getById(m_calendarId)->ctag;
        m_proxy->addRule(method, {}, body, Fault::Answer, 0, entityBomb(element));

        const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, {});
        QCOMPARE(outcome.result, SyncResult::failure(Kind::DocumentType, step));
        QCOMPARE(m_proxy->faultsServed(), 1);
        if (step != Step::TaskListing) // the events were in before the to-dos were asked for
            QCOMPARE(m_state->events()->getByUid(uidAt(0), m_calendarId)->title, u"There"_s);
        QCOMPARE(m_state->events()->getById(added)->sync_status, u"pending"_s);
        QCOMPARE(m_state->calendars()->getById(m_calendarId)->ctag, ctag);
    }

    void foreignHrefsAreNeverTouched_data()
    {
        QTest::addColumn<QByteArray>("body"); // of the request whose answer names the href
        QTest::addColumn<QByteArray>("href"); // {other}: the other calendar's path
        QTest::addColumn<bool>("withData");
        QTest::newRow("the listing: up and into the other calendar")
            << QByteArray("name=\"VEVENT\"") << QByteArray("../{other}/evil.ics") << false;
        QTest::newRow("the listing: the other calendar by path")
            << QByteArray("name=\"VEVENT\"") << QByteArray("/alice/{other}/evil.ics") << false;
        QTest::newRow("the listing: the other calendar by an absolute URL of the same host")
            << QByteArray("name=\"VEVENT\"") << QByteArray("{origin}/alice/{other}/evil.ics") << false;
        QTest::newRow("the listing: up by encoded dots")
            << QByteArray("name=\"VEVENT\"") << QByteArray("%2e%2e/{other}/evil.ics") << false;
        QTest::newRow("the multiget: the other calendar's object, with data")
            << QByteArray("calendar-multiget") << QByteArray("/alice/{other}/evil.ics") << true;
    }

    // Nothing of the other calendar is stored, and no write of this one's
    // run reaches it; the calendar names the href as an item it could not sync.
    void foreignHrefsAreNeverTouched()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, href);
        QFETCH(bool, withData);
        const QString other = u"hostile-other-%1"_s.arg(m_collections);
        const QUrl otherUrl = m_radicale.url(u"/alice/"_s + other + u'/');
        QVERIFY(makeCalendar(m_direct, otherUrl, other));
        const QByteArray theirs = objectText(u"evil@there"_s, u"Another calendar's"_s);
        QVERIFY(putObject(m_direct, otherUrl, u"evil"_s, theirs));
        const auto before = httpGet(CalDavHref::newResourceUrl(otherUrl, u"evil"_s), kUser, {});
        QVERIFY(putObject(m_direct, m_collection, uidAt(0), objectText(uidAt(0), u"Mine"_s)));
        href.replace("{other}", other.toUtf8()).replace("{origin}", m_proxy->url({}).toString().toUtf8());
        m_proxy->addRule("REPORT", {}, body, Fault::ExtraResponses, 0, responseFor(href, withData ? theirs : QByteArray()));

        QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
        QVERIFY(m_proxy->faultsServed() >= 1);
        QList<Event> stored = m_state->events()->getByCalendar(m_calendarId);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().uid, uidAt(0));
        if (!withData) // the multiget brought it unasked: left out, not named
            QCOMPARE(m_state->calendars()->getById(m_calendarId)->last_sync_error, u"1 item(s) could not be synced"_s);

        // Every row of this calendar edited: the push stays here.
        stored.first().title = u"Mine, edited"_s;
        stored.first().sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(stored.first()));
        QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
        QCOMPARE(httpGet(CalDavHref::newResourceUrl(otherUrl, u"evil"_s), kUser, {}), before);
        QCOMPARE(serverTitles(), QStringList{u"Mine, edited"_s});
    }

    void listingThatNamesNothingHereRemovesNothing_data()
    {
        QTest::addColumn<QByteArray>("answer"); // {elsewhere}: the collection at another origin
        QTest::newRow("every object at another origin (a proxy rewriting the host)")
            << "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\">" + responseFor("{elsewhere}a.ics")
                + responseFor("{elsewhere}b.ics") + "</d:multistatus>";
        QTest::newRow("a page of a proxy or portal in well-formed XML")
            << QByteArray("<html><head><title>Sign in</title></head><body><p>Sign in to go on</p></body></html>");
        QTest::newRow("an error element instead of a multistatus")
            << QByteArray("<?xml version=\"1.0\"?><d:error xmlns:d=\"DAV:\"><d:valid-sync-token/></d:error>");
    }

    // An answer that names nothing of this calendar as a multistatus does
    // tells nothing of what the calendar holds: the run says so and the rows
    // stay.
    void listingThatNamesNothingHereRemovesNothing()
    {
        QFETCH(QByteArray, answer);
        QVERIFY(putObject(m_direct, m_collection, uidAt(0), objectText(uidAt(0), u"Mine"_s)));
        QCOMPARE(syncOnce(m_state, m_calendarId, kUser, {}).failure, QString());
        QVERIFY(putObject(m_direct, m_collection, uidAt(1), objectText(uidAt(1), u"Second"_s)));
        const QByteArray elsewhere = "https://elsewhere.example" + m_collection.path().toUtf8();
        m_proxy->addRule("REPORT", {}, "name=\"VEVENT\"", Fault::Answer, 0, answer.replace("{elsewhere}", elsewhere));

        QVERIFY(!syncOnce(m_state, m_calendarId, kUser, {}).failure.isEmpty());
        QVERIFY(m_proxy->faultsServed() >= 1);
        QVERIFY(m_state->events()->getByUid(uidAt(0), m_calendarId));
    }

private:
    // The titles of the events the collection holds, as another client reads them.
    QStringList serverTitles()
    {
        QStringList titles;
        const QJsonArray listed = runPeer(m_collection, kUser, {}, {peerOp(u"list"_s)}).at(0).toArray();
        for (const QJsonValue &value : listed)
            titles.append(value[u"summary"_s].toString());
        titles.sort();
        return titles;
    }

    RadicaleServer m_radicale;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    CalDavClient m_direct;
    std::unique_ptr<FaultProxy> m_proxy;
    QUrl m_collection;
    QString m_calendarId;
    int m_collections = 0;
};

QTEST_MAIN(TestCalDavHostile)
#include "tst_caldavhostile.moc"
