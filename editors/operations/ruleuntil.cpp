#include "ruleuntil.h"

#include "recurrencerule.h"
#include "timeutil.h"

using namespace Qt::StringLiterals;

namespace RuleUntil {

QString value(const QDate &day, const QTimeZone &zone)
{
    if (!zone.isValid())
        return TimeUtil::toIcalDate(day);
    return TimeUtil::toIcalUtc(TimeUtil::inZone(day, QTime(23, 59, 59), zone));
}

void setDay(RecurrenceRule &rule, const QDate &day, const QTimeZone &zone)
{
    if (zone.isValid())
        rule.setUntilInstant(TimeUtil::inZone(day, QTime(23, 59, 59), zone));
    else
        rule.setUntilDate(day);
}

QDate day(const QString &value, const QTimeZone &zone)
{
    const QString text = value.trimmed();
    if (text.size() == 16 && text.endsWith(u'Z', Qt::CaseInsensitive) && zone.isValid()) {
        const QDateTime utc = TimeUtil::fromIcalUtc(text.toUpper());
        if (utc.isValid())
            return utc.toTimeZone(zone).date();
    }
    return QDate::fromString(text.left(8), u"yyyyMMdd"_s);
}

QString withUntilForm(const QString &rule, bool dateForm, const QTimeZone &zone)
{
    RecurrenceRule parsed = RecurrenceRule::fromText(rule);
    const QString current = parsed.value(u"UNTIL");
    if (current.isEmpty() || (current.size() == 8) == dateForm)
        return rule;
    const QDate until = day(current, zone);
    if (!until.isValid())
        return rule;
    setDay(parsed, until, dateForm ? QTimeZone() : zone);
    return parsed.toText();
}

} // namespace RuleUntil
