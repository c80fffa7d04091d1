// Runs on a virtual X display with a real tray host (scripts/with-tray-host.sh
// starts Xvfb and trayer): the icon embeds, its menu and clicks act, and a
// due reminder shows a balloon that leads back to the event.

#include "appresources.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "notificationservice.h"
#include "trayfixture.h"
#include "traymanager.h"
#include "wintraypopover.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTranslator>
#include <QWidget>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

namespace {

bool xdotoolClick(const QPoint &global)
{
    return QProcess::execute(u"xdotool"_s,
                             {u"mousemove"_s, QString::number(global.x()), QString::number(global.y()), u"click"_s,
                              u"1"_s})
        == 0;
}

QWidget *visibleBalloon()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QBalloonTip") && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QStringList labelTexts(const QWidget *widget)
{
    QStringList texts;
    for (const QLabel *label : widget->findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TestTrayDesktop : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<TrayManager> m_tray;
    QTranslator m_english; // the English plural forms, as the program loads them

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
        QTRY_VERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(m_english.load(AppResources::translationPath(u"en"_s)));
        QVERIFY(QCoreApplication::installTranslator(&m_english));
    }

    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        m_window = std::make_unique<QWidget>();
        m_tray = std::make_unique<TrayManager>(m_state, m_window.get());
        m_tray->setup();
        QVERIFY(m_tray->trayIcon());
        QVERIFY(m_tray->trayIcon()->isVisible());
        // Embedded once trayer has taken the icon into its panel at the
        // bottom-right corner (before that it sits at the origin).
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_VERIFY(m_tray->trayIcon()->geometry().bottom() > screen.bottom() - 40);
        QVERIFY(m_tray->trayIcon()->geometry().right() > screen.width() - 200);
    }

    void cleanup()
    {
        m_tray.reset();
        m_window.reset();
        m_fixture.reset();
        QTRY_VERIFY(!visibleBalloon());
    }

    void menuActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("show calendar") << u"&Show Calendar"_s << QByteArray(SIGNAL(showWindowRequested()));
        QTest::newRow("quick add") << u"&Quick Add…"_s << QByteArray(SIGNAL(quickAddRequested()));
        QTest::newRow("sync now") << u"Sync &Now"_s << QByteArray(SIGNAL(syncNowRequested()));
        QTest::newRow("quit") << u"&Quit"_s << QByteArray(SIGNAL(quitRequested()));
    }
    void menuActions()
    {
        QFETCH(QString, action);
        QFETCH(QByteArray, signal);
        QMenu *menu = m_tray->trayIcon()->contextMenu();
        QVERIFY(menu);
        QSignalSpy spy(m_tray.get(), signal.constData());
        for (QAction *entry : menu->actions()) {
            if (entry->text() == action)
                entry->trigger();
        }
        QCOMPARE(spy.size(), 1);
    }

    void clickOpensAndClosesThePopover()
    {
        WinTrayPopover *popover = m_tray->popover();
        const QPoint centre = m_tray->trayIcon()->geometry().center();

        QVERIFY(xdotoolClick(centre));
        QTRY_VERIFY(popover->isVisible());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(popover->frameGeometry()));

        // The same click closes it, and does not open it again.
        QVERIFY(xdotoolClick(centre));
        QTRY_VERIFY(!popover->isVisible());
        QTest::qWait(300);
        QVERIFY(!popover->isVisible());
    }

    // The tooltip names the next event of the calendars that count now.
    void tooltipFollowsAHiddenCalendar()
    {
        addEvent(m_state, EventDraft(u"Dentist"_s, QDateTime::currentDateTimeUtc().addSecs(3600)));
        QTRY_VERIFY(m_tray->trayIcon()->toolTip().contains(u"Next: Dentist"_s));
        Calendar personal = m_state->calendars()->getAll().constFirst();
        personal.is_visible = false;
        QVERIFY(m_state->calendars()->update(personal));
        QTRY_COMPARE(m_tray->trayIcon()->toolTip(), u"Quillmarten Calendar \u2014 No upcoming events"_s);
    }

    void dueReminderShowsABalloonThatLeadsToTheEvent()
    {
        // An instant: a local wall clock in the hour repeated when daylight
        // saving ends would be stored as such and read back an hour early.
        const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(600);
        const QString id = addEvent(m_state, EventDraft(u"Dentist"_s, start).remind({15}).at(u"Main St"_s));
        NotificationService notifications(m_state, m_tray->trayIcon());
        QSignalSpy clicked(&notifications, &NotificationService::reminderClicked);

        QCOMPARE(notifications.poll().size(), 1);
        QTRY_VERIFY(visibleBalloon());
        QWidget *balloon = visibleBalloon();
        const QStringList texts = labelTexts(balloon);
        QVERIFY2(texts.contains(u"Dentist"_s), qPrintable(texts.join(u'|')));
        // The time left, not the 15 minutes of the reminder's lead.
        QVERIFY2(texts.contains(u"In 10 minutes (%1) \u00b7 Main St"_s.arg(start.toLocalTime().toString(u"h:mm AP"_s))),
                 qPrintable(texts.join(u'|')));

        QVERIFY(xdotoolClick(balloon->geometry().center()));
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().at(0).toString(), id);
        QCOMPARE(clicked.first().at(1).toDate(), start.toLocalTime().date());
    }

    // With a tray and no notification service on the bus (the test reaches
    // none): reminders due at once share one balloon that names each, all
    // are acknowledged, and a click opens the first.
    void remindersDueAtOnceShareOneBalloon()
    {
        const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(600);
        const QString first = addEvent(m_state, EventDraft(u"Dentist"_s, start).remind({15}));
        const QString second = addEvent(m_state, EventDraft(u"Pharmacy"_s, start.addSecs(60)).remind({15}));
        NotificationService notifications(m_state, m_tray->trayIcon());
        QSignalSpy clicked(&notifications, &NotificationService::reminderClicked);

        QCOMPARE(notifications.poll().size(), 2);
        QTRY_VERIFY(visibleBalloon());
        QWidget *balloon = visibleBalloon();
        const QString texts = labelTexts(balloon).join(u'|');
        QVERIFY2(texts.contains(u"2 reminders"_s), qPrintable(texts));
        QVERIFY2(texts.contains(u"Dentist: In 10 minutes"_s), qPrintable(texts));
        QVERIFY2(texts.contains(u"Pharmacy: In 11 minutes"_s), qPrintable(texts));
        QVERIFY(notifications.canShowReminders());
        QCOMPARE(notifications.poll().size(), 0); // both acknowledged

        QVERIFY(xdotoolClick(balloon->geometry().center()));
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().at(0).toString(), first);
        Q_UNUSED(second);
    }
};

QTEST_MAIN(TestTrayDesktop)
#include "tst_traydesktop.moc"
