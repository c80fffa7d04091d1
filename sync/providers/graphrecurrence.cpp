// RRULE text <-> Graph "recurrence" object: the part of
// Microsoft::CalendarClient that only converts repetition.
#include "graphzones.h"
#include "microsoftcalendarclient.h"

#include "recurrencerule.h"
#include "timeutil.h"

#include <QCoreApplication>
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

namespace {

// The reason a rule cannot go to Graph, in the user's language.
QString why(const char *text)
{
    return QCoreApplication::translate("Microsoft::CalendarClient", text);
}

// The weekdays a pattern names, each once.
QJsonArray weekdayNames(const QList<ByDay> &days)
{
    QJsonArray names;
    for (const ByDay &day : days) {
        const QString name = graphDay(day.code);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

// "first Monday", "last weekday"...: BYDAY whose days share one ordinal, or
// plain days picked by one BYSETPOS. Empty when it fits, else why not.
QString relativeDays(const RecurrenceRule &rule, const QList<ByDay> &days, QJsonObject *pattern)
{
    int ordinal = days.first().ordinal;
    for (const ByDay &day : days) {
        if (day.ordinal != ordinal)
            return why(QT_TRANSLATE_NOOP(
                "Microsoft::CalendarClient",
                "Microsoft calendars cannot repeat on weekdays of different weeks of the month at once."));
    }
    if (ordinal == 0) {
        if (rule.bySetPos.size() != 1)
            return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                         "Microsoft calendars cannot repeat on every such weekday of the month."));
        ordinal = rule.bySetPos.first();
    } else if (!rule.bySetPos.isEmpty()) {
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot hold this choice among the weekdays of the month."));
    }
    const QString index = graphIndex(ordinal);
    if (index.isEmpty())
        return why(QT_TRANSLATE_NOOP(
            "Microsoft::CalendarClient",
            "Microsoft calendars can only repeat on the first to fourth or the last weekday of the month."));
    pattern->insert("daysOfWeek"_L1, weekdayNames(days));
    pattern->insert("index"_L1, index);
    return QString();
}

// The day of the month of an absolute pattern; empty when it fits.
QString monthDay(const RecurrenceRule &rule, const QDate &startDay, QJsonObject *pattern)
{
    if (rule.byMonthDay.size() > 1)
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot repeat on several days of the month."));
    const int day = rule.byMonthDay.isEmpty() ? startDay.day() : rule.byMonthDay.first();
    if (day < 1)
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot repeat on a day counted from the end of the month."));
    pattern->insert("dayOfMonth"_L1, day);
    return QString();
}

// A daily or weekly pattern; empty when it fits.
QString dailyOrWeekly(const RecurrenceRule &rule, const QList<ByDay> &days, const QDate &startDay, QJsonObject *pattern)
{
    if (!rule.byMonthDay.isEmpty() || !rule.byMonth.isEmpty() || !rule.bySetPos.isEmpty())
        return why(QT_TRANSLATE_NOOP(
            "Microsoft::CalendarClient",
            "Microsoft calendars cannot limit a daily or weekly series to some days of the month or year."));
    const bool daily = rule.freq == "DAILY"_L1;
    if (daily && days.isEmpty()) {
        pattern->insert("type"_L1, u"daily"_s);
        return QString();
    }
    // Daily on some weekdays is weekly on them, but only day by day.
    if (daily && rule.interval > 1)
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot repeat every few days on some weekdays only."));
    for (const ByDay &day : days) {
        if (day.ordinal != 0)
            return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                         "Microsoft calendars cannot repeat weekly on a numbered weekday."));
    }
    QJsonArray names = weekdayNames(days);
    // Graph wants the days of a weekly pattern: the start's own weekday is
    // what a rule without them repeats on.
    if (names.isEmpty())
        names.append(QString(kDays[startDay.dayOfWeek() % 7].graph));
    pattern->insert("type"_L1, u"weekly"_s);
    pattern->insert("daysOfWeek"_L1, names);
    pattern->insert("firstDayOfWeek"_L1, QString(kDays[rule.weekStart % 7].graph));
    return QString();
}

// A monthly or yearly pattern; empty when it fits.
QString monthlyOrYearly(const RecurrenceRule &rule, const QList<ByDay> &days, const QDate &startDay,
                        QJsonObject *pattern)
{
    const bool yearly = rule.freq == "YEARLY"_L1;
    if (yearly) {
        if (rule.byMonth.size() > 1)
            return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                         "Microsoft calendars cannot repeat yearly in several months."));
        if (rule.byMonth.isEmpty() && (!rule.byMonthDay.isEmpty() || !days.isEmpty()))
            return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                         "Microsoft calendars cannot repeat yearly on a day without its month."));
        pattern->insert("month"_L1, rule.byMonth.isEmpty() ? startDay.month() : rule.byMonth.first());
    } else if (!rule.byMonth.isEmpty()) {
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot limit a monthly series to some months."));
    }
    if (!days.isEmpty()) {
        if (!rule.byMonthDay.isEmpty())
            return why(
                QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                  "Microsoft calendars cannot repeat on a weekday and a day of the month at once."));
        pattern->insert("type"_L1, yearly ? u"relativeYearly"_s : u"relativeMonthly"_s);
        return relativeDays(rule, days, pattern);
    }
    if (!rule.bySetPos.isEmpty())
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot hold this choice among the days of the month."));
    pattern->insert("type"_L1, yearly ? u"absoluteYearly"_s : u"absoluteMonthly"_s);
    return monthDay(rule, startDay, pattern);
}

// Why Graph cannot hold `rule` as it stands; empty when it can, and then
// `pattern` is filled.
QString patternOf(const RecurrenceRule &rule, const QDate &startDay, QJsonObject *pattern)
{
    if (!rule.unreadParts().isEmpty())
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient", "The repeat rule has parts that cannot be read: %1"))
            .arg(rule.unreadParts().join(u", "_s));
    for (const QString &name : {u"BYYEARDAY"_s, u"BYWEEKNO"_s, u"BYHOUR"_s, u"BYMINUTE"_s, u"BYSECOND"_s}) {
        if (rule.contains(name))
            return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient", "Microsoft calendars cannot repeat by %1."))
                .arg(name);
    }
    const QList<ByDay> days = byDays(rule.byDay.join(u','));
    if (days.size() != rule.byDay.size())
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient", "The weekdays of the repeat rule cannot be read."));
    // Graph refuses an interval below one.
    pattern->insert("interval"_L1, qMax(1, rule.interval));
    const QString &freq = rule.freq;
    if (freq == "SECONDLY"_L1 || freq == "MINUTELY"_L1 || freq == "HOURLY"_L1)
        return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient",
                                     "Microsoft calendars cannot repeat an event more often than daily."));
    if (freq == "DAILY"_L1 || freq == "WEEKLY"_L1)
        return dailyOrWeekly(rule, days, startDay, pattern);
    if (freq == "MONTHLY"_L1 || freq == "YEARLY"_L1)
        return monthlyOrYearly(rule, days, startDay, pattern);
    return why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient", "The repeat rule has no frequency that can be read."));
}

} // namespace

QJsonObject CalendarClient::rruleToRecurrence(const QString &text, const QDateTime &start, QString *problem)
{
    const RecurrenceRule rule = RecurrenceRule::fromText(text);
    const QDate startDay = start.date();
    QJsonObject pattern;
    QString reason = patternOf(rule, startDay, &pattern);

    QJsonObject range{{"startDate"_L1, startDay.toString(Qt::ISODate)}};
    const QString untilText = rule.value(u"UNTIL"_s);
    const QDate until = untilDay(untilText, start);
    if (reason.isEmpty() && !untilText.isEmpty() && !until.isValid())
        reason = why(QT_TRANSLATE_NOOP("Microsoft::CalendarClient", "The end of the repeat rule cannot be read."));
    if (!reason.isEmpty()) {
        if (problem)
            *problem = reason;
        return QJsonObject();
    }
    if (until.isValid()) {
        range.insert("type"_L1, u"endDate"_s);
        range.insert("endDate"_L1, until.toString(Qt::ISODate));
    } else if (rule.count > 0) {
        range.insert("type"_L1, u"numbered"_s);
        range.insert("numberOfOccurrences"_L1, rule.count);
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
    const QTimeZone zone = GraphZones::zoneOf(
        recurrence.value("range"_L1).toObject().value("recurrenceTimeZone"_L1).toString());
    return zone.isValid() ? zone : fallback;
}

} // namespace Microsoft
