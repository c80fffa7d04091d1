#include "recurrencerule.h"

#include "timeutil.h"

#include <QStringView>

#include <algorithm>
#include <cstdlib>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// The parts this value reads, in the order new parts are written: the
// recurrence editor's FREQ, INTERVAL, BYDAY or BYMONTHDAY, COUNT or UNTIL,
// with the other BYxxx parts in RFC 5545's order.
enum PartName {
    Freq,
    Interval,
    BySecond,
    ByMinute,
    ByHour,
    ByDay,
    ByMonthDay,
    ByYearDay,
    ByWeekNo,
    ByMonth,
    BySetPos,
    WeekStart,
    Count,
    Until
};

constexpr QStringView kPartOrder[] = {
    u"FREQ",      u"INTERVAL", u"BYSECOND", u"BYMINUTE", u"BYHOUR", u"BYDAY", u"BYMONTHDAY",
    u"BYYEARDAY", u"BYWEEKNO", u"BYMONTH",  u"BYSETPOS", u"WKST",   u"COUNT", u"UNTIL",
};
static_assert(std::size(kPartOrder) == Until + 1);

constexpr const char kWeekdayCodes[7][3] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

int rankOf(QStringView name)
{
    for (int i = 0; i < int(std::size(kPartOrder)); ++i) {
        if (name == kPartOrder[i])
            return i;
    }
    return -1;
}

// Reads a comma list of integers within [min, max]; in signed lists, which
// count from either end, zero means nothing and is dropped too. `whole`
// turns false when anything was dropped.
QList<int> readIntList(QStringView value, int min, int max, bool &whole)
{
    QList<int> out;
    for (QStringView piece : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = piece.trimmed().toInt(&ok);
        if (!ok || n < min || n > max || (min < 0 && n == 0)) {
            whole = false;
            continue;
        }
        out.append(n);
    }
    return out;
}

int readDigits(QStringView text, qsizetype from, qsizetype n, bool &ok)
{
    int value = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool readUntil(const QString &written, RecurrenceRule &rule)
{
    const QString value = written.toUpper();
    const bool utc = value.endsWith(QLatin1Char('Z'));
    const QStringView wall = utc ? QStringView(value).chopped(1) : QStringView(value);
    bool ok = true;
    if (wall.size() == 15 && wall.at(8) == QLatin1Char('T')) {
        const QDate date(readDigits(wall, 0, 4, ok), readDigits(wall, 4, 2, ok), readDigits(wall, 6, 2, ok));
        const QTime time(readDigits(wall, 9, 2, ok), readDigits(wall, 11, 2, ok), readDigits(wall, 13, 2, ok));
        if (!ok || !date.isValid() || !time.isValid())
            return false;
        rule.until = TimeUtil::utc(date, time);
        rule.untilForm = utc ? RecurrenceRule::UntilForm::Utc : RecurrenceRule::UntilForm::Floating;
        return true;
    }
    if (value.size() != 8)
        return false;
    const QDate date(readDigits(value, 0, 4, ok), readDigits(value, 4, 2, ok), readDigits(value, 6, 2, ok));
    if (!ok || !date.isValid())
        return false;
    rule.until = TimeUtil::utc(date);
    rule.untilForm = RecurrenceRule::UntilForm::Date;
    return true;
}

// Reads one part into its field; false when the value was not (wholly) read.
bool readPart(QStringView name, const QString &value, RecurrenceRule &rule)
{
    bool whole = true;
    if (name == "FREQ"_L1) {
        rule.freq = value.toUpper();
        static const QStringList known = {u"SECONDLY"_s, u"MINUTELY"_s, u"HOURLY"_s, u"DAILY"_s,
                                          u"WEEKLY"_s,   u"MONTHLY"_s,  u"YEARLY"_s};
        return known.contains(rule.freq);
    }
    if (name == "INTERVAL"_L1) {
        const int n = value.toInt(&whole);
        whole = whole && n >= 1;
        rule.interval = whole ? n : 1;
    } else if (name == "COUNT"_L1) {
        const int n = value.toInt(&whole);
        whole = whole && n >= 1;
        rule.count = whole ? n : 0;
    } else if (name == "UNTIL"_L1) {
        // A later UNTIL replaces an earlier one only when it reads.
        return readUntil(value, rule);
    } else if (name == "BYDAY"_L1) {
        rule.byDay.clear();
        const QString upper = value.toUpper();
        for (QStringView code : QStringView(upper).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            rule.byDay.append(code.trimmed().toString());
            whole = whole && Recurrence::readsAsWeekday(rule.byDay.constLast());
        }
    } else if (name == "BYMONTHDAY"_L1) {
        rule.byMonthDay = readIntList(value, -31, 31, whole);
    } else if (name == "BYMONTH"_L1) {
        rule.byMonth = readIntList(value, 1, 12, whole);
    } else if (name == "BYYEARDAY"_L1) {
        rule.byYearDay = readIntList(value, -366, 366, whole);
    } else if (name == "BYWEEKNO"_L1) {
        rule.byWeekNo = readIntList(value, -53, 53, whole);
    } else if (name == "BYHOUR"_L1) {
        rule.byHour = readIntList(value, 0, 23, whole);
    } else if (name == "BYMINUTE"_L1) {
        rule.byMinute = readIntList(value, 0, 59, whole);
    } else if (name == "BYSECOND"_L1) {
        // 60 names a leap second: a start the clock here never reaches.
        rule.bySecond = readIntList(value, 0, 60, whole);
    } else if (name == "BYSETPOS"_L1) {
        rule.bySetPos = readIntList(value, -366, 366, whole);
    } else if (name == "WKST"_L1) {
        const int day = Recurrence::weekdayFromCode(value.toUpper());
        if (day == 0)
            return false;
        rule.weekStart = day;
    }
    return whole;
}

QString joined(const QList<int> &values)
{
    QStringList texts;
    texts.reserve(values.size());
    for (int v : values)
        texts.append(QString::number(v));
    return texts.join(QLatin1Char(','));
}

// The ordinal of `date`'s weekday in its month: from the start (1 = first)
// or, for `fromEnd`, from the end (-1 = last).
int weekdayOrdinal(const QDate &date, bool fromEnd)
{
    return fromEnd ? -((date.daysInMonth() - date.day()) / 7 + 1) : (date.day() - 1) / 7 + 1;
}

// `date`'s day of the month, counted from the end when `fromEnd` (-1 = last).
int monthDay(const QDate &date, bool fromEnd)
{
    return fromEnd ? date.day() - date.daysInMonth() - 1 : date.day();
}

} // namespace

RecurrenceRule RecurrenceRule::fromText(const QString &text)
{
    RecurrenceRule rule;
    rule.m_text = text;
    for (QStringView piece : QStringView(text).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        Part part;
        part.text = piece.toString();
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq > 0) {
            part.name = piece.left(eq).trimmed().toString().toUpper();
            part.value = piece.mid(eq + 1).trimmed().toString();
        }
        part.unread = rankOf(part.name) >= 0 && !readPart(part.name, part.value, rule);
        rule.m_parts.append(part);
    }
    for (Part &part : rule.m_parts) {
        if (rankOf(part.name) >= 0)
            part.readAs = rule.writtenValue(part.name);
    }
    return rule;
}

QString RecurrenceRule::writtenValue(QStringView name) const
{
    switch (rankOf(name)) {
    case Freq: return freq;
    case Interval: return interval > 1 ? QString::number(interval) : QString();
    case BySecond: return joined(bySecond);
    case ByMinute: return joined(byMinute);
    case ByHour: return joined(byHour);
    case ByDay: return byDay.join(QLatin1Char(','));
    case ByMonthDay: return joined(byMonthDay);
    case ByYearDay: return joined(byYearDay);
    case ByWeekNo: return joined(byWeekNo);
    case ByMonth: return joined(byMonth);
    case BySetPos: return joined(bySetPos);
    case WeekStart: return weekStart >= 2 && weekStart <= 7 ? QLatin1String(kWeekdayCodes[weekStart - 1]) : QString();
    case Count: return count > 0 ? QString::number(count) : QString();
    case Until:
        if (!until.isValid())
            return QString();
        switch (untilForm) {
        case UntilForm::Date: return TimeUtil::toIcalDate(until.date());
        case UntilForm::Floating: return until.toUTC().toString(u"yyyyMMdd'T'HHmmss"_s);
        case UntilForm::Utc: return TimeUtil::toIcalUtc(until);
        }
        break;
    }
    return QString();
}

QString RecurrenceRule::toText() const
{
    // A part counts as changed when its field now writes a value other than
    // the one it was read as. A part that could not be read was read as
    // nothing, so it stays until its field gets a value.
    const auto changed = [this](const Part &part) { return writtenValue(part.name) != part.readAs; };
    bool edited = false;
    for (const Part &part : m_parts)
        edited = edited || (rankOf(part.name) >= 0 && changed(part));
    for (int rank = 0; rank < int(std::size(kPartOrder)) && !edited; ++rank)
        edited = !contains(kPartOrder[rank]) && !writtenValue(kPartOrder[rank]).isEmpty();
    if (!edited)
        return m_text;

    struct Written
    {
        int rank;
        QString text;
    };
    QList<Written> out;
    QList<int> done;
    for (const Part &part : m_parts) {
        const int rank = rankOf(part.name);
        if (rank < 0 || !changed(part)) {
            out.append({rank, part.text});
            continue;
        }
        if (done.contains(rank))
            continue;
        done.append(rank);
        const QString value = writtenValue(part.name);
        if (!value.isEmpty())
            out.append({rank, part.name + QLatin1Char('=') + value});
    }
    for (int rank = 0; rank < int(std::size(kPartOrder)); ++rank) {
        const QString value = writtenValue(kPartOrder[rank]);
        if (contains(kPartOrder[rank]) || value.isEmpty())
            continue;
        // Before the first part that comes after it, else at the end, after
        // whatever unknown parts close the rule.
        qsizetype at = -1;
        for (qsizetype i = 0; i < out.size() && at < 0; ++i) {
            if (out.at(i).rank > rank)
                at = i;
        }
        out.insert(at < 0 ? out.size() : at, {rank, kPartOrder[rank].toString() + QLatin1Char('=') + value});
    }
    QStringList texts;
    for (const Written &w : std::as_const(out))
        texts.append(w.text);
    return texts.join(QLatin1Char(';'));
}

QString RecurrenceRule::value(QStringView name) const
{
    for (auto it = m_parts.crbegin(); it != m_parts.crend(); ++it) {
        if (it->name == name)
            return it->value;
    }
    return QString();
}

bool RecurrenceRule::isValid() const
{
    return std::none_of(m_parts.cbegin(), m_parts.cend(), [](const Part &part) { return part.unread; });
}

bool RecurrenceRule::contains(QStringView name) const
{
    for (const Part &part : m_parts) {
        if (part.name == name)
            return true;
    }
    return false;
}

QStringList RecurrenceRule::unreadParts() const
{
    QStringList out;
    for (const Part &part : m_parts) {
        if (part.unread)
            out.append(part.text);
    }
    return out;
}

void RecurrenceRule::setUntilDate(const QDate &day)
{
    until = TimeUtil::utc(day);
    untilForm = UntilForm::Date;
}

void RecurrenceRule::setUntilInstant(const QDateTime &instant)
{
    until = instant.toUTC();
    untilForm = UntilForm::Utc;
}

void RecurrenceRule::moveUntil(const QDateTime &instant, const QTimeZone &zone)
{
    switch (untilForm) {
    case UntilForm::Date: until = TimeUtil::utc(instant.toUTC().date()); break;
    case UntilForm::Utc: until = instant.toUTC(); break;
    case UntilForm::Floating: {
        const QDateTime wall = instant.toTimeZone(zone);
        until = TimeUtil::utc(wall.date(), wall.time());
        break;
    }
    }
}

void RecurrenceRule::clearUntil()
{
    until = QDateTime();
    untilForm = UntilForm::Utc;
}

void RecurrenceRule::shiftDays(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid())
        return;
    const int days = int(from.daysTo(to));
    if (days == 0)
        return;
    // Numbered weekdays count within the month only in these rules (a
    // yearly rule without months counts them within the year).
    const bool monthOrdinals = freq == "MONTHLY"_L1 || (freq == "YEARLY"_L1 && contains(u"BYMONTH"));
    for (QString &item : byDay) {
        const int weekday = Recurrence::weekdayFromCode(QStringView(item).right(2));
        if (weekday == 0)
            continue;
        const QString prefix = item.chopped(2);
        bool numbered = false;
        const int ordinal = prefix.toInt(&numbered);
        if (numbered && monthOrdinals && weekday == from.dayOfWeek() && ordinal == weekdayOrdinal(from, ordinal < 0))
            item = QString::number(weekdayOrdinal(to, ordinal < 0)) + QLatin1String(kWeekdayCodes[to.dayOfWeek() - 1]);
        else
            item = prefix + QLatin1String(kWeekdayCodes[((weekday - 1 + days) % 7 + 7) % 7]);
    }
    for (int &day : byMonthDay) {
        const bool fromEnd = day < 0;
        if (day == monthDay(from, fromEnd))
            day = monthDay(to, fromEnd);
        else if (std::abs(day + days) >= 1 && std::abs(day + days) <= 31 && (day + days < 0) == fromEnd)
            day += days;
    }
    if (from.month() != to.month()) {
        for (int &month : byMonth) {
            if (month == from.month())
                month = to.month();
        }
    }
}

namespace Recurrence {

int weekdayFromCode(QStringView code)
{
    if (code.size() != 2)
        return 0;
    for (int i = 0; i < 7; ++i) {
        if (code.at(0) == QLatin1Char(kWeekdayCodes[i][0]) && code.at(1) == QLatin1Char(kWeekdayCodes[i][1]))
            return i + 1;
    }
    return 0;
}

bool readsAsWeekday(QStringView code)
{
    if (weekdayFromCode(code.right(2)) == 0)
        return false;
    const QStringView number = code.chopped(2);
    if (number.isEmpty())
        return true;
    bool ok = false;
    const int ordinal = number.toInt(&ok);
    return ok && ordinal != 0 && ordinal >= -53 && ordinal <= 53;
}

RecurrenceRule parseRule(const QString &text)
{
    return RecurrenceRule::fromText(text);
}

} // namespace Recurrence
