#include "fakegoogle.h"
#include "googleauthservice.h"
#include "logcapture.h"
#include "loopbackport.h"
#include "mainwindow.h"
#include "recordnames.h"
#include "scriptedhttpserver.h"
#include "synccoordinator.h"
#include "syncharness.h"
#include "syncresult.h"
#include "syncstatustext.h"
#include "testcertificate.h"
#include "tokenstore.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Kind = SyncResult::Kind;
using Step = SyncResult::Step;

namespace {

SyncResult answered(Step step, int status)
{
    SyncResult result = SyncResult::failure(Kind::Answer, step);
    result.status = status;
    return result;
}

SyncResult unanswered(Step step, const QString &text, Kind kind = Kind::Network)
{
    SyncResult result = SyncResult::failure(kind, step);
    result.networkError = QNetworkReply::ConnectionRefusedError;
    result.networkErrorText = text;
    return result;
}

SyncResult about(SyncResult result, const QString &subject)
{
    result.subject = subject;
    return result;
}

SyncResult limited(Kind kind, qint64 limit)
{
    SyncResult result = SyncResult::failure(kind, Step::Feed);
    result.limit = limit;
    return result;
}

constexpr auto OfGoogle = SyncResult::Provider::Google;
constexpr auto OfMicrosoft = SyncResult::Provider::Microsoft;

SyncResult provider(SyncResult::Provider which, Kind kind, Step step = Step::None)
{
    return SyncResult::ofProvider(which, kind, step);
}

SyncResult providerAnswer(SyncResult::Provider which, Step step, int status, const QString &serverText)
{
    SyncResult result = provider(which, Kind::Answer, step);
    result.status = status;
    result.serverText = serverText;
    return result;
}

} // namespace

// What the status bar says for each failure a sync can meet, and the line a
// real failure on 127.0.0.1 leaves in the main window.
class TestSyncStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void failureSentences_data()
    {
        QTest::addColumn<SyncResult>("result");
        QTest::addColumn<QString>("sentence");

        // A calendar's run.
        QTest::newRow("run: no answer at the ctag check")
            << unanswered(Step::Markers, u"Connection refused"_s) << u"Network error: Connection refused"_s;
        QTest::newRow("run: an untrusted certificate at the ctag check")
            << unanswered(Step::Markers, u"SSL handshake failed"_s, Kind::UntrustedCertificate)
            << u"Network error: SSL handshake failed"_s;
        QTest::newRow("run: an answer at the ctag check")
            << answered(Step::Markers, 401) << u"Server returned HTTP 401 during ctag check"_s;
        QTest::newRow("run: an answer to the event listing")
            << answered(Step::EventListing, 500) << u"Server returned HTTP 500"_s;
        QTest::newRow("run: no answer to the event listing")
            << unanswered(Step::EventListing, u"Host unreachable"_s) << u"Network error: Host unreachable"_s;
        QTest::newRow("run: no answer to a multiget")
            << unanswered(Step::Fetch, u"Connection closed"_s) << u"Network error: Connection closed"_s;
        QTest::newRow("run: an answer to a multiget") << answered(Step::Fetch, 503) << u"Server returned HTTP 503"_s;
        QTest::newRow("run: no answer to the to-do listing") << unanswered(Step::TaskListing, u"Connection closed"_s)
                                                             << u"Network error during task pull: Connection closed"_s;
        QTest::newRow("run: an answer to the to-do listing")
            << answered(Step::TaskListing, 429) << u"Server returned HTTP 429"_s;
        QTest::newRow("run: an event's write refused")
            << about(answered(Step::EventPush, 412), u"Dentist"_s) << u"Server returned HTTP 412 pushing \"Dentist\""_s;
        QTest::newRow("run: no answer to an event's write")
            << about(unanswered(Step::EventPush, u"Connection closed"_s), u"Dentist"_s)
            << u"Push error: Connection closed"_s;
        QTest::newRow("run: a to-do's write refused") << about(answered(Step::TaskPush, 500), u"Buy milk"_s)
                                                      << u"Server returned HTTP 500 pushing task \"Buy milk\""_s;
        QTest::newRow("run: no answer to a to-do's write")
            << about(unanswered(Step::TaskPush, u"Connection closed"_s), u"Buy milk"_s)
            << u"Task push error: Connection closed"_s;
        QTest::newRow("run: the local database is closed")
            << SyncResult::failure(Kind::LocalStore) << u"The local database is not open."_s;
        QTest::newRow("run: the disk filled during the pull") << [] {
            SyncResult r = SyncResult::failure(Kind::LocalStore);
            r.storeFailure = StoreFailure::DiskFull;
            return r;
        }() << u"Sync stopped: the disk is full. Free some space; the next sync brings in the rest."_s;
        QTest::newRow("run: the open database turned a write down") << [] {
            SyncResult r = SyncResult::failure(Kind::LocalStore);
            r.storeFailure = StoreFailure::Refused;
            return r;
        }() << u"Sync stopped: the calendar database did not take a change. The next sync tries again."_s;
        QTest::newRow("run: an answer with a DTD")
            << SyncResult::failure(Kind::DocumentType, Step::EventListing)
            << u"The server's answer declared a document type, which CalDAV never uses; it was refused and nothing "
               "was changed."_s;

        // Discovery of an account's calendars.
        QTest::newRow("discovery: an address that names no server")
            << about(SyncResult::failure(Kind::BadAddress, Step::Principal), u"example.com"_s)
            << u"Enter a CalDAV URL starting with http:// or https://"_s;
        QTest::newRow("discovery: no answer at the principal") << unanswered(Step::Principal, u"Connection refused"_s)
                                                               << u"Could not reach the server: Connection refused"_s;
        QTest::newRow("discovery: an untrusted certificate at the principal")
            << unanswered(Step::Principal, u"SSL handshake failed"_s, Kind::UntrustedCertificate)
            << u"Could not reach the server: SSL handshake failed"_s;
        QTest::newRow("discovery: the credentials refused") << [] {
            SyncResult r = answered(Step::Principal, 401);
            r.kind = Kind::SignInNeeded;
            return r;
        }() << u"The server rejected the username or password."_s;
        QTest::newRow("discovery: another answer at the principal")
            << answered(Step::Principal, 301) << u"Server returned HTTP 301 during principal discovery."_s;
        QTest::newRow("discovery: no answer at the home set")
            << unanswered(Step::HomeSet, u"Connection closed"_s)
            << u"Lost connection during calendar-home-set discovery: Connection closed"_s;
        QTest::newRow("discovery: an answer at the home set")
            << answered(Step::HomeSet, 401) << u"Server returned HTTP 401 during home-set discovery."_s;
        QTest::newRow("discovery: no answer to the calendar list")
            << unanswered(Step::CalendarList, u"Connection closed"_s)
            << u"Lost connection during calendar enumeration: Connection closed"_s;
        QTest::newRow("discovery: an answer to the calendar list")
            << answered(Step::CalendarList, 500) << u"Server returned HTTP 500 during calendar enumeration."_s;
        QTest::newRow("discovery: a home without calendars")
            << SyncResult::failure(Kind::NothingFound, Step::CalendarList)
            << u"No calendars found at the discovered home set."_s;
        QTest::newRow("discovery: cancelled")
            << SyncResult::failure(Kind::Cancelled) << u"The discovery was cancelled."_s;

        QTest::newRow("caldav: the events listing cut short by the server")
            << SyncResult::failure(Kind::IncompleteListing, Step::EventListing)
            << u"The server listed only part of the calendar; no events were removed here."_s;
        QTest::newRow("caldav: a multiget past its bound") << [] {
            SyncResult r = limited(Kind::TooLarge, 64 * 1024 * 1024);
            r.step = Step::Fetch;
            return r;
        }() << u"The server's answer was larger than 64 MB and was cut off."_s;

        // A subscription's feed.
        QTest::newRow("feed: an address that is no feed")
            << about(SyncResult::failure(Kind::BadAddress, Step::Feed), u"webcal:///feed.ics"_s)
            << u"Invalid subscription URL: webcal:///feed.ics"_s;
        QTest::newRow("feed: no answer in time")
            << limited(Kind::TimedOut, 60) << u"Subscription did not answer within 60 seconds"_s;
        QTest::newRow("feed: too large") << limited(Kind::TooLarge, 20 * 1024 * 1024)
                                         << u"Subscription is larger than 20 MB"_s;
        QTest::newRow("feed: a failed transfer") << [] {
            SyncResult r = unanswered(Step::Feed, u"Not Found"_s);
            r.status = 404;
            return r;
        }() << u"Subscription fetch failed (404): Not Found"_s;
        QTest::newRow("feed: an answer that is no success")
            << answered(Step::Feed, 302) << u"Subscription fetch failed: HTTP 302"_s;
        QTest::newRow("feed: an empty answer")
            << SyncResult::failure(Kind::EmptyAnswer, Step::Feed) << u"Subscription returned an empty body"_s;
        QTest::newRow("feed: an answer without calendar data")
            << SyncResult::failure(Kind::Unreadable, Step::Feed) << u"Subscription did not return calendar data"_s;
        QTest::newRow("feed: the store refused the events") << [] {
            SyncResult r = SyncResult::failure(Kind::LocalStore, Step::Feed);
            r.storeFailure = StoreFailure::DiskFull;
            return r;
        }() << u"The subscription's events could not be stored: the disk is full."_s;
        QTest::newRow("feed: cut short in transfer") << SyncResult::failure(Kind::IncompleteListing, Step::Feed)
                                                     << u"The subscription arrived cut short; its events were kept as they were."_s;

        // Google and Microsoft: the API call that failed, by its provider.
        QTest::newRow("google: no saved credentials")
            << provider(OfGoogle, Kind::SignInNeeded) << u"No saved Google credentials. Sign in again."_s;
        QTest::newRow("microsoft: no saved credentials")
            << provider(OfMicrosoft, Kind::SignInNeeded) << u"No saved Microsoft credentials. Sign in again."_s;
        QTest::newRow("google: the account row gone")
            << provider(OfGoogle, Kind::AccountMissing) << u"Parent account missing"_s;
        QTest::newRow("google: the refresh refused with 400")
            << providerAnswer(OfGoogle, Step::TokenRefresh, 400, u"{ \"error\": \"invalid_grant\" }"_s)
            << u"Google token refresh failed: Token refresh failed (HTTP 400). Sign in to Google again."_s;
        QTest::newRow("microsoft: a refresh without credentials in this build")
            << provider(OfMicrosoft, Kind::NotConfigured, Step::TokenRefresh)
            << u"Microsoft token refresh failed: Microsoft OAuth credentials are not configured."_s;
        QTest::newRow("google: a refresh answer without an access token")
            << provider(OfGoogle, Kind::Unreadable, Step::TokenRefresh)
            << u"Google token refresh failed: Google's response had no access_token."_s;
        QTest::newRow("google: the events listing answered 503")
            << providerAnswer(OfGoogle, Step::EventListing, 503, u"{\"error\": {\"message\": \"backend error\"}}"_s)
            << u"Google refused to list the calendar's events (HTTP 503). The next sync tries again."_s;
        QTest::newRow("google: the events listing unreachable") << [] {
            SyncResult r = unanswered(Step::EventListing, u"Connection refused"_s);
            r.provider = OfGoogle;
            return r;
        }() << u"Google could not be reached (Connection refused). The next sync tries again."_s;
        QTest::newRow("microsoft: the events listing answered 429")
            << providerAnswer(OfMicrosoft, Step::EventListing, 429, u"throttled"_s)
            << u"Microsoft refused to list the calendar's events (HTTP 429). The next sync tries again."_s;
        QTest::newRow("google: the events listing answered 403 for a usage limit")
            << providerAnswer(OfGoogle, Step::EventListing, 403, u"userRateLimitExceeded"_s).withKind(Kind::RateLimited)
            << u"Google's usage limit was reached (HTTP 403). The next sync tries again."_s;
        QTest::newRow("google: the calendar list answered 403")
            << providerAnswer(OfGoogle, Step::CalendarList, 403, u"forbidden"_s)
            << u"Google refused to list the calendars (HTTP 403). Check that the account may still use this calendar."_s;
        QTest::newRow("microsoft: the calendar list answered 401")
            << providerAnswer(OfMicrosoft, Step::CalendarList, 401, QString())
            << u"Microsoft refused to list the calendars (HTTP 401). Sign in to Microsoft again."_s;
        QTest::newRow("google: a calendar list without end") << [] {
            SyncResult r = provider(OfGoogle, Kind::EndlessListing, Step::CalendarList);
            r.limit = 50;
            return r;
        }() << u"Google's calendar list did not end after 50 page(s)."_s;
        QTest::newRow("google: an event listing without end") << [] {
            SyncResult r = provider(OfGoogle, Kind::EndlessListing, Step::EventListing);
            r.limit = 2;
            return r;
        }() << u"Google's event listing did not end after 2 page(s)."_s;
        QTest::newRow("microsoft: a listing without end")
            << provider(OfMicrosoft, Kind::EndlessListing, Step::EventListing)
            << u"Microsoft's listing did not end; it was stopped."_s;
        QTest::newRow("google: a page past its bound") << [] {
            SyncResult r = provider(OfGoogle, Kind::TooLarge, Step::EventListing);
            r.limit = 32 * 1024 * 1024;
            return r;
        }() << u"Google's answer was larger than 32 MB and was cut off."_s;
        QTest::newRow("microsoft: a link off the API")
            << provider(OfMicrosoft, Kind::BadAddress, Step::EventListing)
            << u"Microsoft sent a link outside its API; the listing was stopped."_s;
        QTest::newRow("google: the sync token refused twice")
            << provider(OfGoogle, Kind::SyncTokenRefused, Step::EventListing)
            << u"Google refused the full event listing (HTTP 410)."_s;
        QTest::newRow("microsoft: the delta token refused twice")
            << provider(OfMicrosoft, Kind::SyncTokenRefused, Step::EventListing)
            << u"Microsoft refused the listing's delta token again."_s;
        QTest::newRow("google: rows the store would not take") << [] {
            SyncResult r = provider(OfGoogle, Kind::LocalStore, Step::EventListing);
            r.limit = 2;
            return r;
        }() << u"2 event(s) failed to save locally; will retry next sync."_s;
        QTest::newRow("microsoft: rows the store could not read")
            << provider(OfMicrosoft, Kind::LocalStore, Step::EventListing) << u"The local database is not open."_s;
        QTest::newRow("microsoft: an insert refused") << providerAnswer(OfMicrosoft, Step::EventInsert, 400, u"bad"_s)
                                                      << u"Microsoft refused a new event (HTTP 400). The next sync tries again."_s;
        QTest::newRow("google: an update refused") << providerAnswer(OfGoogle, Step::EventUpdate, 412, u"stale"_s)
                                                   << u"Google refused a changed event (HTTP 412). The next sync tries again."_s;
        QTest::newRow("google: a delete refused")
            << providerAnswer(OfGoogle, Step::EventDelete, 403, u"no"_s)
            << u"Google refused to delete an event (HTTP 403). Check that the account may still use this calendar."_s;
        QTest::newRow("google: an update without a token")
            << provider(OfGoogle, Kind::SignInNeeded, Step::EventUpdate) << u"No Google access token."_s;
        QTest::newRow("microsoft: a listing without a token")
            << provider(OfMicrosoft, Kind::SignInNeeded, Step::EventListing)
            << u"No Microsoft access token available."_s;
    }
    void failureSentences()
    {
        QFETCH(SyncResult, result);
        QFETCH(QString, sentence);
        QCOMPARE(SyncStatusText::failure(result), sentence);
    }

    void reportLines()
    {
        QCOMPARE(SyncStatusText::synced(2, QString()), u"Synced 2 events"_s);
        QCOMPARE(SyncStatusText::synced(5, u"1 item(s) could not be synced"_s),
                 u"Synced 5 events; 1 item(s) could not be synced"_s);
        QCOMPARE(SyncStatusText::discovered(3), u"Discovered 3 new calendar(s)."_s);
        QCOMPARE(SyncStatusText::passwordsKeptInFile(u"/home/a/secrets.json"_s),
                 u"Desktop keyring unavailable; passwords are kept in /home/a/secrets.json"_s);
    }

    // A known calendar whose server fails: the rediscovery fails first and
    // the calendar is synced as it is known; the status bar, the tray's
    // record and the account row all carry the window's sentence.
    void mainWindowShowsTheFailure_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("sentence"); // its start
        QTest::newRow("503 at every request") << u"503"_s << u"Server returned HTTP 503 during ctag check"_s;
        QTest::newRow("401 at every request") << u"401"_s << u"Server returned HTTP 401 during ctag check"_s;
        QTest::newRow("a refused connection") << u"refused"_s << u"Network error: Connection refused"_s;
        QTest::newRow("a certificate nobody trusts") << u"tls"_s << u"Network error: "_s;
    }
    void mainWindowShowsTheFailure()
    {
        QFETCH(QString, server);
        QFETCH(QString, sentence);
        QTemporaryDir files;
        qputenv("XDG_CONFIG_HOME", files.filePath(u"config"_s).toUtf8());
        AppStateFixture fixture;
        QVERIFY(fixture.start());
        AppState *state = fixture.state();

        ScriptedHttpServer http;
        const LoopbackPort::ClosedPort closed;
        QUrl base;
        if (server == u"refused"_s) {
            base = LoopbackPort::url(u"http"_s, closed.port(), u"/"_s);
        } else if (server == u"tls"_s) {
            const TestCertificate certificate(files.path(), u"untrusted"_s);
            QVERIFY2(certificate.isValid(), qPrintable(certificate.errorString()));
            QVERIFY(http.startTls(certificate.certificate(), certificate.key()));
            base = http.url();
        } else {
            QVERIFY(http.start());
            base = http.url();
            // The rediscovery, then the calendar's ctag check.
            http.expect("PROPFIND", "/dav/home/").reply(server.toInt());
            http.expect("PROPFIND", "/dav/home/").reply(server.toInt());
        }
        const Calendar calendar = addCalDavCalendar(state, base.resolved(QUrl(u"/dav/home/"_s)), u"alice"_s);

        MainWindow window(state);
        const QString shown = syncNowLine(window, state);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(shown.startsWith(sentence), qPrintable(shown));
        if (!sentence.endsWith(u' '))
            QCOMPARE(shown, sentence);
        QCOMPARE(state->lastSyncErrorMessage(), shown);
        QCOMPARE(state->accounts()->getById(calendar.account_id)->last_sync_error, shown);
        if (server != u"refused"_s && server != u"tls"_s)
            QCOMPARE(http.problems(), QStringList());
    }

    // A Google calendar whose API refuses the events listing, or whose
    // token refresh is refused: the window words the provider's failure.
    void mainWindowShowsAProviderFailure_data()
    {
        QTest::addColumn<int>("status"); // of the events listing; 0: the refresh is refused
        QTest::addColumn<QString>("sentence");
        const QString listing = u"Google refused to list the calendar's events (HTTP %1). "_s;
        QTest::newRow("503 to the listing") << 503 << listing.arg(503) + u"The next sync tries again."_s;
        QTest::newRow("401 to the listing") << 401 << listing.arg(401) + u"Sign in to Google again."_s;
        QTest::newRow("403 to the listing")
            << 403 << listing.arg(403) + u"Check that the account may still use this calendar."_s;
        QTest::newRow("429 to the listing") << 429 << listing.arg(429) + u"The next sync tries again."_s;
        QTest::newRow("an unknown refresh token")
            << 0 << u"Google token refresh failed: Token refresh failed (HTTP 400). Sign in to Google again."_s;
        // The log keeps the first 300 bytes: the token's value is cut there.
        QTest::newRow("400 naming a token across the log's cut")
            << 400 << listing.arg(400) + u"The next sync tries again."_s;
    }
    void mainWindowShowsAProviderFailure()
    {
        QFETCH(int, status);
        QFETCH(QString, sentence);
        QTemporaryDir files;
        qputenv("XDG_CONFIG_HOME", files.filePath(u"config"_s).toUtf8());
        FakeGoogle google;
        QVERIFY2(google.start(), qPrintable(google.errorString()));
        AppStateFixture fixture;
        QVERIFY(fixture.start());
        AppState *state = fixture.state();
        const Calendar calendar = addGoogleCalendar(state);
        const auto granted = google.grantTokens();
        const QString refreshToken = status ? granted.second : u"rt-unknown"_s;
        // An expired access token sends the run to the refresh first.
        const QDateTime expiry = QDateTime::currentDateTimeUtc().addSecs(status ? 3600 : -60);
        {
            auto store = TolmAccount::createTokenStore(appIdentifier());
            QVERIFY(store);
            QVERIFY(Google::AuthService::saveTokens(store.get(), calendar.account_id,
                                                    {granted.first, refreshToken, expiry}));
        }
        // Twice: a 401 is answered by one refresh and one retry.
        const QString secret = u"ya29-secret-"_s + QString(u'x').repeated(40);
        const QString named = u"{\"error\": \"%1\", \"access_token\": \"%2\"}"_s.arg(QString(250, u'.'), secret);
        if (status == 400)
            google.control(u"fail"_s, {{"path"_L1, u"/events"_s}, {"status"_L1, status}, {"raw"_L1, named}});
        else if (status)
            google.control(u"fail"_s, {{"path"_L1, u"/events"_s}, {"status"_L1, status}, {"count"_L1, 2}});

        MainWindow window(state);
        ProviderConfig config;
        config.googleTokenEndpoint = QUrl(google.baseUrl().toString() + u"/token"_s);
        config.googleApiBase = google.baseUrl();
        config.googleClientId = QLatin1StringView(FakeGoogle::kClientId);
        config.googleClientSecret = QLatin1StringView(FakeGoogle::kClientSecret);
        window.calDavSync()->setProviderConfig(config);
        LogCapture log;
        const QString shown = syncNowLine(window, state);
        if (QTest::currentTestFailed())
            return;
        // A sentence, not the provider's JSON; the account says the same.
        QCOMPARE(shown, sentence);
        QCOMPARE(state->lastSyncErrorMessage(), shown);
        QCOMPARE(state->accounts()->getById(calendar.account_id)->last_sync_error, sentence);
        // The answer's start went to the log, without the tokens.
        const QString logged = LogCapture::all();
        QVERIFY2(logged.contains(u"answer HTTP %1"_s.arg(status ? status : 400)), qPrintable(logged));
        QVERIFY(!logged.contains(granted.first));
        QVERIFY(!logged.contains(refreshToken));
        QVERIFY2(!logged.contains(u"ya29"_s), qPrintable(logged));
    }

private:
    // Runs "sync now" from the window to its end; what the status bar then says.
    static QString syncNowLine(MainWindow &window, AppState *state)
    {
        QCoreApplication::processEvents();
        QSignalSpy busy(state, &AppState::syncBusyChanged);
        window.syncNow();
        [&] { QTRY_COMPARE_WITH_TIMEOUT(busy.size(), 2, 15000); }();
        return window.statusBar()->currentMessage();
    }

    // A calendar set up as a CalDAV one, its account then made a Google one.
    static Calendar addGoogleCalendar(AppState *state)
    {
        const Calendar calendar = addCalDavCalendar(state, QUrl(u"work@group.example"_s), QString());
        std::optional<Account> account = state->accounts()->getById(calendar.account_id);
        account->type = AccountType::Google;
        account->server_url.clear();
        [&] { QVERIFY(state->accounts()->update(*account)); }();
        return calendar;
    }
};

QTEST_MAIN(TestSyncStatus)
#include "tst_syncstatus.moc"
