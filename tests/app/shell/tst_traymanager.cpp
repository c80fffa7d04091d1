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
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void tooltip_data()
    {
        QTest::addColumn<EventDraft>("event");
        QTest::addColumn<QString>("syncError"); // "-": no failed sync
        QTest::addColumn<QString>("tooltip");

        const QString prefix = u"Quillmarten Calendar \u2014 "_s;
        const QString none = u"-"_s;
        QTest::newRow("nothing ahead") << EventDraft() << none << prefix + u"No upcoming events"_s;
        QTest::newRow("timed today") << EventDraft(u"Standup"_s, local(2024, 5, 14, 15, 0)) << none
                                     << prefix + u"Next: Standup at 3:00 PM"_s;
        QTest::newRow("timed tomorrow") << EventDraft(u"Standup"_s, local(2024, 5, 15, 15, 0)) << none
                                        << prefix + u"Next: Standup tomorrow at 3:00 PM"_s;
        QTest::newRow("all-day tomorrow stored at midnight UTC")
            << EventDraft(u"Standup"_s, utcDate(QDate(2024, 5, 15)), utcDate(QDate(2024, 5, 16))).wholeDay() << none
            << prefix + u"Next: Standup (tomorrow, all day)"_s;
        QTest::newRow("running since yesterday names the day")
            << EventDraft(u"Shift"_s, local(2024, 5, 13, 22, 0), local(2024, 5, 14, 9, 0)) << none
            << prefix + u"Next: Shift Mon, May 13 10:00 PM"_s;
        QTest::newRow("untitled") << EventDraft(QStringLiteral(""), local(2024, 5, 14, 9, 0)) << none
                                  << prefix + u"Next: Untitled at 9:00 AM"_s;
        QTest::newRow("failed sync without a message outranks the next event")
            << EventDraft(u"Standup"_s, local(2024, 5, 14, 15, 0)) << QString() << prefix + u"Last sync failed"_s;
        QTest::newRow("failed sync with the server's message")
            << EventDraft(u"Standup"_s, local(2024, 5, 14, 15, 0)) << u"401 Unauthorized"_s
            << prefix + u"Sync failed: 401 Unauthorized"_s;
    }
    void tooltip()
    {
        QFETCH(EventDraft, event);
        QFETCH(QString, syncError);
        QFETCH(QString, tooltip);
        if (event.start.isValid())
            QVERIFY(!addEvent(m_state, event).isEmpty());
        if (syncError != u"-"_s) {
            m_state->beginSync();
            m_state->setLastSyncError(u"cal"_s, syncError);
            m_state->endSync(true);
        }
        QCOMPARE(TrayManager::tooltipText(m_state, kNow), tooltip);
    }

    void badgeSitsInTheCorner_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("16 px") << 16;
        QTest::newRow("48 px") << 48;
    }
    void badgeSitsInTheCorner()
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

    void badgeFollowsTheSync()
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

    void withoutSystemTrayNothingIsBuilt()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        TrayManager tray(m_state, nullptr);
        tray.setup();
        QVERIFY(!tray.trayIcon());
        QVERIFY(!tray.popover());
    }
};

QTEST_MAIN(TestTrayManager)
#include "tst_traymanager.moc"
