#include "icalendarstored_p.h"
#include "recordnames.h"
#include "timeutil.h"

namespace ICalendar::Detail {

namespace {

QString normalizedRecurrenceId(const PropertyView &prop, ZoneCache &zones)
{
    const DateValue d = readDateValue(prop.value, prop.param(QLatin1String("TZID")), &zones);
    return d.dateTime.isValid() ? TimeUtil::toIcalUtc(d.dateTime) : prop.value.toString();
}

} // namespace

StoredItem findStoredItem(const QString &text, QLatin1String kind, const QString &uid, const QString &recurrenceId)
{
    QList<StoredItem> blocks;
    StoredItem current;
    StoredItem::Component component;
    bool inside = false;
    bool matched = false;
    int depth = 0;
    QString blockUid, blockRid;
    ZoneCache zones;
    zones.defineFrom(text);
    LineReader reader(text);
    QStringView line;
    while (reader.next(&line)) {
        const PropertyView prop = splitLine(line);
        const bool isBegin = prop.is(QLatin1String("BEGIN"));
        const bool isEnd = prop.is(QLatin1String("END"));
        if (!inside) {
            if (isBegin && prop.value.compare(kind, Qt::CaseInsensitive) == 0) {
                inside = true;
                depth = 0;
                current = StoredItem();
                blockUid.clear();
                blockRid.clear();
            }
            continue;
        }
        if (depth == 0 && isEnd && prop.value.compare(kind, Qt::CaseInsensitive) == 0) {
            inside = false;
            blocks.append(current);
            if (blockUid == uid && blockRid == recurrenceId) {
                matched = true;
                break;
            }
            continue;
        }
        if (isBegin)
            ++depth;
        else if (isEnd && depth == 0)
            continue; // unbalanced END: not ours to copy
        if (depth == 0) {
            if (prop.is(QLatin1String("UID")))
                blockUid = unescape(prop.value);
            else if (prop.is(QLatin1String("RECURRENCE-ID")))
                blockRid = normalizedRecurrenceId(prop, zones);
            current.lines.append(line.toString());
            continue;
        }
        component.text.append(line).append(kCrlf);
        if (depth == 1) {
            if (isBegin) {
                component.isAlarm = prop.value.compare(QLatin1String("VALARM"), Qt::CaseInsensitive) == 0;
                component.action = ReminderAction::Display;
            } else if (component.isAlarm && prop.is(QLatin1String("ACTION"))) {
                component.action = prop.value.trimmed().toString().toLower();
            } else if (component.isAlarm && prop.is(QLatin1String("TRIGGER"))) {
                const std::optional<int> minutes = reminderMinutes(prop);
                component.isReminder = minutes.has_value();
                component.minutesBefore = minutes.value_or(0);
            }
        }
        if (isEnd && --depth == 0) {
            current.components.append(component);
            component = StoredItem::Component();
        }
    }
    if (matched)
        return blocks.last();
    return blocks.size() == 1 ? blocks.first() : StoredItem();
}

QString propertyName(const QString &line)
{
    return splitLine(line).name.toString().toUpper();
}

QString extraParams(const QString &line, const QSet<QString> &mapped)
{
    QString out;
    const PropertyView prop = splitLine(line);
    for (const ParamView &p : prop.params) {
        if (!mapped.contains(p.name.toString().toUpper()))
            out.append(QLatin1Char(';')).append(p.name).append(QLatin1Char('=')).append(p.value);
    }
    return out;
}

} // namespace ICalendar::Detail
