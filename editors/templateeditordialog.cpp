#include "templateeditordialog.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "recurrenceeditdialog.h"
#include "rruleformat.h"
#include "theme.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QUuid>
#include <QVBoxLayout>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int kReminderChoices[] = {0, 5, 10, 15, 30, 60, 120, 1440};
constexpr int kMinimumDuration = 15;
// Every whole number of minutes a template can hold, shown as hours and
// minutes.
constexpr int kMaximumHours = std::numeric_limits<int>::max() / 60 - 1;

} // namespace

TemplateEditorDialog::TemplateEditorDialog(AppState *state, const EventTemplate &eventTemplate, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_original(eventTemplate)
    , m_template(eventTemplate)
{
    setWindowTitle(m_template.id.isEmpty() ? tr("New Template") : tr("Edit Template"));
    setModal(true);
    resize(560, 620);
    buildUi();
    m_shown = shown();
}

QString TemplateEditorDialog::reminderLabel(int minutes)
{
    if (minutes <= 0)
        return tr("At time of event");
    if (minutes < 60)
        return tr("%n minute(s) before", nullptr, minutes);
    if (minutes == 60)
        return tr("1 hour before");
    if (minutes % 1440 == 0)
        return tr("%n day(s) before", nullptr, minutes / 1440);
    if (minutes % 60 == 0)
        return tr("%n hour(s) before", nullptr, minutes / 60);
    return tr("%n minute(s) before", nullptr, minutes);
}

void TemplateEditorDialog::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(8);

    m_name = new QLineEdit(m_template.name, this);
    m_name->setObjectName(u"templateName"_s);
    m_name->setPlaceholderText(tr("e.g., Standup, Doctor visit"));
    form->addRow(tr("Template name"), m_name);

    m_title = new QLineEdit(m_template.title, this);
    m_title->setObjectName(u"templateTitle"_s);
    m_title->setPlaceholderText(tr("Event title shown on the calendar"));
    form->addRow(tr("Event title"), m_title);

    m_description = new QPlainTextEdit(m_template.description, this);
    m_description->setObjectName(u"templateDescription"_s);
    m_description->setFixedHeight(72);
    form->addRow(tr("Description"), m_description);

    m_location = new QLineEdit(m_template.location, this);
    m_location->setObjectName(u"templateLocation"_s);
    m_location->setPlaceholderText(tr("Optional location"));
    form->addRow(tr("Location"), m_location);

    auto *colorRow = new QHBoxLayout;
    m_swatch = new QToolButton(this);
    m_swatch->setObjectName(u"templateColor"_s);
    m_swatch->setFixedSize(28, 28);
    m_swatch->setCursor(Qt::PointingHandCursor);
    connect(m_swatch, &QToolButton::clicked, this, &TemplateEditorDialog::pickColor);
    m_useCalendarColor = new QPushButton(tr("Use calendar color"), this);
    m_useCalendarColor->setObjectName(u"useCalendarColor"_s);
    m_useCalendarColor->setFlat(true);
    m_useCalendarColor->setCursor(Qt::PointingHandCursor);
    // The application's style sheet frames every push button; a flat one
    // must say it has no frame.
    m_useCalendarColor->setStyleSheet(
        u"QPushButton { color: %1; border: none; background: transparent; }"_s.arg(Theme::accent().name()));
    connect(m_useCalendarColor, &QPushButton::clicked, this, &TemplateEditorDialog::useCalendarColor);
    colorRow->addWidget(m_swatch);
    colorRow->addWidget(m_useCalendarColor);
    colorRow->addStretch();
    form->addRow(tr("Color"), colorRow);

    m_calendar = new QComboBox(this);
    m_calendar->setObjectName(u"templateCalendar"_s);
    m_calendar->addItem(tr("(use default)"), QString());
    for (const Calendar &calendar : m_state->calendars()->getAll()) {
        if (!calendar.is_read_only)
            m_calendar->addItem(Theme::colorDotIcon(calendar.color), calendar.name, calendar.id);
    }
    m_calendar->setCurrentIndex(qMax(0, m_calendar->findData(m_template.calendar_id)));
    form->addRow(tr("Calendar"), m_calendar);

    m_allDay = new QCheckBox(tr("All-day event"), this);
    m_allDay->setObjectName(u"templateAllDay"_s);
    m_allDay->setChecked(m_template.is_all_day);
    form->addRow(QString(), m_allDay);

    auto *durationRow = new QHBoxLayout;
    durationRow->setSpacing(8);
    m_hours = new QSpinBox(this);
    m_hours->setObjectName(u"templateHours"_s);
    m_hours->setRange(0, kMaximumHours);
    m_hours->setSuffix(tr("h"));
    m_minutes = new QSpinBox(this);
    m_minutes->setObjectName(u"templateMinutes"_s);
    m_minutes->setRange(0, 59);
    m_minutes->setSingleStep(5);
    m_minutes->setSuffix(tr("m"));
    const int duration = qMax(0, m_template.duration_minutes);
    m_hours->setValue(duration / 60);
    m_minutes->setValue(duration - 60 * (duration / 60));
    durationRow->addWidget(m_hours);
    durationRow->addWidget(m_minutes);
    durationRow->addStretch();
    form->addRow(tr("Default duration"), durationRow);

    m_repeat = new QPushButton(this);
    m_repeat->setObjectName(u"templateRepeat"_s);
    m_repeat->setCursor(Qt::PointingHandCursor);
    connect(m_repeat, &QPushButton::clicked, this, &TemplateEditorDialog::editRecurrence);
    form->addRow(tr("Recurrence"), m_repeat);
    layout->addLayout(form);

    auto *group = new QGroupBox(tr("Reminders"), this);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(12, 12, 12, 12);
    groupLayout->setSpacing(8);
    m_reminders = new QVBoxLayout;
    m_reminders->setSpacing(4);
    groupLayout->addLayout(m_reminders);
    auto *addReminder = new QPushButton(tr("+ Add reminder"), group);
    addReminder->setObjectName(u"addReminder"_s);
    addReminder->setFlat(true);
    addReminder->setCursor(Qt::PointingHandCursor);
    addReminder->setStyleSheet(
        u"QPushButton { color: %1; text-align: left; border: none; background: transparent; }"_s.arg(
            Theme::accent().name()));
    connect(addReminder, &QPushButton::clicked, this, &TemplateEditorDialog::addReminder);
    groupLayout->addWidget(addReminder, 0, Qt::AlignLeft);
    layout->addWidget(group);
    rebuildReminders();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TemplateEditorDialog::validate);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    updateColorButton();
    updateRepeatButton();
}

void TemplateEditorDialog::rebuildReminders()
{
    while (QLayoutItem *entry = m_reminders->takeAt(0)) {
        if (QWidget *widget = entry->widget())
            widget->deleteLater();
        delete entry;
    }
    if (m_template.reminders.isEmpty()) {
        auto *none = new QLabel(tr("No reminders"), this);
        none->setObjectName(u"noReminders"_s);
        none->setStyleSheet(u"color: %1;"_s.arg(Theme::textMuted().name()));
        m_reminders->addWidget(none);
        return;
    }
    for (int position = 0; position < m_template.reminders.size(); ++position) {
        auto *row = new QWidget(this);
        row->setObjectName(u"reminderRow"_s);
        auto *line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto *choice = new QComboBox(row);
        choice->setObjectName(u"reminder"_s);
        for (int minutes : kReminderChoices)
            choice->addItem(reminderLabel(minutes), minutes);
        const int minutes = m_template.reminders.at(position);
        int index = choice->findData(minutes);
        if (index < 0) {
            choice->insertItem(0, reminderLabel(minutes), minutes);
            index = 0;
        }
        choice->setCurrentIndex(index);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, choice, position] {
            if (position < m_template.reminders.size())
                m_template.reminders[position] = choice->currentData().toInt();
        });
        auto *remove = new QToolButton(row);
        remove->setObjectName(u"removeReminder"_s);
        remove->setText(u"×"_s);
        remove->setCursor(Qt::PointingHandCursor);
        remove->setToolTip(tr("Remove reminder"));
        // Queued: the button is deleted by the rebuild it starts.
        connect(
            remove, &QToolButton::clicked, this,
            [this, position] {
            if (position < m_template.reminders.size())
                m_template.reminders.removeAt(position);
            rebuildReminders();
            },
            Qt::QueuedConnection);
        line->addWidget(choice, 1);
        line->addWidget(remove);
        m_reminders->addWidget(row);
    }
}

void TemplateEditorDialog::addReminder()
{
    m_template.reminders.append(15);
    rebuildReminders();
}

void TemplateEditorDialog::updateColorButton()
{
    const bool inherits = m_template.color.isEmpty();
    m_swatch->setStyleSheet(u"QToolButton { background: %1; border: 1px solid %2; border-radius: 14px; }"_s.arg(
        inherits ? u"#cccccc"_s : m_template.color, Theme::border().name()));
    m_swatch->setToolTip(inherits ? tr("Inherits the calendar's color. Click to override.")
                                  : tr("%1, click to change.").arg(m_template.color));
    m_useCalendarColor->setVisible(!inherits);
}

void TemplateEditorDialog::updateRepeatButton()
{
    m_repeat->setText(m_template.recurrence_rule.isEmpty() ? tr("Does not repeat")
                                                           : RruleFormat::describe(m_template.recurrence_rule));
}

void TemplateEditorDialog::pickColor()
{
    const QColor start(m_template.color.isEmpty() ? u"#4285F4"_s : m_template.color);
    const QColor chosen = QColorDialog::getColor(start, this, tr("Template color"));
    if (!chosen.isValid())
        return;
    m_template.color = chosen.name();
    updateColorButton();
}

void TemplateEditorDialog::useCalendarColor()
{
    m_template.color.clear();
    updateColorButton();
}

void TemplateEditorDialog::editRecurrence()
{
    RecurrenceEditDialog dialog(m_template.recurrence_rule, QDate::currentDate(), m_state->firstDayOfWeek(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_template.recurrence_rule = dialog.rrule();
    updateRepeatButton();
}

void TemplateEditorDialog::validate()
{
    if (m_name->text().trimmed().isEmpty()) {
        QMessageBox::warning(this, tr("Missing name"), tr("Give this template a name so you can pick it later."));
        m_name->setFocus();
        return;
    }
    if (m_title->text().trimmed().isEmpty()) {
        QMessageBox::warning(this, tr("Missing event title"),
                             tr("Set the event title. That's what events created from this template will be called."));
        m_title->setFocus();
        return;
    }
    EventTemplate edited = m_original;
    applyChanges(edited);
    m_template = edited;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (m_template.id.isEmpty()) {
        m_template.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_template.created_at = now;
    }
    m_template.updated_at = now;
    accept();
}

TemplateEditorDialog::Shown TemplateEditorDialog::shown() const
{
    return {m_name->text(),
            m_title->text(),
            m_description->toPlainText(),
            m_location->text(),
            m_calendar->currentIndex(),
            m_allDay->isChecked(),
            m_hours->value(),
            m_minutes->value()};
}

void TemplateEditorDialog::applyChanges(EventTemplate &row) const
{
    const Shown now = shown();
    if (now.name != m_shown.name)
        row.name = now.name.trimmed();
    if (now.title != m_shown.title)
        row.title = now.title.trimmed();
    if (now.description != m_shown.description)
        row.description = now.description.trimmed();
    if (now.location != m_shown.location)
        row.location = now.location.trimmed();
    // A calendar not on offer (read-only, or gone) stays the template's
    // choice until another is picked.
    if (now.calendarIndex != m_shown.calendarIndex)
        row.calendar_id = m_calendar->currentData().toString();
    if (now.allDay != m_shown.allDay)
        row.is_all_day = now.allDay;
    if (now.hours != m_shown.hours || now.minutes != m_shown.minutes)
        row.duration_minutes = qMax(kMinimumDuration, now.hours * 60 + now.minutes);
    if (m_template.color != m_original.color)
        row.color = m_template.color;
    if (m_template.recurrence_rule != m_original.recurrence_rule)
        row.recurrence_rule = m_template.recurrence_rule;
    if (m_template.reminders != m_original.reminders)
        row.reminders = m_template.reminders;
}
