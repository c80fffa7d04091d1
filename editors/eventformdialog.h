#pragma once

#include "attendee.h"
#include "event.h"
#include "eventtemplate.h"
#include "recurringeditscope.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTimeZone>

#include <optional>

class AppState;
class DateTimePicker;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

// Creates a new event or edits a stored one, field by field. Nothing is
// written before OK; exec() returns Accepted only after the write succeeded.
// An edit works on the stored row: an occurrence of a series edits the series.
class EventFormDialog : public QDialog
{
    Q_OBJECT
public:
    EventFormDialog(AppState *state, const Event &event, QWidget *parent = nullptr);
    EventFormDialog(AppState *state, QWidget *parent = nullptr);

    // How far the edit of the occurrence the form was opened on reaches.
    // ThisEvent and ThisAndFollowing show that occurrence's times and write
    // an override of it or a split of its series there; AllEvents (the
    // default) edits the series, also when opened on an override.
    void setScope(RecurringEditScope scope);

    // An invalid start changes nothing.
    void setStartAndDuration(const QDateTime &start, int minutes);

    static QString reminderLabel(int minutes);
    static QString participationStatusLabel(const QString &status);
    // `now` without its seconds, moved up to the next half hour.
    static QDateTime defaultStart(const QDateTime &now);

private:
    void buildUi();
    void fillCalendarCombo();
    void populate();
    void showTimes(const Event &event);
    void updateColorButton();
    void pickColor();
    void useCalendarColor();
    void updateRepeatLabel();
    // The rule as a save writes it, its end in the form of the series' kind.
    QString ruleToSave() const;
    void editRecurrence();
    void addReminderRow(int minutes);
    void addReminderRow(const Reminder &reminder);
    void clearReminderRows();
    void addAttendee();
    void rebuildAttendeeRows();
    void showTemplatesMenu();
    void applyTemplate(const EventTemplate &eventTemplate);
    void setAllDay(bool allDay);
    // Why the edited event cannot be saved (its calendar is read-only), or empty.
    QString readOnlyReason() const;
    void save();
    bool write(Event record);
    QString selectedCalendarColor() const;
    // The zone whose wall clock a timed event keeps.
    QTimeZone eventZone() const;

    AppState *m_state;
    std::optional<Event> m_event;
    Event m_occurrence; // as the caller gave it
    // What the form showed when it opened: the stored row, or for a scoped
    // edit the occurrence with the series' content. A save that gives this
    // back writes nothing.
    Event m_shown;
    RecurringEditScope m_scope = RecurringEditScope::AllEvents;
    QDateTime m_slot; // the occurrence's start in its series, for a scoped edit
    QString m_customColor;
    QString m_rule;
    QStringList m_shownTexts; // title, location and notes as the fields showed them
    QList<Attendee> m_attendees;
    // The reminder each row on screen was made from (a new one for rows
    // added here).
    QHash<const QWidget *, Reminder> m_rowReminders;

    QLineEdit *m_title = nullptr;
    QComboBox *m_calendar = nullptr;
    QToolButton *m_colorSwatch = nullptr;
    QPushButton *m_useCalendarColor = nullptr;
    DateTimePicker *m_start = nullptr;
    DateTimePicker *m_end = nullptr;
    QCheckBox *m_allDay = nullptr;
    QPushButton *m_repeat = nullptr;
    QVBoxLayout *m_reminders = nullptr;
    QPushButton *m_addReminder = nullptr;
    QLineEdit *m_location = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QVBoxLayout *m_attendeeRows = nullptr;
    QPushButton *m_addAttendee = nullptr;
};
