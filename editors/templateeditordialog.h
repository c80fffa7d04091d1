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

    AppState *m_state;
    EventTemplate m_template;
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
