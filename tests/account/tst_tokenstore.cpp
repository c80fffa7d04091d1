#include "filetokenstore.h"
#include "logcapture.h"
#include "memorytokenstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using TolmAccount::FileTokenStore;
using TolmAccount::MemoryTokenStore;
using TolmAccount::TokenStore;

namespace {

constexpr QFileDevice::Permissions kOwnerReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Owner, group and other bits: what `ls -l` shows.
int mode(const QString &path)
{
    return int(QFileInfo(path).permissions() & 0x7077);
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestTokenStore : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    std::unique_ptr<TokenStore> makeStore(const QString &kind, const QString &subdir)
    {
        if (kind == u"memory"_s)
            return std::make_unique<MemoryTokenStore>();
        return std::make_unique<FileTokenStore>(m_dir.filePath(subdir), u"com.example.test"_s);
    }

private Q_SLOTS:
    // The behaviour every store shares, whatever keeps the values.
    void contract_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("file") << u"file"_s;
        QTest::newRow("memory") << u"memory"_s;
    }
    void contract()
    {
        QFETCH(QString, kind);
        auto store = makeStore(kind, QString::fromLatin1(QTest::currentDataTag()) + u"-contract"_s);

        QCOMPARE(store->load(u"caldav-password-1"_s), std::nullopt);
        QVERIFY(store->remove(u"caldav-password-1"_s));

        QVERIFY(store->save(u"caldav-password-1"_s, u"s3cret ünïcode"_s));
        QVERIFY(store->save(u"google-tokens-2"_s, u"{\"refresh\":\"r\"}"_s));
        QCOMPARE(store->load(u"caldav-password-1"_s), std::optional<QString>(u"s3cret ünïcode"_s));

        QVERIFY(store->save(u"caldav-password-1"_s, u"replaced"_s));
        QCOMPARE(store->load(u"caldav-password-1"_s), std::optional<QString>(u"replaced"_s));

        QVERIFY(store->save(u"empty"_s, QString()));
        QCOMPARE(store->load(u"empty"_s), std::optional<QString>(QString()));

        QVERIFY(store->remove(u"caldav-password-1"_s));
        QCOMPARE(store->load(u"caldav-password-1"_s), std::nullopt);
        QCOMPARE(store->load(u"google-tokens-2"_s), std::optional<QString>(u"{\"refresh\":\"r\"}"_s));

        QVERIFY(store->clear());
        QCOMPARE(store->load(u"google-tokens-2"_s), std::nullopt);
        QVERIFY(store->clear());
    }

    // Owner-only from the first write, and tightened again when someone loosened it.
    void fileIsOwnerOnly()
    {
        const QString dir = m_dir.filePath(u"fresh/secrets"_s);
        FileTokenStore store(dir, u"com.example.test"_s);
        QVERIFY(store.save(u"k"_s, u"v"_s));
        QCOMPARE(mode(store.filePath()), 0x6000); // 0600
        QCOMPARE(mode(dir), 0x7000); // 0700
        QVERIFY(
            QFile::setPermissions(store.filePath(), kOwnerReadWrite | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(store.save(u"k"_s, u"w"_s));
        QCOMPARE(mode(store.filePath()), 0x6000);
    }

    // A reader that opened the file before a write still sees the complete
    // old contents: the write replaced the file rather than rewriting it.
    void writeReplacesTheFileAtomically()
    {
        FileTokenStore store(m_dir.filePath(u"atomic"_s), u"com.example.test"_s);
        QVERIFY(store.save(u"k"_s, u"old"_s));
        QFile before(store.filePath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        QVERIFY(store.save(u"k"_s, u"new"_s));
        QVERIFY(QString::fromUtf8(before.readAll()).contains(u"old"_s));
        QVERIFY(readAll(store.filePath()).contains(u"new"_s));
        QCOMPARE(QDir(m_dir.filePath(u"atomic"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(store.filePath()).fileName()});
    }

    void failedWriteIsReported()
    {
        FileTokenStore store(m_dir.filePath(u"blocked"_s), u"com.example.test"_s);
        QVERIFY(QDir().mkpath(store.filePath())); // a folder where the file belongs
        QVERIFY(!store.save(u"k"_s, u"v"_s));
        QCOMPARE(store.load(u"k"_s), std::nullopt);
    }

    void damagedFileNeverLeaksIntoTheLog()
    {
        FileTokenStore store(m_dir.filePath(u"damaged"_s), u"com.example.test"_s);
        QVERIFY(store.save(u"k"_s, u"v"_s));
        writeAll(store.filePath(), "{\"k\": \"hunter2-secret\", truncated");
        LogCapture log;
        QCOMPARE(store.load(u"k"_s), std::nullopt);
        QVERIFY(!store.remove(u"k"_s));
        // A new save starts afresh rather than failing for ever.
        QVERIFY(store.save(u"other"_s, u"another-secret"_s));
        QCOMPARE(store.load(u"other"_s), std::optional<QString>(u"another-secret"_s));
        QVERIFY(!log.all().isEmpty());
        QVERIFY(!log.all().contains(u"hunter2"_s));
        QVERIFY(!log.all().contains(u"another-secret"_s));
    }

    void storesOfOneServiceShareTheirValues()
    {
        const QString dir = m_dir.filePath(u"shared"_s);
        FileTokenStore first(dir, u"com.example.test"_s);
        FileTokenStore second(dir, u"com.example.test"_s);
        FileTokenStore dev(dir, u"com.example.test.dev"_s);
        QVERIFY(first.save(u"k"_s, u"v"_s));
        QCOMPARE(second.load(u"k"_s), std::optional<QString>(u"v"_s));
        QCOMPARE(dev.load(u"k"_s), std::nullopt);
        QVERIFY(dev.clear());
        QCOMPARE(first.load(u"k"_s), std::optional<QString>(u"v"_s));
    }

    void serviceNameCannotLeaveTheFolder_data()
    {
        QTest::addColumn<QString>("service");
        QTest::newRow("parent folder") << u".."_s;
        QTest::newRow("path") << u"../../escape"_s;
        QTest::newRow("absolute") << u"/tmp/escape"_s;
    }
    void serviceNameCannotLeaveTheFolder()
    {
        QFETCH(QString, service);
        const QString dir = m_dir.filePath(u"names"_s);
        FileTokenStore store(dir, service);
        QVERIFY(store.save(u"k"_s, u"v"_s));
        QCOMPARE(QFileInfo(store.filePath()).absolutePath(), QFileInfo(dir).absoluteFilePath());
    }
};

QTEST_GUILESS_MAIN(TestTokenStore)
#include "tst_tokenstore.moc"
