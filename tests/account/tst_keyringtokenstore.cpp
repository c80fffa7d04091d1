#include "account/client.h"
#include "filetokenstore.h"
#include "keyringtokenstore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using TolmAccount::FileTokenStore;
using TolmAccount::KeyringTokenStore;
using Values = QHash<QString, QString>;
using Place = KeyringTokenStore::Place;

namespace {

constexpr int kWaitMs = 15000;

bool waitReady(const KeyringTokenStore &store)
{
    return QTest::qWaitFor([&store] { return store.isReady(); }, kWaitMs);
}

bool waitSettled(const KeyringTokenStore &store)
{
    return QTest::qWaitFor([&store] { return store.isSettled(); }, kWaitMs);
}

} // namespace

// The store against a real Secret Service: gnome-keyring-daemon on a private
// session bus, started by tests/support/with-keyring.sh around this test.
class TestKeyringTokenStore : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_folders = 0;

    // Every test its own service, so that entries of one never meet another.
    static QString service()
    {
        QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
        return u"com.quillmarten.calendar.test."_s + QString::fromLatin1(QTest::currentTestFunction())
            + (tag.isEmpty() ? QString() : u"."_s + tag);
    }
    QString newFolder() { return m_dir.filePath(u"folder-%1"_s.arg(++m_folders)); }

    // What the keyring alone holds: a store over an empty folder.
    std::optional<QString> keyringValue(const QString &service, const QString &key)
    {
        KeyringTokenStore fresh(service, newFolder());
        if (!waitReady(fresh) || fresh.place() != Place::Keyring)
            return u"<keyring not ready>"_s;
        return fresh.load(key);
    }

    // What an earlier run left in the keyring.
    bool putInKeyring(const Values &values)
    {
        KeyringTokenStore earlier(service(), newFolder());
        if (!waitReady(earlier))
            return false;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            earlier.save(it.key(), it.value());
        return waitSettled(earlier) && earlier.place() == Place::Keyring;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariable("CALENDAR_PRIVATE_KEYRING") != "1"_L1)
            QSKIP("needs the private keyring of tests/support/with-keyring.sh");
        QVERIFY(m_dir.isValid());
    }

    // --- Round trip ---

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("password") << u"correct horse battery staple"_s;
        QTest::newRow("unicode and blanks") << u"  pässwörd — 日本語 "_s;
        QTest::newRow("empty value is a value") << QString();
        QTest::newRow("OAuth tokens as JSON") << u"{\"access_token\":\"a\",\"refresh_token\":\"r\"}"_s;
        QTest::newRow("long value") << QString(8192, u'x');
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        const QString folder = newFolder();
        KeyringTokenStore store(service(), folder);
        QVERIFY(waitReady(store));
        QCOMPARE(store.place(), Place::Keyring);
        QCOMPARE(store.fallbackFilePath(), QString());

        QVERIFY(store.save(u"caldav-password-1"_s, value));
        QCOMPARE(store.load(u"caldav-password-1"_s), std::optional<QString>(value));
        QVERIFY(waitSettled(store));
        QCOMPARE(keyringValue(service(), u"caldav-password-1"_s), std::optional<QString>(value));
        // With a keyring at hand the file is never written.
        QVERIFY(!QFileInfo::exists(FileTokenStore(folder, service()).filePath()));
    }

    void replaceRemoveAndClear()
    {
        KeyringTokenStore store(service(), newFolder());
        QVERIFY(waitReady(store));
        QVERIFY(store.save(u"k"_s, u"first"_s));
        QVERIFY(store.save(u"k"_s, u"second"_s));
        QVERIFY(store.save(u"other"_s, u"kept"_s));
        QVERIFY(waitSettled(store));
        QCOMPARE(keyringValue(service(), u"k"_s), std::optional<QString>(u"second"_s));

        QVERIFY(store.remove(u"k"_s));
        QCOMPARE(store.load(u"k"_s), std::nullopt);
        QVERIFY(store.remove(u"never-stored"_s));
        QVERIFY(waitSettled(store));
        QCOMPARE(keyringValue(service(), u"k"_s), std::nullopt);
        QCOMPARE(keyringValue(service(), u"other"_s), std::optional<QString>(u"kept"_s));

        QVERIFY(store.clear());
        QVERIFY(waitSettled(store));
        QCOMPARE(keyringValue(service(), u"other"_s), std::nullopt);
    }

    // The index entry is the store's own; no caller can overwrite it.
    void indexKeyIsReserved()
    {
        KeyringTokenStore store(service(), newFolder());
        QVERIFY(waitReady(store));
        QVERIFY(store.save(u"a"_s, u"1"_s));
        QVERIFY(!store.save(KeyringTokenStore::indexKey(), u"[]"_s));
        QVERIFY(!store.remove(KeyringTokenStore::indexKey()));
        QVERIFY(waitSettled(store));
        QCOMPARE(keyringValue(service(), u"a"_s), std::optional<QString>(u"1"_s));
    }

    // --- Instances ---

    // CALENDAR_INSTANCE gives a service name of its own; its secrets are apart.
    void instancesKeepTheirOwnSecrets()
    {
        const QString normal = service();
        const QString dev = normal + u".dev"_s;
        KeyringTokenStore normalStore(normal, newFolder());
        KeyringTokenStore devStore(dev, newFolder());
        QVERIFY(waitReady(normalStore));
        QVERIFY(waitReady(devStore));
        QVERIFY(normalStore.save(u"account-access-token"_s, u"normal-token"_s));
        QVERIFY(devStore.save(u"account-access-token"_s, u"dev-token"_s));
        QVERIFY(devStore.save(u"dev-only"_s, u"x"_s));
        QVERIFY(waitSettled(normalStore));
        QVERIFY(waitSettled(devStore));

        QCOMPARE(keyringValue(normal, u"account-access-token"_s), std::optional<QString>(u"normal-token"_s));
        QCOMPARE(keyringValue(dev, u"account-access-token"_s), std::optional<QString>(u"dev-token"_s));
        QCOMPARE(keyringValue(normal, u"dev-only"_s), std::nullopt);

        QVERIFY(devStore.clear());
        QVERIFY(waitSettled(devStore));
        QCOMPARE(keyringValue(dev, u"account-access-token"_s), std::nullopt);
        QCOMPARE(keyringValue(normal, u"account-access-token"_s), std::optional<QString>(u"normal-token"_s));
    }

    // --- Moving the file into the keyring ---

    void moveFromFile_data()
    {
        QTest::addColumn<Values>("inKeyring");
        QTest::addColumn<Values>("inFile");
        QTest::addColumn<Values>("expected");
        QTest::newRow("one password") << Values{} << Values{{u"caldav-password-a"_s, u"pw"_s}}
                                      << Values{{u"caldav-password-a"_s, u"pw"_s}};
        QTest::newRow("tokens and passwords beside keyring entries")
            << Values{{u"caldav-password-b"_s, u"kept"_s}}
            << Values{{u"google-tokens-g"_s, u"{\"r\":1}"_s}, {u"account-access-token"_s, u"t"_s}}
            << Values{{u"caldav-password-b"_s, u"kept"_s},
                      {u"google-tokens-g"_s, u"{\"r\":1}"_s},
                      {u"account-access-token"_s, u"t"_s}};
        QTest::newRow("file written without a keyring is newer than the keyring")
            << Values{{u"caldav-password-a"_s, u"old"_s}} << Values{{u"caldav-password-a"_s, u"new"_s}}
            << Values{{u"caldav-password-a"_s, u"new"_s}};
    }
    void moveFromFile()
    {
        QFETCH(Values, inKeyring);
        QFETCH(Values, inFile);
        QFETCH(Values, expected);
        QVERIFY(putInKeyring(inKeyring));
        const QString folder = newFolder();
        FileTokenStore file(folder, service());
        for (auto it = inFile.cbegin(); it != inFile.cend(); ++it)
            QVERIFY(file.save(it.key(), it.value()));

        KeyringTokenStore store(service(), folder);
        // The file's values answer before the keyring has.
        for (auto it = inFile.cbegin(); it != inFile.cend(); ++it)
            QCOMPARE(store.load(it.key()), std::optional<QString>(it.value()));
        QVERIFY(waitSettled(store));
        QCOMPARE(store.place(), Place::Keyring);
        QCOMPARE(file.keys(), QStringList());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QCOMPARE(store.load(it.key()), std::optional<QString>(it.value()));
            QCOMPARE(keyringValue(service(), it.key()), std::optional<QString>(it.value()));
        }
    }

    // A move that stops (the program quits or is killed) loses nothing: a
    // file entry goes only after the keyring confirmed it, and the next
    // start takes the move up again.
    void interruptedMove_data()
    {
        QTest::addColumn<int>("confirmedBeforeStop");
        QTest::newRow("stopped before the keyring answered") << 0;
        QTest::newRow("stopped after the first entry was moved") << 1;
        QTest::newRow("stopped after the second entry was moved") << 2;
    }
    void interruptedMove()
    {
        QFETCH(int, confirmedBeforeStop);
        const Values values{{u"caldav-password-1"_s, u"one"_s},
                            {u"caldav-password-2"_s, u"two"_s},
                            {u"google-tokens-3"_s, u"three"_s}};
        const QString folder = newFolder();
        FileTokenStore file(folder, service());
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            QVERIFY(file.save(it.key(), it.value()));
        {
            KeyringTokenStore stopped(service(), folder);
            if (confirmedBeforeStop > 0)
                QVERIFY(QTest::qWaitFor([&] { return file.keys().size() <= 3 - confirmedBeforeStop; }, kWaitMs));
            QVERIFY(confirmedBeforeStop > 0 ? file.keys().size() < 3 : file.keys().size() == 3);
        }
        // Every value is in the file or already in the keyring.
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const std::optional<QString> kept = file.load(it.key());
            QCOMPARE(kept ? kept : keyringValue(service(), it.key()), std::optional<QString>(it.value()));
        }

        KeyringTokenStore next(service(), folder);
        QVERIFY(waitSettled(next));
        QCOMPARE(file.keys(), QStringList());
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            QCOMPARE(keyringValue(service(), it.key()), std::optional<QString>(it.value()));
    }

    // A save the keyring had not confirmed when the store went is kept in
    // the file and moved at the next start.
    void unconfirmedSaveOutlivesTheStore()
    {
        const QString folder = newFolder();
        {
            KeyringTokenStore store(service(), folder);
            QVERIFY(store.save(u"microsoft-tokens-9"_s, u"fresh-refresh-token"_s));
        }
        QCOMPARE(FileTokenStore(folder, service()).load(u"microsoft-tokens-9"_s),
                 std::optional<QString>(u"fresh-refresh-token"_s));
        KeyringTokenStore next(service(), folder);
        QVERIFY(waitSettled(next));
        QCOMPARE(FileTokenStore(folder, service()).keys(), QStringList());
        QCOMPARE(keyringValue(service(), u"microsoft-tokens-9"_s), std::optional<QString>(u"fresh-refresh-token"_s));
    }

    // Changes made before the keyring answered are newer than what it holds.
    void changesWhileDecidingWin()
    {
        QVERIFY(putInKeyring({{u"replaced"_s, u"old"_s}, {u"removed"_s, u"gone soon"_s}, {u"untouched"_s, u"same"_s}}));
        KeyringTokenStore store(service(), newFolder());
        QVERIFY(!store.isReady());
        QVERIFY(store.save(u"replaced"_s, u"new"_s));
        QVERIFY(store.remove(u"removed"_s));
        QVERIFY(waitSettled(store));
        QCOMPARE(store.load(u"replaced"_s), std::optional<QString>(u"new"_s));
        QCOMPARE(store.load(u"removed"_s), std::nullopt);
        QCOMPARE(store.load(u"untouched"_s), std::optional<QString>(u"same"_s));
        QCOMPARE(keyringValue(service(), u"replaced"_s), std::optional<QString>(u"new"_s));
        QCOMPARE(keyringValue(service(), u"removed"_s), std::nullopt);
    }

    // --- Callers ---

    // The restored sign-in waits for the keyring instead of reporting the
    // user signed out in the meantime.
    void clientRestoresSignInOnceTheKeyringAnswers()
    {
        QVERIFY(putInKeyring({{TolmAccount::Client::accessTokenKey(), u"access"_s}}));
        TolmAccount::ClientConfig config;
        config.applicationIdentifier = service();
        config.accountApiBaseUrl = u"http://127.0.0.1:9/account/v1"_s;
        TolmAccount::Client client(config, std::make_unique<KeyringTokenStore>(service(), newFolder()), nullptr);
        QSignalSpy changed(&client, &TolmAccount::Client::authStateChanged);
        client.initialize();
        QCOMPARE(client.authState(), TolmAccount::AuthState::Unknown);
        QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 1, kWaitMs);
        QCOMPARE(changed.first().first().value<TolmAccount::AuthState>(), TolmAccount::AuthState::Authenticated);
        QVERIFY(client.isAuthenticated());
    }

    // Stores made for one service share what they hold, before and after
    // the keyring answered.
    void storesOfOneServiceShareTheirValues()
    {
        auto first = TolmAccount::createTokenStore(service());
        auto second = TolmAccount::createTokenStore(service());
        QVERIFY(first && second);
        QVERIFY(first->save(u"k"_s, u"v"_s));
        QCOMPARE(second->load(u"k"_s), std::optional<QString>(u"v"_s));
        bool ready = false;
        second->whenReady(this, [&ready] { ready = true; });
        QTRY_VERIFY_WITH_TIMEOUT(ready, kWaitMs);
        QCOMPARE(first->fallbackFilePath(), QString());
        QCOMPARE(second->load(u"k"_s), std::optional<QString>(u"v"_s));
    }
};

QTEST_GUILESS_MAIN(TestKeyringTokenStore)
#include "tst_keyringtokenstore.moc"
