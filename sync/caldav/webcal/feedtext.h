#pragma once

#include "event.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Webcal {

// Whether a feed's body holds iCalendar data at all; an HTML error or a
// captive portal's page answered with 200 does not.
bool holdsCalendarData(const QByteArray &body);

// The body's events, decoded as the file import decodes (ICalendar::
// decodeText): a byte order mark first, then `charset` (the Content-Type's),
// else UTF-8 line by line with Windows-1252 for a line that is not UTF-8.
// Folded lines are joined before decoding, so a fold that splits a
// multi-byte character (producers fold at 75 octets, not characters) keeps
// it. LF-only line ends are accepted.
QList<Event> parseFeedEvents(const QByteArray &body, const QByteArray &charset = {});

// The charset parameter of a Content-Type value, unquoted; empty when none.
QByteArray charsetOf(const QByteArray &contentType);

} // namespace Webcal
