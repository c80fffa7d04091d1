#include "agendatasklist.h"

#include "appstate.h"
#include "caldavtaskmerge.h"
#include "calendarrepository.h"
#include "icalendar.h"
#include "recordnames.h"
#include "storefailure.h"
#include "taskformdialog.h"
#include "taskrepository.h"
#include "theme.h"
#include "timetext.h"
#include "undostack.h"
#include "upcomingoccurrences.h"

#include <QHash>
#include <QLocale>

namespace {

// The day a task is due on: a date-only due date is its stored date, a timed
// one the local day of its instant.
QDate dueDay(const Task &task)
{
    return task.due_is_date_only ? task.due_date->date() : task.due_date->toLocalTime().date();
}

} // namespace

AgendaTaskList::AgendaTaskList(AppState *state, QWidget *parent)
    : QListWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("agendaTasks"));
    connect(this, &QListWidget::itemActivated, this, &AgendaTaskList::openTask);
    connect(this, &QListWidget::itemChanged, this, &AgendaTaskList::toggleDone);
    connect(state->tasks(), &TaskRepository::tasksChanged, this, &AgendaTaskList::reload);
}

void AgendaTaskList::showWeek(const QDate &weekStart)
{
    m_weekStart = weekStart;
    reload();
}

void AgendaTaskList::reload()
{
    m_reloading = true;
    clear();
    const QStringList calendarIds = upcomingCalendarIds(m_state);
    if (!m_weekStart.isValid() || calendarIds.isEmpty()) { // an empty list would mean every calendar
        setVisible(false);
        m_reloading = false;
        return;
    }
    const QDate last = m_weekStart.addDays(6);
    // A day around the week, so that date-only tasks stored at another
    // zone's midnight are found; their dates decide below.
    const QList<Task> found = m_state->tasks()->getInRange(m_weekStart.addDays(-1).startOfDay(),
                                                           last.addDays(2).startOfDay(), calendarIds);
    QHash<QString, QString> colours;
    for (const Calendar &calendar : m_state->calendars()->getAll())
        colours.insert(calendar.id, calendar.color);
    const QLocale locale;
    for (const Task &task : found) {
        if (!task.due_date)
            continue;
        const QDate day = dueDay(task);
        if (day < m_weekStart || day > last)
            continue;
        const QString when = task.due_is_date_only ? tr("All day")
                                                   : TimeText::shortTime(task.due_date->toLocalTime().time());
        const QString title = task.title.isEmpty() ? tr("Untitled") : task.title;
        auto *item = new QListWidgetItem(
            QStringLiteral("%1 %2   %3").arg(locale.toString(day, QStringLiteral("ddd")), when, title), this);
        item->setIcon(Theme::colorDotIcon(task.color.isEmpty() ? colours.value(task.calendar_id) : task.color));
        item->setData(kTaskIdRole, task.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool done = task.status == TaskStatus::Completed;
        item->setCheckState(done ? Qt::Checked : Qt::Unchecked);
        if (done)
            item->setForeground(Theme::textMuted());
    }
    // As tall as its rows, up to six, so that a short list needs no scrolling.
    const int rows = qMin(count(), 6);
    setFixedHeight(rows * qMax(sizeHintForRow(0), 1) + 2 * frameWidth());
    setVisible(count() > 0);
    m_reloading = false;
}

void AgendaTaskList::openTask(QListWidgetItem *item)
{
    if (!item)
        return;
    const std::optional<Task> task = m_state->tasks()->getById(item->data(kTaskIdRole).toString());
    if (!task || task->deleted_at)
        return;
    TaskFormDialog dialog(m_state, *task, this);
    dialog.exec();
}

void AgendaTaskList::toggleDone(QListWidgetItem *item)
{
    if (m_reloading || !item)
        return;
    TaskRepository *tasks = m_state->tasks();
    const std::optional<Task> before = tasks->getById(item->data(kTaskIdRole).toString());
    if (!before || before->deleted_at)
        return;
    const bool done = item->checkState() == Qt::Checked;
    // Already so (changed elsewhere meanwhile): the row shows what is stored.
    if (done == (before->status == TaskStatus::Completed))
        return;
    if (!tasks->setCompleted(before->id, done)) {
        m_reloading = true;
        item->setCheckState(done ? Qt::Unchecked : Qt::Checked);
        m_reloading = false;
        return;
    }
    UndoEntry entry;
    entry.label = done ? tr("Completed \"%1\"").arg(before->title) : tr("Reopened \"%1\"").arg(before->title);
    const Task after = tasks->getById(before->id).value_or(*before);
    entry.restore = [tasks, before = *before, after] {
        const std::optional<Task> now = tasks->getById(before.id);
        if (!now || now->deleted_at) {
            // Deleted meanwhile, here or by a sync: nothing was taken back.
            StoreFailure::note(StoreFailure::Refused);
            return;
        }
        // The earlier content, under the row's current server identity, so
        // that the next push sends it over the server's copy; what a sync
        // brought since the tick stays.
        bool conflict = false;
        Task back = CalDavTaskMerge::merge(after, before, *now, &conflict);
        // The tick's series count goes back with it: kept, each tick and
        // undo would use up one of the rule's COUNT.
        back.raw_icalendar = TaskRepository::withSeriesCountersOf(now->raw_icalendar, before.raw_icalendar);
        back.etag = now->etag;
        back.href = now->href;
        back.sequence = now->sequence + 1;
        back.sync_status = SyncStatus::Pending;
        back.raw_icalendar = ICalendar::serializeTask(back);
        tasks->update(back);
    };
    m_state->undoStack()->push(std::move(entry));
}
