#pragma once

#include "eventtemplate.h"

#include <QDialog>

class AppState;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QVBoxLayout;

// Edits one event template. Every control edits a working copy; OK checks
// the name and the title and accepts, and the caller writes result(). The
// editor itself writes nothing.
class TemplateEditorDialog : public QDialog
{
    Q_OBJECT
public:
    // `state` is not owned.
    TemplateEditorDialog(AppState *state, const EventTemplate &eventTemplate, QWidget *parent = nullptr);

    // The edited copy; meaningful after exec() returned Accepted.
    EventTemplate result() const { return m_template; }
    // Writes into `row` only what the user changed in the form, so that a
    // stored row keeps every value left alone exactly as it is stored.
    void applyChanges(EventTemplate &row) const;

    // "At time of event", "%n minute(s) before", "1 hour before",
    // "%n hour(s) before", "%n day(s) before".
    static QString reminderLabel(int minutes);

private:
    void buildUi();
    void rebuildReminders();
    void addReminder();
    void updateColorButton();
    void updateRepeatButton();
    void pickColor();
    void useCalendarColor();
    void editRecurrence();
    void validate();

    // What the form's own fields show, to tell which ones the user changed.
    struct Shown
    {
        QString name;
        QString title;
        QString description;
        QString location;
        int calendarIndex = 0;
        bool allDay = false;
        int hours = 0;
        int minutes = 0;
    };
    Shown shown() const;

    AppState *m_state;
    // As given; m_template is the working copy its controls edit.
    const EventTemplate m_original;
    EventTemplate m_template;
    Shown m_shown;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QLineEdit *m_location = nullptr;
    QToolButton *m_swatch = nullptr;
    QPushButton *m_useCalendarColor = nullptr;
    QComboBox *m_calendar = nullptr;
    QCheckBox *m_allDay = nullptr;
    QSpinBox *m_hours = nullptr;
    QSpinBox *m_minutes = nullptr;
    QPushButton *m_repeat = nullptr;
    QVBoxLayout *m_reminders = nullptr;
};
