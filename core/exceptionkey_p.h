#pragma once

#include "zoneclock_p.h"

#include <QString>
#include <QStringView>

#include <optional>

// The rule of exceptionkey.h on instants and the clock a series keeps its
// wall clock in, for the expansion, which matches thousands of starts.
namespace ExceptionKey::Detail {

// A key read for one series: a civil day (days since 1970-01-01) or an
// instant (ms since the epoch).
struct Slot
{
    bool isDay = false;
    qint64 value = 0;

    friend bool operator==(const Slot &a, const Slot &b) { return a.isDay == b.isDay && a.value == b.value; }
};

std::optional<Slot> read(QStringView key, bool allDay, const ZoneClock &clock);

// The day an instant falls on in `clock`.
qint64 dayOf(qint64 ms, const ZoneClock &clock);

bool names(const Slot &slot, qint64 startMs, const ZoneClock &clock);

// The start a slot gives to a series whose starts lie `secondOfDay` into
// their day (a date key places the occurrence at the series' time of day).
qint64 startOf(const Slot &slot, qint64 secondOfDay, const ZoneClock &clock);

// The `n` decimal digits of `text` from `from` on; false at anything else.
bool readDigits(QStringView text, qsizetype from, qsizetype n, int &value);

// "yyyyMMdd" of a day.
QString dayText(qint64 day);

} // namespace ExceptionKey::Detail
