#pragma once

#include "calendarview.h"

#include <QDialog>

class AppState;
class CalendarChecklist;
class QLabel;
class QLineEdit;
class QPushButton;

// Creates or edits one calendar group: its name, accent colour and member
// calendars. Nothing is written before OK; exec() returns Accepted only after
// the group was stored. The built-in "all-calendars" group can be renamed;
// its membership stays "every visible calendar".
class ViewFormDialog : public QDialog
{
    Q_OBJECT
public:
    ViewFormDialog(AppState *state, QWidget *parent = nullptr);
    ViewFormDialog(AppState *state, const CalendarView &view, QWidget *parent = nullptr);
    ~ViewFormDialog() override;

    // The id of the group written by an accepted run; empty otherwise.
    QString savedViewId() const { return m_savedId; }

    // The built-in group's id.
    static QString allCalendarsId();

private:
    void buildUi();
    void load();
    void updateAccentButton();
    void pickAccent();
    void save();
    // What the user changed, written into the group as it is stored now.
    void applyChanges(CalendarView &row) const;

    AppState *m_state;
    bool m_editing = false;
    CalendarView m_view;
    QString m_accent;
    QString m_savedId;
    QLineEdit *m_name = nullptr;
    QPushButton *m_accentButton = nullptr;
    CalendarChecklist *m_calendars = nullptr;
    QLabel *m_goneNotice = nullptr;
    // The calendar list as loaded, to tell whether the user changed it.
    QString m_shownCalendarIds;
};
