#pragma once

#include <QDate>
#include <QListWidget>

class AppState;

// The tasks due in one week, from the calendars the agenda shows: one row per
// task with its title, due time (or "All day") and done state, ordered by
// due date. Rows carry the task id (Qt::UserRole); activating one opens the
// task form, and its tick completes or reopens the task (a repeating one
// moves on to its next date), which Undo takes back.
class AgendaTaskList : public QListWidget
{
    Q_OBJECT
public:
    explicit AgendaTaskList(AppState *state, QWidget *parent = nullptr);

    // Lists the tasks due in the seven days from `weekStart`.
    void showWeek(const QDate &weekStart);
    void reload();

    static constexpr int kTaskIdRole = Qt::UserRole;

private:
    void openTask(QListWidgetItem *item);
    void toggleDone(QListWidgetItem *item);

    AppState *m_state;
    QDate m_weekStart;
    bool m_reloading = false;
};
