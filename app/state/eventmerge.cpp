#include "eventmerge.h"

#include "propertymerge.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace EventMerge {

namespace {

// What a reminder or attendee list says, without the local bookkeeping
// (row ids, acknowledgement, trigger times).
QStringList reminderKeys(const QList<Reminder> &reminders)
{
    QStringList keys;
    for (const Reminder &r : reminders)
        keys.append(QString::number(r.minutes_before) + u'|' + r.action.toLower());
    keys.sort();
    return keys;
}

QStringList attendeeKeys(const QList<Attendee> &attendees)
{
    QStringList keys;
    for (const Attendee &a : attendees)
        keys.append(a.email.toLower() + u'|' + a.status.toLower() + u'|' + a.role.toLower() + u'|' + a.name);
    keys.sort();
    return keys;
}

} // namespace

QStringList dateList(const QString &json)
{
    QStringList dates;
    const QJsonArray array = QJsonDocument::fromJson(json.toUtf8()).array();
    for (const QJsonValue &value : array)
        dates.append(value.toString());
    return dates;
}

QString dateJson(const QStringList &dates)
{
    if (dates.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(dates)).toJson(QJsonDocument::Compact));
}

Event merge(const Event &base, const Event &local, const Event &server, bool *conflict, int *serverChanges)
{
    PropertyMerge<Event> merge(base, local, server);
    merge.field(&Event::title);
    merge.field(&Event::description);
    merge.field(&Event::location);
    merge.field(&Event::geo_location);
    merge.field(&Event::start_time);
    merge.field(&Event::end_time);
    merge.field(&Event::is_all_day);
    merge.field(&Event::timezone);
    merge.field(&Event::recurrence_rule);
    merge.field(&Event::status);
    merge.field(&Event::event_url);
    merge.field(&Event::conference_url);
    merge.field(&Event::organizer_email);
    merge.field(&Event::organizer_name);
    merge.set(&Event::exception_dates, dateList, dateJson);
    merge.set(&Event::recurrence_dates, dateList, dateJson);
    merge.field(&Event::reminders, reminderKeys);
    merge.field(&Event::attendees, attendeeKeys);
    *conflict = merge.conflict();
    if (serverChanges)
        *serverChanges = merge.serverChanges();
    Event merged = merge.merged();
    merged.sequence = std::max(local.sequence, server.sequence);
    return merged;
}

bool differs(const Event &a, const Event &b)
{
    bool conflict = false;
    int changes = 0;
    merge(a, a, b, &conflict, &changes);
    return changes > 0;
}

} // namespace EventMerge
