#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

// An RRULE value read into its parts (RFC 5545 3.3.10). Parts that cannot be
// read keep their defaults; values out of their range are dropped from the
// fields, and the rule then no longer reads as valid.
//
// The value also remembers the text it was read from, so that it can be
// written back: an unedited rule comes out byte for byte as it came in, and
// an edited one keeps every part whose field was not changed as written, in
// its place (names it does not know, X- parts, values it could not read). A
// changed part is written anew, upper-case, where its first occurrence
// stood; a part that was not there goes before the first part that comes
// after it in the order FREQ, INTERVAL, the BYxxx parts, WKST, COUNT, UNTIL,
// else at the end.
struct RecurrenceRule
{
    // How UNTIL was written, which decides what it is compared with.
    enum class UntilForm {
        Utc, // "yyyyMMddTHHmmssZ": an instant
        Floating, // "yyyyMMddTHHmmss": a wall clock in the series' own zone
        Date, // "yyyyMMdd": every start on that date, in the series' own zone, counts
    };

    QString freq; // upper-cased; empty when the rule has none
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

    // Never fails: names are matched trimmed and in any case, values are
    // trimmed, empty parts are skipped.
    static RecurrenceRule fromText(const QString &text);
    QString toText() const;

    // The value of the last part named `name` (upper-case), trimmed but
    // otherwise as written; empty when there is none.
    QString value(QStringView name) const;
    bool contains(QStringView name) const;
    // The parts of a known name whose value was not (or not wholly) read, as
    // written: "COUNT=ten", "BYMONTH=2,13".
    QStringList unreadParts() const;
    // Every part of a known name was read whole. A rule that is not (COUNT=0,
    // BYMONTH=13, BYDAY=XX) gives a series of its first start alone rather
    // than the wider one its readable parts would make.
    bool isValid() const;

    // UNTIL as a date ("yyyyMMdd") or as the UTC instant ("...Z").
    void setUntilDate(const QDate &day);
    void setUntilInstant(const QDateTime &instant);
    // UNTIL moved to `instant`, written in the form it has: a floating one as
    // the wall clock in `zone`, a date as the instant's UTC date.
    void moveUntil(const QDateTime &instant, const QTimeZone &zone);
    void clearUntil();

    // The rule of a series whose start moved from the day `from` to the day
    // `to`, so that it keeps repeating on the day it was moved to. A weekday
    // of the month, day of the month or month that named `from` ("2TU",
    // "-1FR", "31", "-1", "11") names `to` the same way ("3TH", "-1MO", "1",
    // "-3", "12"); other weekdays and days move by the days.
    void shiftDays(const QDate &from, const QDate &to);

    bool operator==(const RecurrenceRule &other) const { return toText() == other.toText(); }
    bool operator!=(const RecurrenceRule &other) const { return !(*this == other); }

private:
    struct Part
    {
        QString name; // trimmed and upper-cased; empty when the part has no "="
        QString value; // trimmed
        QString text; // the part as written
        QString readAs; // the field's value as written anew right after reading
        bool unread = false; // a known name whose value was not (wholly) read
    };
    QString writtenValue(QStringView name) const;

    QString m_text;
    QList<Part> m_parts;
};

namespace Recurrence {

// RecurrenceRule::fromText under the name the expansion uses.
RecurrenceRule parseRule(const QString &text);

// "MO" ... "SU" give 1 ... 7, compared exactly; anything else gives 0.
int weekdayFromCode(QStringView code);
// A BYDAY code: a weekday after an optional ordinal of 1 to 53 either way.
bool readsAsWeekday(QStringView code);

} // namespace Recurrence
