#include "webcalharness.h"

#include "database.h"
#include "scriptedhttpserver.h"
#include "subscriptionrefresh.h"
#include "subscriptionurl.h"
#include "synccoordinator.h"
#include "systemzone.h"
#include "testcertificate.h"

#include <QElapsedTimer>
#include <QNetworkRequest>
#include <QSqlQuery>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &start,
                  const QByteArray &extra = {})
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + start
        + "\r\nDURATION:PT1H\r\nSUMMARY:" + summary + "\r\n" + extra + "END:VEVENT\r\n";
}

QByteArray feed(const QList<QByteArray> &events)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//feed//EN\r\n";
    for (const QByteArray &event : events)
        text += event;
    return text + "END:VCALENDAR\r\n";
}

const ScriptedHttpServer::Headers kCalendarType{{"Content-Type", "text/calendar; charset=utf-8"}};

// The answer, as a calendar, to the next GET of the feed.
void serveFeed(ScriptedHttpServer &server, const QList<QByteArray> &events)
{
    server.expect("GET", "/feed.ics").reply(200, feed(events), kCalendarType);
}

// A peer the scripted server cannot play: one that never answers, trickles
// its answer, or streams a body without announcing its length.
class RawFeedServer : public QTcpServer
{
public:
    enum class Mode { Silent, Trickle, Stream };
    explicit RawFeedServer(Mode mode)
        : m_mode(mode)
    {
        listen(QHostAddress::LocalHost);
    }
    QString url() const { return u"http://127.0.0.1:%1/feed.ics"_s.arg(serverPort()); }
    qint64 sent() const { return m_sent; }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        if (m_mode == Mode::Silent)
            return;
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/calendar\r\n\r\nBEGIN:VCALENDAR\r\n");
        if (m_mode == Mode::Trickle) {
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] { socket->write("X"); });
            timer->start(100);
            return;
        }
        const QByteArray chunk(1024 * 1024, 'X');
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket, chunk] {
            if (socket->bytesToWrite() == 0 && m_sent < 50LL * 1024 * 1024) {
                m_sent += chunk.size();
                socket->write(chunk);
            }
        });
        m_sent += chunk.size();
        socket->write(chunk);
    }

private:
    Mode m_mode;
    qint64 m_sent = 0;
};

} // namespace

// Subscriptions fetched from scripted peers on 127.0.0.1, over HTTP and over
// TLS with a certificate this process trusts, into a real store.
class TestWebcalSync : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestCertificate> m_certificate;
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    // A subscription served by `server` at /feed.ics.
    Calendar subscribe(const ScriptedHttpServer &server, const QString &scheme = {})
    {
        QUrl url = server.url(u"/feed.ics"_s);
        if (!scheme.isEmpty())
            url.setScheme(scheme);
        return addSubscription(m_state, url.toString());
    }

    QHash<QString, QString> idsByUid(const QString &calendarId) const
    {
        QHash<QString, QString> ids;
        const QList<Event> events = m_state->events()->getByCalendar(calendarId);
        for (const Event &event : events)
            ids.insert(event.uid, event.id);
        return ids;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_certificate = std::make_unique<TestCertificate>(m_dir.path(), u"feeds"_s);
        QVERIFY2(m_certificate->isValid(), qPrintable(m_certificate->errorString()));
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.addCaCertificate(m_certificate->certificate());
        QSslConfiguration::setDefaultConfiguration(configuration);
    }

    void init() { AppStateFixture::startFresh(m_fixture, m_state); }

    void cleanup()
    {
        m_state = nullptr;
        m_fixture.reset();
    }

    // --- Addresses -----------------------------------------------------------

    void normalize_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("fetched");
        QTest::newRow("webcal reads as https")
            << u"webcal://example.org/cal/feed.ics?x=1"_s << u"https://example.org/cal/feed.ics?x=1"_s;
        QTest::newRow("WEBCALS in capitals reads as https")
            << u"WEBCALS://example.org/a.ics"_s << u"https://example.org/a.ics"_s;
        QTest::newRow("http stays http") << u"http://example.org/a.ics"_s << u"http://example.org/a.ics"_s;
        QTest::newRow("https stays https") << u"https://example.org/a.ics"_s << u"https://example.org/a.ics"_s;
    }
    void normalize()
    {
        QFETCH(QString, stored);
        QFETCH(QString, fetched);
        QCOMPARE(Webcal::normalizeSubscriptionUrl(stored).toString(), fetched);
    }

    void schemes_data()
    {
        QTest::addColumn<bool>("tls");
        QTest::addColumn<QString>("scheme");
        QTest::newRow("webcal over TLS") << true << u"webcal"_s;
        QTest::newRow("webcals over TLS") << true << u"webcals"_s;
        QTest::newRow("WEBCAL in capitals over TLS") << true << u"WEBCAL"_s;
        QTest::newRow("http over plain TCP") << false << u"http"_s;
    }
    // The feed is fetched with the client's headers and lands in the calendar.
    void schemes()
    {
        QFETCH(bool, tls);
        QFETCH(QString, scheme);
        ScriptedHttpServer server;
        QVERIFY(tls ? server.startTls(m_certificate->certificate(), m_certificate->key()) : server.start());
        server.expect("GET", "/feed.ics")
            .header("User-Agent", "QuillmartenCalendar/1.0 (+webcal)")
            .header("Accept", "text/calendar, text/plain, */*")
            .noHeader("Authorization")
            .noHeader("If-None-Match")
            .reply(200,
                   feed({vevent("a@feed", "Alpha", "20260310T090000Z"), vevent("b@feed", "Beta", "20260311T090000Z")}),
                   kCalendarType);
        const Calendar calendar = subscribe(server, scheme);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 2);
        QCOMPARE(server.problems(), QStringList());
        QCOMPARE(eventLines(m_state, calendar.id),
                 (QStringList{u"a@feed | - | Alpha | - | 2026-03-10T09:00:00Z | 2026-03-10T10:00:00Z"_s,
                              u"b@feed | - | Beta | - | 2026-03-11T09:00:00Z | 2026-03-11T10:00:00Z"_s}));
    }

    void invalidAddressSendsNothing_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("empty") << u""_s;
        QTest::newRow("no host") << u"webcal:///feed.ics"_s;
        QTest::newRow("not a web address") << u"mailto:someone@example.org"_s;
    }
    void invalidAddressSendsNothing()
    {
        QFETCH(QString, url);
        const Calendar calendar = addSubscription(m_state, url);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QCOMPARE(outcome.result.kind, SyncResult::Kind::BadAddress);
        QCOMPARE(outcome.result.subject, url);
    }

    // --- A second version of the feed ---------------------------------------

    // Only what changed is written: the unchanged event keeps its row and its
    // write time, the changed one keeps its row, the dropped one goes, the
    // new one comes; views hear of it once.
    void secondVersion()
    {
        ScriptedHttpServer server;
        QVERIFY(server.startTls(m_certificate->certificate(), m_certificate->key()));
        const QList<QByteArray> secondFeed = {vevent("keep@feed", "Kept", "20260310T090000Z"),
                                              vevent("edit@feed", "After", "20260311T100000Z"),
                                              vevent("new@feed", "Added", "20260313T090000Z")};
        serveFeed(server,
                  {vevent("keep@feed", "Kept", "20260310T090000Z"), vevent("edit@feed", "Before", "20260311T090000Z"),
                   vevent("drop@feed", "Dropped", "20260312T090000Z")});
        serveFeed(server, secondFeed);
        const Calendar calendar = subscribe(server, u"webcals"_s);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 3);
        const QHash<QString, QString> before = idsByUid(calendar.id);
        const QDateTime keptWritten = m_state->events()->getById(before.value(u"keep@feed"_s))->last_modified;
        QTest::qWait(300); // the first refresh's change signal is out

        QSignalSpy changed(m_state->events(), &EventRepository::eventsChanged);
        const RefreshOutcome second = refreshOnce(m_state, calendar.id);
        QCOMPARE(second.failure, QString());
        QCOMPARE(second.count, 3);
        QCOMPARE(server.problems(), QStringList());
        QTest::qWait(400);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toString(), calendar.id);

        const QHash<QString, QString> after = idsByUid(calendar.id);
        QCOMPARE(after.value(u"keep@feed"_s), before.value(u"keep@feed"_s));
        QCOMPARE(after.value(u"edit@feed"_s), before.value(u"edit@feed"_s));
        QVERIFY(!after.contains(u"drop@feed"_s));
        QVERIFY(after.contains(u"new@feed"_s));
        QCOMPARE(m_state->events()->getById(after.value(u"keep@feed"_s))->last_modified, keptWritten);
        QCOMPARE(eventLines(m_state, calendar.id),
                 (QStringList{u"edit@feed | - | After | - | 2026-03-11T10:00:00Z | 2026-03-11T11:00:00Z"_s,
                              u"keep@feed | - | Kept | - | 2026-03-10T09:00:00Z | 2026-03-10T10:00:00Z"_s,
                              u"new@feed | - | Added | - | 2026-03-13T09:00:00Z | 2026-03-13T10:00:00Z"_s}));

        // The same feed again writes nothing and signals nothing.
        serveFeed(server, secondFeed);
        changed.clear();
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 3);
        QTest::qWait(400);
        QCOMPARE(changed.size(), 0);
    }

    // After the machine moves to another zone, a refresh reads every event
    // of the feed in it, changed or not: a floating time is the same wall
    // clock wherever the machine is, a fixed one the same instant.
    void refreshAfterTheSystemZoneChanged_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QTime>("wallClock"); // in the new zone
        QTest::newRow("floating 10:00: 10:00 in the new zone") << QByteArray("20260610T100000") << QTime(10, 0);
        QTest::newRow("UTC 10:00: the same instant") << QByteArray("20260610T100000Z") << QTime(19, 0);
    }
    void refreshAfterTheSystemZoneChanged()
    {
        QFETCH(QByteArray, start);
        QFETCH(QTime, wallClock);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        serveFeed(server, {vevent("kept@feed", "Kept", start), vevent("edited@feed", "Before", start)});
        serveFeed(server, {vevent("kept@feed", "Kept", start), vevent("edited@feed", "After", start)});
        const Calendar calendar = subscribe(server);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 2);
        const SystemZone tokyo("Asia/Tokyo");
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 2);
        QCOMPARE(server.problems(), QStringList());
        const QList<Event> events = m_state->events()->getByCalendar(calendar.id);
        QCOMPARE(events.size(), 2);
        for (const Event &event : events)
            QCOMPARE(event.start_time.toLocalTime().time(), wallClock);
    }

    // A series and its moved occurrences are separate rows, as the store's
    // unique index keys them; the series is not collapsed into one of them.
    void seriesWithOverrides()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        serveFeed(server,
                  {vevent("s@feed", "Weekly", "20260302T090000Z", "RRULE:FREQ=WEEKLY;COUNT=4\r\n"),
                   vevent("s@feed", "Moved", "20260309T110000Z", "RECURRENCE-ID:20260309T090000Z\r\n")});
        const Calendar calendar = subscribe(server);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 2);
        QCOMPARE(
            eventLines(m_state, calendar.id),
            (QStringList{u"s@feed | - | Weekly | - | 2026-03-02T09:00:00Z | 2026-03-02T10:00:00Z"_s,
                         u"s@feed | 20260309T090000Z | Moved | - | 2026-03-09T11:00:00Z | 2026-03-09T12:00:00Z"_s}));
        QCOMPARE(server.problems(), QStringList());
    }

    void createdTimes()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/feed.ics").reply(200, feed({vevent("t@feed", "No stamps", "20260310T090000Z")}));
        const Calendar calendar = subscribe(server);
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 1);
        const Event stored = m_state->events()->getByCalendar(calendar.id).value(0);
        QVERIFY(stored.created >= before && stored.created <= QDateTime::currentDateTimeUtc().addSecs(1));
        QCOMPARE(stored.last_modified, stored.created);
        QCOMPARE(stored.sync_status, u"synced"_s);
    }

    // --- Answers that are no feed -------------------------------------------

    void failuresTouchNothing_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<SyncResult::Kind>("kind");
        QTest::newRow("200 with an empty body") << 200 << QByteArray() << SyncResult::Kind::EmptyAnswer;
        QTest::newRow("200 with a captive portal's page")
            << 200 << QByteArray("<html><body>Please sign in to the network</body></html>")
            << SyncResult::Kind::Unreadable;
        QTest::newRow("200 with plain text")
            << 200 << QByteArray("Service moved, see our homepage") << SyncResult::Kind::Unreadable;
        QTest::newRow("404") << 404 << QByteArray("not here") << SyncResult::Kind::Network;
        QTest::newRow("500") << 500 << QByteArray("oops") << SyncResult::Kind::Network;
        QTest::newRow("204 without error") << 204 << QByteArray() << SyncResult::Kind::EmptyAnswer;
    }
    void failuresTouchNothing()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(SyncResult::Kind, kind);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/feed.ics").reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z")}));
        server.expect("GET", "/feed.ics").reply(status, body);
        const Calendar calendar = subscribe(server);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 1);
        const QStringList before = eventLines(m_state, calendar.id);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QVERIFY(!outcome.completed);
        QCOMPARE(outcome.result.kind, kind);
        QCOMPARE(outcome.result.step, SyncResult::Step::Feed);
        QCOMPARE(outcome.result.status, status);
        QCOMPARE(eventLines(m_state, calendar.id), before);
        QCOMPARE(server.problems(), QStringList());
    }

    // Events the store would not take are named on the calendar; a store
    // that refuses that too fails the refresh rather than tell it whole.
    void leftOutEventsUntoldFailTheRefresh()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/feed.ics")
            .reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z"),
                              "BEGIN:VEVENT\r\nUID:undated@feed\r\nSUMMARY:Undated\r\nEND:VEVENT\r\n"}));
        const Calendar calendar = subscribe(server);
        QVERIFY(QSqlQuery(m_state->database()->database())
                    .exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON calendars WHEN NEW.last_sync_error <> '' "
                          "BEGIN SELECT RAISE(ABORT, 'no'); END"_s));
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QVERIFY(!outcome.completed);
        QCOMPARE(outcome.result.storeFailure, StoreFailure::Refused); // a LocalStore failure
        QCOMPARE(eventLines(m_state, calendar.id).size(), 1);
    }

    // A real calendar with nothing in it (a holiday calendar out of season)
    // empties the calendar; so does one whose events all lack a UID.
    void emptyCalendarEmpties_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("no events") << feed({});
        QTest::newRow("events without UID")
            << QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART:20260310T090000Z\r\n"
                          "SUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    }
    void emptyCalendarEmpties()
    {
        QFETCH(QByteArray, body);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/feed.ics").reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z")}));
        server.expect("GET", "/feed.ics").reply(200, body);
        const Calendar calendar = subscribe(server);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 1);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 0);
        QCOMPARE(eventLines(m_state, calendar.id), QStringList());
    }

    // --- Bounds ----------------------------------------------------------------

    void boundedFetches_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<SyncResult::Kind>("kind");
        QTest::addColumn<qint64>("limit");
        QTest::newRow("a server that never answers")
            << int(RawFeedServer::Mode::Silent) << SyncResult::Kind::TimedOut << qint64(1);
        QTest::newRow("a server that trickles its answer")
            << int(RawFeedServer::Mode::Trickle) << SyncResult::Kind::TimedOut << qint64(1);
        QTest::newRow("50 MB without a length")
            << int(RawFeedServer::Mode::Stream) << SyncResult::Kind::TooLarge << qint64(2 * 1024 * 1024);
    }
    void boundedFetches()
    {
        QFETCH(int, mode);
        QFETCH(SyncResult::Kind, kind);
        QFETCH(qint64, limit);
        ScriptedHttpServer seed;
        QVERIFY(seed.start());
        seed.expect("GET", "/feed.ics").reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z")}));
        const Calendar calendar = subscribe(seed);
        QCOMPARE(refreshOnce(m_state, calendar.id).count, 1);
        const QStringList before = eventLines(m_state, calendar.id);

        RawFeedServer server{RawFeedServer::Mode(mode)};
        Calendar moved = calendar;
        moved.url = server.url();
        QVERIFY(m_state->calendars()->update(moved));
        QElapsedTimer clock;
        clock.start();
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id, 1000, 2 * 1024 * 1024);
        QCOMPARE(outcome.result.kind, kind);
        QCOMPARE(outcome.result.limit, limit);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(server.sent() < 50LL * 1024 * 1024);
        QCOMPARE(eventLines(m_state, calendar.id), before);
    }

    // An answer over the bound that says so up front ends at its headers.
    void announcedSizeOverLimit()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/feed.ics")
            .reply(200, QByteArray(Webcal::SyncClient::kDefaultSizeLimitBytes + 1, 'X'), kCalendarType);
        const Calendar calendar = subscribe(server);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        QCOMPARE(outcome.result.kind, SyncResult::Kind::TooLarge);
        QCOMPARE(outcome.result.limit, Webcal::SyncClient::kDefaultSizeLimitBytes);
        QCOMPARE(eventLines(m_state, calendar.id), QStringList());
    }

    void redirects_data()
    {
        QTest::addColumn<QByteArray>("location"); // "{tls}" / "{plain}" name the two servers
        QTest::addColumn<bool>("followed");
        QTest::addColumn<int>("status"); // of the failure; -1: any
        QTest::newRow("to another path of the same server is followed") << QByteArray("{tls}/moved.ics") << true << 0;
        QTest::newRow("from https to http is refused") << QByteArray("{plain}/moved.ics") << false << 301;
        QTest::newRow("in a circle ends") << QByteArray("{tls}/feed.ics") << false << -1;
    }
    void redirects()
    {
        QFETCH(QByteArray, location);
        QFETCH(bool, followed);
        QFETCH(int, status);
        ScriptedHttpServer tls;
        QVERIFY(tls.startTls(m_certificate->certificate(), m_certificate->key()));
        ScriptedHttpServer plain;
        QVERIFY(plain.start());
        tls.setAnyOrder(true);
        location.replace("{tls}", tls.url(QString()).toString().toUtf8());
        location.replace("{plain}", plain.url(QString()).toString().toUtf8());
        const bool circle = location.endsWith("/feed.ics");
        const int hops = circle ? Webcal::SyncClient::kMaxRedirects + 1 : 1;
        for (int i = 0; i < hops; ++i)
            tls.expect("GET", "/feed.ics").reply(301, {}, {{"Location", location}});
        if (followed)
            tls.expect("GET", "/moved.ics").reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z")}));
        const Calendar calendar = subscribe(tls, u"webcals"_s);
        const RefreshOutcome outcome = refreshOnce(m_state, calendar.id);
        if (followed) {
            QCOMPARE(outcome.failure, QString());
            QCOMPARE(outcome.count, 1);
        } else {
            QCOMPARE(outcome.result.kind, SyncResult::Kind::Network);
            if (status >= 0)
                QCOMPARE(outcome.result.status, status);
            QCOMPARE(eventLines(m_state, calendar.id), QStringList());
        }
        QCOMPARE(plain.requests().size(), 0);
        QCOMPARE(tls.problems(), QStringList());
    }

    // --- The account and the full sync -------------------------------------

    void subscriptionsAccount()
    {
        const Account first = Webcal::SyncClient::ensureSubscriptionsAccount(m_state);
        QCOMPARE(first.id, u"webcal-subscriptions-account"_s);
        QCOMPARE(first.type, u"webcal"_s);
        QCOMPARE(first.name, u"Calendar Subscriptions"_s);
        QCOMPARE(first.sync_interval_minutes, 15);
        QCOMPARE(first.created_at, first.updated_at);
        const int accounts = m_state->accounts()->getAll().size();
        const Account second = Webcal::SyncClient::ensureSubscriptionsAccount(m_state);
        QCOMPARE(second.id, first.id);
        QCOMPARE(m_state->accounts()->getAll().size(), accounts);
    }

    // The full sync refreshes every subscription beside the CalDAV accounts,
    // holds the busy count while it runs, and reports once per calendar; the
    // tick leaves subscriptions alone.
    void fullSyncRefreshesSubscriptions()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.setAnyOrder(true);
        server.expect("GET", "/one.ics").reply(200, feed({vevent("a@one", "One", "20260310T090000Z")}));
        server.expect("GET", "/two.ics")
            .reply(200,
                   feed({vevent("a@two", "Two", "20260310T090000Z"), vevent("b@two", "Two b", "20260311T090000Z"),
                         "BEGIN:VEVENT\r\nUID:undated@two\r\nSUMMARY:Undated\r\nEND:VEVENT\r\n"}));
        const Calendar one = addSubscription(m_state, server.url(u"/one.ics"_s).toString());
        const Calendar two = addSubscription(m_state, server.url(u"/two.ics"_s).toString());

        SyncCoordinator coordinator(m_state, nullptr);
        QSignalSpy status(&coordinator, &SyncCoordinator::calendarSynced);
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        coordinator.syncDueAccounts();
        QTest::qWait(200);
        QCOMPARE(server.requests().size(), 0);

        coordinator.syncNow();
        QVERIFY(QTest::qWaitFor([&] { return status.size() == 2; }, 10000));
        QTest::qWait(50);
        QCOMPARE(status.size(), 2);
        QCOMPARE(m_state->syncBusyCount(), 0);
        QVERIFY(!busy.isEmpty());
        QCOMPARE(server.problems(), QStringList());
        QCOMPARE(eventLines(m_state, one.id).size(), 1);
        QCOMPARE(eventLines(m_state, two.id).size(), 2);
        // The event the store would not take is told, not counted.
        const QString leftOut = u"1 event(s) of the subscription could not be stored"_s;
        for (const QList<QVariant> &report : std::as_const(status))
            QCOMPARE(report.at(2).toString(), report.at(0) == two.id ? leftOut : QString());
        QCOMPARE(m_state->calendars()->getById(two.id)->last_sync_error, leftOut);
        QVERIFY(m_state->lastSyncErrored());
    }

    // A run's client lives until the last of its calendars has reported,
    // however late that is, and goes then.
    void clientOutlivesItsSlowestCalendar()
    {
        ScriptedHttpServer quick;
        QVERIFY(quick.start());
        for (int i = 0; i < 2; ++i)
            quick.expect("GET", "/feed.ics").reply(200, feed({vevent("a@feed", "Alpha", "20260310T090000Z")}));
        RawFeedServer silent{RawFeedServer::Mode::Silent};
        addSubscription(m_state, quick.url(u"/feed.ics"_s).toString());
        addSubscription(m_state, silent.url());

        Webcal::SubscriptionRefresh refresh(m_state);
        refresh.setLimits(1500, 1024 * 1024);
        QSignalSpy status(&refresh, &Webcal::SubscriptionRefresh::calendarRefreshed);
        QSignalSpy failed(&refresh, &Webcal::SubscriptionRefresh::calendarRefreshFailed);
        refresh.refreshAll();
        QCOMPARE(refresh.calendarsInFlight().size(), 2);
        QVERIFY(QTest::qWaitFor([&] { return status.size() == 1; }, 5000));
        QCOMPARE(status.first().at(1).toInt(), 1);
        QTest::qWait(50);
        QCOMPARE(refresh.findChildren<Webcal::SyncClient *>().size(), 1);
        QCOMPARE(m_state->syncBusyCount(), 1);
        // A second refresh meanwhile does not start the slow one again.
        refresh.refreshAll();
        QVERIFY(QTest::qWaitFor([&] { return status.size() + failed.size() == 3; }, 5000));
        QTest::qWait(50);
        QCOMPARE(status.size(), 2);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.last().at(1).value<SyncResult>().kind, SyncResult::Kind::TimedOut);
        QCOMPARE(failed.last().at(1).value<SyncResult>().limit, 1);
        QVERIFY(QTest::qWaitFor([&] { return refresh.findChildren<Webcal::SyncClient *>().isEmpty(); }, 1000));
        QCOMPARE(m_state->syncBusyCount(), 0);
        QCOMPARE(quick.problems(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestWebcalSync)
#include "tst_webcalsync.moc"
