#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The half-open window [from, to) of a range query. Internal to the store
// library.
//
// Stored times carry "Z", "+hh:mm" or no suffix, so their text orders like
// their instants only to within the largest offset (14 h). A query compares
// the text with bounds widened by a day, which catches every candidate while
// still using the index, and decides on the parsed values here. Date-only
// values (all-day events, date-only due dates) are compared by the dates
// written in their text, which are the days they mean in every zone.
class TimeWindow
{
public:
    TimeWindow(const QDateTime &from, const QDateTime &to);

    bool isValid() const { return m_from.isValid() && m_to.isValid(); }
    // The bounds as UTC text, `days` wider than the window.
    QString lowerBoundText(int days = 1) const;
    QString upperBoundText(int days = 1) const;

    // from <= value < to.
    bool contains(const QDateTime &value) const;
    // The day is one of the window's days.
    bool containsDay(QDate day) const;
    // A span that starts before `to` and ends after `from`.
    bool overlaps(const QDateTime &start, const QDateTime &end) const;
    bool startsBeforeEnd(const QDateTime &start) const;
    bool startsBeforeEnd(qint64 startMsecsSinceEpoch) const { return startMsecsSinceEpoch < m_toMs; }
    // Days [first, end) that overlap the window's days.
    bool overlapsDays(QDate first, QDate end) const;

    const QDateTime &from() const { return m_from; }
    const QDateTime &to() const { return m_to; }
    // The days the window touches: [firstDay, endDay).
    QDate firstDay() const { return m_firstDay; }
    QDate endDay() const { return m_endDay; }

private:
    // Instants compared as milliseconds: comparing date-times of different
    // representations converts local time through the C library each time.
    QDateTime m_from;
    QDateTime m_to;
    qint64 m_fromMs;
    qint64 m_toMs;
    QDate m_firstDay;
    QDate m_endDay;
};
