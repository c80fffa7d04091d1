#pragma once

#include "zonerules.h"

#include <QTimeZone>

#include <memory>
#include <vector>

// Converts between UTC instants and the wall clock of one zone, in whole
// seconds. A local time that does not exist (a DST gap) is read with the
// offset before the gap (02:30 becomes 03:30) and one that occurs twice means
// its first occurrence, as RFC 5545 says and TimeUtil::inZone reads them, so
// that zoned EXDATE and RECURRENCE-ID values meet the starts made here.
//
// Transitions are fetched from the zone once for a span around the times asked
// for, so converting thousands of occurrence starts costs a binary search each.
class ZoneClock
{
public:
    static ZoneClock fixedOffset(int offsetSeconds);
    static ZoneClock forZone(const QTimeZone &zone);
    // A zone defined by its own VTIMEZONE rules.
    static ZoneClock forRules(const ZoneRules &rules);
    // The system zone, which QDateTime's local time follows.
    static ZoneClock systemLocal();

    qint64 toUtc(qint64 localSeconds) const;
    qint64 toLocal(qint64 utcSeconds) const;
    // Whether the wall clock lies less than a gap's length after a DST gap,
    // where a wall clock the gap skipped lands when read: the same instant
    // then has a second reading (02:30 and 03:30 for a one-hour gap).
    bool followsGap(qint64 localSeconds) const;

private:
    struct Transition
    {
        qint64 atUtc;
        int offsetBefore;
        int offsetAfter;
    };

    void cover(qint64 fromUtc, qint64 toUtc) const;
    int offsetAt(qint64 utcSeconds) const;

    QTimeZone m_zone;
    std::shared_ptr<const ZoneRules> m_rules; // instead of m_zone
    int m_fixedOffset = 0;
    bool m_fixed = true;
    // The fetched span and what it holds; extended on demand.
    mutable bool m_covered = false;
    mutable qint64 m_coveredFrom = 0;
    mutable qint64 m_coveredTo = 0;
    mutable int m_offsetBeforeFirst = 0;
    mutable std::vector<Transition> m_transitions;
};
