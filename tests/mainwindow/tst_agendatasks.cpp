#include "agendatasklist.h"
#include "appstatefixture.h"
#include "icalendar.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "recordnames.h"
#include "taskformdialog.h"
#include "taskrepository.h"
#include "timeutil.h"
#include "undostack.h"
#include "weekagenda.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QDate kWednesday(2030, 1, 9);

Task makeTask(const QString &title, const QDateTime &due, bool dateOnly, bool done = false)
{
    Task task;
    task.id = task.uid = u"task-"_s + title;
    task.calendar_id = kPersonal;
    task.title = title;
    task.due_date = due;
    task.due_is_date_only = dateOnly;
    if (done) {
        task.status = u"completed"_s;
        task.completed_date = QDateTime::currentDateTimeUtc();
    }
    task.created = task.last_modified = QDateTime::currentDateTimeUtc();
    task.raw_icalendar = ICalendar::serializeTask(task);
    return task;
}

QDateTime local(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2030, 1, day), QTime(hour, minute));
}

} // namespace

class TestAgendaTasks : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;

    AppState *state() const { return m_fixture->state(); }

    // "title | when | done" of every task row, in list order.
    static QStringList rows(const AgendaTaskList *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            const QListWidgetItem *item = list->item(i);
            const QString when = item->text().section(u"   "_s, 0, 0).section(u' ', 1);
            out << u"%1 | %2 | %3"_s.arg(item->text().section(u"   "_s, 1), when,
                                         item->checkState() == Qt::Checked ? u"done"_s : u"open"_s);
        }
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        state()->setCurrentDate(kWednesday);
    }
    void cleanup() { m_fixture.reset(); }

    void listsTheWeeksTasks_data()
    {
        QTest::addColumn<QList<Task>>("tasks");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("timed task shows its due time")
            << QList<Task>{makeTask(u"Call"_s, local(9, 14, 30), false)} << QStringList{u"Call | 14:30 | open"_s};
        QTest::newRow("date-only task at UTC midnight is all day on its date")
            << QList<Task>{makeTask(u"Rent"_s, TimeUtil::utc(QDate(2030, 1, 10)), true)}
            << QStringList{u"Rent | All day | open"_s};
        QTest::newRow("completed task is shown done")
            << QList<Task>{makeTask(u"Gym"_s, local(9, 7), false, true)} << QStringList{u"Gym | 07:00 | done"_s};
        QTest::newRow("ordered by due date")
            << QList<Task>{makeTask(u"Later"_s, local(10, 9), false), makeTask(u"Sooner"_s, local(9, 9), false)}
            << QStringList{u"Sooner | 09:00 | open"_s, u"Later | 09:00 | open"_s};
        QTest::newRow("tasks due in other weeks are not listed")
            << QList<Task>{makeTask(u"Past"_s, local(1, 9), false), makeTask(u"Future"_s, local(20, 9), false)}
            << QStringList{};
    }
    void listsTheWeeksTasks()
    {
        QFETCH(QList<Task>, tasks);
        QFETCH(QStringList, expected);
        for (const Task &task : tasks)
            QVERIFY(state()->tasks()->insert(task));
        WeekAgenda agenda(state());
        QCOMPARE(rows(agenda.tasks()), expected);
        QCOMPARE(agenda.tasks()->isVisibleTo(&agenda), !expected.isEmpty());
    }

    // Activating a row edits the task; the list follows the change.
    void rowOpensTheTaskForm()
    {
        const Task task = makeTask(u"Call"_s, local(9, 14, 30), false);
        QVERIFY(state()->tasks()->insert(task));
        WeekAgenda agenda(state());
        ModalScript script;
        script.on(u"Edit Task"_s, [](QWidget *w) {
            auto *title = w->findChild<QLineEdit *>(u"title"_s);
            title->selectAll();
            QTest::keyClicks(title, u"Call back"_s);
            ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        AgendaTaskList *list = agenda.tasks();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QTRY_COMPARE(rows(list), QStringList{u"Call back | 14:30 | open"_s});
    }

    // The tick completes or reopens the task, and Undo takes it back; a
    // repeating task moves on to its next date instead.
    void tickTogglesCompletion_data()
    {
        QTest::addColumn<Task>("task");
        QTest::addColumn<QStringList>("ticked");
        Task repeating = makeTask(u"Gym"_s, local(9, 7), false);
        repeating.recurrence_rule = u"FREQ=WEEKLY"_s;
        QTest::newRow("completing") << makeTask(u"Call"_s, local(9, 14, 30), false)
                                    << QStringList{u"Call | 14:30 | done"_s};
        QTest::newRow("reopening") << makeTask(u"Gym"_s, local(9, 7), false, true)
                                   << QStringList{u"Gym | 07:00 | open"_s};
        QTest::newRow("a repeating task moves to next week") << repeating << QStringList{};
        Task counted = makeTask(u"Stretch"_s, local(9, 8), false);
        counted.recurrence_rule = u"FREQ=DAILY;COUNT=2"_s;
        counted.repeat_mode = RepeatMode::FromCompletionDate;
        QTest::newRow("a counted one from its completion moves on") << counted << QStringList{};
    }
    void tickTogglesCompletion()
    {
        QFETCH(Task, task);
        QFETCH(QStringList, ticked);
        QVERIFY(state()->tasks()->insert(task));
        WeekAgenda agenda(state());
        AgendaTaskList *list = agenda.tasks();
        const QStringList before = rows(list);
        QCOMPARE(before.size(), 1);
        QListWidgetItem *row = list->item(0);
        QVERIFY(row->flags() & Qt::ItemIsUserCheckable);
        row->setCheckState(row->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        QTRY_COMPARE(rows(list), ticked);
        QVERIFY(state()->undoStack()->canUndo());
        state()->undoStack()->undo();
        QTRY_COMPARE(rows(list), before);
        const Task undone = *state()->tasks()->getById(task.id);
        QCOMPARE(undone.sync_status, u"pending"_s);
        // The undone tick counts for nothing towards the rule's COUNT.
        for (const QLatin1String name : {"X-QUILLMARTEN-SERIES-DONE"_L1, "X-QUILLMARTEN-SERIES-START"_L1})
            QCOMPARE(ICalendar::taskProperty(undone.raw_icalendar, name), QString());
    }

    // Undo of a tick takes back the tick alone: a rename a sync brought
    // since stays, and a task deleted since is no undo to report.
    void tickUndoAfterAChangeElsewhere_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QStringList>("undone");
        QTest::newRow("renamed by a sync") << false << QStringList{u"Call back | 14:30 | open"_s};
        QTest::newRow("deleted") << true << QStringList{};
    }
    void tickUndoAfterAChangeElsewhere()
    {
        QFETCH(bool, deleted);
        QFETCH(QStringList, undone);
        const Task task = makeTask(u"Call"_s, local(9, 14, 30), false);
        QVERIFY(state()->tasks()->insert(task));
        WeekAgenda agenda(state());
        agenda.tasks()->item(0)->setCheckState(Qt::Checked);
        Task pulled = *state()->tasks()->getById(task.id);
        pulled.title = u"Call back"_s;
        QVERIFY(deleted ? state()->tasks()->remove(task.id) : state()->tasks()->update(pulled));
        QSignalSpy failed(state()->undoStack(), &UndoStack::undoFailed);
        state()->undoStack()->undo();
        QCOMPARE(failed.count(), deleted ? 1 : 0);
        QTRY_COMPARE(rows(agenda.tasks()), undone);
    }

    void newTaskFromTheMainWindow()
    {
        MainWindow window(state());
        QAction *newTask = window.menuBar()->findChild<QAction *>(u"newTask"_s);
        QVERIFY(newTask);
        ModalScript script;
        script.on(u"New Task"_s, [](QWidget *w) {
            QTest::keyClicks(w->findChild<QLineEdit *>(u"title"_s), u"Water plants"_s);
            ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        newTask->trigger();
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        const QList<Task> stored = state()->tasks()->getByCalendar(kPersonal);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().title, u"Water plants"_s);
    }
};

QTEST_MAIN(TestAgendaTasks)
#include "tst_agendatasks.moc"
