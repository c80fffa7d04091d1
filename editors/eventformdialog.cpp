#include "eventformdialog.h"

#include "appstate.h"
#include "calendarchoice.h"
#include "calendarmove.h"
#include "calendarrepository.h"
#include "database.h"
#include "datetimepicker.h"
#include "dialogparts.h"
#include "eventaccess.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "eventwrites.h"
#include "exceptionkey.h"
#include "preferencesrepository.h"
#include "readonlylock.h"
#include "recordnames.h"
#include "recurrenceeditdialog.h"
#include "recurringedit.h"
#include "rruleformat.h"
#include "ruleuntil.h"
#include "seriesrows.h"
#include "storefailure.h"
#include "storefailuretext.h"
#include "templaterepository.h"
#include "theme.h"
#include "timeutil.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace EventWrites;

namespace {

const QString kFallbackColor = u"#4285F4"_s;
// Accent-coloured text buttons.
const QString kFlatStyle = u"QPushButton { color: %1; border: none; background: transparent; }"_s;

// The offsets every reminder row offers, in this order.
const int kReminderChoices[] = {0, 5, 10, 15, 30, 60, 120, 1440, 2880, 10080};

QString accentStyle(const QString &pattern)
{
    return pattern.arg(Theme::accent().name());
}

QPushButton *addRowButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    // Flat also under the application style sheet, which frames push buttons.
    button->setStyleSheet(accentStyle(
        u"QPushButton { color: %1; text-align: left; padding: 4px 0; border: none; background: transparent; }"_s));
    return button;
}

QToolButton *removeButton(QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(u"remove"_s);
    button->setText(u"×"_s);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoRaise(true);
    button->setFixedSize(24, 24);
    // The application style sheet pads tool buttons wider than this one.
    button->setStyleSheet(u"QToolButton { padding: 0px; }"_s);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() + 4);
    button->setFont(font);
    return button;
}

QHBoxLayout *rowLayout(QWidget *row, int spacing)
{
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// Puts `row` just before `button` in `layout` (at the top when the button is
// not found).
void insertBefore(QVBoxLayout *layout, QWidget *button, QWidget *row)
{
    const int index = layout->indexOf(button);
    layout->insertWidget(index < 0 ? 0 : index, row);
}

// The last day the form shows for an all-day event with an end: the stored
// end is exclusive, and an end no later than the start shows the start.
QDate lastShownDay(const Event &event)
{
    const QDate first = event.start_time.date();
    const QDate last = event.end_time ? event.end_time->date() : first;
    return last > first ? last.addDays(-1) : first;
}

} // namespace

EventFormDialog::EventFormDialog(AppState *state, const Event &event, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_event(event)
    , m_occurrence(event)
{
    EventDetailsPopover::closeOpen();
    // The stored row, not the caller's copy: an occurrence of a series
    // carries the series' id but its own start.
    if (state && state->events() && !event.id.isEmpty()) {
        if (const std::optional<Event> stored = state->events()->getById(event.id); stored && !stored->deleted_at)
            m_event = *stored;
    }
    setWindowTitle(tr("Edit Event"));
    setModal(true);
    buildUi();
    fillCalendarCombo();
    populate();
    if (const QString reason = readOnlyReason(); !reason.isEmpty())
        lockReadOnly(this, reason);
}

EventFormDialog::EventFormDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    EventDetailsPopover::closeOpen();
    setWindowTitle(tr("New Event"));
    setModal(true);
    buildUi();
    fillCalendarCombo();
}

QString EventFormDialog::reminderLabel(int minutes)
{
    switch (minutes) {
    case 0: return tr("At time of event");
    case 5: return tr("5 minutes before");
    case 10: return tr("10 minutes before");
    case 15: return tr("15 minutes before");
    case 30: return tr("30 minutes before");
    case 60: return tr("1 hour before");
    case 120: return tr("2 hours before");
    case 1440: return tr("1 day before");
    case 2880: return tr("2 days before");
    case 10080: return tr("1 week before");
    default: break;
    }
    if (minutes < 60)
        return tr("%1 minutes before").arg(minutes);
    if (minutes < 1440)
        return tr("%1 hours before").arg(minutes / 60);
    return tr("%1 days before").arg(minutes / 1440);
}

QString EventFormDialog::participationStatusLabel(const QString &status)
{
    if (status == ParticipationStatus::Accepted)
        return tr("Going");
    if (status == ParticipationStatus::Declined)
        return tr("Declined");
    if (status == ParticipationStatus::Tentative)
        return tr("Maybe");
    if (status == ParticipationStatus::Delegated)
        return tr("Delegated");
    return tr("No response");
}

QDateTime EventFormDialog::defaultStart(const QDateTime &now)
{
    const QTime time = now.time();
    const QDateTime start = TimeUtil::inZoneOf(now.date(), QTime(time.hour(), 0), now);
    if (time.minute() == 0)
        return start;
    if (time.minute() <= 30)
        return start.addSecs(30 * 60);
    return start.addSecs(60 * 60);
}

void EventFormDialog::buildUi()
{
    const bool editing = m_event.has_value();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto *header = new QHBoxLayout;
    auto *heading = DialogParts::heading(editing ? tr("Edit event") : tr("New event"), this);
    heading->setObjectName(u"heading"_s);
    header->addWidget(heading);
    header->addStretch();
    if (!editing) {
        auto *fromTemplate = new QPushButton(tr("From template…"), this);
        fromTemplate->setObjectName(u"fromTemplate"_s);
        fromTemplate->setFlat(true);
        fromTemplate->setCursor(Qt::PointingHandCursor);
        fromTemplate->setStyleSheet(accentStyle(kFlatStyle));
        connect(fromTemplate, &QPushButton::clicked, this, &EventFormDialog::showTemplatesMenu);
        header->addWidget(fromTemplate);
    }
    layout->addLayout(header);

    auto *subtitle = DialogParts::mutedLabel(editing ? tr("Update the details below and save to apply.")
                                                     : tr("Fill in the basics. Start time and calendar are required."),
                                             this);
    layout->addWidget(subtitle);
    layout->addSpacing(8);

    auto *form = DialogParts::formLayout();
    layout->addLayout(form);

    m_title = new QLineEdit(this);
    m_title->setObjectName(u"title"_s);
    m_title->setPlaceholderText(tr("Lunch with Sam, Sprint planning…"));
    form->addRow(tr("&Title"), m_title);

    m_calendar = new QComboBox(this);
    m_calendar->setObjectName(u"calendar"_s);
    form->addRow(tr("&Calendar"), m_calendar);

    auto *colorRow = new QHBoxLayout;
    colorRow->setSpacing(8);
    m_colorSwatch = new QToolButton(this);
    m_colorSwatch->setObjectName(u"colorSwatch"_s);
    m_colorSwatch->setFixedSize(28, 28);
    m_colorSwatch->setCursor(Qt::PointingHandCursor);
    connect(m_colorSwatch, &QToolButton::clicked, this, &EventFormDialog::pickColor);
    colorRow->addWidget(m_colorSwatch);
    m_useCalendarColor = new QPushButton(tr("Use calendar color"), this);
    m_useCalendarColor->setObjectName(u"useCalendarColor"_s);
    m_useCalendarColor->setFlat(true);
    m_useCalendarColor->setCursor(Qt::PointingHandCursor);
    m_useCalendarColor->setStyleSheet(accentStyle(kFlatStyle));
    connect(m_useCalendarColor, &QPushButton::clicked, this, &EventFormDialog::useCalendarColor);
    colorRow->addWidget(m_useCalendarColor);
    colorRow->addStretch();
    form->addRow(tr("Color"), colorRow);

    const Qt::DayOfWeek firstDay = m_state ? m_state->firstDayOfWeek() : Qt::Monday;
    m_start = new DateTimePicker(firstDay, this);
    m_start->setObjectName(u"start"_s);
    const QDateTime start = defaultStart(QDateTime::currentDateTime());
    m_start->setDateTime(start);
    form->addRow(tr("&Starts"), m_start);
    m_end = new DateTimePicker(firstDay, this);
    m_end->setObjectName(u"end"_s);
    m_end->setDateTime(start.addSecs(3600));
    m_end->setReferencePicker(m_start);
    form->addRow(tr("&Ends"), m_end);

    m_allDay = new QCheckBox(tr("All day"), this);
    m_allDay->setObjectName(u"allDay"_s);
    connect(m_allDay, &QCheckBox::toggled, this, &EventFormDialog::setAllDay);
    form->addRow(QString(), m_allDay);

    m_repeat = new QPushButton(this);
    m_repeat->setObjectName(u"repeat"_s);
    m_repeat->setCursor(Qt::PointingHandCursor);
    connect(m_repeat, &QPushButton::clicked, this, &EventFormDialog::editRecurrence);
    form->addRow(tr("&Repeats"), m_repeat);
    updateRepeatLabel();

    auto *reminders = new QWidget(this);
    m_reminders = new QVBoxLayout(reminders);
    m_reminders->setContentsMargins(0, 0, 0, 0);
    m_reminders->setSpacing(8);
    m_addReminder = addRowButton(tr("+ Add reminder"), u"addReminder"_s, reminders);
    connect(m_addReminder, &QPushButton::clicked, this, [this] { addReminderRow(15); });
    m_reminders->addWidget(m_addReminder);
    form->addRow(tr("Re&minders"), reminders);

    m_location = new QLineEdit(this);
    m_location->setObjectName(u"location"_s);
    m_location->setPlaceholderText(tr("Address, room, or video link"));
    form->addRow(tr("&Location"), m_location);

    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(u"notes"_s);
    m_notes->setPlaceholderText(tr("Notes, agenda, links…"));
    m_notes->setMinimumHeight(110);
    m_notes->setMaximumHeight(160);
    form->addRow(tr("&Notes"), m_notes);

    auto *attendees = new QWidget(this);
    m_attendeeRows = new QVBoxLayout(attendees);
    m_attendeeRows->setContentsMargins(0, 0, 0, 0);
    m_attendeeRows->setSpacing(4);
    m_addAttendee = addRowButton(tr("+ Add attendee"), u"addAttendee"_s, attendees);
    connect(m_addAttendee, &QPushButton::clicked, this, &EventFormDialog::addAttendee);
    m_attendeeRows->addWidget(m_addAttendee);
    form->addRow(tr("Attendees"), attendees);

    layout->addStretch();
    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setStyleSheet(u"color: %1;"_s.arg(Theme::border().name()));
    layout->addWidget(divider);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(editing ? tr("Save changes") : tr("Create event"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    for (QAbstractButton *button : buttons->buttons())
        button->setIcon(QIcon());
    connect(buttons, &QDialogButtonBox::accepted, this, &EventFormDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    updateColorButton();
    resize(560, sizeHint().height());
    m_title->setFocus();
}

void EventFormDialog::fillCalendarCombo()
{
    if (!m_state || !m_state->calendars())
        return;
    // The edited event's own calendar stays on offer even when hidden or
    // read-only: the event is edited where it lives.
    const QList<Calendar> calendars = CalendarChoice::fill(m_calendar, m_state,
                                                           m_event ? m_event->calendar_id : QString());

    int selected = -1;
    if (m_state->preferences()) {
        const QString preferred = m_state->preferences()->get(u"ui/defaultCalendarId"_s).value_or(QString());
        if (!preferred.isEmpty())
            selected = m_calendar->findData(preferred);
    }
    for (int i = 0; selected < 0 && i < calendars.size(); ++i) {
        if (calendars.at(i).is_default)
            selected = i;
    }
    if (selected >= 0)
        m_calendar->setCurrentIndex(selected);
    connect(m_calendar, &QComboBox::currentIndexChanged, this, &EventFormDialog::updateColorButton);
    updateColorButton();
}

void EventFormDialog::populate()
{
    if (!m_event)
        return;
    const Event &event = *m_event;
    m_shown = event;
    m_title->setText(event.title);
    if (const int index = m_calendar->findData(event.calendar_id); index >= 0)
        m_calendar->setCurrentIndex(index);
    m_customColor = event.color;
    updateColorButton();

    showTimes(event);
    m_allDay->setChecked(event.is_all_day);
    setAllDay(event.is_all_day);

    m_rule = event.recurrence_rule;
    updateRepeatLabel();
    clearReminderRows();
    for (const Reminder &reminder : event.reminders)
        addReminderRow(reminder);
    m_location->setText(event.location);
    m_notes->setPlainText(event.description);
    m_shownTexts = {m_title->text(), m_location->text(), m_notes->toPlainText()};
    m_attendees = event.attendees;
    rebuildAttendeeRows();
}

void EventFormDialog::setScope(RecurringEditScope scope)
{
    if (!m_event || !m_state || !m_state->events() || scope == RecurringEditScope::None)
        return;
    EventRepository *events = m_state->events();
    m_scope = scope;
    m_slot = QDateTime();
    Event shown = m_occurrence;
    if (m_event->isOverride()) {
        if (scope == RecurringEditScope::ThisEvent)
            return; // the override row itself
        const std::optional<Event> master = events->getByUid(m_event->master_event_uid, m_event->calendar_id);
        const std::optional<Event> series = master ? events->getById(master->id) : std::nullopt;
        if (!series || series->deleted_at)
            return;
        // From here on the series is edited; the override's place in it is
        // the occurrence.
        m_slot = ExceptionKey::startOf(*series, m_event->recurrence_id);
        m_event = *series;
        populate();
        shown = *series;
        shown.start_time = TimeUtil::toSameRepresentation(m_slot, series->start_time);
        if (series->end_time)
            shown.end_time = shown.start_time.addSecs(series->start_time.secsTo(*series->end_time));
    } else if (!m_event->recurrence_rule.isEmpty() || !m_event->recurrence_dates.isEmpty()) {
        m_slot = m_occurrence.start_time;
        // The caller's copy may lack what the stored series holds (its
        // reminders and attendees): the series' content, the occurrence's times.
        shown = *m_event;
        shown.start_time = m_occurrence.start_time;
        shown.end_time = m_occurrence.end_time;
    }
    if (m_slot.isValid() && scope != RecurringEditScope::AllEvents) {
        showTimes(shown);
        m_shown = shown;
    }
}

void EventFormDialog::showTimes(const Event &event)
{
    if (event.is_all_day) {
        // All-day rows are read by their stored dates; the stored end is
        // exclusive, the form shows the last day.
        m_start->setDateTime(TimeUtil::inZone(event.start_time.date(), QTime(0, 0), QTimeZone()));
        if (event.end_time)
            m_end->setDateTime(TimeUtil::inZone(lastShownDay(event), QTime(0, 0), QTimeZone()));
    } else {
        m_start->setDateTime(event.start_time);
        if (event.end_time)
            m_end->setDateTime(*event.end_time);
    }
}

void EventFormDialog::setStartAndDuration(const QDateTime &start, int minutes)
{
    if (!start.isValid())
        return;
    m_start->setDateTime(start);
    m_end->setDateTime(start.addSecs(qint64(minutes) * 60));
}

void EventFormDialog::setAllDay(bool allDay)
{
    m_start->setDateOnly(allDay);
    m_end->setDateOnly(allDay);
    // The end the rule is saved with follows the kind.
    if (m_repeat)
        updateRepeatLabel();
}

QString EventFormDialog::selectedCalendarColor() const
{
    if (m_calendar->currentIndex() < 0 || !m_state || !m_state->calendars())
        return kFallbackColor;
    const auto calendar = m_state->calendars()->getById(m_calendar->currentData().toString());
    return calendar && !calendar->color.isEmpty() ? calendar->color : kFallbackColor;
}

void EventFormDialog::updateColorButton()
{
    const QString shown = m_customColor.isEmpty() ? selectedCalendarColor() : m_customColor;
    m_colorSwatch->setStyleSheet(
        u"QToolButton { background: %1; border: 1px solid %2; border-radius: 14px; }"_s.arg(shown,
                                                                                            Theme::border().name()));
    m_colorSwatch->setToolTip(m_customColor.isEmpty()
                                  ? tr("Inheriting calendar color (%1). Click to override.").arg(shown)
                                  : tr("Custom color (%1). Click to change.").arg(m_customColor));
    m_useCalendarColor->setVisible(!m_customColor.isEmpty());
}

void EventFormDialog::pickColor()
{
    QColor initial(m_customColor.isEmpty() ? selectedCalendarColor() : m_customColor);
    if (!initial.isValid())
        initial = Theme::accent();
    const QColor chosen = QColorDialog::getColor(initial, this, tr("Event color"));
    if (!chosen.isValid())
        return;
    m_customColor = chosen.name();
    updateColorButton();
}

void EventFormDialog::useCalendarColor()
{
    m_customColor.clear();
    updateColorButton();
}

void EventFormDialog::updateRepeatLabel()
{
    m_repeat->setText(m_rule.isEmpty()
                          ? tr("Does not repeat")
                          : RruleFormat::describe(ruleToSave(), m_allDay->isChecked() ? QTimeZone() : eventZone()));
}

QString EventFormDialog::ruleToSave() const
{
    // A rule the user left as it was stays as written; one they changed (or
    // whose series changed between timed and all-day) ends in the form that
    // fits the start.
    const bool allDay = m_allDay->isChecked();
    const bool kept = m_event && m_rule == m_event->recurrence_rule && allDay == m_event->is_all_day;
    if (kept)
        return m_rule;
    // A series all-day before and after ends on the day its UTC end named
    // (as the expansion reads it), not on that instant's day here.
    const bool staysAllDay = allDay && m_event && m_event->is_all_day;
    return RuleUntil::withUntilForm(staysAllDay ? ExceptionKey::datedRule(m_rule) : m_rule, allDay, eventZone());
}

QTimeZone EventFormDialog::eventZone() const
{
    // A timed event stays in its own zone, UTC included: moving a UTC series
    // into the system zone would shift it an hour at the next DST change.
    // A bare offset names no zone a server knows: those take the system zone.
    if (m_event && !m_event->is_all_day && m_event->start_time.isValid()) {
        const QTimeZone own = seriesZone(*m_event);
        if (own == QTimeZone::utc() || TimeUtil::isNamedZone(own))
            return own;
    }
    return QTimeZone::systemTimeZone();
}

void EventFormDialog::editRecurrence()
{
    RecurrenceEditDialog dialog(m_rule, m_start->date(), m_state ? m_state->firstDayOfWeek() : Qt::Monday, this);
    dialog.setSeriesZone(m_allDay->isChecked() ? QTimeZone() : eventZone());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_rule = dialog.rrule();
    updateRepeatLabel();
}

void EventFormDialog::addReminderRow(int minutes)
{
    Reminder reminder;
    reminder.minutes_before = minutes;
    addReminderRow(reminder);
}

void EventFormDialog::addReminderRow(const Reminder &reminder)
{
    const int minutes = reminder.minutes_before;
    auto *row = new QWidget;
    row->setObjectName(u"reminderRow"_s);
    QHBoxLayout *line = rowLayout(row, 8);
    auto *choice = new QComboBox(row);
    choice->setObjectName(u"reminder"_s);
    for (int offset : kReminderChoices)
        choice->addItem(reminderLabel(offset), offset);
    int index = choice->findData(minutes);
    if (index < 0) {
        choice->addItem(reminderLabel(minutes), minutes);
        index = choice->count() - 1;
    }
    choice->setCurrentIndex(index);
    line->addWidget(choice, 1);
    QToolButton *remove = removeButton(row);
    connect(remove, &QToolButton::clicked, this, [this, row] {
        m_reminders->removeWidget(row);
        m_rowReminders.remove(row);
        row->deleteLater();
    });
    line->addWidget(remove);
    insertBefore(m_reminders, m_addReminder, row);
    m_rowReminders.insert(row, reminder);
}

void EventFormDialog::clearReminderRows()
{
    for (int i = m_reminders->count() - 1; i >= 0; --i) {
        QWidget *widget = m_reminders->itemAt(i)->widget();
        if (widget && widget != m_addReminder) {
            m_reminders->removeWidget(widget);
            widget->deleteLater();
        }
    }
    m_rowReminders.clear();
}

void EventFormDialog::addAttendee()
{
    Attendee attendee;
    attendee.role = AttendeeRole::Required;
    attendee.status = ParticipationStatus::NeedsAction;
    attendee.rsvp = true;
    m_attendees.append(attendee);
    rebuildAttendeeRows();
}

void EventFormDialog::rebuildAttendeeRows()
{
    for (int i = m_attendeeRows->count() - 1; i >= 0; --i) {
        QWidget *widget = m_attendeeRows->itemAt(i)->widget();
        if (widget && widget != m_addAttendee) {
            m_attendeeRows->removeWidget(widget);
            widget->deleteLater();
        }
    }
    for (qsizetype i = 0; i < m_attendees.size(); ++i) {
        const Attendee &attendee = m_attendees.at(i);
        auto *row = new QWidget;
        row->setObjectName(u"attendeeRow"_s);
        QHBoxLayout *line = rowLayout(row, 8);
        auto *name = new QLineEdit(attendee.name, row);
        name->setObjectName(u"attendeeName"_s);
        name->setPlaceholderText(tr("Name"));
        name->setFixedWidth(160);
        connect(name, &QLineEdit::textEdited, this, [this, i](const QString &text) { m_attendees[i].name = text; });
        line->addWidget(name);
        auto *email = new QLineEdit(attendee.email, row);
        email->setObjectName(u"attendeeEmail"_s);
        email->setPlaceholderText(tr("name@example.com"));
        email->setCursorPosition(0);
        connect(email, &QLineEdit::textEdited, this,
                [this, i](const QString &text) { m_attendees[i].email = text.trimmed(); });
        line->addWidget(email, 1);
        auto *status = new QLabel(participationStatusLabel(attendee.status), row);
        status->setStyleSheet(u"color: %1;"_s.arg(Theme::textMuted().name()));
        // As wide as the widest status, so that the rows line up.
        int statusWidth = 0;
        for (const QString &known :
             {ParticipationStatus::Accepted, ParticipationStatus::Declined, ParticipationStatus::Tentative,
              ParticipationStatus::Delegated, ParticipationStatus::NeedsAction})
            statusWidth = qMax(statusWidth, status->fontMetrics().horizontalAdvance(participationStatusLabel(known)));
        status->setMinimumWidth(statusWidth);
        line->addWidget(status);
        QToolButton *remove = removeButton(row);
        connect(remove, &QToolButton::clicked, this, [this, i] {
            if (i < m_attendees.size())
                m_attendees.removeAt(i);
            rebuildAttendeeRows();
        });
        line->addWidget(remove);
        insertBefore(m_attendeeRows, m_addAttendee, row);
    }
}

void EventFormDialog::showTemplatesMenu()
{
    const QList<EventTemplate> templates = m_state && m_state->templates() ? m_state->templates()->getAll()
                                                                           : QList<EventTemplate>();
    if (templates.isEmpty()) {
        QMessageBox::information(this, tr("No templates"),
                                 tr("You haven't created any event templates yet. Open Tools → Manage "
                                    "Templates to create one."));
        return;
    }
    QMenu menu(this);
    for (const EventTemplate &eventTemplate : templates) {
        QAction *action = eventTemplate.color.isEmpty()
            ? menu.addAction(eventTemplate.name)
            : menu.addAction(Theme::colorDotIcon(eventTemplate.color), eventTemplate.name);
        const QString id = eventTemplate.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (const auto current = m_state->templates()->getById(id))
                applyTemplate(*current);
        });
    }
    auto *button = qobject_cast<QPushButton *>(sender());
    menu.exec(button ? button->mapToGlobal(button->rect().bottomLeft()) : QCursor::pos());
}

void EventFormDialog::applyTemplate(const EventTemplate &eventTemplate)
{
    if (!eventTemplate.title.isEmpty())
        m_title->setText(eventTemplate.title);
    if (!eventTemplate.location.isEmpty())
        m_location->setText(eventTemplate.location);
    if (!eventTemplate.description.isEmpty())
        m_notes->setPlainText(eventTemplate.description);
    if (!eventTemplate.color.isEmpty()) {
        m_customColor = eventTemplate.color;
        updateColorButton();
    }
    if (!eventTemplate.calendar_id.isEmpty()) {
        if (const int index = m_calendar->findData(eventTemplate.calendar_id); index >= 0)
            m_calendar->setCurrentIndex(index);
    }
    m_allDay->setChecked(eventTemplate.is_all_day);
    if (eventTemplate.duration_minutes >= 1 && !eventTemplate.is_all_day)
        m_end->setDateTime(m_start->dateTime().addSecs(qint64(eventTemplate.duration_minutes) * 60));
    if (!eventTemplate.recurrence_rule.isEmpty()) {
        m_rule = eventTemplate.recurrence_rule;
        updateRepeatLabel();
    }
    clearReminderRows();
    for (int minutes : eventTemplate.reminders)
        addReminderRow(minutes);
}

QString EventFormDialog::readOnlyReason() const
{
    return m_event && !m_event->id.isEmpty() ? EventAccess::readOnlyReason(m_state, m_event->calendar_id) : QString();
}

void EventFormDialog::save()
{
    if (!readOnlyReason().isEmpty())
        return;
    if (m_title->text().trimmed().isEmpty()) {
        QMessageBox::warning(this, tr("Title required"), tr("Please enter a title for the event."));
        m_title->setFocus();
        return;
    }
    if (m_calendar->count() == 0) {
        QMessageBox::warning(this, tr("No calendars"), tr("Create a calendar first."));
        return;
    }
    if (m_end->dateTime() < m_start->dateTime()) {
        QMessageBox::warning(this, tr("End before start"), tr("The end time is earlier than the start time."));
        m_end->setFocus();
        return;
    }

    Event record = m_event ? *m_event : Event();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (m_event && !m_event->id.isEmpty()) {
        record.sequence += 1;
    } else {
        record.id = newId();
        record.uid = record.id;
        record.created = now;
        record.sequence = 0;
        record.status = EventStatus::Confirmed;
    }
    record.calendar_id = m_calendar->currentData().toString();
    // A text left as it was keeps its stored form, which the fields would
    // reshape: blanks trimmed, line ends and non-breaking spaces made plain.
    const bool editing = m_event && !m_event->id.isEmpty();
    const QStringList texts{m_title->text(), m_location->text(), m_notes->toPlainText()};
    if (!editing || texts.at(0) != m_shownTexts.value(0))
        record.title = texts.at(0).trimmed();
    if (!editing || texts.at(1) != m_shownTexts.value(1))
        record.location = texts.at(1).trimmed();
    if (!editing || texts.at(2) != m_shownTexts.value(2))
        record.description = texts.at(2);
    record.color = m_customColor;
    record.is_all_day = m_allDay->isChecked();
    const QTimeZone zone = eventZone();
    if (record.is_all_day) {
        // Held at 00:00 UTC of their dates, as pulled all-day rows are, in a
        // zone-free row so the store reads the dates back unchanged.
        record.start_time = allDayTime(m_start->date());
        record.end_time = allDayTime(m_end->date().addDays(1));
        record.timezone = u"UTC"_s;
        // Days left as they were stay as stored, also an end no later than
        // the start, which the form shows as one day.
        if (editing && m_shown.is_all_day && m_shown.end_time && m_start->date() == m_shown.start_time.date()
            && m_end->date() == lastShownDay(m_shown)) {
            record.start_time = m_shown.start_time;
            record.end_time = m_shown.end_time;
        }
    } else {
        // A timed event keeps the wall clock of its zone, named in the row
        // so that the stored text carries it (TZID) and repeats alike here
        // and on a server.
        record.start_time = TimeUtil::toZone(m_start->dateTime(), zone);
        record.end_time = TimeUtil::toZone(m_end->dateTime(), zone);
        const QString name = QString::fromUtf8(zone.id());
        record.timezone = QTimeZone(zone.id()).isValid() && !name.isEmpty() ? name : u"UTC"_s;
        // A zone no zone database knows is one the event's own text defines
        // (an invitation's "Customized Time Zone"): it stays the event's
        // zone, and the text is written back in it, instants kept.
        if (m_event && !m_event->is_all_day && !m_event->timezone.isEmpty() && m_event->timezone != u"UTC"_s
            && !QTimeZone(m_event->timezone.toUtf8()).isValid())
            record.timezone = m_event->timezone;
        // Times left as they were stay as stored, in their zone, also one the
        // form would not pick: a bare offset, as a provider may give.
        if (editing && !m_event->is_all_day && m_start->dateTime() == m_shown.start_time
            && m_end->dateTime() == shownEnd(m_shown)) {
            record.start_time = m_shown.start_time;
            record.end_time = shownEnd(m_shown);
            record.timezone = m_event->timezone;
        }
    }
    record.recurrence_rule = ruleToSave();

    record.reminders.clear();
    for (int i = 0; i < m_reminders->count(); ++i) {
        QWidget *row = m_reminders->itemAt(i)->widget();
        auto *choice = row && row != m_addReminder ? row->findChild<QComboBox *>() : nullptr;
        if (!choice)
            continue;
        // The reminder the row was made from keeps its action (an e-mail or
        // a sound) and its row, and so the alarm its text holds with every
        // property the form does not show; only the lead is the form's.
        Reminder reminder = m_rowReminders.value(row);
        reminder.minutes_before = choice->currentData().toInt();
        record.reminders.append(reminder);
    }
    record.attendees.clear();
    for (const Attendee &attendee : std::as_const(m_attendees)) {
        if (!attendee.email.trimmed().isEmpty())
            record.attendees.append(attendee);
    }
    if (record.timezone.isEmpty())
        record.timezone = u"UTC"_s;
    // An event without an end of its own keeps none while the form shows it
    // the end the views give it: a new title must not change its length.
    if (m_event && !m_shown.end_time && record.is_all_day == m_shown.is_all_day) {
        Event without = record;
        without.end_time.reset();
        if (record.end_time == shownEnd(without))
            record.end_time.reset();
    }
    // Save without a change writes nothing: the row, its text and the
    // server's copy stay as they are, whatever the scope.
    if (editing && sameContent(record, m_shown)) {
        accept();
        return;
    }
    record.last_modified = now;
    record.sync_status = SyncStatus::Pending;

    StoreFailure::clear();
    if (write(record)) {
        accept();
        return;
    }
    const QString why = StoreFailureText::lastFailure();
    QMessageBox::critical(this, tr("Database Error"), why.isEmpty() ? tr("Could not save the event.") : why);
}

bool EventFormDialog::write(Event record)
{
    if (!m_state || !m_state->events())
        return false;
    EventRepository *events = m_state->events();
    const bool editing = m_event && !m_event->id.isEmpty();
    if (!editing) {
        record.raw_icalendar = storedText(record);
        return events->insert(record);
    }
    if (record.calendar_id == m_event->calendar_id) {
        record.raw_icalendar = storedText(record);
        const RecurringEditScope scope = m_slot.isValid() ? m_scope : RecurringEditScope::AllEvents;
        if (editOccurrence(events, *m_event, m_slot, record, scope))
            return true;
        if (events->getById(record.id))
            return false;
        // The row went while the form was open (a pull took what the server
        // had deleted). The edit stays, as a local row without the server
        // identity, which the next push creates there again.
        record.provider_event_id.clear();
        record.etag.clear();
        record.href.clear();
        return events->insert(record);
    }

    return CalendarMove::moveEvent(m_state->database(), events, *m_event, record);
}
