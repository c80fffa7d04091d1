#pragma once

#include "event.h"
#include "task.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Which occurrence of a series an exception key names: the recurrence id of
// an override, an EXDATE or an RDATE value, in the forms the store holds
// ("yyyyMMdd", UTC "yyyyMMddTHHmmssZ", floating "yyyyMMddTHHmmss"). Every
// comparison of keys with occurrences goes through here.
//
// An all-day series repeats on dates, so both sides are dates: a date key as
// written, a floating key by its written date, a UTC key by its UTC date (one
// at some zone's midnight, as earlier versions stored keys of series held at
// the machine's midnight, by the date it is midnight of there). An
// occurrence's date is its start's date in the series' own representation.
//
// A timed series: a UTC key names the occurrence that starts at that instant,
// a floating key the one at that wall clock in the series' zone (never the
// machine's), and a date key the occurrence on that date in the series' zone.
namespace ExceptionKey {

// Whether `key` names the occurrence of `series` that starts at `start`.
bool names(const Event &series, QStringView key, const QDateTime &start);

// The key this system stores for the occurrence of `series` at `start`: its
// date for an all-day series, its UTC start otherwise.
QString of(const Event &series, const QDateTime &start);

// The start of the occurrence `key` names, in the representation of the
// series' start; null when the key cannot be read. A date key of a timed
// series gives the series' first start on that date, or its start's wall
// clock on that date when the rule has none there.
QDateTime startOf(const Event &series, QStringView key);

// `key` in the form of() gives for the occurrence it names; unreadable keys
// are returned as written.
QString normalized(const Event &series, QStringView key);

// Whether one of `keys` names the occurrence `key` names.
bool listed(const Event &series, const QStringList &keys, QStringView key);

// The rule of `series` as the series needs it: an all-day series' UTC UNTIL
// (as clients that give every end a time write it, at their midnight)
// becomes the date it names, read as a UTC key is, since an all-day series
// repeats on dates and RFC 5545 wants its UNTIL a date; other rules as
// written.
QString datedRule(const Event &series);
// The same for the rule of an all-day series held as the store holds one.
QString datedRule(const QString &allDayRule);
// The same for a task that repeats on dates: its due, else its start, is one.
QString datedRule(const Task &task);

// Gives each override among `rows` the normalized key of the occurrence it
// names in its series among `rows` (same UID, no recurrence id), so that
// rows read together are stored in one form; others stay as they are.
void normalizeOverrides(QList<Event> &rows);

} // namespace ExceptionKey
