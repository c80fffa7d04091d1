#include "awaitresponse.h"
#include "caldavhref.h"
#include "caldavxml.h"
#include "icalendar.h"
#include "memorytokenstore.h"
#include "radicaleserver.h"
#include "synccoordinator.h"
#include "syncharness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"correct horse"_s;

QByteArray eventText(const QString &uid)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
           "DTSTAMP:20260301T090000Z\r\nDTSTART:20260305T090000Z\r\nDTEND:20260305T100000Z\r\nSUMMARY:%1\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid)
               .toUtf8();
}

} // namespace

// The main window's side of sync runs, against Radicale: when runs start,
// what the busy count and the status bar show, and where the password comes from.
class TestSyncCoordinator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        for (const QString &name : {u"home"_s, u"work"_s}) {
            const QUrl url = m_radicale.url(u"/alice/%1/"_s.arg(name));
            QVERIFY(makeCalendar(client, url, name));
            QVERIFY(putObject(client, url, name + u"-1"_s, eventText(name + u"-1"_s)));
        }
        QVERIFY(m_fixture.start());
        m_state = m_fixture.state();

        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account;
        account.id = u"radicale-account"_s;
        account.name = u"Radicale"_s;
        account.type = u"caldav"_s;
        account.server_url = m_radicale.baseUrl().toString();
        account.username = kUser;
        account.sync_interval_minutes = 15;
        account.created_at = account.updated_at = now;
        QVERIFY(m_state->accounts()->insert(account));
        auto secrets = std::make_unique<TolmAccount::MemoryTokenStore>();
        m_secrets = secrets.get();
        m_secrets->save(u"caldav-password-radicale-account"_s, kPassword);
        m_coordinator = std::make_unique<SyncCoordinator>(m_state, std::move(secrets));
    }

    // The first full sync comes by itself, shortly after start: the account's
    // calendars are discovered, merged and pulled.
    void firstFullSyncAfterStart()
    {
        QSignalSpy discovered(m_coordinator.get(), &SyncCoordinator::calendarsDiscovered);
        QSignalSpy synced(m_coordinator.get(), &SyncCoordinator::calendarSynced);
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        // When the run began, taken as it happens: a loaded machine may run
        // the event loop late, but never early.
        QElapsedTimer sinceStart;
        qint64 busyAfterMs = -1;
        QObject watch;
        connect(m_state, &AppState::syncBusyChanged, &watch, [&] {
            if (busyAfterMs < 0)
                busyAfterMs = sinceStart.elapsed();
        });
        sinceStart.start();
        m_coordinator->start();
        QVERIFY(QTest::qWaitFor([&] { return busy.size() == 2; }, SyncCoordinator::kStartDelayMs + 10000));
        // A coarse timer may fire up to 5% early.
        QVERIFY2(busyAfterMs >= SyncCoordinator::kStartDelayMs * 95 / 100, qPrintable(QString::number(busyAfterMs)));
        QCOMPARE(busy.at(0).at(0).toBool(), true);
        QCOMPARE(busy.at(1).at(0).toBool(), false);
        QCOMPARE(discovered.size(), 1);
        QCOMPARE(discovered.first().at(0).toString(), u"radicale-account"_s);
        QCOMPARE(discovered.first().at(1).toInt(), 2);
        QCOMPARE(synced.last().at(1).toInt(), 2);
        QCOMPARE(synced.last().at(2).toString(), QString());
        QVERIFY(!m_state->lastSyncErrored());
        const QList<Calendar> calendars = m_state->calendars()->getByAccount(u"radicale-account"_s);
        QCOMPARE(calendars.size(), 2);
        for (const Calendar &calendar : calendars)
            QCOMPARE(m_state->events()->getByCalendar(calendar.id).size(), 1);
        QVERIFY(m_state->accounts()->getById(u"radicale-account"_s)->last_sync_time.has_value());
    }

    // A local change goes out 300 ms after the last edit, without a full
    // sync; it does not put off the account's next interval sync.
    void localChangeIsPushed()
    {
        const Calendar home = calendarNamed(u"home"_s);
        Account account = *m_state->accounts()->getById(u"radicale-account"_s);
        account.last_sync_time = QDateTime::currentDateTimeUtc().addSecs(-300);
        QVERIFY(m_state->accounts()->update(account));
        const auto lastFullSync = m_state->accounts()->getById(account.id)->last_sync_time;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        insertNewEvent(m_state, home.id, u"made-here"_s, u"Made here"_s, now, now.addSecs(3600));
        QVERIFY(QTest::qWaitFor([&] { return busy.size() == 2; }, 10000)); // the push has reported
        QVERIFY(m_state->events()->getPending(home.id).isEmpty());
        const auto got = httpGet(CalDavHref::newResourceUrl(QUrl(home.url), u"made-here"_s), kUser, kPassword);
        QCOMPARE(got.first, 200);
        QTest::qWait(500); // the run's own writes start no second push
        QCOMPARE(busy.size(), 2);
        QCOMPARE(m_coordinator->calendarsInFlight(), QSet<QString>());
        QCOMPARE(m_state->accounts()->getById(u"radicale-account"_s)->last_sync_time, lastFullSync);
    }

    void intervalTick_data()
    {
        QTest::addColumn<int>("minutesAgo");
        QTest::addColumn<bool>("syncs");
        QTest::newRow("interval of 15 minutes not yet over") << 5 << false;
        QTest::newRow("interval over") << 20 << true;
    }

    void intervalTick()
    {
        QFETCH(int, minutesAgo);
        QFETCH(bool, syncs);
        Account account = *m_state->accounts()->getById(u"radicale-account"_s);
        account.last_sync_time = QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo);
        QVERIFY(m_state->accounts()->update(account));
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        m_coordinator->syncDueAccounts();
        if (syncs) {
            QVERIFY(QTest::qWaitFor([&] { return busy.size() == 2; }, 5000));
        } else {
            QTest::qWait(300); // a rediscovery would have answered by now
            QCOMPARE(busy.size(), 0);
        }
    }

    void wrongPasswordShowsTheFailure()
    {
        m_secrets->save(u"caldav-password-radicale-account"_s, u"guess"_s);
        // The records take the words of whoever shows them.
        m_coordinator->setFailureText([](const SyncResult &result) { return u"words for %1"_s.arg(result.status); });
        QSignalSpy failed(m_coordinator.get(), &SyncCoordinator::calendarSyncFailed);
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        m_coordinator->syncNow();
        QVERIFY(QTest::qWaitFor([&] { return busy.size() == 2; }, 10000));
        m_secrets->save(u"caldav-password-radicale-account"_s, kPassword);
        const SyncResult result = failed.last().at(1).value<SyncResult>();
        QCOMPARE(result.kind, SyncResult::Kind::Answer);
        QCOMPARE(result.step, SyncResult::Step::Markers);
        QCOMPARE(result.status, 401);
        QVERIFY(m_state->lastSyncErrored());
        QCOMPARE(m_state->lastSyncErrorMessage(), u"words for 401"_s);
        QCOMPARE(m_state->accounts()->getById(u"radicale-account"_s)->last_sync_error, u"words for 401"_s);
    }

    // Without a desktop keyring (no session bus here) the status bar says
    // where the passwords are, once, as the coordinator starts.
    void passwordFileIsAnnounced()
    {
        SyncCoordinator coordinator(m_state, TolmAccount::createTokenStore(u"com.quillmarten.calendar.announce"_s));
        QSignalSpy messages(&coordinator, &SyncCoordinator::passwordsKeptInFile);
        coordinator.start();
        QTRY_COMPARE(messages.size(), 1);
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + u"/Quillmarten/secrets/com.quillmarten.calendar.announce.json"_s;
        QCOMPARE(messages.first().first().toString(), path);
    }

    // A client that reports a calendar twice does not end another
    // calendar's share of the busy count.
    void secondReportIsIgnored()
    {
        for (const Calendar &calendar : m_state->calendars()->getByAccount(u"radicale-account"_s))
            touch(calendar);
        QSignalSpy busy(m_state, &AppState::syncBusyChanged);
        // The calendars failed last time: only the user's request starts them now.
        m_coordinator->syncNow();
        QVERIFY(QTest::qWaitFor([&] { return m_state->syncBusyCount() == 2; }, 10000));
        auto *client = m_coordinator->findChild<CalDavSyncClient *>();
        QVERIFY(client);
        const QString first = calendarNamed(u"home"_s).id;
        Q_EMIT client->calendarSyncCompleted(first, 0);
        Q_EMIT client->calendarSyncCompleted(first, 0);
        QCOMPARE(m_state->syncBusyCount(), 1);
        QVERIFY(QTest::qWaitFor([&] { return m_state->syncBusyCount() == 0; }, 5000));
        QTest::qWait(100);
        QCOMPARE(busy.size(), 2);
        QVERIFY(!m_state->lastSyncErrored());
    }

    // A second full sync while the first one's calendars are under way
    // starts none of them again. The server here accepts connections and
    // never answers, so the runs stay under way until it goes.
    void calendarsUnderWayAreNotStartedTwice()
    {
        Account radicale = *m_state->accounts()->getById(u"radicale-account"_s);
        radicale.enabled = false;
        QVERIFY(m_state->accounts()->update(radicale));
        auto silent = std::make_unique<QTcpServer>();
        QVERIFY(silent->listen(QHostAddress::LocalHost));
        const QUrl base(u"http://127.0.0.1:%1/"_s.arg(silent->serverPort()));
        Account account;
        account.id = u"silent-account"_s; // no server URL: the rediscovery fails at once
        account.name = u"Silent"_s;
        account.type = u"caldav"_s;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->accounts()->insert(account));
        for (const QString &name : {u"one"_s, u"two"_s}) {
            Calendar calendar;
            calendar.id = name;
            calendar.account_id = account.id;
            calendar.name = name;
            calendar.url = base.resolved(QUrl(name + u'/')).toString();
            calendar.sync_enabled = true;
            calendar.created_at = calendar.updated_at = account.created_at;
            QVERIFY(m_state->calendars()->insert(calendar));
        }

        m_coordinator->syncNow();
        QVERIFY(QTest::qWaitFor([&] { return m_coordinator->calendarsInFlight().size() == 2; }, 5000));
        m_coordinator->syncNow();
        m_coordinator->pushPending();
        QTest::qWait(200);
        QCOMPARE(m_state->syncBusyCount(), 2);

        silent.reset(); // the runs fail now
        QVERIFY(QTest::qWaitFor([&] { return m_state->syncBusyCount() == 0; }, 10000));
        QVERIFY(m_coordinator->calendarsInFlight().isEmpty());
        radicale.enabled = true;
        QVERIFY(m_state->accounts()->update(radicale));
        for (const QString &name : {u"one"_s, u"two"_s})
            QVERIFY(m_state->calendars()->remove(name));
        QVERIFY(m_state->accounts()->remove(account.id));
    }

private:
    Calendar calendarNamed(const QString &name) const
    {
        for (const Calendar &calendar : m_state->calendars()->getByAccount(u"radicale-account"_s)) {
            if (calendar.name == name)
                return calendar;
        }
        qFatal("no calendar of that name");
    }

    void touch(const Calendar &calendar)
    {
        Event event = m_state->events()->getByCalendar(calendar.id).first();
        event.title += u" edited"_s;
        event.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(event));
    }

    RadicaleServer m_radicale{RadicaleServer::Options{kUser, kPassword, {}, {}}};
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    TolmAccount::MemoryTokenStore *m_secrets = nullptr;
    std::unique_ptr<SyncCoordinator> m_coordinator;
};

QTEST_GUILESS_MAIN(TestSyncCoordinator)
#include "tst_synccoordinator.moc"
