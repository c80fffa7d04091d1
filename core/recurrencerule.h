#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// An RRULE value read into its parts (RFC 5545 3.3.10). Parts that cannot be
// read keep their defaults; values out of their range are dropped.
struct RecurrenceRule
{
    // How UNTIL was written, which decides what it is compared with.
    enum class UntilForm {
        Utc,      // "yyyyMMddTHHmmssZ": an instant
        Floating, // "yyyyMMddTHHmmss": a wall clock in the series' own zone
        Date,     // "yyyyMMdd": every start on that date, in the series' own zone, counts
    };

    QString freq;  // upper-cased; empty when the rule has none
    int interval = 1;
    int count = 0; // 0: no limit
    // The wall clock as written, taken as UTC (a date alone: 00:00:00 of it);
    // invalid means no limit.
    QDateTime until;
    UntilForm untilForm = UntilForm::Utc;
    QStringList byDay; // upper-cased codes in rule order: "MO", "2TU", "-1FR"
    QList<int> byMonthDay;
    QList<int> byMonth;
    QList<int> byYearDay;
    QList<int> byWeekNo;
    QList<int> byHour;
    QList<int> byMinute;
    QList<int> bySecond;
    QList<int> bySetPos;
    int weekStart = 1; // WKST, 1 = Monday ... 7 = Sunday
};

namespace Recurrence {

RecurrenceRule parseRule(const QString &text);

// "MO" ... "SU" give 1 ... 7, compared exactly; anything else gives 0.
int weekdayFromCode(QStringView code);

} // namespace Recurrence
