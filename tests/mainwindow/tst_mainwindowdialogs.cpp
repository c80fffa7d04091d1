#include "appstatefixture.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "testevents.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

QAction *menuAction(QMainWindow *window, const QString &menu, const QString &text)
{
    for (QAction *top : window->menuBar()->actions()) {
        if (top->text() != menu || !top->menu())
            continue;
        for (QAction *action : top->menu()->actions()) {
            if (action->text() == text)
                return action;
        }
    }
    return nullptr;
}

} // namespace

// The Tools menu's dialogs opened from the main window.
class TestMainWindowDialogs : public QObject
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

    void toolsMenu_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("templates") << u"Manage &Templates…"_s << u"Event Templates"_s;
        QTest::newRow("search") << u"&Search…"_s << u"Search"_s;
    }
    void toolsMenu()
    {
        QFETCH(QString, action);
        QFETCH(QString, dialog);
        QAction *entry = menuAction(m_window.get(), u"&Tools"_s, action);
        QVERIFY(entry);
        ModalScript script;
        script.on(dialog, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        entry->trigger();
        QVERIFY(script.done());
    }

    // The chosen result is brought into view: its day, selected, with its details.
    void searchResultIsFocused()
    {
        const QDateTime start(QDate::currentDate().addDays(3), QTime(9, 0));
        const Event dentist = testEvent(kPersonal, u"Dentist"_s, start, start.addSecs(3600));
        QVERIFY(m_fixture->state()->events()->insert(dentist));
        ModalScript script;
        script.on(u"Search"_s, [](QWidget *w) {
            QTest::keyClicks(w->findChild<QLineEdit *>(u"searchInput"_s), u"dent"_s);
            auto *results = w->findChild<QListWidget *>(u"searchResults"_s);
            QTRY_COMPARE(results->count(), 1);
            results->setCurrentRow(0);
            QTest::keyClick(results, Qt::Key_Return);
        });
        m_window->searchAction()->trigger();
        QVERIFY(script.done());
        QCOMPARE(m_fixture->state()->selectedEventId(), dentist.id);
        QCOMPARE(m_fixture->state()->currentDate(), start.date());
        QVERIFY(m_window->isVisible());
        QVERIFY(m_window->findChild<EventDetailsPopover *>());
    }

private:
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestMainWindowDialogs)
#include "tst_mainwindowdialogs.moc"
