#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>
#include <QTimeZone>

#include "recurrencerule.h"

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;

// Edits one RRULE value (without "RRULE:"). It reads FREQ, INTERVAL, BYDAY,
// BYMONTHDAY, COUNT and UNTIL into its widgets; once the user changes them,
// rrule() writes a rule from the widgets alone, in the order FREQ, INTERVAL,
// BYDAY or BYMONTHDAY, COUNT or UNTIL. Left alone, it gives back the rule it
// was given, as written. A rule the widgets cannot show as it is (other
// parts, several days of the month, a weekday list of a daily rule ...) is
// shown by its one-line description as a frequency of its own and kept until
// the user picks another. The frequency "Does not repeat" gives an empty rule.
class RecurrenceEditDialog : public QDialog
{
    Q_OBJECT
public:
    // Frequency combo box indexes; the page stack has one page for each.
    // Given: the given rule as it is, offered only for a rule the others
    // cannot show.
    enum Frequency { Daily = 0, Weekly = 1, Monthly = 2, Yearly = 3, NoRepeat = 4, Given = 5 };

    RecurrenceEditDialog(const QString &rule, const QDate &anchor, int firstDayOfWeek, QWidget *parent = nullptr);

    // The zone of a timed series: its "On" end is then written as the last
    // second of that day in the zone, in UTC, and a UTC end is read back as
    // its day there. Without a zone (all-day series, tasks, templates) the
    // end is a date, and a UTC end is read as the day an all-day series ends
    // on (ExceptionKey::datedRule). Re-reads the given rule's end. An end
    // left on the day it was read as is returned exactly as given.
    void setSeriesZone(const QTimeZone &zone);

    QString rrule() const;

    static QString weekdayCode(int isoWeekday);
    // 1..7 for the first code the text ends with (exact case), else 0.
    static int weekdayFromCode(const QString &text);
    static RecurrenceRule splitRrule(const QString &rule);

private:
    void buildUi(int firstDayOfWeek);
    void loadRrule();
    void loadEnd(const RecurrenceRule &parts);
    // Notes what the widgets write as loaded, and offers the given rule as
    // it is when that is not what it means.
    void settleGivenRule();
    QString widgetRule(int frequency) const;
    bool showsGivenRule(const QString &loaded) const;
    void updateIntervalUnit();
    void updateSummary();
    void frequencyChanged(int index);

    QDate m_anchor;
    QString m_rule;
    QTimeZone m_seriesZone;
    // The rule that gave the end, and the day shown for it: an end the user
    // leaves alone is written back unchanged.
    RecurrenceRule m_givenEnd;
    QDate m_givenUntilDay;
    int m_loadedFrequency = Weekly;
    int m_givenWeekStart = 1; // WKST of the given rule, carried along
    // The widgets' rule as loaded: while they still write it, the given rule
    // comes back as written (when they show it).
    QString m_loadedRule;
    bool m_keepsGiven = false;

    QComboBox *m_frequency = nullptr;
    QWidget *m_intervalRow = nullptr;
    QSpinBox *m_interval = nullptr;
    QLabel *m_unit = nullptr;
    QStackedWidget *m_pages = nullptr;
    QList<QToolButton *> m_weekdays; // Monday first
    QButtonGroup *m_monthMode = nullptr;
    QSpinBox *m_monthDay = nullptr;
    QComboBox *m_ordinal = nullptr;
    QComboBox *m_monthWeekday = nullptr;
    QWidget *m_endsBox = nullptr;
    QButtonGroup *m_endMode = nullptr;
    QSpinBox *m_count = nullptr;
    QDateEdit *m_until = nullptr;
    QLabel *m_summary = nullptr;
};
