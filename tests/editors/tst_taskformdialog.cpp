#include "accountrepository.h"
#include "appstatefixture.h"
#include "awaitresponse.h"
#include "caldavclient.h"
#include "calendarrepository.h"
#include "formdriver.h"
#include "icalendar.h"
#include "radicaleserver.h"
#include "ruleuntil.h"
#include "storedrow.h"
#include "syncharness.h"
#include "taskformdialog.h"
#include "taskrepository.h"

#include <QDateEdit>
#include <QSpinBox>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

QDateTime local(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}

void tick(QWidget *form, const QString &name, bool on)
{
    if (auto *box = find<QCheckBox>(form, name); box && box->isChecked() != on)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

Task storedTask(const QString &title)
{
    Task task;
    task.id = task.uid = u"task-"_s + title.toLower().replace(u' ', u'-');
    task.calendar_id = kPersonal;
    task.title = title;
    task.created = task.last_modified = QDateTime::currentDateTimeUtc();
    return task;
}

Calendar extraCalendar(const QString &id, bool visible, bool readOnly)
{
    Calendar calendar = AppStateFixture::localCalendar(id, id, u"#33aa55"_s);
    calendar.is_visible = visible;
    calendar.is_read_only = readOnly;
    return calendar;
}

} // namespace

class TestTaskFormDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void newTask_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("categories");
        QTest::addColumn<int>("priority");
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<QString>("savedTitle");
        QTest::addColumn<QStringList>("savedCategories");
        QTest::newRow("title trimmed, no due date whatever the picker shows")
            << u"  Buy gift  "_s << QString() << 0 << QDateTime() << u"Buy gift"_s << QStringList();
        QTest::newRow("categories trimmed, empty items dropped")
            << u"Prep report"_s << u" Work ,, Q1 ,"_s << 1 << QDateTime() << u"Prep report"_s
            << QStringList({u"Work"_s, u"Q1"_s});
        QTest::newRow("timed due date keeps its wall clock, low priority")
            << u"Call"_s << u"Errands"_s << 9 << local(2026, 3, 29, 9, 30) << u"Call"_s << QStringList({u"Errands"_s});
    }
    void newTask()
    {
        QFETCH(QString, title);
        QFETCH(QString, categories);
        QFETCH(int, priority);
        QFETCH(QDateTime, due);
        QFETCH(QString, savedTitle);
        QFETCH(QStringList, savedCategories);
        TaskFormDialog form(m_state);
        ModalScript script;
        script.on(u"New Task"_s, [&](QWidget *w) {
            type(w, u"title"_s, title);
            type(w, u"categories"_s, categories);
            choose(w, u"priority"_s, priority);
            if (due.isValid()) {
                tick(w, u"hasDue"_s, true);
                setWhen(w, u"due"_s, due);
            }
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        const QList<Task> rows = m_state->tasks()->getByCalendar(kPersonal);
        QCOMPARE(rows.size(), 1);
        const Task &task = rows.first();
        QCOMPARE(task.title, savedTitle);
        QCOMPARE(task.categories, savedCategories);
        QCOMPARE(task.priority, priority);
        QCOMPARE(task.due_date.has_value(), due.isValid());
        if (due.isValid()) {
            QCOMPARE(task.due_date->toLocalTime(), due);
            QVERIFY(!task.due_is_date_only);
        }
        QCOMPARE(task.uid, task.id);
        QCOMPARE(task.sync_status, u"pending"_s);
        QCOMPARE(task.repeat_mode, u"fromDueDate"_s);
        QVERIFY(task.raw_icalendar.contains(u"SUMMARY:"_s + savedTitle));
    }

    // The rule comes from the recurrence editor, the mode from the combo box
    // that the rule enables. The end of a timed task's rule is the last
    // second of the day picked, in UTC, as for timed events.
    void repeatChosenInTheEditor_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("repeats from the due date") << u"fromDueDate"_s;
        QTest::newRow("repeats from completion") << u"fromCompletionDate"_s;
    }
    void repeatChosenInTheEditor()
    {
        QFETCH(QString, mode);
        TaskFormDialog form(m_state);
        QVERIFY(!find<QComboBox>(&form, u"repeatFrom"_s)->isEnabled());
        ModalScript script;
        script.on(u"New Task"_s, [](QWidget *w) {
            type(w, u"title"_s, u"Stand-up notes"_s);
            tick(w, u"hasDue"_s, true);
            setWhen(w, u"due"_s, local(2026, 3, 2, 10));
            clickLater(w, u"repeat"_s);
        });
        script.on(u"Recurrence"_s, [](QWidget *w) {
            click(w, u"weekday5"_s);
            click(w, u"endOn"_s);
            find<QDateEdit>(w, u"untilDate"_s)->setDate(QDate(2026, 3, 30));
            confirm(w);
        });
        script.on(u"New Task"_s, [mode](QWidget *w) {
            QVERIFY(find<QComboBox>(w, u"repeatFrom"_s)->isEnabled());
            QVERIFY(find<QPushButton>(w, u"repeat"_s)->text().endsWith(u"until Mar 30, 2026"_s));
            choose(w, u"repeatFrom"_s, mode);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        const Task task = m_state->tasks()->getByCalendar(kPersonal).value(0);
        QVERIFY2(task.recurrence_rule.startsWith(u"FREQ=WEEKLY"_s), qPrintable(task.recurrence_rule));
        QVERIFY2(task.recurrence_rule.endsWith(u";UNTIL="_s
                                               + RuleUntil::value(QDate(2026, 3, 30), QTimeZone::systemTimeZone())),
                 qPrintable(task.recurrence_rule));
        QCOMPARE(task.repeat_mode, mode);
        QVERIFY(task.raw_icalendar.contains(u"RRULE:"_s + task.recurrence_rule));
    }

    // A date-only task whose rule ends at another client's UTC midnight
    // keeps its last day when the rule is changed, east and west of UTC.
    void changedRuleKeepsItsLastDay_data()
    {
        QTest::addColumn<QString>("until");
        QTest::addColumn<QString>("lastDay");
        QTest::newRow("UTC midnight") << u"20270101T000000Z"_s << u"20270101"_s;
        QTest::newRow("half past eleven UTC") << u"20261231T233000Z"_s << u"20261231"_s;
    }
    void changedRuleKeepsItsLastDay()
    {
        QFETCH(QString, until);
        QFETCH(QString, lastDay);
        Task task = storedTask(u"Water plants"_s);
        task.due_date = QDateTime(QDate(2026, 12, 20), QTime(0, 0), QTimeZone::utc());
        task.due_is_date_only = true;
        task.recurrence_rule = u"FREQ=DAILY;UNTIL="_s + until;
        QVERIFY(insertTask(task));
        TaskFormDialog form(m_state, task);
        ModalScript script;
        script.on(u"Edit Task"_s, [](QWidget *w) { clickLater(w, u"repeat"_s); });
        script.on(u"Recurrence"_s, [](QWidget *w) {
            find<QSpinBox>(w, u"interval"_s)->setValue(2);
            confirm(w);
        });
        script.on(u"Edit Task"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QCOMPARE(m_state->tasks()->getById(task.id)->recurrence_rule, u"FREQ=DAILY;INTERVAL=2;UNTIL="_s + lastDay);
    }

    void blankTitleRefused()
    {
        TaskFormDialog form(m_state);
        ModalScript script;
        script.on(u"New Task"_s, [](QWidget *w) {
            type(w, u"title"_s, u"   "_s);
            confirm(w);
        });
        script.answer(u"Title required"_s);
        script.on(u"New Task"_s, [](QWidget *w) { w->close(); });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        QCOMPARE(script.messageTexts(), QStringList(u"Please enter a title for the task."_s));
        QVERIFY(m_state->tasks()->getByCalendar(kPersonal).isEmpty());
    }

    void priorityRoundTrip_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("saved");
        QTest::newRow("0 is none") << 0 << u"— None"_s << 0;
        QTest::newRow("2 shows high, kept when untouched") << 2 << u"● High"_s << 2;
        QTest::newRow("5 stays medium") << 5 << u"● Medium"_s << 5;
        QTest::newRow("8 shows low, kept when untouched") << 8 << u"● Low"_s << 8;
    }
    void priorityRoundTrip()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(int, saved);
        Task task = storedTask(u"Ranked"_s);
        task.priority = stored;
        QVERIFY(insertTask(task));
        TaskFormDialog form(m_state, task);
        QCOMPARE(find<QComboBox>(&form, u"priority"_s)->currentText(), shown);
        ModalScript script;
        script.on(u"Edit Task"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Task after = *m_state->tasks()->getById(task.id);
        QCOMPARE(after.priority, saved);
        QCOMPARE(after.sequence, task.sequence); // nothing changed: not written
    }

    // Dates loaded date-only stay dates; timed ones keep their instant.
    void datesKept_data()
    {
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<bool>("dateOnly");
        QTest::newRow("date-only due on a spring-forward day") << local(2026, 3, 29) << true;
        QTest::newRow("date-only due on a fall-back day") << local(2026, 11, 1) << true;
        QTest::newRow("timed due after the change") << local(2026, 3, 29, 8, 15) << false;
        QTest::newRow("timed due in the repeated hour's day") << local(2026, 10, 25, 12, 0) << false;
    }
    void datesKept()
    {
        QFETCH(QDateTime, due);
        QFETCH(bool, dateOnly);
        Task task = storedTask(u"Dated"_s);
        task.due_date = due;
        task.due_is_date_only = dateOnly;
        task.start_date = due.addDays(-2);
        task.start_is_date_only = dateOnly;
        QVERIFY(insertTask(task));
        TaskFormDialog form(m_state, task);
        auto *picker = find<DateTimePicker>(&form, u"due"_s);
        QCOMPARE(picker->isDateOnly(), dateOnly);
        QCOMPARE(picker->date(), due.date());
        ModalScript script;
        script.on(u"Edit Task"_s, [](QWidget *w) { confirm(w); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Task after = *m_state->tasks()->getById(task.id);
        QCOMPARE(after.due_is_date_only, dateOnly);
        QCOMPARE(after.start_is_date_only, dateOnly);
        if (dateOnly) {
            QCOMPARE(after.due_date->date(), due.date());
            QCOMPARE(after.start_date->date(), due.date().addDays(-2));
        } else {
            QCOMPARE(after.due_date->toMSecsSinceEpoch(), due.toMSecsSinceEpoch());
            QCOMPARE(after.start_date->toMSecsSinceEpoch(), due.addDays(-2).toMSecsSinceEpoch());
        }
    }

    // Ticking "Completed" on a repeating task moves it on, at the same wall
    // clock time on either side of a daylight saving change.
    void completion_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<bool>("dateOnly");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QDateTime>("nextDue");
        QTest::newRow("one-off task is completed")
            << QString() << u"fromDueDate"_s << local(2026, 3, 6, 9) << false << u"completed"_s << local(2026, 3, 6, 9);
        QTest::newRow("weekly across Berlin's spring forward keeps 09:00")
            << u"FREQ=WEEKLY"_s << u"fromDueDate"_s << local(2026, 3, 27, 9) << false << u"needs-action"_s
            << local(2026, 4, 3, 9);
        QTest::newRow("daily across New York's spring forward keeps 09:00")
            << u"FREQ=DAILY"_s << u"fromDueDate"_s << local(2026, 3, 7, 9) << false << u"needs-action"_s
            << local(2026, 3, 8, 9);
        QTest::newRow("daily across Berlin's fall back keeps 18:30")
            << u"FREQ=DAILY"_s << u"fromDueDate"_s << local(2026, 10, 24, 18, 30) << false << u"needs-action"_s
            << local(2026, 10, 25, 18, 30);
        QTest::newRow("date-only daily moves a day") << u"FREQ=DAILY"_s << u"fromDueDate"_s << local(2026, 3, 28)
                                                     << true << u"needs-action"_s << local(2026, 3, 29);
        QTest::newRow("from completion: tomorrow")
            << u"FREQ=DAILY"_s << u"fromCompletionDate"_s << local(2026, 1, 5) << true << u"needs-action"_s
            << QDateTime(QDate::currentDate().addDays(1), QTime(0, 0));
        QTest::newRow("series over: completed for good")
            << u"FREQ=DAILY;COUNT=1"_s << u"fromDueDate"_s << local(2026, 3, 7, 9) << false << u"completed"_s
            << local(2026, 3, 7, 9);
    }
    void completion()
    {
        QFETCH(QString, rule);
        QFETCH(QString, mode);
        QFETCH(QDateTime, due);
        QFETCH(bool, dateOnly);
        QFETCH(QString, status);
        QFETCH(QDateTime, nextDue);
        Task task = storedTask(u"Water plants"_s);
        task.due_date = due;
        task.due_is_date_only = dateOnly;
        task.recurrence_rule = rule;
        QVERIFY(insertTask(task));
        TaskFormDialog form(m_state, task);
        QCOMPARE(find<QComboBox>(&form, u"repeatFrom"_s)->isEnabled(), !rule.isEmpty());
        ModalScript script;
        script.on(u"Edit Task"_s, [&](QWidget *w) {
            if (!rule.isEmpty())
                choose(w, u"repeatFrom"_s, mode);
            tick(w, u"completed"_s, true);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Task after = *m_state->tasks()->getById(task.id);
        QCOMPARE(after.status, status);
        QCOMPARE(after.completed_date.has_value(), status == u"completed"_s);
        QCOMPARE(after.percent_complete, status == u"completed"_s ? 100 : 0);
        QCOMPARE(after.repeat_mode, mode);
        if (dateOnly)
            QCOMPARE(after.due_date->date(), nextDue.date());
        else
            QCOMPARE(after.due_date->toLocalTime(), nextDue);
        QCOMPARE(after.sync_status, u"pending"_s);
    }

    // A list's check box completes the stored row as it is: a due date held
    // in UTC or at a fixed offset (as a pull or an older write left it) still
    // repeats at its local wall clock.
    void completedAsStored_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<QDateTime>("nextDue");
        QTest::newRow("weekly held in UTC across Berlin's spring forward")
            << u"FREQ=WEEKLY"_s << local(2026, 3, 27, 9).toUTC() << local(2026, 4, 3, 9);
        QTest::newRow("daily held in UTC across New York's spring forward")
            << u"FREQ=DAILY"_s << local(2026, 3, 7, 9).toUTC() << local(2026, 3, 8, 9);
        QTest::newRow("daily held at a fixed offset across Berlin's fall back")
            << u"FREQ=DAILY"_s << local(2026, 10, 24, 18, 30).toOffsetFromUtc(7200) << local(2026, 10, 25, 18, 30);
    }
    void completedAsStored()
    {
        QFETCH(QString, rule);
        QFETCH(QDateTime, due);
        QFETCH(QDateTime, nextDue);
        Task task = storedTask(u"Backup"_s);
        task.due_date = due;
        task.due_is_date_only = false;
        task.recurrence_rule = rule;
        QVERIFY(insertTask(task));
        QVERIFY(m_state->tasks()->setCompleted(task.id, true));
        const Task after = *m_state->tasks()->getById(task.id);
        QCOMPARE(after.status, u"needs-action"_s);
        QCOMPARE(after.due_date->toLocalTime(), nextDue);
    }

    void reopen_data()
    {
        QTest::addColumn<bool>("keepTicked");
        QTest::addColumn<QString>("status");
        QTest::newRow("unticked: needs action, no completion date") << false << u"needs-action"_s;
        QTest::newRow("left ticked: the completion date stays") << true << u"completed"_s;
    }
    void reopen()
    {
        QFETCH(bool, keepTicked);
        QFETCH(QString, status);
        Task task = storedTask(u"Done once"_s);
        task.status = u"completed"_s;
        task.percent_complete = 100;
        task.completed_date = QDateTime(QDate(2026, 2, 1), QTime(10, 0), Qt::UTC);
        QVERIFY(insertTask(task));
        TaskFormDialog form(m_state, task);
        ModalScript script;
        script.on(u"Edit Task"_s, [&](QWidget *w) {
            tick(w, u"completed"_s, keepTicked);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        const Task after = *m_state->tasks()->getById(task.id);
        QCOMPARE(after.status, status);
        QCOMPARE(after.completed_date.has_value(), keepTicked);
        if (keepTicked)
            QCOMPARE(*after.completed_date, *task.completed_date);
        QCOMPARE(after.percent_complete, keepTicked ? 100 : 0);
    }

    // A task, or a new subtask of one, stays in its calendar even when that
    // calendar is not on offer for new tasks.
    void ownCalendarKept_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("subtask");
        QTest::newRow("edit in a hidden calendar") << false << false << false;
        QTest::newRow("edit in a read-only calendar") << true << true << false;
        QTest::newRow("new subtask in a hidden calendar") << false << false << true;
        QTest::newRow("new subtask in a visible calendar") << true << false << true;
        QTest::newRow("new subtask in a read-only calendar: refused") << true << true << true;
    }
    void ownCalendarKept()
    {
        QFETCH(bool, visible);
        QFETCH(bool, readOnly);
        QFETCH(bool, subtask);
        QVERIFY(m_state->calendars()->insert(extraCalendar(u"aside"_s, visible, readOnly)));
        Task parent = storedTask(u"Trip"_s);
        parent.calendar_id = u"aside"_s;
        QVERIFY(insertTask(parent));

        std::unique_ptr<TaskFormDialog> form;
        if (subtask) {
            form = std::make_unique<TaskFormDialog>(m_state);
            form->setParentTaskUid(parent.uid);
            form->setCalendarId(parent.calendar_id);
            QVERIFY(!find<QComboBox>(form.get(), u"calendar"_s)->isEnabled());
        } else {
            form = std::make_unique<TaskFormDialog>(m_state, parent);
        }
        const QString title = subtask ? u"New Task"_s : u"Edit Task"_s;
        // A subtask stays with its parent, where a push of it could only fail.
        const bool refused = subtask && readOnly;
        ModalScript script;
        script.on(title, [](QWidget *w) {
            type(w, u"title"_s, u"Pack"_s);
            confirm(w);
        });
        if (refused) {
            script.answer(u"Read-only calendar"_s);
            script.on(title, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        }
        QCOMPARE(form->exec(), int(refused ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(script.messageTexts().size(), refused ? 1 : 0);
        const QList<Task> rows = m_state->tasks()->getByCalendar(u"aside"_s);
        QCOMPARE(rows.size(), subtask && !refused ? 2 : 1);
        QVERIFY(m_state->tasks()->getByCalendar(kPersonal).isEmpty());
        for (const Task &row : rows) {
            if (row.id != parent.id)
                QCOMPARE(row.parent_task_uid, parent.uid);
        }
    }

    // A synced task moved to another calendar is created there and deleted
    // from the old collection, its subtasks with it, each once.
    void moveToAnotherCalendar_data()
    {
        QTest::addColumn<bool>("cycle");
        QTest::newRow("a subtask") << false;
        QTest::newRow("under it one repeating the task's UID") << true;
    }
    void moveToAnotherCalendar()
    {
        QFETCH(bool, cycle);
        QVERIFY(m_state->calendars()->insert(extraCalendar(u"work"_s, true, false)));
        Task parent = storedTask(u"Launch"_s);
        parent.href = u"/cal/launch.ics"_s;
        parent.etag = u"\"e1\""_s;
        parent.sync_status = u"synced"_s;
        Task child = storedTask(u"Slides"_s);
        child.parent_task_uid = parent.uid;
        child.href = u"/cal/slides.ics"_s;
        QVERIFY(insertTask(parent));
        QVERIFY(insertTask(child));
        if (cycle) {
            Task again = storedTask(u"Launch again"_s);
            again.uid = parent.uid;
            again.parent_task_uid = child.uid;
            again.href = u"/cal/again.ics"_s;
            QVERIFY(insertTask(again));
        }
        const qsizetype count = cycle ? 3 : 2;

        TaskFormDialog form(m_state, parent);
        ModalScript script;
        script.on(u"Edit Task"_s, [](QWidget *w) {
            choose(w, u"calendar"_s, u"work"_s);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));

        QVERIFY(m_state->tasks()->getByCalendar(kPersonal).isEmpty());
        const QList<Task> pending = m_state->tasks()->getPending(kPersonal);
        QCOMPARE(pending.size(), count);
        for (const Task &gone : pending) {
            QVERIFY(gone.deleted_at.has_value());
            QVERIFY(!gone.href.isEmpty());
        }
        const QList<Task> moved = m_state->tasks()->getByCalendar(u"work"_s);
        QCOMPARE(moved.size(), count);
        for (const Task &row : moved) {
            QVERIFY(row.href.isEmpty());
            QVERIFY(row.etag.isEmpty());
            QCOMPARE(row.sync_status, u"pending"_s);
            QVERIFY(row.id != parent.id && row.id != child.id);
        }
        QCOMPARE(m_state->tasks()->getByUid(child.uid, u"work"_s)->parent_task_uid, parent.uid);
    }

    // Through Radicale: the moved task is created in the other collection
    // with its own href and ETag and deleted from the old one.
    void moveThroughRadicale()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        const QString user = u"alice"_s;
        const QString password = u"horse battery"_s;
        RadicaleServer radicale({user, password, {}, {}});
        QVERIFY2(radicale.start(), qPrintable(radicale.errorString()));
        CalDavClient client;
        client.setCredentials(user, password);
        const QUrl homeUrl = radicale.url(u"/alice/home/"_s);
        const QUrl workUrl = radicale.url(u"/alice/work/"_s);
        QVERIFY(makeCalendar(client, homeUrl, u"Home"_s));
        QVERIFY(makeCalendar(client, workUrl, u"Work"_s));
        const QString home = addCalDavCalendar(m_state, homeUrl, user).id;
        const QString work = addCalDavCalendar(m_state, workUrl, user).id;

        {
            TaskFormDialog form(m_state);
            form.setCalendarId(home);
            ModalScript script;
            script.on(u"New Task"_s, [](QWidget *w) {
                type(w, u"title"_s, u"File taxes"_s);
                confirm(w);
            });
            QCOMPARE(form.exec(), int(QDialog::Accepted));
        }
        QVERIFY(syncOnce(m_state, home, user, password).completed);
        const QList<Task> pushed = m_state->tasks()->getByCalendar(home);
        QCOMPARE(pushed.size(), 1);
        QVERIFY(!pushed.first().href.isEmpty());
        const QUrl oldResource = radicale.url(pushed.first().href);
        QCOMPARE(httpGet(oldResource, user, password).first, 200);

        {
            TaskFormDialog form(m_state, pushed.first());
            ModalScript script;
            script.on(u"Edit Task"_s, [&work](QWidget *w) {
                choose(w, u"calendar"_s, work);
                confirm(w);
            });
            QCOMPARE(form.exec(), int(QDialog::Accepted));
        }
        QVERIFY(syncOnce(m_state, home, user, password).completed);
        QVERIFY(syncOnce(m_state, work, user, password).completed);

        QCOMPARE(httpGet(oldResource, user, password).first, 404);
        QVERIFY(m_state->tasks()->getByCalendar(home).isEmpty());
        QVERIFY(m_state->tasks()->getPending(home).isEmpty());
        const QList<Task> moved = m_state->tasks()->getByCalendar(work);
        QCOMPARE(moved.size(), 1);
        QVERIFY(moved.first().href.startsWith(u"/alice/work/"_s));
        QVERIFY(!moved.first().etag.isEmpty());
        QCOMPARE(moved.first().uid, pushed.first().uid);
        const QPair<int, QByteArray> fetched = httpGet(radicale.url(moved.first().href), user, password);
        QCOMPARE(fetched.first, 200);
        QVERIFY(fetched.second.contains("SUMMARY:File taxes"));
    }

    // OK on a stored task writes only what the user changed, on the row as
    // it is then; status and percentage stay unless "Completed" changed.
    void untouchedValuesStayAsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("behind"); // while the form is open
        QTest::addColumn<QString>("title"); // typed; empty: left alone
        QTest::newRow("in process at 40 %")
            << u"status = 'in-process', percent_complete = 40"_s << QString() << QString();
        QTest::newRow("cancelled, retitled")
            << u"status = 'cancelled', percent_complete = 10"_s << QString() << u"Renamed"_s;
        QTest::newRow("completed on its date")
            << u"status = 'completed', percent_complete = 100, completed_date = '2026-02-01T10:00:00Z'"_s << QString()
            << QString();
        QTest::newRow("priority 2, blanks in texts, repeating from completion")
            << u"priority = 2, title = ' Call mum ', categories = '[\"b\",\" a\"]', recurrence_rule = 'FREQ=WEEKLY', "
               u"repeat_mode = 'fromCompletionDate', due_date = '2026-03-06T09:00:00Z'"_s
            << QString() << QString();
        QTest::newRow("a sync stored a new etag and href")
            << QString() << u"etag = 'e-2', href = '/cal/t.ics'"_s << u"Renamed"_s;
    }
    void untouchedValuesStayAsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, behind);
        QFETCH(QString, title);
        Task task = storedTask(u"Kept"_s);
        QVERIFY(insertTask(task));
        const QStringList stamps{u"sequence"_s, u"last_modified"_s, u"sync_status"_s, u"raw_icalendar"_s};
        // Left alone, the task is not written at all: no new sequence, no
        // push.
        const StoredRow row{*m_fixture, u"tasks"_s, task.id,
                            title.isEmpty() ? QStringList() : stamps + QStringList{u"title"_s}};
        row.set(stored);
        TaskFormDialog form(m_state, *m_state->tasks()->getById(task.id));
        QString before;
        ModalScript script;
        script.on(u"Edit Task"_s, [&](QWidget *w) {
            row.set(behind);
            before = row.text();
            if (!title.isEmpty())
                type(w, u"title"_s, title);
            confirm(w);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(row.text(), before);
        if (!title.isEmpty())
            QCOMPARE(m_state->tasks()->getById(task.id)->title, title);
    }

private:
    bool insertTask(Task &task)
    {
        task.raw_icalendar = ICalendar::serializeTask(task);
        return m_state->tasks()->insert(task);
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestTaskFormDialog)
#include "tst_taskformdialog.moc"
