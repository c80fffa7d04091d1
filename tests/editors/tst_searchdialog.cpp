#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "formdriver.h"
#include "recurrence.h"
#include "searchdialog.h"
#include "testevents.h"
#include "timeutil.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QString kWork = u"work"_s;

QDateTime daysFromNow(int days)
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date().addDays(days), QTime(12, 0));
}

QStringList titlesOf(const QListWidget *list)
{
    QStringList titles;
    for (int i = 0; i < list->count(); ++i)
        titles.append(list->item(i)->text().section(u'\n', 0, 0));
    return titles;
}

} // namespace

class TestSearchDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        QVERIFY(m_state->calendars()->insert(AppStateFixture::localCalendar(kWork, u"Work"_s, u"#aa3300"_s)));
        add(kPersonal, u"Lunch long ago"_s, -200);
        add(kPersonal, u"Lunch with Ann"_s, -10);
        add(kWork, u"Lunch review"_s, 20);
        add(kWork, u"Team lunch"_s, 200);
        add(kPersonal, u"Dinner"_s, 1);
        m_dialog = std::make_unique<SearchDialog>(m_state);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void cleanup()
    {
        m_dialog.reset();
        m_fixture.reset();
    }

    // Typing runs no search until 200 ms have passed without a change; then
    // exactly one runs, for the whole text.
    void typingRunsOneSearchPerPause()
    {
        QCOMPARE(m_dialog->focusWidget(), searchEdit());
        QSignalSpy searches(results()->model(), &QAbstractItemModel::modelReset);
        QTest::keyClicks(searchEdit(), u"lun"_s);
        QCOMPARE(status()->text(), u"Type to search."_s);
        QCOMPARE(results()->count(), 0);
        QTRY_COMPARE(status()->text(), u"4 result(s)."_s);
        QCOMPARE(searches.size(), 1);
        QTest::keyClicks(searchEdit(), u"ch r"_s);
        QTRY_COMPARE(status()->text(), u"1 result(s)."_s);
        QCOMPARE(searches.size(), 2);
        QCOMPARE(titlesOf(results()), QStringList({u"Lunch review"_s}));
    }

    void shortText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing typed") << u"  "_s << u"Type to search."_s;
        QTest::newRow("one character") << u"l"_s << u"Keep typing…"_s;
        QTest::newRow("no match") << u"zebra"_s << u"No matches in this range."_s;
    }
    void shortText()
    {
        QFETCH(QString, text);
        QTest::keyClicks(searchEdit(), u"lunch"_s);
        QTRY_COMPARE(results()->count(), 4);
        searchEdit()->setText(text);
        QTRY_VERIFY(results()->count() == 0);
        QTEST(status()->text(), "status");
    }

    void presets_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("all time: ten years either way")
            << 0 << QStringList({u"Lunch long ago"_s, u"Lunch with Ann"_s, u"Lunch review"_s, u"Team lunch"_s});
        QTest::newRow("past 30 days: up to a week ahead") << 1 << QStringList({u"Lunch with Ann"_s});
        QTest::newRow("past 90 days") << 2 << QStringList({u"Lunch with Ann"_s});
        QTest::newRow("next 30 days") << 3 << QStringList({u"Lunch review"_s});
        QTest::newRow("next 12 months") << 4 << QStringList({u"Lunch review"_s, u"Team lunch"_s});
    }
    void presets()
    {
        QFETCH(int, range);
        auto *box = m_dialog->findChild<QComboBox *>(u"searchRange"_s);
        box->setCurrentIndex(box->findData(range));
        QTest::keyClicks(searchEdit(), u"lunch"_s);
        QTRY_VERIFY(status()->text() != u"Type to search."_s);
        QTEST(titlesOf(results()), "titles");
    }

    void rangeBounds_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("fromDays");
        QTest::addColumn<int>("toDays");
        QTest::newRow("all time") << int(SearchDialog::AllTime) << -3650 << 3650;
        QTest::newRow("past 30 days") << int(SearchDialog::Past30Days) << -30 << 7;
        QTest::newRow("past 90 days") << int(SearchDialog::Past90Days) << -90 << 7;
        QTest::newRow("next 30 days") << int(SearchDialog::Next30Days) << 0 << 30;
        QTest::newRow("next 12 months") << int(SearchDialog::Next12Months) << 0 << 365;
        QTest::newRow("unknown: all time") << 9 << -3650 << 3650;
    }
    void rangeBounds()
    {
        QFETCH(int, range);
        QFETCH(int, fromDays);
        QFETCH(int, toDays);
        const QDateTime now(QDate(2026, 3, 15), QTime(9, 30));
        const auto [from, to] = SearchDialog::rangeBounds(range, now);
        QCOMPARE(from, now.addDays(fromDays));
        QCOMPARE(to, now.addDays(toDays));
    }

    void calendarFilter_data()
    {
        QTest::addColumn<QStringList>("untick");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("both ticked") << QStringList()
                                     << QStringList({u"Lunch long ago"_s, u"Lunch with Ann"_s, u"Lunch review"_s,
                                                     u"Team lunch"_s});
        QTest::newRow("work unticked") << QStringList({kWork})
                                       << QStringList({u"Lunch long ago"_s, u"Lunch with Ann"_s});
        QTest::newRow("personal unticked")
            << QStringList({kPersonal}) << QStringList({u"Lunch review"_s, u"Team lunch"_s});
        QTest::newRow("none ticked") << QStringList({kPersonal, kWork}) << QStringList();
    }
    void calendarFilter()
    {
        QFETCH(QStringList, untick);
        QTest::keyClicks(searchEdit(), u"lunch"_s);
        QTRY_COMPARE(results()->count(), 4);
        auto *calendars = m_dialog->findChild<QListWidget *>(u"searchCalendars"_s);
        QCOMPARE(calendars->count(), 2);
        for (int i = 0; i < calendars->count(); ++i) {
            QListWidgetItem *item = calendars->item(i);
            if (untick.contains(item->data(Qt::UserRole).toString()))
                item->setCheckState(Qt::Unchecked);
        }
        QTest::qWait(250);
        QTEST(titlesOf(results()), "titles");
    }

    void activation_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("Enter on the current row") << false;
        QTest::newRow("double-click on a row") << true;
    }
    void activation()
    {
        QFETCH(bool, doubleClick);
        QSignalSpy activated(m_dialog.get(), &SearchDialog::eventActivated);
        QTest::keyClicks(searchEdit(), u"review"_s);
        QTRY_COMPARE(results()->count(), 1);
        QListWidgetItem *row = results()->item(0);
        const QString id = row->data(Qt::UserRole).toString();
        if (doubleClick) {
            const QPoint centre = results()->visualItemRect(row).center();
            // What a double-click delivers: a click, then the second press.
            QTest::mouseClick(results()->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(results()->viewport(), Qt::LeftButton, {}, centre);
        } else {
            results()->setCurrentItem(row);
            results()->setFocus();
            QTest::keyClick(results(), Qt::Key_Return);
        }
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toString(), id);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->QDialog::result(), int(QDialog::Accepted));
    }

    // The details wait out the double-click interval, so that a second
    // click still reaches the list.
    void clickShowsDetailsBesideTheRow()
    {
        QTest::keyClicks(searchEdit(), u"review"_s);
        QTRY_COMPARE(results()->count(), 1);
        const QRect row = results()->visualItemRect(results()->item(0));
        QTest::mouseClick(results()->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(!m_dialog->findChild<EventDetailsPopover *>());
        QTRY_VERIFY(m_dialog->findChild<EventDetailsPopover *>());
        QVERIFY(m_dialog->isVisible());

        // Its Edit opens the form; what was saved shows in the list.
        ModalScript script;
        script.on(u"Edit Event"_s, [](QWidget *w) {
            FormDriver::type(w, u"title"_s, u"Lunch review, moved"_s);
            FormDriver::confirm(w);
        });
        ModalScript::click(m_dialog->findChild<EventDetailsPopover *>()->findChild<QPushButton *>(u"edit"_s));
        QTRY_VERIFY(script.done());
        QTRY_COMPARE(titlesOf(results()), QStringList({u"Lunch review, moved"_s}));
    }

    // A series that began long ago is listed at its next occurrence in the
    // range; the card's Edit and Delete act on that occurrence with the
    // scope chosen, and say which they are about.
    void seriesCardActsOnTheOccurrenceShown_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("scopeButton");
        QTest::addColumn<QStringList>("titles"); // of the occurrences of the next three days
        const QString standup = u"Weekday standup"_s;
        const QString moved = u"Standup, moved"_s;
        QTest::newRow("edit this event only") << u"edit"_s << u"thisEvent"_s << QStringList{moved, standup, standup};
        QTest::newRow("edit all events") << u"edit"_s << u"allEvents"_s << QStringList{moved, moved, moved};
        QTest::newRow("delete this event only") << u"delete"_s << u"thisEvent"_s << QStringList{standup, standup};
        QTest::newRow("delete this and following") << u"delete"_s << u"thisAndFollowing"_s << QStringList();
    }
    void seriesCardActsOnTheOccurrenceShown()
    {
        QFETCH(QString, action);
        QFETCH(QString, scopeButton);
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime start = now.addDays(-60).addSecs(7200);
        const Event series = testEvent(kWork, u"Weekday standup"_s, start, start.addSecs(900), u"FREQ=DAILY"_s);
        QVERIFY(m_state->events()->insert(series));
        const Event next = Recurrence::expandEvent(series, now, now.addDays(30)).value(0);

        auto *box = m_dialog->findChild<QComboBox *>(u"searchRange"_s);
        box->setCurrentIndex(box->findData(int(SearchDialog::Next30Days)));
        QTest::keyClicks(searchEdit(), u"standup"_s);
        QTRY_COMPARE(results()->count(), 1);
        QCOMPARE(results()->item(0)->text().section(u'\n', 1, 1), SearchDialog::whenText(next));

        const QRect row = results()->visualItemRect(results()->item(0));
        QTest::mouseClick(results()->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_VERIFY(m_dialog->findChild<EventDetailsPopover *>());
        ModalScript script;
        script.on(action == u"edit"_s ? u"Edit Recurring Event"_s : u"Delete Recurring Event"_s,
                  [scopeButton](QWidget *w) { ModalScript::click(w->findChild<QPushButton *>(scopeButton)); });
        if (action == u"edit"_s) {
            script.on(u"Edit Event"_s, [](QWidget *w) {
                FormDriver::type(w, u"title"_s, u"Standup, moved"_s);
                FormDriver::confirm(w);
            });
        }
        ModalScript::click(m_dialog->findChild<EventDetailsPopover *>()->findChild<QPushButton *>(action));
        QTRY_VERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));

        const QDateTime from = next.start_time.addSecs(-60);
        QStringList titles;
        const QList<Event> after = Recurrence::expandEvents(m_state->events()->getInRange(from, from.addDays(3),
                                                                                          {kWork}),
                                                            from, from.addDays(3));
        for (const Event &occurrence : after)
            titles.append(occurrence.title);
        QTEST(titles, "titles");
    }

    // A series is found by its own title, location and notes, and an
    // occurrence changed on its own by its own: neither hides the other.
    void seriesAndOverrideFoundByTheirOwnText_data()
    {
        QTest::addColumn<QString>("seriesTitle");
        QTest::addColumn<QString>("overrideTitle");
        QTest::addColumn<QString>("overrideLocation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles"); // by start: the moved occurrence comes first
        const QString v2 = u"Team standup v2"_s, old = u"Team standup"_s;
        QTest::newRow("series renamed, both match") << v2 << old << QString() << u"standup"_s << QStringList{old, v2};
        QTest::newRow("series renamed, only the series matches")
            << v2 << old << QString() << u"v2"_s << QStringList{v2};
        QTest::newRow("occurrence renamed, only the series matches")
            << old << u"Client call"_s << QString() << u"standup"_s << QStringList{old};
        QTest::newRow("occurrence renamed, only it matches")
            << old << u"Client call"_s << QString() << u"client"_s << QStringList{u"Client call"_s};
        QTest::newRow("by the occurrence's own location")
            << old << old << u"Room 7"_s << u"room 7"_s << QStringList{old};
    }
    void seriesAndOverrideFoundByTheirOwnText()
    {
        QFETCH(QString, seriesTitle);
        QFETCH(QString, overrideTitle);
        QFETCH(QString, overrideLocation);
        QFETCH(QString, text);
        QFETCH(QStringList, titles);
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime start = now.addDays(-60).addSecs(7200);
        const Event series = testEvent(kWork, seriesTitle, start, start.addSecs(900), u"FREQ=DAILY"_s);
        QVERIFY(m_state->events()->insert(series));
        const Event next = Recurrence::expandEvent(series, now, now.addDays(30)).value(0);
        Event moved = testEvent(kWork, overrideTitle, next.start_time.addSecs(3600), next.end_time->addSecs(3600));
        moved.uid = series.uid;
        moved.master_event_uid = series.uid;
        moved.recurrence_id = next.recurrence_id;
        moved.location = overrideLocation;
        QVERIFY(m_state->events()->insert(moved));

        QTest::keyClicks(searchEdit(), text);
        QTRY_VERIFY(status()->text() != u"Type to search."_s);
        QTEST(titlesOf(results()), "titles");
        // The series is listed where it still holds: not at the moved slot.
        for (int i = 0; i < results()->count(); ++i) {
            const QListWidgetItem *row = results()->item(i);
            const QDateTime listed = row->data(Qt::UserRole + 1).value<Event>().start_time;
            const QDateTime expected = row->data(Qt::UserRole).toString() == series.id ? next.start_time.addDays(1)
                                                                                       : moved.start_time;
            QCOMPARE(listed.toSecsSinceEpoch(), expected.toSecsSinceEpoch());
        }
    }

    void resultRow()
    {
        Event e = testEvent(kWork, QStringLiteral(""), daysFromNow(3), daysFromNow(3).addSecs(3600));
        e.location = u"Room 4 searchable"_s;
        QVERIFY(m_state->events()->insert(e));
        QTest::keyClicks(searchEdit(), u"searchable"_s);
        QTRY_COMPARE(results()->count(), 1);
        QCOMPARE(results()->item(0)->text(),
                 u"(Untitled)\n"_s + SearchDialog::whenText(e) + u"  \u00b7  Room 4 searchable\nWork"_s);
        QVERIFY(results()->item(0)->sizeHint().height() >= 64);
    }

    void whenText_data()
    {
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<bool>("hasEnd");
        QTest::addColumn<QString>("text");
        QTest::newRow("timed with an end") << false << true << u"Mon, Mar 16, 2026, 9:00 AM – 10:30 AM"_s;
        QTest::newRow("timed without an end") << false << false << u"Mon, Mar 16, 2026, 9:00 AM"_s;
        QTest::newRow("all day: the stored date, whatever the zone")
            << true << true << u"Mon, Mar 16, 2026 (all day)"_s;
    }
    void whenText()
    {
        QFETCH(bool, allDay);
        QFETCH(bool, hasEnd);
        Event e;
        e.is_all_day = allDay;
        if (allDay) {
            e.start_time = TimeUtil::utc(QDate(2026, 3, 16));
            e.end_time = TimeUtil::utc(QDate(2026, 3, 17));
        } else {
            e.start_time = QDateTime(QDate(2026, 3, 16), QTime(9, 0));
            if (hasEnd)
                e.end_time = QDateTime(QDate(2026, 3, 16), QTime(10, 30));
        }
        QTEST(SearchDialog::whenText(e), "text");
    }

private:
    void add(const QString &calendarId, const QString &title, int days)
    {
        QVERIFY(m_state->events()->insert(
            testEvent(calendarId, title, daysFromNow(days), daysFromNow(days).addSecs(3600))));
    }
    QLineEdit *searchEdit() const { return m_dialog->findChild<QLineEdit *>(u"searchInput"_s); }
    QListWidget *results() const { return m_dialog->findChild<QListWidget *>(u"searchResults"_s); }
    QLabel *status() const { return m_dialog->findChild<QLabel *>(u"searchStatus"_s); }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<SearchDialog> m_dialog;
};

QTEST_MAIN(TestSearchDialog)
#include "tst_searchdialog.moc"
