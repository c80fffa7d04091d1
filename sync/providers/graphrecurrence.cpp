// RRULE text <-> Graph "recurrence" object: the part of
// Microsoft::CalendarClient that only converts repetition.
#include "microsoftcalendarclient.h"

#include "recurrencerule.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace Microsoft {

namespace {

struct DayName
{
    QLatin1StringView code;
    QLatin1StringView graph;
};

constexpr DayName kDays[] = {
    {"SU"_L1, "sunday"_L1},   {"MO"_L1, "monday"_L1}, {"TU"_L1, "tuesday"_L1},  {"WE"_L1, "wednesday"_L1},
    {"TH"_L1, "thursday"_L1}, {"FR"_L1, "friday"_L1}, {"SA"_L1, "saturday"_L1},
};

// Graph's week index and the BYDAY ordinal it stands for.
struct WeekIndex
{
    QLatin1StringView graph;
    int ordinal;
};

constexpr WeekIndex kIndexes[] = {
    {"first"_L1, 1}, {"second"_L1, 2}, {"third"_L1, 3}, {"fourth"_L1, 4}, {"last"_L1, -1},
};

QString graphDay(QStringView code)
{
    for (const DayName &day : kDays) {
        if (code == day.code)
            return day.graph;
    }
    return QString();
}

QString codeOfGraphDay(const QString &name)
{
    const QString lower = name.toLower();
    for (const DayName &day : kDays) {
        if (lower == day.graph)
            return day.code;
    }
    return QString();
}

QString graphIndex(int ordinal)
{
    for (const WeekIndex &index : kIndexes) {
        if (index.ordinal == ordinal)
            return index.graph;
    }
    return QString();
}

int ordinalOfGraphIndex(const QString &name)
{
    for (const WeekIndex &index : kIndexes) {
        if (name == index.graph)
            return index.ordinal;
    }
    return 0;
}

// One BYDAY entry split into its ordinal (0 when none) and weekday code.
struct ByDay
{
    int ordinal = 0;
    QString code;
};

QList<ByDay> byDays(const QString &value)
{
    QList<ByDay> out;
    for (const QString &piece : value.split(u',', Qt::SkipEmptyParts)) {
        const QString upper = piece.trimmed().toUpper();
        if (upper.size() < 2 || graphDay(QStringView(upper).right(2)).isEmpty())
            continue;
        ByDay day{0, upper.right(2)};
        if (upper.size() > 2) {
            bool ok = false;
            day.ordinal = upper.left(upper.size() - 2).toInt(&ok);
            if (!ok || day.ordinal == 0)
                continue;
        }
        out.append(day);
    }
    return out;
}

int firstNumber(const QString &list)
{
    return list.section(u',', 0, 0).toInt();
}

// Weekday names for the days that carry no ordinal (weekly rules).
QJsonArray plainDays(const QList<ByDay> &days)
{
    QJsonArray out;
    for (const ByDay &day : days) {
        if (day.ordinal == 0)
            out.append(graphDay(day.code));
    }
    return out;
}

// "first Monday", "last weekday"...: BYDAY with one ordinal, or plain days
// picked by one BYSETPOS. False when the rule says nothing Graph can hold.
bool relativeDays(const QList<ByDay> &days, const QString &setPos, QJsonObject *pattern)
{
    if (days.isEmpty())
        return false;
    int ordinal = days.first().ordinal;
    if (ordinal == 0)
        ordinal = setPos.contains(u',') ? 0 : setPos.toInt();
    const QString index = graphIndex(ordinal);
    if (index.isEmpty())
        return false;
    QJsonArray names;
    for (const ByDay &day : days) {
        if (day.ordinal != days.first().ordinal)
            return false;
        names.append(graphDay(day.code));
    }
    pattern->insert("daysOfWeek"_L1, names);
    pattern->insert("index"_L1, index);
    return true;
}

// The day an UNTIL value ends on in the series' zone; invalid when it is no
// date (fewer than eight digits or unreadable).
QDate untilDay(const QString &value, const QDateTime &start)
{
    const QString text = value.trimmed().toUpper();
    if (text.size() == 16 && text.endsWith(u'Z')) {
        const QDateTime utc = TimeUtil::fromIcalUtc(text);
        if (utc.isValid())
            return utc.toTimeZone(TimeUtil::representation(start)).date();
    }
    if (text.size() < 8)
        return QDate();
    return QDate::fromString(text.left(8), u"yyyyMMdd"_s);
}

QString dayList(const QJsonArray &names, int ordinal)
{
    QStringList codes;
    for (const QJsonValue &name : names) {
        const QString code = codeOfGraphDay(name.toString());
        if (!code.isEmpty())
            codes.append(ordinal == 0 ? code : QString::number(ordinal) + code);
    }
    return codes.join(u',');
}

} // namespace

QJsonObject CalendarClient::rruleToRecurrence(const QString &rule, const QDateTime &start)
{
    const RecurrenceRule parts = RecurrenceRule::fromText(rule);
    const QString freq = parts.value(u"FREQ"_s);
    const QDate startDay = start.date();
    const QList<ByDay> days = byDays(parts.value(u"BYDAY"_s));
    const QString setPos = parts.value(u"BYSETPOS"_s);

    QJsonObject pattern;
    // Graph refuses an interval below one, and the event would never leave
    // the pending state.
    pattern.insert("interval"_L1, parts.interval);
    if (freq == "DAILY"_L1) {
        pattern.insert("type"_L1, u"daily"_s);
    } else if (freq == "WEEKLY"_L1) {
        pattern.insert("type"_L1, u"weekly"_s);
        QJsonArray weekdays = plainDays(days);
        // Graph wants the days of a weekly pattern: the start's own weekday is
        // what a rule without them repeats on.
        if (weekdays.isEmpty())
            weekdays.append(QString(kDays[startDay.dayOfWeek() % 7].graph));
        pattern.insert("daysOfWeek"_L1, weekdays);
        const QString weekStart = graphDay(parts.value(u"WKST"_s).toUpper());
        pattern.insert("firstDayOfWeek"_L1, weekStart.isEmpty() ? u"monday"_s : weekStart);
    } else if (freq == "MONTHLY"_L1 || freq == "YEARLY"_L1) {
        const bool yearly = freq == "YEARLY"_L1;
        if (yearly) {
            const int month = firstNumber(parts.value(u"BYMONTH"_s));
            pattern.insert("month"_L1, month >= 1 && month <= 12 ? month : startDay.month());
        }
        if (relativeDays(days, setPos, &pattern)) {
            pattern.insert("type"_L1, yearly ? u"relativeYearly"_s : u"relativeMonthly"_s);
        } else {
            pattern.insert("type"_L1, yearly ? u"absoluteYearly"_s : u"absoluteMonthly"_s);
            const int monthDay = firstNumber(parts.value(u"BYMONTHDAY"_s));
            pattern.insert("dayOfMonth"_L1, monthDay > 0 ? monthDay : startDay.day());
        }
    } else {
        return QJsonObject();
    }

    QJsonObject range{{"startDate"_L1, startDay.toString(Qt::ISODate)}};
    // An unreadable UNTIL is no end at all, not a range Graph rejects.
    const QDate until = untilDay(parts.value(u"UNTIL"_s), start);
    const int count = parts.value(u"COUNT"_s).toInt();
    if (until.isValid()) {
        range.insert("type"_L1, u"endDate"_s);
        range.insert("endDate"_L1, until.toString(Qt::ISODate));
    } else if (count > 0) {
        range.insert("type"_L1, u"numbered"_s);
        range.insert("numberOfOccurrences"_L1, count);
    } else {
        range.insert("type"_L1, u"noEnd"_s);
    }
    return QJsonObject{{"pattern"_L1, pattern}, {"range"_L1, range}};
}

QString CalendarClient::recurrenceToRrule(const QJsonObject &recurrence, const QTimeZone &seriesZone)
{
    const QJsonObject pattern = recurrence.value("pattern"_L1).toObject();
    const QJsonObject range = recurrence.value("range"_L1).toObject();
    if (pattern.isEmpty())
        return QString();

    const QString type = pattern.value("type"_L1).toString();
    const QJsonArray names = pattern.value("daysOfWeek"_L1).toArray();
    const int interval = pattern.value("interval"_L1).toInt(1);
    const int month = pattern.value("month"_L1).toInt();
    const int monthDay = pattern.value("dayOfMonth"_L1).toInt();
    // Graph's default index is "first".
    const int index = ordinalOfGraphIndex(pattern.value("index"_L1).toString());
    const int ordinal = index == 0 ? 1 : index;
    QStringList parts;
    const auto addDays = [&parts](const QString &days) {
        if (!days.isEmpty())
            parts.append(u"BYDAY="_s + days);
    };
    if (type == "daily"_L1) {
        parts.append(u"FREQ=DAILY"_s);
    } else if (type == "weekly"_L1) {
        parts.append(u"FREQ=WEEKLY"_s);
        addDays(dayList(names, 0));
    } else if (type == "absoluteMonthly"_L1 || type == "relativeMonthly"_L1 || type == "absoluteYearly"_L1
               || type == "relativeYearly"_L1) {
        const bool yearly = type.endsWith("Yearly"_L1);
        parts.append(yearly ? u"FREQ=YEARLY"_s : u"FREQ=MONTHLY"_s);
        if (yearly && month >= 1 && month <= 12)
            parts.append(u"BYMONTH=%1"_s.arg(month));
        if (type.startsWith("relative"_L1)) {
            // One day keeps its ordinal; several are picked among by position.
            if (names.size() == 1) {
                addDays(dayList(names, ordinal));
            } else if (!names.isEmpty()) {
                addDays(dayList(names, 0));
                parts.append(u"BYSETPOS=%1"_s.arg(ordinal));
            }
        } else if (monthDay >= 1) {
            parts.append(u"BYMONTHDAY=%1"_s.arg(monthDay));
        }
    } else {
        return QString();
    }
    if (interval >= 2)
        parts.append(u"INTERVAL=%1"_s.arg(interval));
    if (type == "weekly"_L1 && interval >= 2) {
        const QString weekStart = codeOfGraphDay(pattern.value("firstDayOfWeek"_L1).toString());
        if (!weekStart.isEmpty() && weekStart != "MO"_L1)
            parts.append(u"WKST="_s + weekStart);
    }

    const QString rangeType = range.value("type"_L1).toString();
    if (rangeType == "endDate"_L1) {
        const QDate end = QDate::fromString(range.value("endDate"_L1).toString(), Qt::ISODate);
        // Like the recurrence editor: a timed series ends at the last second
        // of its end day in its own zone, which a bare date would cut short.
        if (end.isValid()) {
            parts.append(u"UNTIL="_s
                         + (seriesZone.isValid()
                                ? TimeUtil::toIcalUtc(TimeUtil::inZone(end, QTime(23, 59, 59), seriesZone))
                                : TimeUtil::toIcalDate(end)));
        }
    } else if (rangeType == "numbered"_L1) {
        const int count = range.value("numberOfOccurrences"_L1).toInt();
        if (count >= 1)
            parts.append(u"COUNT=%1"_s.arg(count));
    }
    return parts.join(u';');
}

QTimeZone CalendarClient::recurrenceZone(const QJsonObject &recurrence, const QTimeZone &fallback)
{
    const QByteArray name = recurrence.value("range"_L1).toObject().value("recurrenceTimeZone"_L1).toString().toUtf8();
    if (name.isEmpty())
        return fallback;
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name);
    const QTimeZone zone(iana.isEmpty() ? name : iana);
    return zone.isValid() ? zone : fallback;
}

} // namespace Microsoft
