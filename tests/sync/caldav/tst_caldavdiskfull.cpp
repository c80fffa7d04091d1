#include "awaitresponse.h"
#include "radicaleserver.h"
#include "syncharness.h"
#include "tinyfilesystem.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
constexpr int kEvents = 150;
constexpr int kRoomyKilobytes = 64 * 1024;

} // namespace

// The data folder (a tmpfs of its own) fills while a pull of many events
// from Radicale goes in.
class TestCalDavDiskFull : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        m_fixture = std::make_unique<AppStateFixture>();
        m_disk = std::make_unique<TinyFilesystem>(QFile::decodeName(qgetenv("CALENDAR_DATA_DIR")), kRoomyKilobytes);
        if (!m_disk->isMounted())
            QSKIP("Mounting a small tmpfs needs root");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        m_state = m_fixture->start();
        QVERIFY(m_state);
    }

    void cleanupTestCase()
    {
        m_state = nullptr;
        if (m_fixture)
            m_fixture->stop();
        m_disk.reset(); // before the fixture's folder goes
        m_fixture.reset();
    }

    // The run fails saying the disk is full, instead of completing with some
    // of the events; once there is room the next run brings in all of them.
    void aFullDiskFailsThePull()
    {
        CalDavClient direct;
        direct.setCredentials(kUser, {});
        const QUrl collection = m_radicale.url(u"/alice/bulk/"_s);
        QVERIFY(makeCalendar(direct, collection, u"Bulk"_s));
        for (int i = 0; i < kEvents; ++i) {
            QVERIFY(putObject(direct, collection, u"bulk-%1"_s.arg(i),
                              u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Peer//EN\r\nBEGIN:VEVENT\r\n"
                              "UID:bulk-%1\r\nDTSTAMP:20260301T080000Z\r\nDTSTART:20260310T090000Z\r\nSUMMARY:Bulk\r\n"
                              "DESCRIPTION:%2\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(i).arg(QString(2000, u'x')).toUtf8()));
        }
        const QString calendarId = addCalDavCalendar(m_state, collection, kUser).id;
        QVERIFY(m_disk->resize(m_disk->usedKilobytes() + 96)); // room for a few of them

        SyncOutcome outcome = syncOnce(m_state, calendarId, kUser, {});
        QVERIFY(!outcome.completed);
        QCOMPARE(outcome.result.kind, SyncResult::Kind::LocalStore);
        QCOMPARE(outcome.result.storeFailure, StoreFailure::DiskFull);
        QVERIFY(m_state->events()->getByCalendar(calendarId).size() < kEvents);

        QVERIFY(m_disk->resize(kRoomyKilobytes));
        outcome = syncOnce(m_state, calendarId, kUser, {});
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(m_state->events()->getByCalendar(calendarId).size(), kEvents);
    }

private:
    RadicaleServer m_radicale;
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<TinyFilesystem> m_disk; // over the fixture's data folder
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestCalDavDiskFull)
#include "tst_caldavdiskfull.moc"
