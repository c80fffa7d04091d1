#pragma once

#include "attendee.h"
#include "event.h"
#include "eventtemplate.h"

#include <QDialog>
#include <QList>
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
    void updateColorButton();
    void pickColor();
    void useCalendarColor();
    void updateRepeatLabel();
    void editRecurrence();
    void addReminderRow(int minutes);
    void clearReminderRows();
    void addAttendee();
    void rebuildAttendeeRows();
    void showTemplatesMenu();
    void applyTemplate(const EventTemplate &eventTemplate);
    void setAllDay(bool allDay);
    void save();
    bool write(Event record);
    QString selectedCalendarColor() const;
    // The zone whose wall clock a timed event keeps.
    QTimeZone eventZone() const;

    AppState *m_state;
    std::optional<Event> m_event;
    QString m_customColor;
    QString m_rule;
    QList<Attendee> m_attendees;

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
