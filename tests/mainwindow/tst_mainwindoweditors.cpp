#include "appstatefixture.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "recurrence.h"
#include "testevents.h"
#include "timeutil.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

} // namespace

// The main window's ways into the event editors.
class TestMainWindowEditors : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        m_window = std::make_unique<MainWindow>(m_fixture->state());
    }
    void cleanup()
    {
        m_window.reset();
        m_fixture.reset();
    }

    void newEventOpensTheForm()
    {
        ModalScript script;
        script.on(u"New Event"_s, [](QWidget *w) {
            auto *title = w->findChild<QLineEdit *>(u"title"_s);
            QTest::keyClicks(title, u"Dentist"_s);
            ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        m_window->openNewEventDialog();
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        const QList<Event> rows = m_fixture->state()->events()->getByCalendar(kPersonal);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().title, u"Dentist"_s);
    }

    // The details show the occurrence of that date; Edit asks how far the
    // change reaches and opens the form on that occurrence.
    void focusShowsDetailsWhoseEditOpensTheForm_data()
    {
        QTest::addColumn<QString>("scopeButton");
        QTest::addColumn<QStringList>("days");
        const QString old = u"Standup"_s;
        const QString renamed = u"Daily standup"_s;
        QTest::newRow("all events: the series is renamed")
            << u"allEvents"_s << QStringList{renamed, renamed, renamed, renamed, renamed};
        QTest::newRow("this event only: that day alone") << u"thisEvent"_s << QStringList{old, old, renamed, old, old};
        QTest::newRow("this and following: from that day on")
            << u"thisAndFollowing"_s << QStringList{old, old, renamed, renamed, renamed};
        QTest::newRow("cancel: nothing changes") << QString() << QStringList{old, old, old, old, old};
    }
    void focusShowsDetailsWhoseEditOpensTheForm()
    {
        QFETCH(QString, scopeButton);
        QFETCH(QStringList, days);
        const QDateTime start(QDate(2026, 3, 2), QTime(9, 0), Qt::LocalTime);
        const Event series = testEvent(kPersonal, u"Standup"_s, start, start.addSecs(900), u"FREQ=DAILY"_s);
        QVERIFY(m_fixture->state()->events()->insert(series));

        m_window->focusOnEvent(series.id, QDate(2026, 3, 4));
        auto *details = m_window->findChild<EventDetailsPopover *>();
        QVERIFY(details);
        QVERIFY(details->isVisible());
        bool showsTheDay = false;
        for (QLabel *label : details->findChildren<QLabel *>())
            showsTheDay = showsTheDay || label->text().startsWith(u"Wed, Mar 4, 2026"_s);
        QVERIFY(showsTheDay);

        ModalScript script;
        script.on(u"Edit Recurring Event"_s, [scopeButton](QWidget *w) {
            if (scopeButton.isEmpty())
                ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel));
            else
                ModalScript::click(w->findChild<QPushButton *>(scopeButton));
        });
        if (!scopeButton.isEmpty()) {
            script.on(u"Edit Event"_s, [](QWidget *w) {
                // The form shows the occurrence chosen, or the series for all.
                auto *title = w->findChild<QLineEdit *>(u"title"_s);
                title->selectAll();
                QTest::keyClicks(title, u"Daily standup"_s);
                ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
            });
        }
        QTest::mouseClick(details->findChild<QPushButton *>(u"edit"_s), Qt::LeftButton);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));

        const QDateTime from = start;
        const QDateTime to = start.addDays(5);
        QStringList shown;
        QStringList times;
        for (const Event &o : Recurrence::expandEvents(m_fixture->state()->events()->getInRange(from, to), from, to)) {
            shown.append(o.title);
            times.append(o.start_time.toLocalTime().toString(u"dd HH:mm"_s));
        }
        QCOMPARE(shown, days);
        QCOMPARE(times, (QStringList{u"02 09:00"_s, u"03 09:00"_s, u"04 09:00"_s, u"05 09:00"_s, u"06 09:00"_s}));
    }

    // An all-day series opened on a date shows that date's occurrence, one
    // without an end too.
    void focusShowsTheAllDayOccurrenceOfThatDate_data()
    {
        QTest::addColumn<bool>("withEnd");
        QTest::addColumn<QString>("dates"); // in place of the rule
        QTest::newRow("with its end: not the day before, east of UTC") << true << QString();
        QTest::newRow("without an end: not the day after, west of UTC") << false << QString();
        QTest::newRow("a series of dates alone: that date's") << true << u"[\"20260304\"]"_s;
    }
    void focusShowsTheAllDayOccurrenceOfThatDate()
    {
        QFETCH(bool, withEnd);
        QFETCH(QString, dates);
        const QDateTime start = TimeUtil::utc(QDate(2026, 3, 2));
        Event series =
            testEvent(kPersonal, u"Rota"_s, start, start.addDays(1), dates.isEmpty() ? u"FREQ=DAILY"_s : QString());
        series.recurrence_dates = dates;
        series.is_all_day = true;
        series.timezone = u"UTC"_s;
        if (!withEnd)
            series.end_time.reset();
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(m_fixture->state()->events()->insert(series));
        m_window->focusOnEvent(series.id, QDate(2026, 3, 4));
        QStringList texts;
        for (QLabel *label : m_window->findChild<EventDetailsPopover *>()->findChildren<QLabel *>())
            texts.append(label->text());
        QVERIFY2(texts.contains(u"Wed, Mar 4, 2026 · All day"_s), qPrintable(texts.join(u" | "_s)));
    }

private:
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestMainWindowEditors)
#include "tst_mainwindoweditors.moc"
