#pragma once

#include "detailspopover.h"
#include "task.h"

#include <QPointer>

class AppState;

// The details of one task: title, due date, status and notes. At most one is
// open: a new one closes the last.
class TaskDetailsPopover : public DetailsPopover
{
    Q_OBJECT
public:
    TaskDetailsPopover(AppState *state, const Task &task, QWidget *parent = nullptr);
    ~TaskDetailsPopover() override;

    static void closeOpen();

private:
    static QPointer<TaskDetailsPopover> s_open;
};
