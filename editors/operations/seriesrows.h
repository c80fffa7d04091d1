#pragma once

#include "event.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class EventRepository;

namespace SeriesRows {

// The live override rows of a series (same calendar, its uid as master uid),
// with their reminders and attendees; none for a row without a uid.
QList<Event> liveOverrides(EventRepository *events, const Event &series);

// The values of a stored EXDATE or RDATE list: a JSON array, or a plain
// comma list as older rows hold it.
QStringList dateValues(const QString &stored);
// Values as the store holds them: a compact JSON array, empty for none.
QString storedDates(const QStringList &values);

} // namespace SeriesRows

// `rule` ending at `cutoff`: COUNT dropped, UNTIL (in place, or appended)
// set to the cutoff in UTC "yyyyMMddTHHmmssZ", or to its date "yyyyMMdd" for
// an all-day series. Other parts stay as written.
QString endSeriesBefore(const QString &rule, const QDateTime &cutoff, bool allDay = false);
