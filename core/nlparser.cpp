#include "nlparser.h"

#include "timeutil.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

enum Pattern {
    RelativeDay,
    NextWeekday,
    Weekday,
    InDaysOrWeeks,
    MonthDay,
    FromTo,
    Noon,
    Midnight,
    AtTime,
    AtFourDigits,
    MeridiemTime,
    BareClock,
    Duration,
    DanglingWord,
    HalfOfDayNamed,
    PatternCount
};

// Compiled once for the process: the previews parse on every keystroke. No
// Unicode properties, so \d, \s and \b keep their ASCII sense.
const QRegularExpression &pattern(Pattern which)
{
    static const QList<QRegularExpression> compiled = [] {
        const QString weekday = u"(monday|tuesday|wednesday|thursday|friday|saturday|sunday"
                                "|mon|tue|tues|wed|thu|thur|thurs|fri|sat|sun)"_s;
        const QString clock = u"(\\d{1,2})(?::(\\d{2}))?\\s*"_s;
        const QString side = u"(?:(noon|midnight)|"_s + clock + u"(am|pm)?)"_s;
        const QStringList sources = {
            u"\\b(today|tomorrow|yesterday|tonight)\\b"_s,
            u"\\bnext\\s+"_s + weekday + u"\\b"_s,
            u"\\b(?:on\\s+)?"_s + weekday + u"\\b"_s,
            u"\\bin\\s+(\\d+)\\s+(days?|weeks?)\\b"_s,
            u"\\b(?:on\\s+)?(jan|feb|mar|apr|may|jun|jul|aug|sep|sept|oct|nov|dec|january|february|march|april"
            "|june|july|august|september|october|november|december)\\s+(\\d{1,2})\\b"_s,
            u"\\bfrom\\s+"_s + side + u"\\s+to\\s+"_s + side + u"\\b"_s,
            u"\\b(?:at\\s+)?noon\\b"_s,
            u"\\b(?:at\\s+)?midnight\\b"_s,
            u"\\bat\\s+"_s + clock + u"(am|pm)?\\b"_s,
            u"\\bat\\s+(\\d{4})\\b"_s,
            u"\\b"_s + clock + u"(am|pm)\\b"_s,
            u"\\s+(\\d{1,2}):(\\d{2})\\b"_s,
            u"\\bfor\\s+(\\d+(?:\\.\\d+)?)\\s*(min|mins|minute|minutes|h|hr|hrs|hour|hours)\\b"_s,
            u"^(?:on|at|for)\\s+|\\s+(?:on|at|for)$"_s,
            u"\\d\\s*(?:am|pm)\\b|\\b(?:noon|midnight)\\b|\\b0\\d|\\b\\d{4}\\b"_s,
        };
        Q_ASSERT(sources.size() == PatternCount);
        QList<QRegularExpression> out;
        for (const QString &source : sources)
            out.append(QRegularExpression(source, QRegularExpression::CaseInsensitiveOption));
        return out;
    }();
    return compiled.at(which);
}

NLParser::Span wholeMatch(const QRegularExpressionMatch &m)
{
    return {int(m.capturedStart(0)), int(m.capturedLength(0))};
}

// Days from `today` (ISO weekday) to `target`, at least `minimum` (0 or 1).
int daysUntil(int today, int target, int minimum)
{
    int d = target - today;
    if (d < minimum)
        d += 7;
    return d;
}

// "friday 12:30": a 24-hour time just after the date phrase that ends at
// `dateEnd`. Only there, and only with its colon, is a bare number a time.
std::optional<NLParser::TimeMatch> bareClockAfter(const QString &text, int dateEnd)
{
    const QRegularExpressionMatch m = pattern(BareClock).match(text, dateEnd, QRegularExpression::NormalMatch,
                                                               QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt());
    if (!time.isValid())
        return std::nullopt;
    return NLParser::TimeMatch{time, std::nullopt, {wholeMatch(m)}};
}

// A recognised phrase as the user typed it, without a leading "on" or "at".
QString phrase(const QString &text, const NLParser::Span &span)
{
    return text.mid(span.first, span.second).remove(pattern(DanglingWord)).simplified();
}

int prefixIndex(const QString &word, const QLatin1String *prefixes, int count)
{
    const QString lower = word.toLower();
    for (int i = 0; i < count; ++i) {
        if (lower.startsWith(prefixes[i]))
            return i + 1;
    }
    return 0;
}

} // namespace

namespace NLParser {

std::optional<DateMatch> matchDate(const QString &text, QDate today)
{
    const auto found = [](QDate date, const QRegularExpressionMatch &m) { return DateMatch{date, {wholeMatch(m)}}; };
    QRegularExpressionMatch m = pattern(RelativeDay).match(text);
    if (m.hasMatch()) {
        const QString word = m.captured(1).toLower();
        const int offset = word == "tomorrow"_L1 ? 1 : word == "yesterday"_L1 ? -1 : 0;
        return found(today.addDays(offset), m);
    }
    // "next" on today's own weekday is a week ahead; a bare weekday is today.
    m = pattern(NextWeekday).match(text);
    if (m.hasMatch())
        return found(today.addDays(daysUntil(today.dayOfWeek(), weekdayFromPrefix(m.captured(1)), 1)), m);
    m = pattern(Weekday).match(text);
    if (m.hasMatch())
        return found(today.addDays(daysUntil(today.dayOfWeek(), weekdayFromPrefix(m.captured(1)), 0)), m);
    m = pattern(InDaysOrWeeks).match(text);
    if (m.hasMatch()) {
        bool ok = false;
        const qint64 n = m.captured(1).toInt(&ok);
        const bool weeks = m.captured(2).startsWith("week"_L1, Qt::CaseInsensitive);
        // A count too large to read is no date, not today.
        return found(ok ? today.addDays(weeks ? 7 * n : n) : QDate(), m);
    }
    m = pattern(MonthDay).match(text);
    if (m.hasMatch()) {
        QDate date(today.year(), monthFromPrefix(m.captured(1)), m.captured(2).toInt());
        if (date.isValid() && date < today)
            date = date.addYears(1);
        return found(date, m);
    }
    return std::nullopt;
}

namespace {

// `evening`: the date phrase was "tonight", where a from-to pair that names
// no half of the day starts in the evening.
std::optional<TimeMatch> timeMatchIn(const QString &text, bool evening)
{
    QRegularExpressionMatch m = pattern(FromTo).match(text);
    if (m.hasMatch()) {
        // Each side is noon or midnight (group `first`) or a clock time (the
        // three groups after it). A clock without am/pm, facing a side that
        // says which half of the day it is in, is read as am or pm,
        // whichever makes the event shorter: "from 11 to 1pm" is 11:00 to
        // 13:00, "from 10 to 6am" 22:00 to 06:00, "from 11 to midnight"
        // 23:00 to 00:00. With neither side saying, hours are 24-hour ones,
        // but for the start hours 1 to 11 in the `evening`.
        const auto clock = [&m](int first, const QString &word) {
            return toTime(m.captured(first + 1).toInt(), m.captured(first + 2).toInt(), word, QString());
        };
        const auto fixed = [&](int first) -> std::optional<QTime> {
            const QString word = m.captured(first).toLower();
            if (!word.isEmpty())
                return QTime(word == "noon"_L1 ? 12 : 0, 0);
            if (!m.captured(first + 3).isEmpty())
                return clock(first, m.captured(first + 3));
            return std::nullopt;
        };
        // The length of an event from `a` to `b`, past midnight when `b` is not after `a`.
        const auto length = [](QTime a, QTime b) {
            const int secs = a.secsTo(b);
            return secs > 0 ? secs : secs + 24 * 3600;
        };
        std::optional<QTime> start = fixed(1);
        const std::optional<QTime> end = fixed(5);
        // A written leading zero ("08:00") is a 24-hour clock.
        if (const QString hour = m.captured(2);
            !start && !end && evening && !hour.startsWith(u'0') && hour.toInt() >= 1 && hour.toInt() < 12)
            start = clock(1, u"pm"_s);
        TimeMatch t;
        if (start && end) {
            t.start = *start;
            t.end = *end;
        } else if (start) {
            t.start = *start;
            const QTime am = clock(5, u"am"_s);
            const QTime pm = clock(5, u"pm"_s);
            t.end = length(*start, am) <= length(*start, pm) ? am : pm;
        } else if (end) {
            const QTime am = clock(1, u"am"_s);
            const QTime pm = clock(1, u"pm"_s);
            t.start = length(am, *end) <= length(pm, *end) ? am : pm;
            t.end = *end;
        } else {
            t.start = clock(1, QString());
            t.end = clock(5, QString());
        }
        t.spans = {wholeMatch(m)};
        return t;
    }
    m = pattern(Noon).match(text);
    if (m.hasMatch())
        return TimeMatch{QTime(12, 0), std::nullopt, {wholeMatch(m)}};
    m = pattern(Midnight).match(text);
    if (m.hasMatch())
        return TimeMatch{QTime(0, 0), std::nullopt, {wholeMatch(m)}};
    m = pattern(AtTime).match(text);
    if (m.hasMatch()) {
        const QTime time = toTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3), QString());
        return TimeMatch{time, std::nullopt, {wholeMatch(m)}};
    }
    m = pattern(AtFourDigits).match(text);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n / 100 < 24 && n % 100 < 60)
            return TimeMatch{QTime(n / 100, n % 100), std::nullopt, {wholeMatch(m)}};
    }
    m = pattern(MeridiemTime).match(text);
    if (m.hasMatch()) {
        const QTime time = toTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3), QString());
        return TimeMatch{time, std::nullopt, {wholeMatch(m)}};
    }
    return std::nullopt;
}

} // namespace

std::optional<TimeMatch> matchTime(const QString &text)
{
    return timeMatchIn(text, false);
}

std::optional<DurationMatch> matchDuration(const QString &text)
{
    const QRegularExpressionMatch m = pattern(Duration).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    double minutes = m.captured(1).toDouble();
    if (m.captured(2).startsWith(u'h', Qt::CaseInsensitive))
        minutes *= 60;
    // Cut toward zero; a huge number is held at the largest int rather than overflowing.
    const int whole = minutes < double(std::numeric_limits<int>::max()) ? int(minutes)
                                                                        : std::numeric_limits<int>::max();
    return DurationMatch{whole, {wholeMatch(m)}};
}

QDateTime roundUpToHalfHour(const QDateTime &dateTime)
{
    const QTime t = dateTime.time();
    const QDateTime whole = dateTime.addMSecs(-(t.second() * 1000 + t.msec()));
    const int minute = whole.time().minute();
    if (minute == 0 || minute == 30)
        return whole;
    return whole.addSecs((minute < 30 ? 30 - minute : 60 - minute) * 60);
}

QString cleanTitle(const QString &text, QList<Span> spans)
{
    if (spans.isEmpty())
        return text.trimmed();
    std::stable_sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.first < b.first; });
    QString out;
    out.reserve(text.size());
    int cursor = 0;
    for (const Span &s : spans) {
        if (s.first > cursor)
            out += QStringView(text).mid(cursor, s.first - cursor);
        cursor = std::max(cursor, s.first + s.second);
    }
    out += QStringView(text).mid(std::min<qsizetype>(cursor, text.size()));
    return out.simplified();
}

int weekdayFromPrefix(const QString &word)
{
    static const QLatin1String prefixes[] = {"mon"_L1, "tue"_L1, "wed"_L1, "thu"_L1, "fri"_L1, "sat"_L1, "sun"_L1};
    return prefixIndex(word, prefixes, 7);
}

int monthFromPrefix(const QString &word)
{
    static const QLatin1String prefixes[] = {"jan"_L1, "feb"_L1, "mar"_L1, "apr"_L1, "may"_L1, "jun"_L1,
                                             "jul"_L1, "aug"_L1, "sep"_L1, "oct"_L1, "nov"_L1, "dec"_L1};
    return prefixIndex(word, prefixes, 12);
}

QTime toTime(int hour, int minute, const QString &ampm, const QString &fallback)
{
    const QString word = (ampm.isEmpty() ? fallback : ampm).toLower();
    if (word == "pm"_L1 && hour < 12)
        hour += 12;
    else if (word == "am"_L1 && hour == 12)
        hour = 0;
    return QTime(hour, minute);
}

ParseResult parse(const QString &text, const QDateTime &now)
{
    ParseResult result;
    if (text.trimmed().isEmpty()) {
        result.start = roundUpToHalfHour(now);
        return result;
    }

    QDate date = now.date();
    QTime time;
    QList<Span> spans;

    const std::optional<DateMatch> dateMatch = matchDate(text, date);
    if (dateMatch) {
        date = dateMatch->date;
        spans += dateMatch->spans;
        if (!date.isValid())
            result.invalidDate = phrase(text, dateMatch->spans.constFirst());
    }

    std::optional<QTime> endTime;
    const bool tonight =
        dateMatch && phrase(text, dateMatch->spans.constFirst()).compare("tonight"_L1, Qt::CaseInsensitive) == 0;
    std::optional<TimeMatch> timeMatch = timeMatchIn(text, tonight);
    if (!timeMatch && dateMatch)
        timeMatch = bareClockAfter(text, dateMatch->spans.constFirst().first + dateMatch->spans.constFirst().second);
    if (timeMatch) {
        time = timeMatch->start;
        endTime = timeMatch->end;
        spans += timeMatch->spans;
        result.hasTime = true;
        if (!time.isValid() || (endTime && !endTime->isValid()))
            result.invalidTime = phrase(text, timeMatch->spans.constFirst());
        // "tonight at 8" is in the evening: there a clock that does not say
        // which half of the day it means ("8pm", "08:00", "2000") is pm.
        if (tonight && !endTime && time.isValid() && time.hour() >= 1 && time.hour() < 12
            && !pattern(HalfOfDayNamed).match(phrase(text, timeMatch->spans.constFirst())).hasMatch())
            time = time.addSecs(12 * 3600);
    } else if (dateMatch) {
        result.allDay = true;
        time = QTime(0, 0);
    } else {
        const QDateTime rounded = roundUpToHalfHour(now);
        date = rounded.date();
        time = rounded.time();
    }

    // Cut from the title even where an all-day event does not use it.
    int durationMinutes = 60;
    if (const std::optional<DurationMatch> d = matchDuration(text)) {
        durationMinutes = d->minutes;
        spans += d->spans;
    }

    // "feb 30" or "at 25" is no date-time: an invalid start, not midnight.
    const auto at = [&now](QDate day, QTime clock) {
        // Past the year 9999 no stored or iCalendar date holds the day.
        return day.isValid() && day.year() <= 9999 && clock.isValid() ? TimeUtil::inZoneOf(day, clock, now)
                                                                      : QDateTime();
    };
    result.start = at(date, time);
    // So is a day too far out ("in 99999999 weeks").
    if (!result.start.isValid() && dateMatch && result.invalidDate.isEmpty() && result.invalidTime.isEmpty())
        result.invalidDate = phrase(text, dateMatch->spans.constFirst());
    if (endTime) {
        QDateTime end = at(date, *endTime);
        if (end.isValid() && end <= result.start)
            end = at(date.addDays(1), *endTime);
        result.end = end;
    } else if (result.allDay) {
        result.end = at(date.addDays(1), QTime(0, 0));
    } else {
        result.end = result.start.addSecs(qint64(durationMinutes) * 60);
    }

    QString title = cleanTitle(text, spans);
    title.remove(pattern(DanglingWord));
    result.title = title.simplified();
    return result;
}

} // namespace NLParser
