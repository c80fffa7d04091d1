#include "appstatefixture.h"
#include "eventrepository.h"
#include "filtermenus.h"
#include "filterrulerepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "notificationservice.h"
#include "theme.h"
#include "trayfixture.h"
#include "viewrepository.h"
#include "weekagenda.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

namespace {

const QDate kWednesday(2030, 1, 9);

void pressOk(QWidget *form)
{
    ModalScript::click(form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
}

void chooseAction(QWidget *form, const QString &action)
{
    auto *combo = form->findChild<QComboBox *>(u"actionCombo"_s);
    combo->setCurrentIndex(combo->findData(action));
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList out;
    const QList<QAction *> actions = menu->actions();
    for (const QAction *action : actions) {
        if (!action->isSeparator())
            out << action->text();
    }
    return out;
}

QAction *actionNamed(const QMenu *menu, const QString &text)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestAgendaFilters : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    QString m_lunch;
    QString m_review;

    // Titles of the agenda's event rows; dimmed ones end in " (dimmed)".
    static QStringList rows(const WeekAgenda &agenda)
    {
        QStringList out;
        for (int i = 0; i < agenda.list()->count(); ++i) {
            const QListWidgetItem *item = agenda.list()->item(i);
            if (item->data(Qt::UserRole).toString().isEmpty())
                continue;
            QString row = item->text().section(u"   "_s, 1);
            if (item->foreground().color() == Theme::textMuted())
                row += u" (dimmed)"_s;
            out << row;
        }
        return out;
    }
    static QListWidgetItem *rowOf(const WeekAgenda &agenda, const QString &eventId)
    {
        for (int i = 0; i < agenda.list()->count(); ++i) {
            if (agenda.list()->item(i)->data(Qt::UserRole).toString() == eventId)
                return agenda.list()->item(i);
        }
        return nullptr;
    }

    // A user's rule through the form: name, phrase, action, reminders.
    void addRuleThroughForm(QWidget *parent, const QString &action, bool suppress)
    {
        QMenu menu;
        FilterMenus::addMainWindowActions(&menu, m_state, parent);
        ModalScript script;
        script.on(u"Add Filter"_s, [action, suppress](QWidget *form) {
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Lunches"_s);
            form->findChild<QLineEdit *>(u"phraseEdit"_s)->setText(u"lunch"_s);
            chooseAction(form, action);
            if (suppress)
                form->findChild<QAbstractButton *>(u"suppressCheck"_s)->click();
            pressOk(form);
        });
        actionNamed(&menu, u"New &Filter…"_s)->trigger();
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        m_state->setCurrentDate(kWednesday);
        m_lunch = addEvent(m_state,
                           EventDraft(u"Team lunch"_s, QDateTime(kWednesday, QTime(12, 0)),
                                      QDateTime(kWednesday, QTime(13, 0)))
                               .remind({15}));
        m_review = addEvent(m_state,
                            EventDraft(u"Review"_s, QDateTime(kWednesday, QTime(14, 0)),
                                       QDateTime(kWednesday, QTime(14, 30)))
                                .remind({130}));
        QVERIFY(!m_lunch.isEmpty() && !m_review.isEmpty());
    }
    void cleanup() { m_fixture.reset(); }

    void savedRuleActsOnAgendaAndReminders_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("suppress");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("lunchReminds");
        QTest::newRow("hide: gone and silent") << u"hide"_s << false << QStringList{u"Review"_s} << false;
        QTest::newRow("dim: faded, still reminds")
            << u"dim"_s << false << QStringList{u"Team lunch (dimmed)"_s, u"Review"_s} << true;
        QTest::newRow("dim with reminders suppressed: faded and silent")
            << u"dim"_s << true << QStringList{u"Team lunch (dimmed)"_s, u"Review"_s} << false;
    }
    void savedRuleActsOnAgendaAndReminders()
    {
        QFETCH(QString, action);
        QFETCH(bool, suppress);
        QFETCH(QStringList, listed);
        QFETCH(bool, lunchReminds);
        WeekAgenda agenda(m_state);
        QCOMPARE(rows(agenda), (QStringList{u"Team lunch"_s, u"Review"_s}));
        addRuleThroughForm(&agenda, action, suppress);
        QCOMPARE(rows(agenda), listed);

        NotificationService notifications(m_state, nullptr);
        notifications.setClock([] { return QDateTime(kWednesday, QTime(11, 55)); });
        QStringList fired;
        const QList<FiredReminder> reminders = notifications.poll();
        for (const FiredReminder &reminder : reminders)
            fired << reminder.eventId;
        QCOMPARE(fired.contains(m_lunch), lunchReminds);
        QVERIFY(fired.contains(m_review));
    }

    void contextMenuOffersTheMatchingRule()
    {
        WeekAgenda agenda(m_state);
        addRuleThroughForm(&agenda, u"dim"_s, false);
        std::unique_ptr<QMenu> lunchMenu(agenda.contextMenuFor(rowOf(agenda, m_lunch)));
        std::unique_ptr<QMenu> reviewMenu(agenda.contextMenuFor(rowOf(agenda, m_review)));
        QVERIFY(lunchMenu && reviewMenu);
        QCOMPARE(actionTexts(lunchMenu.get()),
                 (QStringList{u"Edit filter \"Lunches\"…"_s, u"Create Filter from Event…"_s}));
        QCOMPARE(actionTexts(reviewMenu.get()), QStringList{u"Create Filter from Event…"_s});
        QVERIFY(!agenda.contextMenuFor(agenda.list()->item(0))); // the day's heading

        // A right click on the row pops the same menu up.
        agenda.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agenda));
        QStringList popped;
        QTimer::singleShot(50, &agenda, [&popped] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                popped = actionTexts(menu);
                menu->close();
            }
        });
        const QPoint onRow = agenda.list()->visualItemRect(rowOf(agenda, m_lunch)).center();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, onRow, agenda.list()->viewport()->mapToGlobal(onRow));
        QApplication::sendEvent(agenda.list()->viewport(), &rightClick);
        QCOMPARE(popped, actionTexts(lunchMenu.get()));

        // Editing the matched rule from the menu: now it hides.
        ModalScript edit;
        edit.on(u"Edit Filter"_s, [](QWidget *form) {
            chooseAction(form, u"hide"_s);
            pressOk(form);
        });
        lunchMenu->actions().first()->trigger();
        QVERIFY(edit.done());
        QCOMPARE(rows(agenda), QStringList{u"Review"_s});

        // A rule for the clicked event alone.
        ModalScript create;
        QString name;
        create.on(u"Add Filter"_s, [&name](QWidget *form) {
            name = form->findChild<QLineEdit *>(u"nameEdit"_s)->text();
            pressOk(form);
        });
        actionNamed(reviewMenu.get(), u"Create Filter from Event…"_s)->trigger();
        QVERIFY(create.done());
        QCOMPARE(name, u"Review"_s);
        QCOMPARE(rows(agenda), QStringList());
        const QList<FilterRule> rules = m_state->filterRules()->getAll();
        QCOMPARE(rules.size(), 2);
        QCOMPARE(rules.last().type, u"specific"_s);
        QCOMPARE(rules.last().event_uid, m_state->events()->getById(m_review)->uid);
    }

    void mainWindowReachesFiltersAndGroups()
    {
        MainWindow window(m_state);
        QMenu *view = nullptr;
        const QList<QAction *> menus = window.menuBar()->actions();
        for (QAction *menu : menus) {
            if (menu->text() == u"&View"_s)
                view = menu->menu();
        }
        QVERIFY(view);
        for (const QString &entry :
             {u"New &Filter…"_s, u"&Manage Filters…"_s, u"New Calendar &Group…"_s, u"Manage &Calendar Groups…"_s})
            QVERIFY2(actionNamed(view, entry), qPrintable(entry));

        // A new group becomes the active one.
        ModalScript script;
        script.on(u"Add Calendar Group"_s, [](QWidget *form) {
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Trips"_s);
            pressOk(form);
        });
        actionNamed(view, u"New Calendar &Group…"_s)->trigger();
        QVERIFY(script.done());
        const std::optional<CalendarView> active = m_state->views()->getById(m_state->activeViewId());
        QVERIFY(active);
        QCOMPARE(active->name, u"Trips"_s);

        ModalScript manage;
        manage.on(u"Manage Filters"_s, [](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
        actionNamed(view, u"&Manage Filters…"_s)->trigger();
        QVERIFY(manage.done());
    }
};

QTEST_MAIN(TestAgendaFilters)
#include "tst_agendafilters.moc"
