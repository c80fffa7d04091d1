#include "recurringedit.h"

#include "eventrepository.h"
#include "eventwrites.h"
#include "recurrence.h"
#include "seriesrows.h"
#include "storesql.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace EventWrites;

namespace {

const QString kPending = u"pending"_s;

// The row as stored (with its reminders and attendees) rather than whatever
// copy the caller holds.
Event storedSeries(EventRepository *events, const Event &given)
{
    const std::optional<Event> row = events->getById(given.id);
    return row && !row->deleted_at ? *row : given;
}

QDateTime allDayIfSo(const Event &series, const QDateTime &time)
{
    if (!series.is_all_day || !time.isValid())
        return time;
    return allDayTime(TimeUtil::toSameRepresentation(time, series.start_time).date());
}

// The recurrence id of the occurrence starting at `start`, as the reader
// gives it for the same RECURRENCE-ID: the UTC instant, or for an all-day
// series its date at 00:00 UTC.
QString recurrenceIdOf(const Event &series, const QDateTime &start)
{
    return TimeUtil::toIcalUtc(allDayIfSo(series, start));
}

// A recurrence id, EXDATE or RDATE value as an instant: "Z" is UTC, a date is
// 00:00 UTC of it, a floating value is read in the series' zone.
QDateTime instantOf(const QString &value, const QTimeZone &zone)
{
    const QString text = value.trimmed();
    if (text.size() == 8)
        return allDayTime(QDate::fromString(text, u"yyyyMMdd"_s));
    if (text.endsWith(u'Z', Qt::CaseInsensitive))
        return TimeUtil::fromIcalUtc(text.toUpper());
    const QDateTime floating = QDateTime::fromString(text.left(15), u"yyyyMMdd'T'HHmmss"_s);
    return floating.isValid() ? TimeUtil::inZone(floating.date(), floating.time(), zone) : QDateTime();
}

// `instant` written in the form of `like`.
QString inFormOf(const QString &like, const QDateTime &instant, const QTimeZone &zone)
{
    const QString text = like.trimmed();
    if (text.size() == 8)
        return TimeUtil::toIcalDate(instant.toUTC().date());
    if (text.endsWith(u'Z', Qt::CaseInsensitive))
        return TimeUtil::toIcalUtc(instant);
    return instant.toTimeZone(zone).toString(u"yyyyMMdd'T'HHmmss"_s);
}

QStringList dateValues(const QString &stored)
{
    const QString trimmed = stored.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (!trimmed.startsWith(u'['))
        return trimmed.split(u',', Qt::SkipEmptyParts);
    QStringList values;
    const QJsonArray array = QJsonDocument::fromJson(trimmed.toUtf8()).array();
    for (const QJsonValue &value : array) {
        if (value.isString())
            values.append(value.toString());
    }
    return values;
}

QString storedDates(const QStringList &values)
{
    if (values.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

// Moves a series' start to a new time of the occurrence at `from`.
class SeriesShift
{
public:
    SeriesShift(const Event &series, const QDateTime &from, const QDateTime &to)
        : m_zone(seriesZone(series))
        , m_from(from)
        , m_to(to)
    {
    }

    bool isNull() const { return m_from == m_to; }
    // Whole days the wall clock moves (a time moved past midnight counts).
    int days() const
    {
        return int(m_from.toTimeZone(m_zone).date().daysTo(apply(m_from).toTimeZone(m_zone).date()));
    }
    bool movesLater() const { return m_to > m_from; }
    QDateTime apply(const QDateTime &instant) const { return shiftWallClock(instant, m_from, m_to, m_zone); }
    const QTimeZone &zone() const { return m_zone; }

    // Date-list values (EXDATE, RDATE), each in its own form.
    QStringList apply(const QStringList &values) const
    {
        QStringList shifted;
        for (const QString &value : values) {
            const QDateTime instant = instantOf(value, m_zone);
            shifted.append(instant.isValid() ? inFormOf(value, apply(instant), m_zone) : value);
        }
        return shifted;
    }

private:
    QTimeZone m_zone;
    QDateTime m_from;
    QDateTime m_to;
};

// `rule` with its weekdays and days of the month moved by `days`, so that a
// series moved to another day keeps repeating on the day it was moved to.
QString shiftRuleDays(const QString &rule, int days)
{
    if (days == 0)
        return rule;
    static const QStringList codes = {u"MO"_s, u"TU"_s, u"WE"_s, u"TH"_s, u"FR"_s, u"SA"_s, u"SU"_s};
    QStringList parts = rule.split(u';', Qt::SkipEmptyParts);
    for (QString &part : parts) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed().toUpper();
        QStringList items = part.mid(eq + 1).split(u',', Qt::SkipEmptyParts);
        if (key == u"BYDAY"_s) {
            for (QString &item : items) {
                const QString trimmed = item.trimmed().toUpper();
                const qsizetype index = codes.indexOf(trimmed.right(2));
                if (index >= 0)
                    item = trimmed.chopped(2) + codes.at(((index + days) % 7 + 7) % 7);
            }
        } else if (key == u"BYMONTHDAY"_s) {
            for (QString &item : items) {
                bool ok = false;
                const int day = item.trimmed().toInt(&ok);
                if (ok && day > 0 && day + days >= 1 && day + days <= 31)
                    item = QString::number(day + days);
            }
        } else {
            continue;
        }
        part = part.left(eq + 1) + items.join(u',');
    }
    return parts.join(u';');
}

// Values before `at` and from `at` on.
std::pair<QStringList, QStringList> splitDates(const QStringList &values, const QDateTime &at, const QTimeZone &zone)
{
    std::pair<QStringList, QStringList> parts;
    for (const QString &value : values) {
        const QDateTime instant = instantOf(value, zone);
        (instant.isValid() && instant >= at ? parts.second : parts.first).append(value);
    }
    return parts;
}

// The content a row made from the series carries over: everything but its
// identity, times, rule and dates.
void copyContent(const Event &series, Event &row)
{
    row.calendar_id = series.calendar_id;
    row.title = series.title;
    row.description = series.description;
    row.location = series.location;
    row.geo_location = series.geo_location;
    row.color = series.color;
    row.timezone = series.timezone;
    row.status = series.status;
    row.event_url = series.event_url;
    row.conference_url = series.conference_url;
    row.organizer_email = series.organizer_email;
    row.organizer_name = series.organizer_name;
    row.is_all_day = series.is_all_day;
    row.reminders = series.reminders;
    row.attendees = series.attendees;
    detachChildren(row);
    // The series' text lends the new row what its fields do not map
    // (categories, alarms that are no reminder, X- properties).
    if (isICalendarText(series.raw_icalendar))
        row.raw_icalendar = series.raw_icalendar;
}

void markChanged(Event &row, const QDateTime &now)
{
    row.last_modified = now;
    row.sync_status = kPending;
    row.deleted_at.reset();
}

struct RuleEnd
{
    std::optional<int> count;
    QString until; // as written
};

RuleEnd ruleEnd(const QString &rule)
{
    RuleEnd end;
    for (const QString &part : rule.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed().toUpper();
        const QString value = part.mid(eq + 1).trimmed();
        if (key == u"COUNT"_s) {
            bool ok = false;
            const int count = value.toInt(&ok);
            if (ok)
                end.count = count;
        } else if (key == u"UNTIL"_s) {
            end.until = value;
        }
    }
    return end;
}

// The last instant an UNTIL value lets an occurrence start at.
QDateTime untilInstant(const QString &until, const QTimeZone &zone, bool allDay)
{
    if (until.trimmed().size() == 8) {
        const QDate day = QDate::fromString(until.trimmed(), u"yyyyMMdd"_s);
        return allDay ? allDayTime(day) : TimeUtil::inZone(day, QTime(23, 59, 59), zone);
    }
    return instantOf(until, zone);
}

// `rule` with COUNT and UNTIL set to the given values, in place.
QString withEnd(const QString &rule, const std::optional<int> &count, const QString &until)
{
    QStringList parts = rule.split(u';', Qt::SkipEmptyParts);
    for (QString &part : parts) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed().toUpper();
        if (key == u"COUNT"_s && count)
            part = u"COUNT="_s + QString::number(*count);
        else if (key == u"UNTIL"_s && !until.isEmpty())
            part = u"UNTIL="_s + until;
    }
    return parts.join(u';');
}

// Rule-generated starts of the series before `at` (COUNT counts them all,
// excluded ones included).
int startsBefore(const Event &series, const QDateTime &at)
{
    Event bare = series;
    bare.exception_dates.clear();
    bare.recurrence_dates.clear();
    return int(Recurrence::expandEvent(bare, series.start_time.addSecs(-1), at).size());
}

// Gives the series' overrides the recurrence ids of their shifted
// occurrences. Later ones first when moving later, so that no two rows ever
// name the same occurrence.
bool rekeyOverrides(EventRepository *events, QList<Event> overrides, const SeriesShift &shift,
                    const Event &series, const QDateTime &now)
{
    if (shift.isNull())
        return true;
    const bool later = shift.movesLater();
    std::sort(overrides.begin(), overrides.end(), [later](const Event &a, const Event &b) {
        return later ? a.recurrence_id > b.recurrence_id : a.recurrence_id < b.recurrence_id;
    });
    for (Event row : std::as_const(overrides)) {
        const QDateTime slot = instantOf(row.recurrence_id, shift.zone());
        if (!slot.isValid())
            continue;
        row.recurrence_id = recurrenceIdOf(series, shift.apply(slot));
        row.href = series.href;
        markChanged(row, now);
        row.raw_icalendar = storedText(row);
        if (!events->update(row))
            return false;
    }
    return true;
}

bool commit(StoreSql::Savepoint &savepoint, bool ok)
{
    if (!ok) {
        savepoint.rollback();
        return false;
    }
    return savepoint.release();
}

} // namespace

bool applyRecurringEdit(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd,
                        RecurringEditScope scope)
{
    if (!events)
        return false;
    switch (scope) {
    case RecurringEditScope::None:
        return true;
    case RecurringEditScope::ThisEvent:
        return overrideOccurrence(events, series, occurrenceStart, newStart, newEnd);
    case RecurringEditScope::ThisAndFollowing:
        return splitSeries(events, series, occurrenceStart, newStart, newEnd);
    case RecurringEditScope::AllEvents:
        return applyToAllOccurrences(events, series, occurrenceStart, newStart, newEnd);
    }
    return false;
}

bool overrideOccurrence(EventRepository *events, const Event &given, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd)
{
    if (!events)
        return false;
    const Event series = storedSeries(events, given);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString recurrenceId = recurrenceIdOf(series, occurrenceStart);

    // A row may already name this occurrence: a live one keeps its own
    // content, a deleted one gives its id back to the occurrence.
    const std::optional<Event> held =
        events->getByUidAndRecurrenceId(series.uid, series.calendar_id, recurrenceId);
    std::optional<Event> live;
    if (held && !held->deleted_at)
        live = events->getById(held->id);

    Event row;
    if (live) {
        row = *live;
    } else {
        row.id = held ? held->id : newId();
        copyContent(series, row);
        row.created = now;
        row.sequence = 0;
    }
    row.uid = series.uid;
    row.master_event_uid = series.uid;
    row.recurrence_id = recurrenceId;
    row.href = series.href;
    row.etag = series.etag;
    row.start_time = allDayIfSo(series, newStart);
    row.end_time = newEnd ? std::optional<QDateTime>(allDayIfSo(series, *newEnd)) : std::nullopt;
    markChanged(row, now);
    row.raw_icalendar = storedText(row);
    return held ? events->update(row) : events->insert(row);
}

bool splitSeries(EventRepository *events, const Event &given, const QDateTime &occurrenceStart,
                 const QDateTime &newStart, const std::optional<QDateTime> &newEnd)
{
    if (!events)
        return false;
    const Event series = storedSeries(events, given);
    if (occurrenceStart <= series.start_time)
        return applyToAllOccurrences(events, series, occurrenceStart, newStart, newEnd);
    const QDateTime occurrence = allDayIfSo(series, occurrenceStart);

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start = allDayIfSo(series, newStart);
    const SeriesShift shift(series, occurrence, start);
    const QTimeZone &zone = shift.zone();

    // What of the series remained from the occurrence on.
    const RuleEnd end = ruleEnd(series.recurrence_rule);
    std::optional<int> remainingCount;
    bool remains = true;
    if (end.count) {
        remainingCount = *end.count - startsBefore(series, occurrence);
        remains = *remainingCount > 0;
    } else if (!end.until.isEmpty()) {
        const QDateTime until = untilInstant(end.until, zone, series.is_all_day);
        remains = until.isValid() && occurrence <= until;
    }

    const auto exdates = splitDates(dateValues(series.exception_dates), occurrence, zone);
    const auto rdates = splitDates(dateValues(series.recurrence_dates), occurrence, zone);

    QSqlDatabase db = QSqlDatabase::database();
    StoreSql::Savepoint savepoint(db, QLatin1String("series_split"));
    if (!savepoint.isActive())
        return false;

    Event old = series;
    old.recurrence_rule = endSeriesBefore(series.recurrence_rule, occurrence.addSecs(-1), series.is_all_day);
    old.exception_dates = storedDates(exdates.first);
    old.recurrence_dates = storedDates(rdates.first);
    old.sequence = series.sequence + 1;
    markChanged(old, now);
    old.raw_icalendar = storedText(old);
    if (!events->update(old))
        return commit(savepoint, false);
    if (!remains)
        return commit(savepoint, true);

    Event next;
    next.id = newId();
    next.uid = next.id;
    copyContent(series, next);
    next.start_time = start;
    next.end_time = newEnd ? std::optional<QDateTime>(allDayIfSo(series, *newEnd)) : std::nullopt;
    // The series' end stays: its UNTIL, or the COUNT that was left. An UNTIL
    // that the moved start would already pass goes along with it, so the
    // occurrence the user moved is not lost.
    QString until = end.until;
    if (!until.isEmpty() && start > untilInstant(until, zone, series.is_all_day))
        until = inFormOf(until, shift.apply(untilInstant(until, zone, series.is_all_day)), zone);
    next.recurrence_rule = shiftRuleDays(withEnd(series.recurrence_rule, remainingCount, until), shift.days());
    next.exception_dates = storedDates(shift.apply(exdates.second));
    next.recurrence_dates = storedDates(shift.apply(rdates.second));
    next.created = now;
    next.sequence = 0;
    markChanged(next, now);
    next.raw_icalendar = storedText(next);
    if (!events->insert(next))
        return commit(savepoint, false);

    // Overrides of occurrences from the split on belong to the new series.
    for (const Event &override : SeriesRows::liveOverrides(events, series)) {
        const QDateTime slot = instantOf(override.recurrence_id, zone);
        if (!slot.isValid() || slot < occurrence)
            continue;
        Event moved = override;
        moved.id = newId();
        moved.uid = next.uid;
        moved.master_event_uid = next.uid;
        moved.recurrence_id = recurrenceIdOf(series, shift.apply(slot));
        moved.href.clear();
        moved.etag.clear();
        moved.provider_event_id.clear();
        moved.created = now;
        detachChildren(moved);
        markChanged(moved, now);
        moved.raw_icalendar = storedText(moved);
        if (!events->insert(moved) || !events->remove(override.id))
            return commit(savepoint, false);
    }
    return commit(savepoint, true);
}

bool applyToAllOccurrences(EventRepository *events, const Event &given, const QDateTime &occurrenceStart,
                           const QDateTime &newStart, const std::optional<QDateTime> &newEnd)
{
    if (!events)
        return false;
    const Event series = storedSeries(events, given);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const SeriesShift shift(series, allDayIfSo(series, occurrenceStart), allDayIfSo(series, newStart));

    Event row = series;
    row.recurrence_rule = shiftRuleDays(series.recurrence_rule, shift.days());
    row.start_time = allDayIfSo(series, shift.apply(series.start_time));
    if (series.end_time) {
        // A move keeps the duration; a resize takes the occurrence's new one.
        const qint64 duration = newEnd ? newStart.secsTo(*newEnd) : series.start_time.secsTo(*series.end_time);
        row.end_time = allDayIfSo(series, row.start_time.addSecs(duration));
    }
    // Excluded and added dates move with the occurrences they name.
    row.exception_dates = storedDates(shift.apply(dateValues(series.exception_dates)));
    row.recurrence_dates = storedDates(shift.apply(dateValues(series.recurrence_dates)));
    row.sequence = series.sequence + 1;
    markChanged(row, now);
    row.raw_icalendar = storedText(row);

    QSqlDatabase db = QSqlDatabase::database();
    StoreSql::Savepoint savepoint(db, QLatin1String("series_shift"));
    if (!savepoint.isActive())
        return false;
    const bool ok = events->update(row) && rekeyOverrides(events, SeriesRows::liveOverrides(events, series), shift, row, now);
    return commit(savepoint, ok);
}

QString endSeriesBefore(const QString &rule, const QDateTime &cutoff, bool allDay)
{
    const QString until = allDay ? TimeUtil::toIcalDate(cutoff.date()) : TimeUtil::toIcalUtc(cutoff);
    QStringList parts;
    bool replaced = false;
    for (const QString &part : rule.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0) {
            parts.append(part);
            continue;
        }
        const QString key = part.left(eq).toUpper();
        if (key == u"COUNT"_s)
            continue;
        if (key == u"UNTIL"_s) {
            parts.append(u"UNTIL="_s + until);
            replaced = true;
            continue;
        }
        parts.append(part);
    }
    if (!replaced)
        parts.append(u"UNTIL="_s + until);
    return parts.join(u';');
}
