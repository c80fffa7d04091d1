#include "occurrencebuilder_p.h"

#include "civildate_p.h"
#include "occurrence.h"
#include "seriesexpander_p.h"
#include "timeutil.h"

void OccurrenceBuilder::setMaster(const Event &master, const ZoneClock *zone)
{
    // Copied without the fields each occurrence replaces, which would only
    // be copied to be dropped.
    m_template = master;
    m_template.start_time = QDateTime();
    m_template.end_time.reset();
    m_template.recurrence_id.clear();
    m_durationMs = SeriesExpander::durationOf(master);
    const Qt::TimeSpec spec = master.start_time.timeSpec();
    const int offset = spec == Qt::OffsetFromUTC ? master.start_time.offsetFromUtc() : 0;
    const QTimeZone timeZone = spec == Qt::TimeZone ? master.start_time.timeZone() : QTimeZone();
    const ZoneClock *offsets = spec == Qt::OffsetFromUTC && !master.is_all_day ? zone : nullptr;
    for (const auto &r : m_representations) {
        if (r->spec == spec && r->offset == offset && r->zone == timeZone && r->offsets == offsets) {
            m_representation = r.get();
            return;
        }
    }
    m_representations.push_back(std::make_unique<Representation>(Representation{spec, offset, timeZone, offsets, {}, {}}));
    m_representation = m_representations.back().get();
}

QDateTime OccurrenceBuilder::at(qint64 ms)
{
    Representation &r = *m_representation;
    switch (r.spec) {
    case Qt::UTC: return QDateTime::fromMSecsSinceEpoch(ms, r.spec, r.offset); // cheap: no zone lookup
    case Qt::OffsetFromUTC:
        if (r.offsets) {
            const qint64 seconds = CivilDate::floorDiv(ms, 1000);
            return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, int(r.offsets->toLocal(seconds) - seconds));
        }
        return QDateTime::fromMSecsSinceEpoch(ms, r.spec, r.offset);
    default: break;
    }
    auto it = r.made.constFind(ms);
    if (it == r.made.constEnd()) {
        it = r.made.insert(ms,
                           r.spec == Qt::TimeZone ? QDateTime::fromMSecsSinceEpoch(ms, r.zone)
                                                  : QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime));
    }
    return *it;
}

QString OccurrenceBuilder::recurrenceId(qint64 ms)
{
    if (m_template.is_all_day) {
        QHash<qint64, QString> &ids = m_representation->dayIds;
        auto it = ids.constFind(ms);
        if (it == ids.constEnd())
            it = ids.insert(ms, TimeUtil::toIcalDate(at(ms).date()));
        return *it;
    }
    auto it = m_recurrenceIds.constFind(ms);
    if (it == m_recurrenceIds.constEnd())
        it = m_recurrenceIds.insert(ms, Occurrence::recurrenceIdAt(ms));
    return *it;
}

void OccurrenceBuilder::appendTo(QList<Event> &list, qint64 startMs)
{
    Event &occurrence = list.emplaceBack(m_template);
    occurrence.start_time = at(startMs);
    occurrence.end_time = at(startMs + m_durationMs);
    occurrence.recurrence_id = recurrenceId(startMs);
}

void OccurrenceBuilder::appendShifted(QList<Event> &list, const Event &row, qint64 slotMs, qint64 startMs)
{
    Event &occurrence = list.emplaceBack(row);
    const qint64 shiftMs = startMs - row.start_time.toMSecsSinceEpoch();
    occurrence.start_time = row.start_time.addMSecs(shiftMs);
    occurrence.end_time = occurrence.start_time.addMSecs(SeriesExpander::durationOf(row));
    occurrence.recurrence_id = recurrenceId(slotMs);
}
