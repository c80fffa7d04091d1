#include "awaitresponse.h"
#include "environment.h"
#include "filetokenstore.h"
#include "logcapture.h"
#include "radicaleserver.h"
#include "synccoordinator.h"
#include "syncharness.h"

#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using TolmAccount::FileTokenStore;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"caldav-pw-7Hq2x"_s;
const QString kAccessToken = u"access-token-Zx81q"_s;
const QString kRefreshToken = u"refresh-token-Kp55w"_s;
const QString kAccountId = u"radicale-account"_s;

QByteArray eventText()
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VEVENT\r\nUID:log-1\r\n"
           "DTSTAMP:20260301T090000Z\r\nDTSTART:20260305T090000Z\r\nDTEND:20260305T100000Z\r\nSUMMARY:x\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

} // namespace

// Run with every category at debug level (QT_LOGGING_RULES="*.debug=true")
// against the private keyring of tests/support/with-keyring.sh: the secrets
// move from the file into the keyring, the sign-in is restored from them and
// a CalDAV sync runs with the password, and no log line carries any of them.
class TestSecretsInLog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariable("CALENDAR_PRIVATE_KEYRING") != "1"_L1)
            QSKIP("needs the private keyring of tests/support/with-keyring.sh");
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY(QLoggingCategory::defaultCategory()->isDebugEnabled());
    }

    void secretsNeverReachTheLog()
    {
        LogCapture log;
        RadicaleServer radicale({kUser, kPassword, {}, {}});
        QVERIFY2(radicale.start(), qPrintable(radicale.errorString()));
        CalDavClient setup;
        setup.setCredentials(kUser, kPassword);
        const QUrl collection = radicale.url(u"/alice/home/"_s);
        QVERIFY(makeCalendar(setup, collection, u"home"_s));
        QVERIFY(putObject(setup, collection, u"log-1"_s, eventText()));

        AppStateFixture fixture;
        // As a run without a keyring left them.
        FileTokenStore file(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                + u"/Quillmarten/secrets"_s,
                            appIdentifier());
        QVERIFY(file.save(TolmAccount::Client::accessTokenKey(), kAccessToken));
        QVERIFY(file.save(TolmAccount::Client::refreshTokenKey(), kRefreshToken));
        QVERIFY(file.save(u"caldav-password-"_s + kAccountId, kPassword));

        // The sign-in is restored once the keyring has answered.
        AppState *state = fixture.start();
        QVERIFY(state);
        QTRY_VERIFY_WITH_TIMEOUT(state->accountClient()->isAuthenticated(), 15000);

        Account account;
        account.id = kAccountId;
        account.name = u"Radicale"_s;
        account.type = u"caldav"_s;
        account.server_url = radicale.baseUrl().toString();
        account.username = kUser;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(state->accounts()->insert(account));

        SyncCoordinator coordinator(state, TolmAccount::createTokenStore(appIdentifier()));
        QSignalSpy messages(&coordinator, &SyncCoordinator::calendarSynced);
        coordinator.start();
        QTRY_VERIFY_WITH_TIMEOUT(!messages.isEmpty(), SyncCoordinator::kStartDelayMs + 20000);
        QCOMPARE(messages.last().at(1).toInt(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(file.keys(), QStringList(), 15000);

        const QStringList lines = LogCapture::lines();
        // Debug lines of the store itself are there: the capture saw everything.
        QVERIFY(!lines.filter(u"tolmaccount: keyring confirmed"_s).isEmpty());
        const QString basic = QString::fromLatin1((kUser + u':' + kPassword).toUtf8().toBase64());
        for (const QString &secret : {kPassword, kAccessToken, kRefreshToken, basic})
            QCOMPARE(lines.filter(secret), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSecretsInLog)
#include "tst_secretsinlog.moc"
