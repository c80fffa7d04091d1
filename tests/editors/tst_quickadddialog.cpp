#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "quickadddialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

QString day(int daysFromToday)
{
    return QDate::currentDate().addDays(daysFromToday).toString(u"ddd, MMM d"_s);
}

QList<Event> allEvents(AppState *state)
{
    const QDateTime now = QDateTime::currentDateTime();
    return state->events()->getInRange(now.addDays(-400), now.addDays(400), {});
}

} // namespace

class TestQuickAddDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        m_dialog = std::make_unique<QuickAddDialog>(m_state);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void cleanup()
    {
        m_dialog.reset();
        m_fixture.reset();
    }

    void preview_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("preview");

        QTest::newRow("blank: no preview") << u"   "_s << QString();
        QTest::newRow("a date alone: all day, no time")
            << u"Holiday tomorrow"_s << day(1) + u"  \u2012  All-day  \u00b7  Holiday"_s;
        QTest::newRow("a start: its time and the end an hour later")
            << u"Call tomorrow at 3pm"_s << day(1) + u"  3:00 PM \u2013 4:00 PM  \u00b7  Call"_s;
        QTest::newRow("start and end: both times joined, then the title")
            << u"Dinner tomorrow from 6pm to 8pm"_s << day(1) + u"  6:00 PM \u2013 8:00 PM  \u00b7  Dinner"_s;
        QTest::newRow("a 24-hour clock after the day is its time")
            << u"Lunch with Sam tomorrow 12:30"_s << day(1) + u"  12:30 PM \u2013 1:30 PM  \u00b7  Lunch with Sam"_s;
        QTest::newRow("a date that does not exist is named") << u"Party feb 30"_s << u"No such date: feb 30"_s;
        QTest::newRow("a time that does not exist is named") << u"Call today at 25"_s << u"No such time: 25"_s;
    }
    void preview()
    {
        QFETCH(QString, text);
        QTest::keyClicks(input(), text);
        QTEST(previewLabel()->text(), "preview");
        QVERIFY(allEvents(m_state).isEmpty());
    }

    // However many lines the preview wraps to, the window shows all of them.
    void previewOfSeveralLinesShowsWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one line") << u"Call tomorrow at 3pm"_s;
        QTest::newRow("three lines")
            << u"Lunch with Ana and the whole product design team about the spring offsite and its budget "
               "and the venue friday 12:30"_s;
    }
    void previewOfSeveralLinesShowsWhole()
    {
        QFETCH(QString, text);
        input()->setText(text);
        QLabel *preview = previewLabel();
        QTRY_VERIFY(preview->height() >= preview->heightForWidth(preview->width()));
        QVERIFY(preview->geometry().bottom() < m_dialog->height());
    }

    void returnStoresOneEventAndHides()
    {
        const int before = allEvents(m_state).size();
        QTest::keyClicks(input(), u"Dinner tomorrow from 6pm to 8pm"_s);
        QTest::keyClick(input(), Qt::Key_Return);
        QVERIFY(!m_dialog->isVisible());
        const QList<Event> events = allEvents(m_state);
        QCOMPARE(events.size(), before + 1);
        const Event &stored = events.last();
        QCOMPARE(stored.title, u"Dinner"_s);
        const QDate tomorrow = QDate::currentDate().addDays(1);
        QCOMPARE(stored.start_time, QDateTime(tomorrow, QTime(18, 0)));
        QCOMPARE(stored.end_time.value(), QDateTime(tomorrow, QTime(20, 0)));
        // Written with its offset, never as a floating wall clock.
        const QString row = m_fixture->cli(u"SELECT start_time FROM events WHERE id = '%1'"_s.arg(stored.id)).trimmed();
        QVERIFY2(QRegularExpression(u"(Z|[+-]\\d\\d:\\d\\d)$"_s).match(row).hasMatch(), qPrintable(row));

        m_dialog->show();
        QCOMPARE(input()->text(), QString());
        QCOMPARE(previewLabel()->text(), QString());
        QCOMPARE(m_dialog->focusWidget(), input());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("removeCalendars");
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<int>("openMainWindow");

        QTest::newRow("blank: Return does nothing") << u"   "_s << false << true << QString() << 0;
        QTest::newRow("a date that does not exist: not saved, text kept, said why")
            << u"Party feb 30"_s << false << true << u"No such date: feb 30"_s << 0;
        QTest::newRow("an end that does not exist: not saved, said why")
            << u"Shift from 9 to 25"_s << false << true << u"No such time: from 9 to 25"_s << 0;
        QTest::newRow("no calendar: the main window is asked for, nothing stored")
            << u"Dinner tomorrow at 7pm"_s << true << false << QString() << 1;
    }
    void failures()
    {
        QFETCH(QString, text);
        QFETCH(bool, removeCalendars);
        QFETCH(bool, staysOpen);
        if (removeCalendars) {
            for (const Calendar &calendar : m_state->calendars()->getAll())
                QVERIFY(m_state->calendars()->remove(calendar.id));
        }
        QSignalSpy asked(m_dialog.get(), &QuickAddDialog::openMainWindow);
        const int before = allEvents(m_state).size();
        QTest::keyClicks(input(), text);
        QTest::keyClick(input(), Qt::Key_Return);
        QCOMPARE(m_dialog->isVisible(), staysOpen);
        if (staysOpen) {
            QCOMPARE(input()->text(), text);
            QTEST(previewLabel()->text(), "preview");
        }
        QTEST(int(asked.size()), "openMainWindow");
        QCOMPARE(allEvents(m_state).size(), before);
    }

private:
    QLineEdit *input() const { return m_dialog->findChild<QLineEdit *>(u"quickAddInput"_s); }
    QLabel *previewLabel() const { return m_dialog->findChild<QLabel *>(u"quickAddPreview"_s); }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<QuickAddDialog> m_dialog;
};

QTEST_MAIN(TestQuickAddDialog)
#include "tst_quickadddialog.moc"
