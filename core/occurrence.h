#pragma once

#include "event.h"

#include <QDateTime>
#include <QString>

#include <optional>

// One occurrence as an expansion places it, without a copy of its row: the
// row it comes from and its span. A one-off or an override is its own row; an
// occurrence a series makes has its start and end in the representation of
// the series' start (UTC, offset, zone or local time) and its recurrence id
// made when asked. Valid while the rows it was expanded from are.
class Occurrence
{
public:
    Occurrence() = default;
    static Occurrence ofRow(const Event &row);
    // `startOffset` and `endOffset` are the offsets (seconds) a start held
    // at an offset shows at those instants.
    static Occurrence ofSeries(const Event &series, qint64 startMs, qint64 endMs, int startOffset, int endOffset);
    // The occurrence at `slotMs` as an override for it and later ones places
    // it: the override's row with that span, at `offset` when held at one.
    static Occurrence ofShifted(const Event &row, qint64 slotMs, qint64 startMs, qint64 endMs, int offset);

    // The row: the series itself for an occurrence a series makes.
    const Event &event() const { return *m_event; }
    // Made from a series' rule or dates rather than a row of its own.
    bool isGenerated() const { return m_generated; }
    // The start instant; the least qint64 for a row without a valid start.
    qint64 startMs() const { return m_startMs; }
    // The end instant: the start's for a row without a valid end.
    qint64 endMs() const { return m_endMs; }
    QDateTime start() const;
    std::optional<QDateTime> end() const;
    QString recurrenceId() const;
    // The full record: the row, or a copy of the series with this start,
    // end and recurrence id.
    Event toEvent() const;

    // "yyyyMMddTHHmmssZ" of an instant.
    static QString recurrenceIdAt(qint64 ms);

private:
    QDateTime at(qint64 ms, int offset) const;

    const Event *m_event = nullptr;
    qint64 m_startMs = 0;
    qint64 m_endMs = 0;
    qint64 m_slotMs = 0; // the start the recurrence id names
    int m_startOffset = 0;
    int m_endOffset = 0;
    bool m_generated = false;
};
