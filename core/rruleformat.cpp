#include "rruleformat.h"

#include "exceptionkey.h"
#include "recurrencerule.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QObject>
#include <QStringList>

using namespace Qt::StringLiterals;

const QList<int> reminderChoiceMinutes = {0, 5, 10, 15, 30, 60, 120, 1440};

namespace {

const QString separator = u" \u00B7 "_s;

QStringList listValues(const QString &value)
{
    return value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString frequencyText(const QString &freq, int interval)
{
    if (freq == "DAILY"_L1)
        return interval == 1 ? QObject::tr("Repeats daily") : QObject::tr("Every %1 days").arg(interval);
    if (freq == "WEEKLY"_L1)
        return interval == 1 ? QObject::tr("Repeats weekly") : QObject::tr("Every %1 weeks").arg(interval);
    if (freq == "MONTHLY"_L1)
        return interval == 1 ? QObject::tr("Repeats monthly") : QObject::tr("Every %1 months").arg(interval);
    if (freq == "YEARLY"_L1)
        return interval == 1 ? QObject::tr("Repeats yearly") : QObject::tr("Every %1 years").arg(interval);
    return QObject::tr("Repeats");
}

// BYMONTH as English month abbreviations, like the dates of UNTIL.
QString monthsText(const QList<int> &months)
{
    QStringList names;
    for (int month : months)
        names.append(QLocale::c().monthName(month, QLocale::ShortFormat));
    return names.join(", "_L1);
}

QString setPositionsText(const QList<int> &positions)
{
    QStringList words;
    for (int pos : positions)
        words.append(RruleFormat::positionWord(pos));
    return words.join(", "_L1);
}

// Every weekday of a weekly (or daily, or yearly) rule; ordinals are not
// described there.
QString weekdayList(const QStringList &tokens)
{
    QStringList names;
    for (const QString &token : tokens) {
        const RruleFormat::ByDayToken t = RruleFormat::parseByDay(token.trimmed());
        if (!t.weekday.isEmpty())
            names.append(RruleFormat::weekdayName(t.weekday));
    }
    return names.join(", "_L1);
}

// The day part of a rule whose days lie within a month: a monthly rule, or a
// yearly one that names its months.
QString dayOfMonthText(const RecurrenceRule &r)
{
    const QStringList tokens = listValues(r.value(u"BYDAY"_s));
    if (!tokens.isEmpty()) {
        // Only the first weekday is described ("second Tue"), as the
        // recurrence editor writes one...
        const RruleFormat::ByDayToken first = RruleFormat::parseByDay(tokens.first().trimmed());
        if (first.weekday.isEmpty())
            return QString();
        if (first.ordinal != 0) {
            return QObject::tr("on the %1 %2")
                .arg(RruleFormat::positionWord(first.ordinal), RruleFormat::weekdayName(first.weekday));
        }
        // ...except under BYSETPOS, where the position picks among all of
        // them ("the last of Mon to Fri" is the last weekday of the month).
        const QString positions = setPositionsText(r.bySetPos);
        if (!positions.isEmpty())
            return QObject::tr("on the %1 %2").arg(positions, weekdayList(tokens));
        return RruleFormat::weekdayName(first.weekday);
    }
    const QStringList days = listValues(r.value(u"BYMONTHDAY"_s));
    if (!days.isEmpty()) {
        // Days counted from the month's end are not described.
        const int day = days.first().toInt();
        if (day >= 1)
            return QObject::tr("on the %1").arg(RruleFormat::ordinalNumber(day));
    }
    return QString();
}

QString endText(const RecurrenceRule &r, const QTimeZone &zone)
{
    const QString countText = r.value(u"COUNT"_s);
    if (!countText.isEmpty()) {
        const int count = countText.toInt();
        return count >= 1 ? QObject::tr("%n time(s)", "", count) : QString();
    }
    if (!r.until.isValid())
        return QString();
    const bool utc = r.untilForm == RecurrenceRule::UntilForm::Utc;
    const QDate date = utc && zone.isValid() ? r.until.toTimeZone(zone).date() : r.until.date();
    return QObject::tr("until %1").arg(QLocale::c().toString(date, u"MMM d, yyyy"_s));
}

} // namespace

namespace RruleFormat {

QString describe(const QString &rule, const QTimeZone &zone)
{
    if (rule.isEmpty())
        return QString();
    RecurrenceRule r = RecurrenceRule::fromText(rule);
    // Without a zone the series repeats on dates: a UTC end names the day it
    // ends on, which east of UTC need not be the date written.
    if (!zone.isValid() && r.until.isValid() && r.untilForm == RecurrenceRule::UntilForm::Utc)
        r = RecurrenceRule::fromText(ExceptionKey::datedRule(rule));
    const QString &freq = r.freq;
    const int interval = r.contains(u"INTERVAL"_s) ? r.value(u"INTERVAL"_s).toInt() : 1;

    QString text = frequencyText(freq, interval);
    const QString months = monthsText(r.byMonth);
    const bool withinMonth = freq == "MONTHLY"_L1 || (freq == "YEARLY"_L1 && !months.isEmpty());
    const QString days = withinMonth ? dayOfMonthText(r) : weekdayList(listValues(r.value(u"BYDAY"_s)));
    for (const QString &part : {months, days, endText(r, zone)}) {
        if (!part.isEmpty())
            text += separator + part;
    }
    return text;
}

QString reminderOffsetLabel(int minutes)
{
    if (minutes < 1)
        return QObject::tr("At time of event");
    if (minutes < 60)
        return QObject::tr("%1 min before").arg(minutes);
    if (minutes < 1440)
        return QObject::tr("%1 hour(s) before").arg(minutes / 60);
    return QObject::tr("%1 day(s) before").arg(minutes / 1440);
}

QString weekdayName(const QString &code)
{
    static const struct
    {
        QLatin1String code;
        const char *name;
    } table[] = {
        {"MO"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Mon")}, {"TU"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Tue")},
        {"WE"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Wed")}, {"TH"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Thu")},
        {"FR"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Fri")}, {"SA"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Sat")},
        {"SU"_L1, QT_TRANSLATE_NOOP("RruleFormat", "Sun")},
    };
    const QString upper = code.toUpper();
    for (const auto &entry : table) {
        if (upper == entry.code)
            return QCoreApplication::translate("RruleFormat", entry.name);
    }
    return upper;
}

QString ordinalNumber(int n)
{
    if (n == 11 || n == 12 || n == 13)
        return QObject::tr("%1th").arg(n);
    switch (n % 10) {
    case 1: return QObject::tr("%1st").arg(n);
    case 2: return QObject::tr("%1nd").arg(n);
    case 3: return QObject::tr("%1rd").arg(n);
    default: return QObject::tr("%1th").arg(n);
    }
}

QString positionWord(int n)
{
    switch (n) {
    case 0: return QString();
    case 1: return QObject::tr("first");
    case 2: return QObject::tr("second");
    case 3: return QObject::tr("third");
    case 4: return QObject::tr("fourth");
    case 5: return QObject::tr("fifth");
    case -1: return QObject::tr("last");
    case -2: return QObject::tr("second-to-last");
    default: return n < 0 ? QObject::tr("%1th-from-last").arg(-qint64(n)) : ordinalNumber(n);
    }
}

ByDayToken parseByDay(const QString &token)
{
    qsizetype i = 0;
    if (i < token.size() && (token.at(i) == QLatin1Char('+') || token.at(i) == QLatin1Char('-')))
        ++i;
    const qsizetype digitsStart = i;
    while (i < token.size() && token.at(i) >= QLatin1Char('0') && token.at(i) <= QLatin1Char('9'))
        ++i;
    ByDayToken t;
    if (i > digitsStart)
        t.ordinal = token.left(i).toInt();
    t.weekday = token.mid(i).toUpper();
    return t;
}

} // namespace RruleFormat
