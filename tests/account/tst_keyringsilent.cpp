#include "filetokenstore.h"
#include "keyringtokenstore.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TolmAccount::FileTokenStore;
using TolmAccount::KeyringTokenStore;

// A keyring that never answers (tests/support/with-keyring.sh --silent): the
// store keeps to the file once the answer is overdue, and nothing handed in
// meanwhile is lost.
class TestKeyringSilent : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void overdueKeyringFallsBackToTheFile_data()
    {
        QTest::addColumn<bool>("saveWhileWaiting");
        QTest::newRow("nothing handed in") << false;
        QTest::newRow("a save waits for the answer, then goes to the file") << true;
    }
    void overdueKeyringFallsBackToTheFile()
    {
        QFETCH(bool, saveWhileWaiting);
        QTemporaryDir dir;
        const QString service = u"com.quillmarten.calendar.test"_s;
        QElapsedTimer waited;
        waited.start();
        KeyringTokenStore store(service, dir.path());
        store.setAnswerTimeout(500);
        QVERIFY(!store.isReady());
        if (saveWhileWaiting)
            QVERIFY(store.save(u"caldav-password-1"_s, u"pw"_s));
        QTRY_VERIFY_WITH_TIMEOUT(store.isReady(), 15000);
        QVERIFY(waited.elapsed() >= 450);
        QCOMPARE(store.place(), KeyringTokenStore::Place::File);
        FileTokenStore file(dir.path(), service);
        QCOMPARE(store.fallbackFilePath(), file.filePath());
        QCOMPARE(file.load(u"caldav-password-1"_s), saveWhileWaiting ? std::optional<QString>(u"pw"_s) : std::nullopt);
        QVERIFY(store.isSettled());
    }
};

QTEST_GUILESS_MAIN(TestKeyringSilent)
#include "tst_keyringsilent.moc"
