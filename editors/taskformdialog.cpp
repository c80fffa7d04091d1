#include "taskformdialog.h"

#include "appstate.h"
#include "calendarchoice.h"
#include "calendarmove.h"
#include "calendarrepository.h"
#include "database.h"
#include "datetimepicker.h"
#include "dialogparts.h"
#include "eventaccess.h"
#include "eventwrites.h"
#include "exceptionkey.h"
#include "icalendar.h"
#include "recordnames.h"
#include "recurrenceeditdialog.h"
#include "rruleformat.h"
#include "ruleuntil.h"
#include "storetransaction.h"
#include "taskdetailspopover.h"
#include "taskrepository.h"
#include "theme.h"
#include "timeutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A check box and its picker, side by side; the box switches the picker.
QWidget *dateRow(QCheckBox *box, DateTimePicker *picker, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(picker, 1);
    picker->setEnabled(false);
    QObject::connect(box, &QCheckBox::toggled, picker, &QWidget::setEnabled);
    return row;
}

// A date-only value shows its own date, whatever zone it was stored in.
void showDate(DateTimePicker *picker, QCheckBox *box, const std::optional<QDateTime> &value, bool dateOnly)
{
    if (!value)
        return;
    box->setChecked(true);
    if (dateOnly) {
        picker->setDateOnly(true);
        picker->setDateTime(TimeUtil::inZone(value->date(), QTime(0, 0), QTimeZone()));
    } else {
        picker->setDateTime(*value);
    }
}

// An unchanged timed value stays as it was stored, in its own zone.
std::optional<QDateTime> pickedDate(const DateTimePicker *picker, const QCheckBox *box,
                                    const std::optional<QDateTime> &stored)
{
    if (!box->isChecked())
        return std::nullopt;
    if (picker->isDateOnly())
        return TimeUtil::inZone(picker->date(), QTime(0, 0), QTimeZone());
    if (stored && picker->dateTime() == *stored)
        return stored;
    return picker->dateTime();
}

} // namespace

TaskFormDialog::TaskFormDialog(AppState *state, const Task &task, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_task(task)
{
    TaskDetailsPopover::closeOpen();
    setWindowTitle(tr("Edit Task"));
    setModal(true);
    buildUi();
    fillCalendarCombo();
    populate();
    m_shown = shown();
}

TaskFormDialog::TaskFormDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    TaskDetailsPopover::closeOpen();
    setWindowTitle(tr("New Task"));
    setModal(true);
    buildUi();
    fillCalendarCombo();
}

int TaskFormDialog::priorityChoice(int priority)
{
    if (priority <= 0)
        return 0;
    if (priority <= 3)
        return 1;
    if (priority <= 6)
        return 5;
    return 9;
}

void TaskFormDialog::buildUi()
{
    const bool editing = m_task.has_value();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);

    auto *heading = DialogParts::heading(editing ? tr("Edit task") : tr("New task"), this);
    heading->setObjectName(u"heading"_s);
    layout->addWidget(heading);

    auto *subtitle = DialogParts::mutedLabel(editing ? tr("Update the task and save to apply.")
                                                     : tr("Drop a quick to-do; due date and priority are optional."),
                                             this);
    layout->addWidget(subtitle);

    auto *form = DialogParts::formLayout();
    layout->addLayout(form);

    m_title = new QLineEdit(this);
    m_title->setObjectName(u"title"_s);
    m_title->setPlaceholderText(tr("Buy birthday gift, prep Q1 report…"));
    form->addRow(tr("&Title"), m_title);

    m_calendar = new QComboBox(this);
    m_calendar->setObjectName(u"calendar"_s);
    form->addRow(tr("&Calendar"), m_calendar);

    const Qt::DayOfWeek firstDay = m_state ? m_state->firstDayOfWeek() : Qt::Monday;
    const QDateTime now = QDateTime::currentDateTime();
    m_hasStart = new QCheckBox(tr("Set start date"), this);
    m_hasStart->setObjectName(u"hasStart"_s);
    m_start = new DateTimePicker(firstDay, this);
    m_start->setObjectName(u"start"_s);
    m_start->setDateTime(now);
    form->addRow(tr("&Starts"), dateRow(m_hasStart, m_start, this));

    m_hasDue = new QCheckBox(tr("Set due date"), this);
    m_hasDue->setObjectName(u"hasDue"_s);
    m_due = new DateTimePicker(firstDay, this);
    m_due->setObjectName(u"due"_s);
    m_due->setDateTime(now);
    form->addRow(tr("&Due"), dateRow(m_hasDue, m_due, this));

    m_repeat = new QPushButton(tr("Does not repeat"), this);
    m_repeat->setObjectName(u"repeat"_s);
    m_repeat->setStyleSheet(u"text-align: left; padding-left: 8px;"_s);
    connect(m_repeat, &QPushButton::clicked, this, &TaskFormDialog::editRecurrence);
    form->addRow(tr("&Repeat"), m_repeat);

    m_repeatFrom = new QComboBox(this);
    m_repeatFrom->setObjectName(u"repeatFrom"_s);
    m_repeatFrom->addItem(tr("Due date"), RepeatMode::FromDueDate);
    m_repeatFrom->addItem(tr("Completion date"), RepeatMode::FromCompletionDate);
    m_repeatFrom->setToolTip(
        tr("Due date: next due = current due + interval.\nCompletion date: next due = today + interval."));
    m_repeatFrom->setEnabled(false);
    connect(m_repeatFrom, &QComboBox::currentIndexChanged, this,
            [this] { m_repeatMode = m_repeatFrom->currentData().toString(); });
    form->addRow(tr("Repeats &from"), m_repeatFrom);

    m_priority = new QComboBox(this);
    m_priority->setObjectName(u"priority"_s);
    m_priority->addItem(tr("— None"), 0);
    m_priority->addItem(tr("● High"), 1);
    m_priority->addItem(tr("● Medium"), 5);
    m_priority->addItem(tr("● Low"), 9);
    form->addRow(tr("&Priority"), m_priority);

    m_completed = new QCheckBox(tr("Completed"), this);
    m_completed->setObjectName(u"completed"_s);
    form->addRow(QString(), m_completed);

    m_categories = new QLineEdit(this);
    m_categories->setObjectName(u"categories"_s);
    m_categories->setPlaceholderText(tr("e.g. Personal, Health, Errands"));
    form->addRow(tr("&Categories"), m_categories);

    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(u"notes"_s);
    m_notes->setPlaceholderText(tr("Steps, links, context…"));
    m_notes->setMinimumHeight(110);
    m_notes->setMaximumHeight(160);
    form->addRow(tr("&Notes"), m_notes);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setStyleSheet(u"color: %1;"_s.arg(Theme::border().name()));
    layout->addWidget(divider);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(editing ? tr("Save changes") : tr("Create task"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    for (QAbstractButton *button : buttons->buttons())
        button->setIcon(QIcon());
    connect(buttons, &QDialogButtonBox::accepted, this, &TaskFormDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    resize(480, sizeHint().height());
    m_title->setFocus();
}

void TaskFormDialog::fillCalendarCombo()
{
    // The edited task's own calendar stays on offer even when hidden or
    // read-only: the task is edited where it lives, never moved by the form's
    // choice of a first item.
    const QList<Calendar> calendars = CalendarChoice::fill(m_calendar, m_state,
                                                           m_task ? m_task->calendar_id : QString());
    for (qsizetype i = 0; i < calendars.size(); ++i) {
        if (calendars.at(i).is_default) {
            m_calendar->setCurrentIndex(int(i));
            break;
        }
    }
}

void TaskFormDialog::setCalendarId(const QString &calendarId)
{
    int index = m_calendar->findData(calendarId);
    if (index < 0 && !m_parentTaskUid.isEmpty() && CalendarChoice::add(m_calendar, m_state, calendarId))
        index = m_calendar->count() - 1;
    if (index >= 0)
        m_calendar->setCurrentIndex(index);
}

void TaskFormDialog::setParentTaskUid(const QString &uid)
{
    m_parentTaskUid = uid;
    m_calendar->setEnabled(uid.isEmpty());
    m_calendar->setToolTip(uid.isEmpty() ? QString() : tr("Subtasks stay in their parent task's calendar."));
}

void TaskFormDialog::populate()
{
    if (!m_task)
        return;
    const Task &task = *m_task;
    m_title->setText(task.title);
    if (const int index = m_calendar->findData(task.calendar_id); index >= 0)
        m_calendar->setCurrentIndex(index);
    // Moving a subtask alone would part it from its parent.
    if (!task.parent_task_uid.isEmpty()) {
        m_calendar->setEnabled(false);
        m_calendar->setToolTip(tr("Subtasks stay in their parent task's calendar."));
    }
    showDate(m_due, m_hasDue, task.due_date, task.due_is_date_only);
    showDate(m_start, m_hasStart, task.start_date, task.start_is_date_only);
    m_rule = task.recurrence_rule;
    m_repeatMode = task.repeat_mode.isEmpty() ? RepeatMode::FromDueDate : task.repeat_mode;
    updateRepeatButton();
    m_categories->setText(task.categories.join(u", "_s));
    m_priority->setCurrentIndex(m_priority->findData(priorityChoice(task.priority)));
    m_completed->setChecked(task.status == TaskStatus::Completed);
    m_notes->setPlainText(task.description);
}

void TaskFormDialog::editRecurrence()
{
    QDate anchor = QDate::currentDate();
    if (m_hasDue->isChecked())
        anchor = m_due->date();
    else if (m_hasStart->isChecked())
        anchor = m_start->date();
    RecurrenceEditDialog dialog(m_rule, anchor, m_state ? m_state->firstDayOfWeek() : Qt::Monday, this);
    dialog.setSeriesZone(repeatZone());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_rule = dialog.rrule();
    updateRepeatButton();
}

void TaskFormDialog::updateRepeatButton()
{
    m_repeat->setText(m_rule.isEmpty() ? tr("Does not repeat") : RruleFormat::describe(m_rule, repeatZone()));
    m_repeatFrom->setEnabled(!m_rule.isEmpty());
    if (const int index = m_repeatFrom->findData(m_repeatMode); index >= 0)
        m_repeatFrom->setCurrentIndex(index);
}

QTimeZone TaskFormDialog::repeatZone() const
{
    const bool due = m_hasDue->isChecked();
    const DateTimePicker *first = due ? m_due : m_hasStart->isChecked() ? m_start : nullptr;
    if (!first || first->isDateOnly())
        return QTimeZone();
    // A value left in a zone of its own is written in it (TZID).
    const std::optional<QDateTime> stored = m_task ? (due ? m_task->due_date : m_task->start_date) : std::nullopt;
    if (stored && stored->timeSpec() == Qt::TimeZone && TimeUtil::isNamedZone(stored->timeZone()))
        return stored->timeZone();
    return QTimeZone::systemTimeZone();
}

TaskFormDialog::Shown TaskFormDialog::shown() const
{
    Shown now;
    now.title = m_title->text();
    now.calendarId = m_calendar->currentData().toString();
    now.hasStart = m_hasStart->isChecked();
    now.start = m_start->dateTime();
    now.hasDue = m_hasDue->isChecked();
    now.due = m_due->dateTime();
    now.rule = m_rule;
    now.timedRule = repeatZone().isValid();
    now.repeatMode = m_repeatMode;
    now.priority = m_priority->currentData().toInt();
    now.completed = m_completed->isChecked();
    now.categories = m_categories->text();
    now.notes = m_notes->toPlainText();
    return now;
}

bool TaskFormDialog::applyChanges(Task &row, const QString &title) const
{
    const bool all = !m_task || m_task->id.isEmpty();
    const Shown now = shown();
    const Shown &was = m_shown;
    if (all || now.title != was.title)
        row.title = title;
    if (all || now.calendarId != was.calendarId)
        row.calendar_id = now.calendarId;
    if (all || now.notes != was.notes)
        row.description = now.notes;
    if (all || now.priority != was.priority)
        row.priority = now.priority;
    if (all || now.hasDue != was.hasDue || now.due != was.due) {
        row.due_date = pickedDate(m_due, m_hasDue, m_task ? m_task->due_date : std::nullopt);
        row.due_is_date_only = m_due->isDateOnly();
    }
    if (all || now.hasStart != was.hasStart || now.start != was.start) {
        row.start_date = pickedDate(m_start, m_hasStart, m_task ? m_task->start_date : std::nullopt);
        row.start_is_date_only = m_start->isDateOnly();
    }
    // A rule ends in the form of its first date, also once that date got or
    // lost its time of day: a date end of a timed task is read elsewhere as
    // its midnight, which drops the last day.
    if (all || now.rule != was.rule || now.timedRule != was.timedRule) {
        const QTimeZone zone = repeatZone();
        // Dated before and after, a UTC end names the day the series ends
        // on (as the expansion reads it), not that instant's day here.
        const bool staysDated = !zone.isValid() && !was.timedRule;
        row.recurrence_rule = RuleUntil::withUntilForm(staysDated ? ExceptionKey::datedRule(now.rule) : now.rule,
                                                       !zone.isValid(),
                                                       zone.isValid() ? zone : QTimeZone::systemTimeZone());
    }
    if (all || now.repeatMode != was.repeatMode)
        row.repeat_mode = now.repeatMode.isEmpty() ? RepeatMode::FromDueDate : now.repeatMode;
    if (all || now.categories != was.categories) {
        row.categories.clear();
        for (const QString &item : now.categories.split(u',')) {
            if (const QString category = item.trimmed(); !category.isEmpty())
                row.categories.append(category);
        }
    }
    // Status and percentage are the task's own ("in-process", "cancelled",
    // 40 %) until "Completed" is changed.
    if (!all && now.completed == was.completed)
        return false;
    // Ticking a repeating task done moves it on to its next occurrence, as
    // the task lists' check boxes do; it is written open and then completed.
    const bool completeRepeating = now.completed && row.status != TaskStatus::Completed
        && !row.recurrence_rule.isEmpty();
    if (now.completed && !completeRepeating) {
        row.status = TaskStatus::Completed;
        row.percent_complete = 100;
        if (!row.completed_date)
            row.completed_date = QDateTime::currentDateTimeUtc();
    } else {
        row.status = TaskStatus::NeedsAction;
        row.percent_complete = 0;
        row.completed_date.reset();
    }
    return completeRepeating;
}

// The name of the read-only calendar a new subtask would go to: its parent's
// calendar, where a push could only fail. Empty when it can be kept.
QString TaskFormDialog::readOnlySubtaskCalendar() const
{
    if (m_task || m_parentTaskUid.isEmpty() || !m_state || !m_state->calendars())
        return {};
    const std::optional<Calendar> calendar = m_state->calendars()->getById(m_calendar->currentData().toString());
    if (!calendar || EventAccess::readOnlyReason(m_state, *calendar).isEmpty())
        return {};
    return calendar->name;
}

void TaskFormDialog::save()
{
    const bool editing = m_task && !m_task->id.isEmpty();
    // A title left as it was keeps its stored form.
    const QString title = editing && m_title->text() == m_shown.title ? m_task->title : m_title->text().trimmed();
    if (title.trimmed().isEmpty()) {
        QMessageBox::warning(this, tr("Title required"), tr("Please enter a title for the task."));
        m_title->setFocus();
        return;
    }
    if (m_calendar->count() == 0) {
        QMessageBox::warning(this, tr("No calendars"), tr("Create a calendar first."));
        return;
    }
    if (const QString readOnly = readOnlySubtaskCalendar(); !readOnly.isEmpty()) {
        QMessageBox::warning(this, tr("Read-only calendar"),
                             tr("\"%1\" is read-only, so a subtask can't be added to its task: a subtask stays "
                                "in its parent task's calendar.")
                                 .arg(readOnly));
        return;
    }
    if (write(title)) {
        accept();
        return;
    }
    QMessageBox::critical(this, tr("Database Error"), tr("Could not save the task."));
}

// An edit is applied to the row as it is now, not to the copy the form
// opened with: a sync may have stored a new etag or href meanwhile.
bool TaskFormDialog::write(const QString &title)
{
    if (!m_state || !m_state->tasks() || !m_state->database())
        return false;
    TaskRepository *tasks = m_state->tasks();
    const bool editing = m_task && !m_task->id.isEmpty();
    StoreTransaction transaction(m_state->database(), StoreTransaction::Lock::Immediate);
    if (!transaction.isActive())
        return false;
    std::optional<Task> stored;
    Task record = m_task ? *m_task : Task();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (editing) {
        stored = tasks->getById(m_task->id);
        if (!stored || stored->deleted_at)
            return false;
        record = *stored;
    } else {
        record.id = EventWrites::newId();
        record.uid = record.id;
        record.created = now;
        record.sequence = 0;
        if (!m_parentTaskUid.isEmpty())
            record.parent_task_uid = m_parentTaskUid;
    }
    const bool completeRepeating = applyChanges(record, title);
    // Saved as it was, the task is not written: no new sequence, no push.
    if (editing && !completeRepeating && record == *stored)
        return true;
    if (editing)
        record.sequence += 1;
    record.last_modified = now;
    record.sync_status = SyncStatus::Pending;
    record.raw_icalendar = ICalendar::serializeTask(record);

    bool ok = false;
    QString id = record.id;
    if (!editing)
        ok = tasks->insert(record);
    else if (record.calendar_id == stored->calendar_id)
        ok = tasks->update(record);
    else
        ok = CalendarMove::moveTask(tasks, *stored, record, &id);
    if (ok && completeRepeating)
        ok = tasks->setCompleted(id, true);
    return ok && transaction.keep();
}
