#pragma once

#include <QByteArray>
#include <QString>

namespace Webcal {

// Whether a feed's body holds iCalendar data at all; an HTML error or a
// captive portal's page answered with 200 does not.
bool holdsCalendarData(const QByteArray &body);

// The body as text: a UTF-8 byte order mark dropped and folded lines joined
// before decoding, so a fold that splits a multi-byte character (producers
// fold at 75 octets, not characters) does not turn it into two replacement
// characters. LF-only line ends are accepted.
QString decodeFeed(const QByteArray &body);

} // namespace Webcal
