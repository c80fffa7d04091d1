#include "recurringedit.h"

#include "eventrepository.h"
#include "eventwrites.h"
#include "exceptionkey.h"
#include "recordnames.h"
#include "recurrence.h"
#include "recurrencerule.h"
#include "ruleuntil.h"
#include "seriesrows.h"
#include "storetransaction.h"
#include "timeutil.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace EventWrites;
using SeriesRows::dateValues;
using SeriesRows::storedDates;

namespace {

// The row as stored (with its reminders and attendees) rather than whatever
// copy the caller holds.
Event storedSeries(EventRepository *events, const Event &given)
{
    const std::optional<Event> row = events->getById(given.id);
    return row && !row->deleted_at ? *row : given;
}

// `time` in the series' own form: its zone (or UTC, or offset) for a timed
// series, whatever the caller's representation, so that rows made from it
// keep the zone their text names; the date at 00:00 UTC for an all-day one.
QDateTime allDayIfSo(const Event &series, const QDateTime &time)
{
    if (!time.isValid())
        return time;
    const QDateTime own = TimeUtil::toSameRepresentation(time, series.start_time);
    return series.is_all_day ? allDayTime(own.date()) : own;
}

// Where a row made from `series` that shows `content` (when given) starts
// at `time`: in the series' form while it keeps the series' kind; at its
// date, 00:00 UTC, when the form made it all-day; as given when the form
// made it timed (an all-day series' UTC names no zone of its own).
QDateTime placedFor(const Event &series, const Event *content, const QDateTime &time)
{
    if (!content || content->is_all_day == series.is_all_day || !time.isValid())
        return allDayIfSo(series, time);
    return content->is_all_day ? allDayTime(time.date()) : time;
}

// The recurrence id of the occurrence starting at `start`: the UTC instant,
// or for an all-day series its date.
QString recurrenceIdOf(const Event &series, const QDateTime &start)
{
    return ExceptionKey::of(series, start);
}

// `instant` written in the form of `like`; a date of an all-day series.
QString inFormOf(const QString &like, const QDateTime &instant, const Event &series, const QTimeZone &zone)
{
    if (series.is_all_day)
        return ExceptionKey::of(series, instant);
    const QString text = like.trimmed();
    if (text.size() == 8)
        return TimeUtil::toIcalDate(instant.toTimeZone(zone).date());
    if (text.endsWith(u'Z', Qt::CaseInsensitive))
        return TimeUtil::toIcalUtc(instant);
    return instant.toTimeZone(zone).toString(u"yyyyMMdd'T'HHmmss"_s);
}

// Moves a series' start to a new time of the occurrence at `from`.
class SeriesShift
{
public:
    SeriesShift(const Event &series, const QDateTime &from, const QDateTime &to)
        : m_series(series)
        , m_zone(seriesZone(series))
        , m_from(from)
        , m_to(to)
    {
    }

    // The shift to a row of the other kind (timed or all-day) starting at
    // `to`: by days alone, to that row's own day at the occurrence's time;
    // its keys are dates when it is all-day.
    static SeriesShift toKindOf(const Event &series, const QDateTime &from, const Event &row, const QDateTime &to)
    {
        SeriesShift shift(series, from, to);
        const QDate day = row.is_all_day ? to.date() : to.toTimeZone(seriesZone(row)).date();
        shift.m_to = TimeUtil::toSameRepresentation(TimeUtil::inZone(day, from.toTimeZone(shift.m_zone).time(),
                                                                     shift.m_zone),
                                                    from);
        shift.m_datesOnly = row.is_all_day && !series.is_all_day;
        return shift;
    }

    bool isNull() const { return m_from == m_to; }
    bool movesLater() const { return m_to > m_from; }
    QDate fromDate() const { return m_from.toTimeZone(m_zone).date(); }
    QDate toDate() const { return apply(m_from).toTimeZone(m_zone).date(); }
    QDateTime apply(const QDateTime &instant) const { return shiftWallClock(instant, m_from, m_to, m_zone); }
    const QTimeZone &zone() const { return m_zone; }
    // The start of the occurrence a key of the series (before the shift) names.
    QDateTime slotOf(const QString &key) const { return ExceptionKey::startOf(m_series, key); }
    // The key of the occurrence at `slot` once shifted.
    QString keyOf(const QDateTime &slot) const
    {
        const QDateTime moved = apply(slot);
        return m_datesOnly ? TimeUtil::toIcalDate(moved.toTimeZone(m_zone).date()) : ExceptionKey::of(m_series, moved);
    }

    // Date-list values (EXDATE, RDATE), each in its own form.
    QStringList apply(const QStringList &values) const
    {
        QStringList shifted;
        for (const QString &value : values) {
            const QDateTime instant = slotOf(value);
            if (!instant.isValid())
                shifted.append(value);
            else
                shifted.append(m_datesOnly ? keyOf(instant) : inFormOf(value, apply(instant), m_series, m_zone));
        }
        return shifted;
    }

private:
    Event m_series;
    QTimeZone m_zone;
    QDateTime m_from;
    QDateTime m_to;
    bool m_datesOnly = false;
};

// `rule` repeating on the day the shift moves the series to, and ending as
// much later as its starts move: an UNTIL on the last start (as several
// clients write it) would otherwise drop that occurrence. An UNTIL that ends
// a day (a date, or the last second of a day as the editors write it) ends
// the day the last occurrence moves to.
void shiftRule(RecurrenceRule &rule, const SeriesShift &shift)
{
    rule.shiftDays(shift.fromDate(), shift.toDate());
    if (!rule.until.isValid() || shift.isNull())
        return;
    const qint64 days = shift.fromDate().daysTo(shift.toDate());
    if (rule.untilForm == RecurrenceRule::UntilForm::Date) {
        rule.until = rule.until.addDays(days);
        return;
    }
    const QTimeZone &zone = shift.zone();
    const QDateTime instant = rule.untilForm == RecurrenceRule::UntilForm::Utc
        ? rule.until
        : TimeUtil::inZone(rule.until.date(), rule.until.time(), zone);
    const QDateTime wall = instant.toTimeZone(zone);
    const QTime lastSecond(23, 59, 59);
    rule.moveUntil(wall.time() == lastSecond ? TimeUtil::inZone(wall.date().addDays(days), lastSecond, zone)
                                             : shift.apply(instant),
                   zone);
}

QString shiftedRule(const QString &rule, const SeriesShift &shift)
{
    RecurrenceRule shifted = RecurrenceRule::fromText(rule);
    shiftRule(shifted, shift);
    return shifted.toText();
}

// The series as it stands at its occurrence starting at `start` (in the
// series' own form): its content, with that start and the series' length.
Event seriesAt(const Event &series, const QDateTime &start)
{
    Event at = series;
    at.start_time = start;
    if (series.end_time)
        at.end_time = start.addSecs(series.start_time.secsTo(*series.end_time));
    return at;
}

// Values before `at` and from `at` on.
std::pair<QStringList, QStringList> splitDates(const QStringList &values, const QDateTime &at, const SeriesShift &shift)
{
    std::pair<QStringList, QStringList> parts;
    for (const QString &value : values) {
        const QDateTime instant = shift.slotOf(value);
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
    row.sync_status = SyncStatus::Pending;
    row.deleted_at.reset();
}

// The last instant the rule's UNTIL lets an occurrence start at.
QDateTime untilInstant(const RecurrenceRule &rule, const QTimeZone &zone, bool allDay)
{
    const QDateTime &wall = rule.until;
    switch (rule.untilForm) {
    case RecurrenceRule::UntilForm::Date:
        return allDay ? allDayTime(wall.date()) : TimeUtil::inZone(wall.date(), QTime(23, 59, 59), zone);
    case RecurrenceRule::UntilForm::Floating: return TimeUtil::inZone(wall.date(), wall.time(), zone);
    case RecurrenceRule::UntilForm::Utc: break;
    }
    return wall;
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
bool rekeyOverrides(EventRepository *events, QList<Event> overrides, const SeriesShift &shift, const Event &series,
                    const QDateTime &now)
{
    if (shift.isNull())
        return true;
    const bool later = shift.movesLater();
    std::sort(overrides.begin(), overrides.end(), [later](const Event &a, const Event &b) {
        return later ? a.recurrence_id > b.recurrence_id : a.recurrence_id < b.recurrence_id;
    });
    for (Event row : std::as_const(overrides)) {
        const QDateTime slot = shift.slotOf(row.recurrence_id);
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

// The live override of the occurrence starting at `occurrence`, matched by
// master uid and the occurrence its recurrence id names.
std::optional<Event> liveOverrideOf(EventRepository *events, const Event &series, const QDateTime &occurrence)
{
    for (const Event &row : SeriesRows::liveOverrides(events, series)) {
        if (ExceptionKey::names(series, row.recurrence_id, occurrence))
            return row;
    }
    return std::nullopt;
}

} // namespace

bool applyRecurringEdit(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd, RecurringEditScope scope)
{
    if (!events)
        return false;
    switch (scope) {
    case RecurringEditScope::None: return true;
    case RecurringEditScope::ThisEvent: return overrideOccurrence(events, series, occurrenceStart, newStart, newEnd);
    case RecurringEditScope::ThisAndFollowing: return splitSeries(events, series, occurrenceStart, newStart, newEnd);
    case RecurringEditScope::AllEvents: return applyToAllOccurrences(events, series, occurrenceStart, newStart, newEnd);
    }
    return false;
}

namespace {

// The override of one occurrence; `content`, when given, is what the row
// shows (the event form's fields), else the series' (or the held row's).
bool writeOverride(EventRepository *events, const Event &given, const QDateTime &occurrenceStart,
                   const QDateTime &newStart, const std::optional<QDateTime> &newEnd, const Event *content)
{
    if (!events)
        return false;
    const Event series = storedSeries(events, given);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString recurrenceId = recurrenceIdOf(series, occurrenceStart);

    // A row may already name this occurrence: a live one (whatever its own
    // uid, since older rows have one) keeps its content and identity, a
    // deleted one gives its id back to the occurrence.
    const std::optional<Event> live = liveOverrideOf(events, series, allDayIfSo(series, occurrenceStart));
    const std::optional<Event> held = live
        ? live
        : events->getByUidAndRecurrenceId(series.uid, series.calendar_id, recurrenceId);

    // The occurrence as it stands: its override, else the series' there.
    Event standing = live ? *live : seriesAt(series, allDayIfSo(series, occurrenceStart));
    if (!live) {
        standing.recurrence_rule.clear();
        standing.exception_dates.clear();
        standing.recurrence_dates.clear();
    }

    Event row;
    if (live) {
        row = *live;
        if (content)
            copyContent(*content, row);
    } else {
        row.id = held ? held->id : newId();
        copyContent(content ? *content : series, row);
        row.created = now;
        row.sequence = 0;
        row.uid = series.uid;
        row.recurrence_id = recurrenceId;
        row.href = series.href;
        row.etag = series.etag;
    }
    row.master_event_uid = series.uid;
    row.start_time = placedFor(series, content, newStart);
    row.end_time = newEnd ? std::optional<QDateTime>(placedFor(series, content, *newEnd)) : std::nullopt;
    if (sameContent(row, standing))
        return true;
    markChanged(row, now);
    row.raw_icalendar = storedText(row);
    return held ? events->update(row) : events->insert(row);
}

// The split at one occurrence; `content`, when given, is what the new series
// shows (the event form's fields, its rule when changed there).
bool writeSplit(EventRepository *events, const Event &given, const QDateTime &occurrenceStart,
                const QDateTime &newStart, const std::optional<QDateTime> &newEnd, const Event *content)
{
    if (!events)
        return false;
    const Event series = storedSeries(events, given);
    if (occurrenceStart <= series.start_time && content)
        return updateEdited(events, series, *content);
    if (occurrenceStart <= series.start_time)
        return applyToAllOccurrences(events, series, occurrenceStart, newStart, newEnd);
    const QDateTime occurrence = allDayIfSo(series, occurrenceStart);

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start = placedFor(series, content, newStart);
    const std::optional<QDateTime> end = newEnd ? std::optional<QDateTime>(placedFor(series, content, *newEnd))
                                                : std::nullopt;
    const SeriesShift shift = content && content->is_all_day != series.is_all_day
        ? SeriesShift::toKindOf(series, occurrence, *content, start)
        : SeriesShift(series, occurrence, start);
    const QTimeZone &zone = shift.zone();

    // The series from the occurrence on, unchanged, is no new series.
    Event edit = content ? *content : series;
    edit.start_time = start;
    edit.end_time = end;
    if (sameContent(edit, seriesAt(series, occurrence)))
        return true;

    // What of the series remained from the occurrence on.
    RecurrenceRule rule = RecurrenceRule::fromText(series.recurrence_rule);
    bool remains = true;
    if (rule.count > 0) {
        rule.count -= startsBefore(series, occurrence);
        remains = rule.count > 0;
    } else if (rule.until.isValid()) {
        remains = occurrence <= untilInstant(rule, zone, series.is_all_day);
    }

    const auto exdates = splitDates(dateValues(series.exception_dates), occurrence, shift);
    const auto rdates = splitDates(dateValues(series.recurrence_dates), occurrence, shift);

    StoreTransaction transaction(events->database());
    if (!transaction.isActive())
        return false;

    Event old = series;
    old.recurrence_rule = endSeriesBefore(series.recurrence_rule, occurrence.addSecs(-1), series.is_all_day);
    old.exception_dates = storedDates(exdates.first);
    old.recurrence_dates = storedDates(rdates.first);
    old.sequence = series.sequence + 1;
    markChanged(old, now);
    old.raw_icalendar = storedText(old);
    if (!events->update(old))
        return false;
    if (!remains)
        return transaction.keep();

    Event next;
    next.id = newId();
    next.uid = next.id;
    copyContent(content ? *content : series, next);
    next.start_time = start;
    next.end_time = end;
    // The series' end stays: the COUNT that was left, or its UNTIL, moved as
    // far as the occurrences it bounds.
    shiftRule(rule, shift);
    next.recurrence_rule = rule.toText();
    if (content && content->recurrence_rule != series.recurrence_rule)
        next.recurrence_rule = content->recurrence_rule;
    // Its end in the form of its own start, should the form have changed its
    // kind: a UTC end is read as a day where it was written, and a day ends in
    // the zone of the new start.
    // An all-day series that stays one ends on the day its UTC end named, as
    // the expansion reads it.
    const bool staysAllDay = next.is_all_day && series.is_all_day;
    next.recurrence_rule = RuleUntil::withUntilForm(staysAllDay ? ExceptionKey::datedRule(next) : next.recurrence_rule,
                                                    next.is_all_day, next.is_all_day ? zone : seriesZone(next));
    next.exception_dates = storedDates(shift.apply(exdates.second));
    next.recurrence_dates = storedDates(shift.apply(rdates.second));
    next.created = now;
    next.sequence = 0;
    markChanged(next, now);
    next.raw_icalendar = storedText(next);
    if (!events->insert(next))
        return false;

    // Overrides of occurrences from the split on belong to the new series.
    for (const Event &override : SeriesRows::liveOverrides(events, series)) {
        const QDateTime slot = shift.slotOf(override.recurrence_id);
        if (!slot.isValid() || slot < occurrence)
            continue;
        Event moved = override;
        moved.id = newId();
        moved.uid = next.uid;
        moved.master_event_uid = next.uid;
        moved.recurrence_id = shift.keyOf(slot);
        moved.href.clear();
        moved.etag.clear();
        moved.provider_event_id.clear();
        moved.created = now;
        detachChildren(moved);
        markChanged(moved, now);
        moved.raw_icalendar = storedText(moved);
        if (!events->insert(moved) || !events->remove(override.id))
            return false;
    }
    return transaction.keep();
}

} // namespace

bool overrideOccurrence(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd)
{
    return writeOverride(events, series, occurrenceStart, newStart, newEnd, nullptr);
}

bool splitSeries(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                 const QDateTime &newStart, const std::optional<QDateTime> &newEnd)
{
    return writeSplit(events, series, occurrenceStart, newStart, newEnd, nullptr);
}

bool editOccurrence(EventRepository *events, const Event &series, const QDateTime &occurrenceStart, const Event &edited,
                    RecurringEditScope scope)
{
    if (!events)
        return false;
    switch (scope) {
    case RecurringEditScope::ThisEvent:
        return writeOverride(events, series, occurrenceStart, edited.start_time, edited.end_time, &edited);
    case RecurringEditScope::ThisAndFollowing:
        return writeSplit(events, series, occurrenceStart, edited.start_time, edited.end_time, &edited);
    default: return updateEdited(events, series, edited);
    }
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
    row.recurrence_rule = shiftedRule(series.recurrence_rule, shift);
    row.start_time = allDayIfSo(series, shift.apply(series.start_time));
    if (series.end_time) {
        // A move keeps the duration; a resize takes the occurrence's new one.
        const qint64 duration = newEnd ? newStart.secsTo(*newEnd) : series.start_time.secsTo(*series.end_time);
        row.end_time = allDayIfSo(series, row.start_time.addSecs(duration));
    }
    // Excluded and added dates move with the occurrences they name.
    row.exception_dates = storedDates(shift.apply(dateValues(series.exception_dates)));
    row.recurrence_dates = storedDates(shift.apply(dateValues(series.recurrence_dates)));
    if (sameContent(row, series))
        return true;
    row.sequence = series.sequence + 1;
    markChanged(row, now);
    row.raw_icalendar = storedText(row);

    StoreTransaction transaction(events->database());
    if (!transaction.isActive())
        return false;
    const bool ok = events->update(row)
        && rekeyOverrides(events, SeriesRows::liveOverrides(events, series), shift, row, now);
    return ok && transaction.keep();
}

namespace {

// The move of a series' start that the form made, when the series keeps its
// kind (timed or all-day); none otherwise.
std::optional<SeriesShift> startShift(const Event &stored, const Event &edited)
{
    const bool repeats = !stored.recurrence_rule.isEmpty() || !stored.recurrence_dates.isEmpty();
    const SeriesShift shift(stored, stored.start_time, edited.start_time);
    if (!repeats || stored.is_all_day != edited.is_all_day || shift.isNull())
        return std::nullopt;
    return shift;
}

} // namespace

Event followingStart(const Event &stored, Event edited)
{
    const std::optional<SeriesShift> shift = startShift(stored, edited);
    if (!shift)
        return edited;
    // What the user left as it was follows the start; what they changed stays.
    if (edited.recurrence_rule == stored.recurrence_rule)
        edited.recurrence_rule = shiftedRule(stored.recurrence_rule, *shift);
    if (edited.exception_dates == stored.exception_dates)
        edited.exception_dates = storedDates(shift->apply(dateValues(stored.exception_dates)));
    if (edited.recurrence_dates == stored.recurrence_dates)
        edited.recurrence_dates = storedDates(shift->apply(dateValues(stored.recurrence_dates)));
    return edited;
}

QString followingRecurrenceId(const Event &stored, const Event &edited, const QString &recurrenceId)
{
    const std::optional<SeriesShift> shift = startShift(stored, edited);
    const QDateTime slot = shift ? shift->slotOf(recurrenceId) : QDateTime();
    return slot.isValid() ? recurrenceIdOf(edited, shift->apply(slot)) : recurrenceId;
}

bool updateEdited(EventRepository *events, const Event &stored, Event edited)
{
    if (!events)
        return false;
    if (sameContent(edited, stored))
        return true;
    const std::optional<SeriesShift> shift = startShift(stored, edited);
    edited = followingStart(stored, edited);
    edited.raw_icalendar = storedText(edited);
    if (!shift)
        return events->update(edited);

    StoreTransaction transaction(events->database());
    if (!transaction.isActive())
        return false;
    const bool ok = events->update(edited)
        && rekeyOverrides(events, SeriesRows::liveOverrides(events, stored), *shift, edited,
                          QDateTime::currentDateTimeUtc());
    return ok && transaction.keep();
}
