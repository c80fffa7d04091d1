#pragma once

#include "recordnames.h"
#include "task.h"

#include <QDialog>
#include <QTimeZone>

#include <optional>

class AppState;
class DateTimePicker;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Creates a new task or edits a stored one. Nothing is written before OK;
// exec() returns Accepted only after the write succeeded. A task is edited in
// the calendar it lives in, even a hidden or read-only one.
class TaskFormDialog : public QDialog
{
    Q_OBJECT
public:
    TaskFormDialog(AppState *state, const Task &task, QWidget *parent = nullptr);
    TaskFormDialog(AppState *state, QWidget *parent = nullptr);

    // Selects the calendar; a new subtask's calendar is offered even when it
    // is hidden or read-only, so the subtask stays with its parent (saving
    // one into a read-only calendar is refused with the reason).
    void setCalendarId(const QString &calendarId);
    // A non-empty uid makes the new task a subtask and fixes its calendar.
    void setParentTaskUid(const QString &uid);

    // The priority item's code (0, 1, 5 or 9) a stored priority shows as.
    static int priorityChoice(int priority);

private:
    void buildUi();
    void fillCalendarCombo();
    void populate();
    void editRecurrence();
    void updateRepeatButton();
    // The zone whose days end the repetition of a timed due (or start,
    // without a due): its UNTIL is then the last second of the day picked,
    // in UTC, as for timed events. Invalid when it is date-only or unset:
    // the end is a date.
    QTimeZone repeatZone() const;
    // What the form shows, to tell which fields the user changed.
    struct Shown
    {
        QString title;
        QString calendarId;
        bool hasStart = false;
        QDateTime start;
        bool hasDue = false;
        QDateTime due;
        QString rule;
        bool timedRule = false; // the rule's first date has a time of day
        QString repeatMode;
        int priority = 0;
        bool completed = false;
        QString categories;
        QString notes;
    };
    Shown shown() const;
    // Writes into `row` what the user changed (everything for a new task);
    // true when that ticks a repeating task done, which moves it on.
    bool applyChanges(Task &row, const QString &title) const;
    void save();
    bool write(const QString &title);
    QString readOnlySubtaskCalendar() const;

    AppState *m_state;
    std::optional<Task> m_task;
    Shown m_shown;
    QString m_rule;
    QString m_repeatMode = RepeatMode::FromDueDate;
    QString m_parentTaskUid;

    QLineEdit *m_title = nullptr;
    QComboBox *m_calendar = nullptr;
    QCheckBox *m_hasStart = nullptr;
    DateTimePicker *m_start = nullptr;
    QCheckBox *m_hasDue = nullptr;
    DateTimePicker *m_due = nullptr;
    QPushButton *m_repeat = nullptr;
    QComboBox *m_repeatFrom = nullptr;
    QComboBox *m_priority = nullptr;
    QCheckBox *m_completed = nullptr;
    QLineEdit *m_categories = nullptr;
    QPlainTextEdit *m_notes = nullptr;
};
