#include "filetokenstore.h"
#include "keyringtokenstore.h"
#include "logcapture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TolmAccount::FileTokenStore;
using TolmAccount::KeyringTokenStore;

// Where no keyring answers, the owner-only file keeps the secrets. Run once
// without any session bus and once on a bus without a Secret Service
// (tests/support/with-keyring.sh --bus-only).
class TestKeyringFallback : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void secretsGoToTheFile()
    {
        const QString folder = m_dir.filePath(u"plain"_s);
        KeyringTokenStore store(u"com.quillmarten.calendar.test"_s, folder);
        QTRY_VERIFY_WITH_TIMEOUT(store.isReady(), 15000);
        QCOMPARE(store.place(), KeyringTokenStore::Place::File);
        FileTokenStore file(folder, u"com.quillmarten.calendar.test"_s);
        QCOMPARE(store.fallbackFilePath(), file.filePath());

        QVERIFY(store.save(u"caldav-password-1"_s, u"pw"_s));
        QCOMPARE(file.load(u"caldav-password-1"_s), std::optional<QString>(u"pw"_s));
        QCOMPARE(store.load(u"caldav-password-1"_s), std::optional<QString>(u"pw"_s));
        QVERIFY(store.remove(u"caldav-password-1"_s));
        QCOMPARE(file.load(u"caldav-password-1"_s), std::nullopt);
        QCOMPARE(store.load(u"caldav-password-1"_s), std::nullopt);
        QVERIFY(store.isSettled());
    }

    // What an earlier run left in the file stays there and answers at once.
    void fileValuesStayWhereTheyAre()
    {
        const QString folder = m_dir.filePath(u"earlier"_s);
        FileTokenStore file(folder, u"com.quillmarten.calendar.test"_s);
        QVERIFY(file.save(u"google-tokens-7"_s, u"{\"refresh_token\":\"r\"}"_s));
        KeyringTokenStore store(u"com.quillmarten.calendar.test"_s, folder);
        QCOMPARE(store.load(u"google-tokens-7"_s), std::optional<QString>(u"{\"refresh_token\":\"r\"}"_s));
        QTRY_VERIFY_WITH_TIMEOUT(store.isSettled(), 15000);
        QCOMPARE(file.keys(), QStringList{u"google-tokens-7"_s});
        QCOMPARE(store.load(u"google-tokens-7"_s), std::optional<QString>(u"{\"refresh_token\":\"r\"}"_s));
    }

    // Every store made for the service is the same one: the log says once
    // where the secrets are, and never what they are.
    void logSaysOnceWhereSecretsAre()
    {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        LogCapture log;
        auto first = TolmAccount::createTokenStore(u"com.quillmarten.calendar.once"_s);
        auto second = TolmAccount::createTokenStore(u"com.quillmarten.calendar.once"_s);
        QVERIFY(first && second);
        QVERIFY(first->save(u"caldav-password-1"_s, u"hunter2-in-file"_s));
        QTRY_VERIFY_WITH_TIMEOUT(second->isReady(), 15000);
        QVERIFY(second->save(u"caldav-password-2"_s, u"hunter3-in-file"_s));
        QCOMPARE(second->load(u"caldav-password-1"_s), std::optional<QString>(u"hunter2-in-file"_s));

        const QString path = home.filePath(u"Quillmarten/secrets/com.quillmarten.calendar.once.json"_s);
        QCOMPARE(first->fallbackFilePath(), path);
        QCOMPARE(FileTokenStore(home.filePath(u"Quillmarten/secrets"_s), u"com.quillmarten.calendar.once"_s)
                     .load(u"caldav-password-2"_s),
                 std::optional<QString>(u"hunter3-in-file"_s));
        const QStringList lines = LogCapture::lines();
        QCOMPARE(lines.filter(path).size(), 1);
        QCOMPARE(lines.filter(u"hunter"_s), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestKeyringFallback)
#include "tst_keyringfallback.moc"
