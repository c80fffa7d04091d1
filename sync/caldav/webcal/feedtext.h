#pragma once

#include "event.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Webcal {

// Whether a feed's body holds iCalendar data at all; an HTML error or a
// captive portal's page answered with 200 does not.
bool holdsCalendarData(const QByteArray &body);

// Whether the last VCALENDAR the body begins is also ended: a feed cut short
// in transfer (a connection closed early, with no length to tell) is not.
// What follows the END:VCALENDAR line does not count. Like
// holdsCalendarData, it reads the lines as ASCII.
bool endsItsCalendar(const QByteArray &body);

// The body's events, decoded as the file import decodes (ICalendar::
// decodeText): a byte order mark first, then `charset` (the Content-Type's),
// else UTF-8 line by line with Windows-1252 for a line that is not UTF-8.
// The label yields to the bytes: a body that is valid UTF-8 with characters
// beyond ASCII is UTF-8 whatever it says (servers label everything
// ISO-8859-1), and a label under which the body holds no calendar is wrong.
// Folded lines are joined before decoding, so a fold that splits a
// multi-byte character (producers fold at 75 octets, not characters) keeps
// it. LF-only line ends are accepted.
QList<Event> parseFeedEvents(const QByteArray &body, const QByteArray &charset = {});

// The charset parameter of a Content-Type value, unquoted; empty when none.
QByteArray charsetOf(const QByteArray &contentType);

} // namespace Webcal
