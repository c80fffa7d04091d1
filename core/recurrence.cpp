#include "recurrence.h"

#include "civildate_p.h"
#include "seriesexpander_p.h"
#include "timeutil.h"

#include <QHash>
#include <QLoggingCategory>

#include <limits>

Q_LOGGING_CATEGORY(lcExpansion, "calendar.expansion", QtWarningMsg)

namespace {

// "yyyyMMddTHHmmssZ" of an instant; formatted by hand because it runs once
// per occurrence and QDateTime::toString parses its format every time.
QString icalUtc(qint64 ms)
{
    const qint64 seconds = CivilDate::floorDiv(ms, 1000);
    const qint64 day = CivilDate::floorDiv(seconds, CivilDate::secondsPerDay);
    const CivilDate::Ymd ymd = CivilDate::civilFromDays(day);
    if (ymd.year < 0 || ymd.year > 9999)
        return TimeUtil::toIcalUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    const int secondOfDay = int(seconds - day * CivilDate::secondsPerDay);
    QString text(16, Qt::Uninitialized);
    QChar *out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            out[i] = QLatin1Char(char('0' + value % 10));
            value /= 10;
        }
        out += digits;
    };
    put(ymd.year, 4);
    put(ymd.month, 2);
    put(ymd.day, 2);
    *out++ = QLatin1Char('T');
    put(secondOfDay / 3600, 2);
    put(secondOfDay / 60 % 60, 2);
    put(secondOfDay % 60, 2);
    *out = QLatin1Char('Z');
    return text;
}

// Makes occurrences of one master: copies in the representation (UTC, offset,
// zone or local time) of the master's own start.
class OccurrenceMaker
{
public:
    explicit OccurrenceMaker(const Event &master)
        : m_master(master)
        , m_spec(master.start_time.timeSpec())
        , m_offset(m_spec == Qt::OffsetFromUTC ? master.start_time.offsetFromUtc() : 0)
        , m_durationMs(SeriesExpander::durationOf(master))
    {
        if (m_spec == Qt::TimeZone)
            m_zone = master.start_time.timeZone();
    }

    Event make(qint64 startMs) const
    {
        Event occurrence = m_master;
        occurrence.start_time = at(startMs);
        occurrence.end_time = at(startMs + m_durationMs);
        occurrence.recurrence_id = icalUtc(startMs);
        return occurrence;
    }

    QDateTime at(qint64 ms) const
    {
        if (m_spec == Qt::TimeZone)
            return QDateTime::fromMSecsSinceEpoch(ms, m_zone);
        return QDateTime::fromMSecsSinceEpoch(ms, m_spec, m_offset);
    }

private:
    const Event &m_master;
    Qt::TimeSpec m_spec;
    int m_offset;
    qint64 m_durationMs;
    QTimeZone m_zone;
};

bool spanOverlaps(const Event &event, const SeriesExpander &window)
{
    if (!event.start_time.isValid())
        return false;
    return window.overlaps(event.start_time.toMSecsSinceEpoch(), SeriesExpander::durationOf(event));
}

QString seriesKey(const QString &calendarId, const QString &uid)
{
    return calendarId + QLatin1Char('|') + uid;
}

} // namespace

namespace Recurrence {

QList<Event> expandEvent(const Event &event, const QDateTime &from, const QDateTime &to)
{
    if (!SeriesExpander::repeats(event)) {
        if (!event.start_time.isValid() || !to.isValid() || event.start_time >= to)
            return {};
        if (event.end_time && *event.end_time <= from)
            return {};
        return {event};
    }
    if (!from.isValid() || !to.isValid())
        return {};
    SeriesExpander expander(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
    const std::vector<qint64> starts = expander.starts(event);
    const OccurrenceMaker maker(event);
    QList<Event> result;
    result.reserve(qsizetype(starts.size()));
    for (qint64 ms : starts)
        result.append(maker.make(ms));
    return result;
}

QList<Event> expandEvents(const QList<Event> &events, const QDateTime &from, const QDateTime &to)
{
    QList<const Event *> oneOffs;
    QList<const Event *> masters;
    QList<const Event *> overrides;
    QHash<QString, qsizetype> overrideByKey; // calendar|uid|recurrence id: a later row wins
    for (const Event &event : events) {
        if (event.isOverride()) {
            const QString key = seriesKey(event.calendar_id, event.master_event_uid) + QLatin1Char('|')
                + event.recurrence_id;
            const auto it = overrideByKey.constFind(key);
            if (it != overrideByKey.constEnd()) {
                overrides[*it] = &event;
            } else {
                overrideByKey.insert(key, overrides.size());
                overrides.append(&event);
            }
        } else if (SeriesExpander::repeats(event)) {
            masters.append(&event);
        } else {
            oneOffs.append(&event);
        }
    }

    QList<Event> result;
    result.reserve(oneOffs.size() + 4 * masters.size());
    for (const Event *event : std::as_const(oneOffs))
        result.append(*event);
    if (!from.isValid() || !to.isValid())
        return result;

    QHash<QString, QList<qsizetype>> overridesBySeries;
    for (qsizetype i = 0; i < overrides.size(); ++i)
        overridesBySeries[seriesKey(overrides[i]->calendar_id, overrides[i]->master_event_uid)].append(i);
    QList<bool> handled(overrides.size(), false);

    SeriesExpander expander(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
    for (const Event *master : std::as_const(masters)) {
        const std::vector<qint64> starts = expander.starts(*master);
        if (starts.empty()) {
            qCDebug(lcExpansion).noquote() << "master uid=" << master->uid << "title=" << master->title
                                           << "rrule=" << master->recurrence_rule
                                           << "dtstart=" << master->start_time.toString(Qt::ISODate)
                                           << "→ 0 occurrences in range" << from.toString(Qt::ISODate) << "..."
                                           << to.toString(Qt::ISODate);
        }
        const OccurrenceMaker maker(*master);
        const auto series = overridesBySeries.constFind(seriesKey(master->calendar_id, master->uid));
        if (series == overridesBySeries.constEnd()) {
            for (qint64 ms : starts)
                result.append(maker.make(ms));
            continue;
        }

        // The start each override replaces, read in the series' own zone.
        QHash<qint64, qsizetype> bySlot;
        const ZoneClock &clock = expander.clockFor(*master);
        for (qsizetype i : *series) {
            if (const auto slot = SeriesExpander::readDateValue(overrides[i]->recurrence_id, clock))
                bySlot.insert(*slot, i);
        }
        for (qint64 ms : starts) {
            const auto it = bySlot.constFind(ms);
            if (it == bySlot.constEnd()) {
                result.append(maker.make(ms));
            } else if (!handled[*it]) {
                // Moved out of the window, it takes its occurrence along.
                handled[*it] = true;
                if (spanOverlaps(*overrides[*it], expander))
                    result.append(*overrides[*it]);
            }
        }
        // Moved in from a start outside the window, or onto an excluded one.
        for (qsizetype i : *series) {
            if (!handled[i]) {
                handled[i] = true;
                if (spanOverlaps(*overrides[i], expander))
                    result.append(*overrides[i]);
            }
        }
    }
    // An instance without its series, as an invitation to one occurrence gives.
    for (qsizetype i = 0; i < overrides.size(); ++i) {
        if (!handled[i] && spanOverlaps(*overrides[i], expander))
            result.append(*overrides[i]);
    }
    return result;
}

QSet<qint64> parseExceptionDates(const QString &text, const QTimeZone &floatingZone)
{
    std::vector<qint64> instants;
    SeriesExpander::readDateList(text, ZoneClock::forZone(floatingZone), instants);
    return QSet<qint64>(instants.begin(), instants.end());
}

QList<QDateTime> occurrenceStarts(const RecurrenceRule &rule, const QDateTime &dtstart, const QDateTime &windowEnd)
{
    if (!dtstart.isValid() || !windowEnd.isValid())
        return {};
    SeriesExpander expander(std::numeric_limits<qint64>::min(), windowEnd.toMSecsSinceEpoch(), false);
    Event series;
    series.start_time = dtstart;
    series.timezone.clear();
    const ZoneClock &clock = expander.clockFor(series);
    const qint64 startMs = dtstart.toMSecsSinceEpoch();
    std::vector<qint64> starts;
    expander.ruleStarts(rule, clock, clock.toLocal(CivilDate::floorDiv(startMs, 1000)),
                        int(CivilDate::floorMod(startMs, 1000)), 0, starts);
    const OccurrenceMaker maker(series);
    QList<QDateTime> result;
    result.reserve(qsizetype(starts.size()));
    for (qint64 ms : starts)
        result.append(maker.at(ms));
    return result;
}

} // namespace Recurrence
