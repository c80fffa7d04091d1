#include "appstatefixture.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "testevents.h"

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

    // The details show the occurrence of that date; Edit edits the series.
    void focusShowsDetailsWhoseEditOpensTheForm()
    {
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
        script.on(u"Edit Event"_s, [](QWidget *w) {
            auto *title = w->findChild<QLineEdit *>(u"title"_s);
            title->selectAll();
            QTest::keyClicks(title, u"Daily standup"_s);
            ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        QTest::mouseClick(details->findChild<QPushButton *>(u"edit"_s), Qt::LeftButton);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        const Event stored = *m_fixture->state()->events()->getById(series.id);
        QCOMPARE(stored.title, u"Daily standup"_s);
        QCOMPARE(stored.start_time, start);
    }

private:
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestMainWindowEditors)
#include "tst_mainwindoweditors.moc"
