#pragma once

#include "filterrule.h"

#include <QDialog>
#include <QMap>

struct Event;
class AppState;
class CalendarChecklist;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTimeEdit;
class QToolButton;
class QWidget;

// Creates or edits one hide-or-dim rule and shows, as the user edits, what
// the rule would do to the next 30 days. Nothing is written before OK;
// exec() returns Accepted only after the rule was stored.
class FilterFormDialog : public QDialog
{
    Q_OBJECT
public:
    FilterFormDialog(AppState *state, QWidget *parent = nullptr);
    FilterFormDialog(AppState *state, const FilterRule &rule, QWidget *parent = nullptr);
    ~FilterFormDialog() override;

    // A rule for this one event; an event without a UID changes nothing.
    void setSpecificEvent(const Event &event);

    // The rule as the form stands, for the preview; not validated.
    FilterRule buildConditions() const;
    QString previewText() const;

private:
    void buildUi();
    QWidget *buildTypeSelector();
    void buildTypePages();
    QWidget *buildPatternPage();
    QWidget *buildTimePage();
    QWidget *buildSpecificPage();
    QWidget *buildAllDayPage();
    QToolButton *addChoiceButton(const QString &text, QWidget *parent);
    void setType(const QString &key);
    void remeasure();
    void load();
    void updateSuppressVisibility();
    QString conditionsJson() const;
    QStringList phrases() const;
    QString calendarIdsJson() const;
    void save();
    void updatePreview();
    bool knownType() const;
    void showUnknownType();
    // The conditions to store: for an edit of the same type, the stored
    // object with only the keys this form shows replaced.
    QString conditionsFor(const FilterRule &row) const;
    // What the user changed, written into the rule as it is stored now.
    void applyChanges(FilterRule &row) const;

    AppState *m_state;
    bool m_editing = false;
    FilterRule m_rule;
    QString m_type;
    QString m_eventUid;
    QString m_eventCalendarId;

    QLineEdit *m_name = nullptr;
    QButtonGroup *m_typeGroup = nullptr;
    QMap<QString, QToolButton *> m_typeButtons;
    QLabel *m_typeDescription = nullptr;
    QStackedWidget *m_pages = nullptr;
    QMap<QString, int> m_pageIndex;
    QLineEdit *m_phrases = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QCheckBox *m_exactCheck = nullptr;
    QTimeEdit *m_exactTime = nullptr;
    QCheckBox *m_rangeCheck = nullptr;
    QTimeEdit *m_rangeStart = nullptr;
    QTimeEdit *m_rangeEnd = nullptr;
    QMap<QString, QToolButton *> m_dayButtons;
    QCheckBox *m_timeRecurringOnly = nullptr;
    QLabel *m_eventLabel = nullptr;
    QCheckBox *m_allDayRecurringOnly = nullptr;
    QComboBox *m_action = nullptr;
    QCheckBox *m_suppress = nullptr;
    QCheckBox *m_enabled = nullptr;
    QWidget *m_calendarSection = nullptr;
    CalendarChecklist *m_calendars = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_goneNotice = nullptr;
    QLabel *m_everyCalendarHint = nullptr;
    QPushButton *m_ok = nullptr;
    bool m_built = false;

    // What the form showed once loaded, to tell what the user changed.
    struct Shown
    {
        QString name;
        QString conditions;
        QString calendarIds;
        QString action;
        bool enabled = true;
        bool suppress = false;
    };
    Shown shown() const;
    Shown m_shown;
};
