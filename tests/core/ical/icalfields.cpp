#include "icalfields.h"

#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace IcalFields {

namespace {

QJsonValue when(const QDateTime &dt, bool dateOnly = false)
{
    if (!dt.isValid())
        return QJsonValue::Null;
    return dateOnly ? TimeUtil::toIcalDate(dt.date()) : TimeUtil::toIcalUtc(dt);
}

QJsonValue when(const std::optional<QDateTime> &dt, bool dateOnly = false)
{
    return dt ? when(*dt, dateOnly) : QJsonValue(QJsonValue::Null);
}

// Null and empty texts differ: a null title is refused by the store.
QJsonValue nullOr(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonValue sortedRule(const QJsonValue &rule)
{
    QStringList parts = rule.toString().split(u';', Qt::SkipEmptyParts);
    parts.sort();
    return parts.join(u';');
}

QJsonValue jsonText(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonArray()) : QJsonDocument::fromJson(text.toUtf8()).array();
}

} // namespace

QJsonObject eventFields(const Event &e)
{
    QJsonArray attendees;
    for (const Attendee &a : e.attendees) {
        attendees.append(QJsonObject{{QStringLiteral("email"), a.email},
                                     {QStringLiteral("name"), a.name},
                                     {QStringLiteral("role"), a.role},
                                     {QStringLiteral("status"), a.status},
                                     {QStringLiteral("type"), a.type},
                                     {QStringLiteral("rsvp"), a.rsvp}});
    }
    QJsonArray reminders;
    for (const Reminder &r : e.reminders) {
        reminders.append(
            QJsonObject{{QStringLiteral("minutes_before"), r.minutes_before}, {QStringLiteral("action"), r.action}});
    }
    return QJsonObject{
        {QStringLiteral("uid"), e.uid},
        {QStringLiteral("title"), nullOr(e.title)},
        {QStringLiteral("description"), e.description},
        {QStringLiteral("location"), e.location},
        {QStringLiteral("start"), when(e.start_time, e.is_all_day)},
        {QStringLiteral("end"), when(e.end_time, e.is_all_day)},
        {QStringLiteral("is_all_day"), e.is_all_day},
        {QStringLiteral("timezone"), e.timezone},
        {QStringLiteral("recurrence_rule"), e.recurrence_rule},
        {QStringLiteral("recurrence_dates"), jsonText(e.recurrence_dates)},
        {QStringLiteral("exception_dates"), jsonText(e.exception_dates)},
        {QStringLiteral("recurrence_id"), e.recurrence_id},
        {QStringLiteral("master_event_uid"), e.master_event_uid},
        {QStringLiteral("status"), e.status},
        {QStringLiteral("event_url"), e.event_url},
        {QStringLiteral("organizer_email"), e.organizer_email},
        {QStringLiteral("organizer_name"), e.organizer_name},
        {QStringLiteral("sequence"), e.sequence},
        {QStringLiteral("created"), when(e.created)},
        {QStringLiteral("last_modified"), when(e.last_modified)},
        {QStringLiteral("attendees"), attendees},
        {QStringLiteral("reminders"), reminders},
    };
}

QJsonObject taskFields(const Task &t)
{
    return QJsonObject{
        {QStringLiteral("uid"), t.uid},
        {QStringLiteral("title"), nullOr(t.title)},
        {QStringLiteral("description"), t.description},
        {QStringLiteral("status"), t.status},
        {QStringLiteral("priority"), t.priority},
        {QStringLiteral("percent_complete"), t.percent_complete},
        {QStringLiteral("due"), when(t.due_date, t.due_is_date_only)},
        {QStringLiteral("start"), when(t.start_date, t.start_is_date_only)},
        {QStringLiteral("due_is_date_only"), t.due_is_date_only},
        {QStringLiteral("start_is_date_only"), t.start_is_date_only},
        {QStringLiteral("completed"), when(t.completed_date)},
        {QStringLiteral("categories"), QJsonArray::fromStringList(t.categories)},
        {QStringLiteral("parent_task_uid"), t.parent_task_uid},
        {QStringLiteral("sort_order"), t.sort_order},
        {QStringLiteral("recurrence_rule"), t.recurrence_rule},
        {QStringLiteral("repeat_mode"), t.repeat_mode},
        {QStringLiteral("sequence"), t.sequence},
    };
}

QStringList differences(const QJsonObject &expected, const QJsonObject &actual)
{
    QStringList out;
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const QJsonValue got = actual.value(it.key());
        const bool same = it.key() == QLatin1String("recurrence_rule") ? sortedRule(got) == sortedRule(it.value())
                                                                       : got == it.value();
        if (!same) {
            auto show = [](const QJsonValue &v) {
                return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
            };
            out.append(QStringLiteral("%1: expected %2, got %3").arg(it.key(), show(it.value()), show(got)));
        }
    }
    return out;
}

QString differences(const QJsonArray &expected, const QJsonArray &actual)
{
    if (expected.size() != actual.size())
        return QStringLiteral("%1 records instead of %2").arg(actual.size()).arg(expected.size());
    QStringList out;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QStringList diff = differences(expected.at(i).toObject(), actual.at(i).toObject());
        if (!diff.isEmpty())
            out.append(QStringLiteral("record %1: ").arg(i) + diff.join(QStringLiteral("; ")));
    }
    return out.join(u'\n');
}

QJsonArray fieldsOf(const QList<Event> &events)
{
    QJsonArray out;
    for (const Event &e : events)
        out.append(eventFields(e));
    return out;
}

QJsonArray fieldsOf(const QList<Task> &tasks)
{
    QJsonArray out;
    for (const Task &t : tasks)
        out.append(taskFields(t));
    return out;
}

} // namespace IcalFields
