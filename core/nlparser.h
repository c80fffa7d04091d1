#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QTime>

#include <optional>

// Reads one line of English such as "Lunch tomorrow at 12:30 for 90 min"
// into a title, a start and an end. Matching is deliberately simple: within
// each matcher the first pattern that hits anywhere decides, and recognised
// phrases are cut from the title.
namespace NLParser {

struct ParseResult
{
    QString title;
    QDateTime start;
    std::optional<QDateTime> end;
    bool allDay = false;
    bool hasTime = false;
    // The phrase, as typed, of a date or time that does not exist ("feb 30",
    // "at 25"); empty when the start and end are real.
    QString invalidDate;
    QString invalidTime;
};

// Offset and length, in UTF-16 units of the text as passed, of one
// recognised phrase.
using Span = QPair<int, int>;

struct DateMatch
{
    QDate date; // invalid for a month-day that does not exist ("feb 30")
    QList<Span> spans;
};

struct TimeMatch
{
    QTime start; // invalid for an hour above 23 or a minute above 59
    std::optional<QTime> end; // only "from ... to ..." sets it
    QList<Span> spans;
};

struct DurationMatch
{
    int minutes = 0;
    QList<Span> spans;
};

// Never fails: text without a recognised phrase becomes the title of a
// 60-minute event at `now` rounded up to the half hour. A bare 24-hour time
// right after a date phrase ("friday 12:30") is its time. Dates and times are
// taken in `now`'s zone; a time that has passed today stays today. A date or
// time that does not exist ("feb 30", "at 25") gives an invalid start.
ParseResult parse(const QString &text, const QDateTime &now);

std::optional<DateMatch> matchDate(const QString &text, QDate today);
std::optional<TimeMatch> matchTime(const QString &text);
std::optional<DurationMatch> matchDuration(const QString &text);

// Drops seconds (and milliseconds), then moves up to the next :00 or :30.
QDateTime roundUpToHalfHour(const QDateTime &dateTime);
// The text without the spans (overlaps cut once), whitespace simplified.
QString cleanTitle(const QString &text, QList<Span> spans);

// 1 (Monday) to 7 for a word starting with "mon".."sun", else 0.
int weekdayFromPrefix(const QString &word);
// 1 to 12 for a word starting with "jan".."dec", else 0.
int monthFromPrefix(const QString &word);
// "pm" below 12 adds 12, "12am" is 0; `fallback` stands in for an empty `ampm`.
QTime toTime(int hour, int minute, const QString &ampm, const QString &fallback);

} // namespace NLParser
