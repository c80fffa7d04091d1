#include "ruleuntil.h"

#include "timeutil.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace RuleUntil {

QString value(const QDate &day, const QTimeZone &zone)
{
    if (!zone.isValid())
        return TimeUtil::toIcalDate(day);
    return TimeUtil::toIcalUtc(TimeUtil::inZone(day, QTime(23, 59, 59), zone));
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
    QStringList parts = rule.split(u';', Qt::SkipEmptyParts);
    bool changed = false;
    for (QString &part : parts) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0 || part.left(eq).trimmed().toUpper() != u"UNTIL"_s)
            continue;
        const QString current = part.mid(eq + 1).trimmed();
        const bool isDate = current.size() == 8;
        if (isDate == dateForm)
            continue;
        const QDate until = day(current, zone);
        if (!until.isValid())
            continue;
        part = u"UNTIL="_s + value(until, dateForm ? QTimeZone() : zone);
        changed = true;
    }
    return changed ? parts.join(u';') : rule;
}

} // namespace RuleUntil
