#include "appstatefixture.h"
#include "trayfixture.h"
#include "traymanager.h"

#include <QImage>
#include <QSystemTrayIcon>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

Q_DECLARE_METATYPE(TrayFixture::EventDraft)

namespace {

const QDateTime kNow = local(2024, 5, 14, 8, 0);

QColor centreOfBadge(const QIcon &icon, int side)
{
    const int d = std::max(side * 38 / 100, 6);
    const QImage image = icon.pixmap(QSize(side, side)).toImage();
    return image.pixelColor(side - d + (d - 1) / 2, side - d + (d - 1) / 2);
}

} // namespace

class TestTrayManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void tooltipNamesTheNextEvent_data();
    void tooltipNamesTheNextEvent();
    void tooltipReportsAFailedSync_data();
    void tooltipReportsAFailedSync();
    void badgeSitsInTheCorner_data();
    void badgeSitsInTheCorner();
    void badgeFollowsTheSync();
    void withoutSystemTrayNothingIsBuilt();

private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

void TestTrayManager::init()
{
    m_fixture = std::make_unique<AppStateFixture>();
    m_state = m_fixture->start();
    QVERIFY(m_state);
}

void TestTrayManager::cleanup()
{
    m_fixture.reset();
    m_state = nullptr;
}

void TestTrayManager::tooltipNamesTheNextEvent_data()
{
    QTest::addColumn<EventDraft>("event");
    QTest::addColumn<QString>("tooltip");

    const QString prefix = u"Quillmarten Calendar \u2014 "_s;
    QTest::newRow("nothing ahead") << EventDraft() << prefix + u"No upcoming events"_s;
    QTest::newRow("timed today") << EventDraft(u"Standup"_s, local(2024, 5, 14, 15, 0))
                                 << prefix + u"Next: Standup at 3:00 PM"_s;
    QTest::newRow("timed tomorrow") << EventDraft(u"Standup"_s, local(2024, 5, 15, 15, 0))
                                    << prefix + u"Next: Standup tomorrow at 3:00 PM"_s;
    QTest::newRow("all-day tomorrow stored at midnight UTC")
        << EventDraft(u"Standup"_s, utcDate(QDate(2024, 5, 15)), utcDate(QDate(2024, 5, 16))).wholeDay()
        << prefix + u"Next: Standup (tomorrow, all day)"_s;
    QTest::newRow("all-day today") << EventDraft(u"Fair"_s, utcDate(QDate(2024, 5, 14))).wholeDay()
                                   << prefix + u"Next: Fair (today, all day)"_s;
    QTest::newRow("running since yesterday names the day")
        << EventDraft(u"Shift"_s, local(2024, 5, 13, 22, 0), local(2024, 5, 14, 9, 0))
        << prefix + u"Next: Shift Mon, May 13 10:00 PM"_s;
    QTest::newRow("untitled") << EventDraft(QStringLiteral(""), local(2024, 5, 14, 9, 0))
                              << prefix + u"Next: Untitled at 9:00 AM"_s;
}

void TestTrayManager::tooltipNamesTheNextEvent()
{
    QFETCH(EventDraft, event);
    QFETCH(QString, tooltip);
    if (event.start.isValid())
        QVERIFY(!addEvent(m_state, event).isEmpty());
    QCOMPARE(TrayManager::tooltipText(m_state, kNow), tooltip);
}

void TestTrayManager::tooltipReportsAFailedSync_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("without a message") << QString() << u"Quillmarten Calendar \u2014 Last sync failed"_s;
    QTest::newRow("with the server's message")
        << u"401 Unauthorized"_s << u"Quillmarten Calendar \u2014 Sync failed: 401 Unauthorized"_s;
}

void TestTrayManager::tooltipReportsAFailedSync()
{
    QFETCH(QString, message);
    QFETCH(QString, tooltip);
    addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 15, 0)));
    m_state->beginSync();
    m_state->setLastSyncError(u"cal"_s, message);
    m_state->endSync(true);
    QCOMPARE(TrayManager::tooltipText(m_state, kNow), tooltip);
}

void TestTrayManager::badgeSitsInTheCorner_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("16 px") << 16;
    QTest::newRow("24 px") << 24;
    QTest::newRow("32 px") << 32;
    QTest::newRow("48 px") << 48;
}

void TestTrayManager::badgeSitsInTheCorner()
{
    QFETCH(int, side);
    const QIcon base(u":/icons/app-icon.png"_s);
    QVERIFY(!base.isNull());
    for (const QColor &colour : {TrayManager::kFailedColor, TrayManager::kBusyColor}) {
        const QIcon badged = TrayManager::badgedIcon(base, colour);
        QCOMPARE(centreOfBadge(badged, side), colour);
        // The top-left corner keeps the application icon.
        QCOMPARE(badged.pixmap(QSize(side, side)).toImage().pixelColor(side / 4, side / 4),
                 base.pixmap(QSize(side, side)).toImage().pixelColor(side / 4, side / 4));
    }
}

void TestTrayManager::badgeFollowsTheSync()
{
    const auto badge = [this] { return centreOfBadge(TrayManager::stateIcon(m_state), 32); };
    const QColor plain = centreOfBadge(QIcon(u":/icons/app-icon.png"_s), 32);

    QCOMPARE(badge(), plain);
    m_state->beginSync();
    QCOMPARE(badge(), TrayManager::kBusyColor);
    m_state->endSync(false);
    QCOMPARE(badge(), plain);

    m_state->beginSync();
    m_state->endSync(true);
    QCOMPARE(badge(), TrayManager::kFailedColor);
    // A failure outranks the next sync's blue.
    m_state->beginSync();
    QCOMPARE(badge(), TrayManager::kFailedColor);
}

void TestTrayManager::withoutSystemTrayNothingIsBuilt()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    TrayManager tray(m_state, nullptr);
    tray.setup();
    QVERIFY(!tray.trayIcon());
    QVERIFY(!tray.menu());
    QVERIFY(!tray.popover());
}

QTEST_MAIN(TestTrayManager)
#include "tst_traymanager.moc"
