#include "exceptionkey.h"

#include "civildate_p.h"
#include "exceptionkey_p.h"
#include "recurrencerule.h"
#include "seriesexpander_p.h"
#include "timeutil.h"

#include <QHash>

#include <algorithm>

using namespace CivilDate;

namespace {

enum class Form { Date, Floating, Utc };

struct Written
{
    Form form;
    qint64 wall; // seconds since the epoch of the wall clock written
};

std::optional<Written> readWritten(QStringView text)
{
    using ExceptionKey::Detail::readDigits;
    text = text.trimmed();
    // A PERIOD ("start/end" or "start/duration") is named by its start.
    if (const qsizetype slash = text.indexOf(QLatin1Char('/')); slash >= 0)
        text = text.left(slash);
    int y = 0, mo = 0, d = 0;
    if (text.size() < 8 || !readDigits(text, 0, 4, y) || !readDigits(text, 4, 2, mo) || !readDigits(text, 6, 2, d)
        || !CivilDate::isValid(y, mo, d)) {
        return std::nullopt;
    }
    const qint64 day = daysFromCivil(y, mo, d);
    if (text.size() == 8)
        return Written{Form::Date, day * secondsPerDay};
    const bool utc = text.endsWith(QLatin1Char('Z')) || text.endsWith(QLatin1Char('z'));
    if (utc)
        text.chop(1);
    int h = 0, mi = 0, s = 0;
    if (text.size() != 15 || (text.at(8) != QLatin1Char('T') && text.at(8) != QLatin1Char('t'))
        || !readDigits(text, 9, 2, h) || !readDigits(text, 11, 2, mi) || !readDigits(text, 13, 2, s) || h > 23
        || mi > 59 || s > 60) {
        return std::nullopt;
    }
    return Written{utc ? Form::Utc : Form::Floating, day * secondsPerDay + h * 3600 + mi * 60 + std::min(s, 59)};
}

// The day a UTC key of an all-day series names. Earlier versions named the
// occurrences of series held at the machine's midnight by that midnight's
// instant ("20250608T220000Z" for 9 June in Berlin): such a key names the
// day it is midnight of, in the series' clock or else the machine's.
qint64 allDayUtcDay(qint64 utcSeconds, const ZoneClock &clock)
{
    if (floorMod(utcSeconds, secondsPerDay) == 0)
        return floorDiv(utcSeconds, secondsPerDay);
    for (const ZoneClock &zone : {clock, ZoneClock::systemLocal()}) {
        const qint64 local = zone.toLocal(utcSeconds);
        if (floorMod(local, secondsPerDay) == 0)
            return floorDiv(local, secondsPerDay);
    }
    return floorDiv(utcSeconds, secondsPerDay);
}

// The clock of a series, as the expansion keeps it.
struct SeriesClock
{
    explicit SeriesClock(const Event &series)
        : expander(0, 0)
        , clock(expander.clockFor(series))
    {
    }
    SeriesExpander expander;
    const ZoneClock &clock;
};

} // namespace

namespace ExceptionKey::Detail {

bool readDigits(QStringView text, qsizetype from, qsizetype n, int &value)
{
    value = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    return true;
}

std::optional<Slot> read(QStringView key, bool allDay, const ZoneClock &clock)
{
    const std::optional<Written> written = readWritten(key);
    if (!written)
        return std::nullopt;
    const qint64 writtenDay = floorDiv(written->wall, secondsPerDay);
    if (allDay) {
        if (written->form == Form::Utc)
            return Slot{true, allDayUtcDay(written->wall, clock)};
        return Slot{true, writtenDay};
    }
    switch (written->form) {
    case Form::Date: return Slot{true, writtenDay};
    case Form::Floating: return Slot{false, clock.toUtc(written->wall) * 1000};
    case Form::Utc: break;
    }
    return Slot{false, written->wall * 1000};
}

qint64 dayOf(qint64 ms, const ZoneClock &clock)
{
    return floorDiv(clock.toLocal(floorDiv(ms, 1000)), secondsPerDay);
}

bool names(const Slot &slot, qint64 startMs, const ZoneClock &clock)
{
    return slot.isDay ? dayOf(startMs, clock) == slot.value : startMs == slot.value;
}

qint64 startOf(const Slot &slot, qint64 secondOfDay, const ZoneClock &clock)
{
    if (!slot.isDay)
        return slot.value;
    return clock.toUtc(slot.value * secondsPerDay + secondOfDay) * 1000;
}

QString dayText(qint64 day)
{
    const Ymd ymd = civilFromDays(day);
    return QString::asprintf("%04d%02d%02d", ymd.year, ymd.month, ymd.day);
}

} // namespace ExceptionKey::Detail

namespace ExceptionKey {

bool names(const Event &series, QStringView key, const QDateTime &start)
{
    if (!start.isValid())
        return false;
    const SeriesClock clock(series);
    const auto slot = Detail::read(key, series.is_all_day, clock.clock);
    return slot && Detail::names(*slot, start.toMSecsSinceEpoch(), clock.clock);
}

QString of(const Event &series, const QDateTime &start)
{
    if (!start.isValid())
        return QString();
    if (!series.is_all_day)
        return TimeUtil::toIcalUtc(start);
    const SeriesClock clock(series);
    return Detail::dayText(Detail::dayOf(start.toMSecsSinceEpoch(), clock.clock));
}

QDateTime startOf(const Event &series, QStringView key)
{
    if (!series.start_time.isValid())
        return QDateTime();
    SeriesClock clock(series);
    const auto slot = Detail::read(key, series.is_all_day, clock.clock);
    if (!slot)
        return QDateTime();
    const qint64 seriesStart = series.start_time.toMSecsSinceEpoch();
    const qint64 secondOfDay = floorMod(clock.clock.toLocal(floorDiv(seriesStart, 1000)), secondsPerDay);
    qint64 ms = Detail::startOf(*slot, secondOfDay, clock.clock);
    if (slot->isDay && !series.is_all_day) {
        // The rule's own start that day, when it has one there.
        const qint64 dayStart = clock.clock.toUtc(slot->value * secondsPerDay) * 1000;
        const qint64 dayEnd = clock.clock.toUtc((slot->value + 1) * secondsPerDay) * 1000;
        Event bare = series;
        bare.exception_dates.clear();
        SeriesExpander day(dayStart, dayEnd);
        for (qint64 start : day.starts(bare)) {
            if (start >= dayStart) {
                ms = start;
                break;
            }
        }
    } else if (slot->isDay) {
        ms += floorMod(seriesStart, 1000);
    }
    return TimeUtil::toSameRepresentation(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC), series.start_time);
}

QString normalized(const Event &series, QStringView key)
{
    // Already in the series' form: nothing to look up (a feed of thousands
    // of overrides comes this way).
    const std::optional<Written> written = readWritten(key);
    if (written && key.size() == (series.is_all_day ? 8 : 16)
        && (written->form == Form::Date) == series.is_all_day && (series.is_all_day || written->form == Form::Utc)) {
        return key.toString();
    }
    const QDateTime start = startOf(series, key);
    return start.isValid() ? of(series, start) : key.toString();
}

QString datedRule(const Event &series)
{
    if (!series.is_all_day || !series.recurrence_rule.contains(QLatin1String("UNTIL"), Qt::CaseInsensitive))
        return series.recurrence_rule;
    RecurrenceRule rule = RecurrenceRule::fromText(series.recurrence_rule);
    if (!rule.until.isValid() || rule.untilForm != RecurrenceRule::UntilForm::Utc)
        return series.recurrence_rule;
    const SeriesClock clock(series);
    const auto slot = Detail::read(rule.value(u"UNTIL"), true, clock.clock);
    if (!slot)
        return series.recurrence_rule;
    const Ymd day = civilFromDays(slot->value);
    rule.setUntilDate(QDate(day.year, day.month, day.day));
    return rule.toText();
}

QString datedRule(const QString &allDayRule)
{
    Event series;
    series.is_all_day = true;
    // At 00:00 UTC of its dates; which date plays no part.
    series.start_time = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    series.recurrence_rule = allDayRule;
    return datedRule(series);
}

QString datedRule(const Task &task)
{
    const bool due = task.due_date.has_value();
    Event dated;
    dated.is_all_day = due ? task.due_is_date_only : task.start_date && task.start_is_date_only;
    dated.start_time = due ? *task.due_date : task.start_date.value_or(QDateTime());
    dated.recurrence_rule = task.recurrence_rule;
    return datedRule(dated);
}

bool listed(const Event &series, const QStringList &keys, QStringView key)
{
    const QDateTime start = startOf(series, key);
    if (!start.isValid())
        return keys.contains(key.toString());
    const SeriesClock clock(series);
    const qint64 ms = start.toMSecsSinceEpoch();
    return std::any_of(keys.cbegin(), keys.cend(), [&](const QString &other) {
        const auto slot = Detail::read(other, series.is_all_day, clock.clock);
        return slot && Detail::names(*slot, ms, clock.clock);
    });
}

void normalizeOverrides(QList<Event> &rows)
{
    QHash<QString, qsizetype> masters;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Event &row = rows.at(i);
        if (row.recurrence_id.isEmpty() && (!row.recurrence_rule.isEmpty() || !row.recurrence_dates.isEmpty()))
            masters.insert(row.uid, i);
    }
    if (masters.isEmpty())
        return;
    for (Event &row : rows) {
        if (row.recurrence_id.isEmpty())
            continue;
        const auto master = masters.constFind(row.master_event_uid.isEmpty() ? row.uid : row.master_event_uid);
        if (master != masters.constEnd())
            row.recurrence_id = normalized(rows.at(*master), row.recurrence_id);
    }
}

} // namespace ExceptionKey
