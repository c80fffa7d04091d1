#pragma once

#include "event.h"
#include "zoneclock_p.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QTimeZone>

#include <memory>
#include <vector>

// Makes the occurrence records of one expansion call: copies of a master
// with the start, end and recurrence id of each occurrence, the times in the
// representation (UTC, offset, zone or local time) of the master's own start.
//
// A QDateTime in a zone or in local time costs a zone lookup to make, and an
// Event is some 700 bytes; a year of a busy calendar has a few hundred
// thousand occurrences, most of them at instants that other series share
// (meetings on the hour). Those times and recurrence ids are made once per
// call and shared, as QDateTime and QString share their data anyway.
class OccurrenceBuilder
{
public:
    // Makes `master` the series the following calls build for. A start held
    // at an offset in a zone with changing offsets (one only the event's text
    // defines) gives each occurrence the offset `zone` has at it; the clock
    // must outlive the calls.
    void setMaster(const Event &master, const ZoneClock *zone = nullptr);

    void appendTo(QList<Event> &list, qint64 startMs);
    // A copy of the override `row` moved to `startMs`, in its own time
    // representation, as the occurrence at `slotMs`.
    void appendShifted(QList<Event> &list, const Event &row, qint64 slotMs, qint64 startMs);
    QDateTime at(qint64 ms);

private:
    struct Representation
    {
        Qt::TimeSpec spec;
        int offset;
        QTimeZone zone;
        const ZoneClock *offsets;
        QHash<qint64, QDateTime> made;
        QHash<qint64, QString> dayIds; // of all-day series: their dates
    };

    QString recurrenceId(qint64 ms);

    Event m_template;
    qint64 m_durationMs = 0;
    Representation *m_representation = nullptr;
    std::vector<std::unique_ptr<Representation>> m_representations;
    QHash<qint64, QString> m_recurrenceIds;
};
