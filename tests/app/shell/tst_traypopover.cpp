#include "appstatefixture.h"
#include "calendarrepository.h"
#include "trayfixture.h"
#include "viewrepository.h"
#include "wintraypopover.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

Q_DECLARE_METATYPE(TrayFixture::EventDraft)
Q_DECLARE_METATYPE(QList<TrayFixture::EventDraft>)

namespace {

// A Tuesday morning; today is May 14, tomorrow May 15.
const QDateTime kNow = local(2024, 5, 14, 8, 0);
const QDate kToday(2024, 5, 14);

// Stored as servers and the importer store all-day events: midnight UTC.
EventDraft holidayTomorrow()
{
    return EventDraft(u"Holiday"_s, utcDate(kToday.addDays(1)), utcDate(kToday.addDays(2))).wholeDay();
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QListWidgetItem *rowNamed(const QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestTrayPopover : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<WinTrayPopover> m_popover;

    void addAll(const QList<EventDraft> &events)
    {
        for (const EventDraft &draft : events)
            QVERIFY(!addEvent(m_state, draft).isEmpty());
    }
    QListWidget *listWidget() const { return m_popover->findChild<QListWidget *>(u"list"_s); }
    QLineEdit *quickAddEdit() const { return m_popover->findChild<QLineEdit *>(u"quickAddEdit"_s); }
    QString label(const QString &name) const { return m_popover->findChild<QLabel *>(name)->text(); }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        m_popover = std::make_unique<WinTrayPopover>(m_state);
        m_popover->setClock([] { return kNow; });
    }
    void cleanup()
    {
        m_popover.reset();
        m_fixture.reset();
    }

    void list_data()
    {
        QTest::addColumn<QList<EventDraft>>("events");
        QTest::addColumn<QStringList>("expected");

        const QString today = u"Today"_s;
        const QString tomorrow = u"Tomorrow"_s;
        const QString noMoreToday = u"  No more events today"_s;
        const QString nothingTomorrow = u"  Nothing scheduled"_s;

        QTest::newRow("nothing at all") << QList<EventDraft>()
                                        << QStringList({today, noMoreToday, tomorrow, nothingTomorrow});
        QTest::newRow("today and tomorrow, sorted by start")
            << QList<EventDraft>({{u"Dinner"_s, local(2024, 5, 15, 19, 30), {}},
                                  {u"Lunch"_s, local(2024, 5, 14, 12, 0), {}},
                                  {u"Call"_s, local(2024, 5, 15, 9, 15), {}}})
            << QStringList({today, u"12:00 PM  Lunch"_s, tomorrow, u"9:15 AM  Call"_s, u"7:30 PM  Dinner"_s});
        QTest::newRow("an event that ended earlier today is gone")
            << QList<EventDraft>({{u"Run"_s, local(2024, 5, 14, 6, 0), local(2024, 5, 14, 7, 0)}})
            << QStringList({today, noMoreToday, tomorrow, nothingTomorrow});
        QTest::newRow("all-day today stored at midnight UTC")
            << QList<EventDraft>({EventDraft(u"Moving day"_s, utcDate(kToday), utcDate(kToday.addDays(1))).wholeDay()})
            << QStringList({today, u"All-day  Moving day"_s, tomorrow, nothingTomorrow});
    }
    void list()
    {
        QFETCH(QList<EventDraft>, events);
        QFETCH(QStringList, expected);
        addAll(events);
        m_popover->refresh();
        QCOMPARE(rows(listWidget()), expected);
    }

    void everyRowShowsWithoutScrolling()
    {
        for (int hour = 9; hour < 15; ++hour)
            QVERIFY(!addEvent(m_state, EventDraft(u"Meeting %1"_s.arg(hour), local(2024, 5, 15, hour, 0))).isEmpty());
        m_popover->positionNear(QPoint(400, 500));
        QListWidget *list = listWidget();
        QCOMPARE(list->count(), 9);
        QTRY_VERIFY(list->viewport()->height() > 0);
        QCOMPARE(list->verticalScrollBar()->maximum(), 0);
    }

    // The row lists under its day, and a click leads to that day.
    void rowsCarryTheDayTheyStartOn_data()
    {
        QTest::addColumn<EventDraft>("event");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QDate>("date");

        QTest::newRow("timed tomorrow") << EventDraft(u"Call"_s, local(2024, 5, 15, 9, 15)) << u"9:15 AM  Call"_s
                                        << kToday.addDays(1);
        QTest::newRow("all-day tomorrow keeps its stored date in every zone")
            << holidayTomorrow() << u"All-day  Holiday"_s << kToday.addDays(1);
        QTest::newRow("running since yesterday leads to yesterday")
            << EventDraft(u"Night shift"_s, local(2024, 5, 13, 22, 0), local(2024, 5, 14, 9, 0))
            << u"Yesterday 10:00 PM  Night shift"_s << kToday.addDays(-1);
    }
    void rowsCarryTheDayTheyStartOn()
    {
        QFETCH(EventDraft, event);
        QFETCH(QString, row);
        QFETCH(QDate, date);
        const QString id = addEvent(m_state, event);
        QSignalSpy focus(m_popover.get(), &WinTrayPopover::requestFocusOnEvent);
        m_popover->positionNear(QPoint(400, 300));
        QListWidget *list = listWidget();

        // Headings and placeholders lead nowhere.
        Q_EMIT list->itemClicked(rowNamed(list, u"Today"_s));
        QCOMPARE(focus.size(), 0);
        QVERIFY(m_popover->isVisible());

        QListWidgetItem *item = rowNamed(list, row);
        QVERIFY(item);
        Q_EMIT list->itemClicked(item);
        QCOMPARE(focus.size(), 1);
        QCOMPARE(focus.first().at(0).toString(), id);
        QCOMPARE(focus.first().at(1).toDate(), date);
        QVERIFY(!m_popover->isVisible());
    }

    void card_data()
    {
        QTest::addColumn<QList<EventDraft>>("events");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("shownFor"); // seconds the popover stays open

        QTest::newRow("nothing ahead") << QList<EventDraft>() << u"No upcoming events"_s
                                       << u"Nothing scheduled in the next 24 hours."_s << QString() << 0;
        QTest::newRow("today, with a countdown and a place")
            << QList<EventDraft>({EventDraft(u"Gym"_s, local(2024, 5, 14, 10, 5)).at(u"Club"_s)}) << u"Gym"_s
            << u"Today at 10:05 AM \u00b7 in 2h 5m"_s << u"Club"_s << 0;
        QTest::newRow("all-day tomorrow stored at midnight UTC")
            << QList<EventDraft>({holidayTomorrow()}) << u"Holiday"_s << u"Tomorrow, all day"_s << QString() << 0;
        QTest::newRow("running since yesterday")
            << QList<EventDraft>({{u"Night shift"_s, local(2024, 5, 13, 22, 0), local(2024, 5, 14, 9, 0)}})
            << u"Night shift"_s << u"Yesterday at 10:00 PM \u00b7 now"_s << QString() << 0;
        QTest::newRow("untitled") << QList<EventDraft>({{QStringLiteral(""), local(2024, 5, 14, 8, 30), {}}})
                                  << u"Untitled"_s << u"Today at 8:30 AM \u00b7 in 30 min"_s << QString() << 0;
        QTest::newRow("the next one ended while shown: the one after")
            << QList<EventDraft>({{u"Standup"_s, local(2024, 5, 14, 8, 0), local(2024, 5, 14, 8, 15)},
                                  {u"Lunch"_s, local(2024, 5, 14, 12, 0), local(2024, 5, 14, 13, 0)}})
            << u"Lunch"_s << u"Today at 12:00 PM \u00b7 in 3h 40m"_s << QString() << 20 * 60;
    }
    void card()
    {
        QFETCH(QList<EventDraft>, events);
        QFETCH(QString, title);
        QFETCH(QString, time);
        QFETCH(QString, location);
        QFETCH(int, shownFor);
        addAll(events);
        m_popover->refresh();
        m_popover->setClock([shownFor] { return kNow.addSecs(shownFor); });
        m_popover->updateTimes();
        QCOMPARE(label(u"titleLabel"_s), title);
        QCOMPARE(label(u"timeLabel"_s), time);
        QCOMPARE(m_popover->findChild<QLabel *>(u"locationLabel"_s)->isHidden(), location.isEmpty());
        QCOMPARE(label(u"locationLabel"_s), location);
    }

    // Under a minute still reads as one minute; beyond, whole minutes.
    void relativeTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("in 30 seconds") << 30 << u"in 1 min"_s;
        QTest::newRow("in 59:59") << 3599 << u"in 59 min"_s;
    }
    void relativeTime()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(WinTrayPopover::relativeTimeText(kNow.addSecs(seconds), kNow), text);
    }

    void preview_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("hint");
        QTest::newRow("timed, with the parsed title")
            << u"lunch tomorrow 1pm"_s << u"Wed, May 15  1:00 PM \u2013 2:00 PM  \u00b7  lunch"_s;
        QTest::newRow("all-day") << u"Holiday tomorrow"_s << u"Wed, May 15  \u2012  All-day  \u00b7  Holiday"_s;
        QTest::newRow("a day that does not exist") << u"party feb 30"_s << u"No such date: feb 30"_s;
        QTest::newRow("blank clears") << u"   "_s << QString();
    }
    void preview()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, hint);
        quickAddEdit()->setText(u"something first"_s);
        quickAddEdit()->setText(phrase);
        QCOMPARE(label(u"hintLabel"_s), hint);
    }

    void quickAddStoresTheEventAndListsIt()
    {
        m_popover->positionNear(QPoint(400, 300));
        QVERIFY(m_popover->isVisible());
        QTest::keyClicks(quickAddEdit(), u"Dentist today 3pm"_s);
        QTest::keyClick(quickAddEdit(), Qt::Key_Return);

        QVERIFY(!m_popover->isVisible());
        // The list follows the store's change signal, shown or not.
        QTRY_VERIFY(rows(listWidget()).contains(u"3:00 PM  Dentist"_s));
        // The next opening starts with an empty line.
        m_popover->positionNear(QPoint(400, 300));
        QCOMPARE(quickAddEdit()->text(), QString());
    }

    void withoutCalendarsQuickAddOpensTheMainWindow()
    {
        QVERIFY(m_state->calendars()->remove(personalCalendar()));
        m_popover->positionNear(QPoint(400, 300));
        QCOMPARE(rows(listWidget()), QStringList({u"No calendars yet"_s}));
        QVERIFY(m_popover->findChild<QFrame *>(u"nextEventCard"_s)->isHidden());

        QSignalSpy openMain(m_popover.get(), &WinTrayPopover::openMainWindow);
        QTest::keyClicks(quickAddEdit(), u"Dentist today 3pm"_s);
        QTest::keyClick(quickAddEdit(), Qt::Key_Return);
        QCOMPARE(openMain.size(), 1);
        QVERIFY(!m_popover->isVisible());
    }

    void groupChooser()
    {
        CalendarView work;
        work.id = u"work-group"_s;
        work.name = QStringLiteral("");
        work.created_at = work.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->views()->insert(work));
        auto *combo = m_popover->findChild<QComboBox *>(u"groupCombo"_s);
        QTRY_COMPARE(combo->count(), 2);
        QCOMPARE(combo->currentData().toString(), m_state->activeViewId());
        const int unnamed = combo->findData(u"work-group"_s);
        QCOMPARE(combo->itemText(unnamed), u"(Unnamed)"_s);

        QSignalSpy changed(m_state, &AppState::activeViewChanged);
        Q_EMIT combo->activated(combo->currentIndex());
        QCOMPARE(changed.size(), 0);
        Q_EMIT combo->activated(unnamed);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(m_state->activeViewId(), u"work-group"_s);
    }

    // Grown while shown, the popover is placed again beside its tray icon
    // instead of growing off the bottom of the screen.
    void growingWhileShownStaysOnTheScreen()
    {
        const QRect avail = m_popover->screen()->availableGeometry();
        const QPoint anchor(avail.right() - 20, avail.bottom());
        m_popover->positionNear(anchor);
        const int before = m_popover->height();
        for (int hour = 9; hour < 15; ++hour)
            QVERIFY(!addEvent(m_state, EventDraft(u"Meeting %1"_s.arg(hour), local(2024, 5, 15, hour, 0))).isEmpty());
        QTRY_VERIFY(m_popover->height() > before);
        QCOMPARE(m_popover->pos(), WinTrayPopover::placement(anchor, m_popover->size(), avail));
        QVERIFY(avail.contains(m_popover->frameGeometry()));
    }

    void escapeHidesAndStopsTheClock()
    {
        m_popover->positionNear(QPoint(400, 300));
        auto *clock = m_popover->findChild<QTimer *>();
        QVERIFY(clock->isActive());
        QTest::keyClick(m_popover.get(), Qt::Key_Escape);
        QVERIFY(!m_popover->isVisible());
        QVERIFY(!clock->isActive());
    }

    void placement_data()
    {
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<QRect>("avail");
        QTest::addColumn<QPoint>("topLeft");

        const QRect desktop(0, 0, 1920, 1040);
        QTest::newRow("bottom-right tray: 8 px inside both edges")
            << QPoint(1900, 1060) << desktop << QPoint(1919 - 8 - 340, 1039 - 8 - 400);
        QTest::newRow("top-left corner: 8 px inside") << QPoint(0, 0) << desktop << QPoint(8, 8);
        QTest::newRow("room to spare: centred, 8 px above")
            << QPoint(960, 900) << desktop << QPoint(960 - 170, 900 - 400 - 8);
        QTest::newRow("no screen: relative to the anchor only")
            << QPoint(1900, 1060) << QRect() << QPoint(1900 - 170, 1060 - 400 - 8);
    }
    void placement()
    {
        QFETCH(QPoint, anchor);
        QFETCH(QRect, avail);
        QFETCH(QPoint, topLeft);
        QCOMPARE(WinTrayPopover::placement(anchor, QSize(340, 400), avail), topLeft);
    }
};

QTEST_MAIN(TestTrayPopover)
#include "tst_traypopover.moc"
