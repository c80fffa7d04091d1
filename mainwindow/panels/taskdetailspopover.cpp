#include "taskdetailspopover.h"

#include "recordnames.h"
#include "timetext.h"

#include <QLocale>

QPointer<TaskDetailsPopover> TaskDetailsPopover::s_open;

TaskDetailsPopover::TaskDetailsPopover(AppState *state, const Task &task, QWidget *parent)
    : DetailsPopover(parent)
{
    Q_UNUSED(state);
    closeOpen();
    s_open = this;
    addHeading(task.title);
    if (task.due_date) {
        const QLocale locale;
        const QString due = task.due_is_date_only
            ? locale.toString(task.due_date->date(), QLocale::LongFormat)
            : locale.toString(task.due_date->toLocalTime().date(), QLocale::ShortFormat) + QLatin1Char(' ')
                + TimeText::shortTime(task.due_date->toLocalTime().time());
        addLine(tr("Due %1").arg(due), true);
    }
    if (task.status == TaskStatus::Completed)
        addLine(tr("Completed"), true);
    addLine(task.description);
}

TaskDetailsPopover::~TaskDetailsPopover() = default;

void TaskDetailsPopover::closeOpen()
{
    if (s_open)
        s_open->close();
}
