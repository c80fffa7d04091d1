#include "feedtext.h"

#include "icalendar.h"
#include "icalendarbytes.h"

#include <QList>

namespace Webcal {

bool holdsCalendarData(const QByteArray &body)
{
    return body.contains("BEGIN:VCALENDAR") || body.toUpper().contains("BEGIN:VCALENDAR");
}

QList<Event> parseFeedEvents(const QByteArray &body, const QByteArray &charset)
{
    const QByteArray name = charset.trimmed().toLower();
    // UTF-8 is read a line at a time: a large feed is not held twice more
    // as one converted text.
    if (name.isEmpty() || name == "utf-8" || name == "utf8")
        return ICalendar::parseEventBytes(body);
    return ICalendar::parseEvents(ICalendar::decodeText(body, charset).text);
}

QByteArray charsetOf(const QByteArray &contentType)
{
    // text/calendar; charset="windows-1252"; method=PUBLISH
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray part = parts.at(i).trimmed();
        const qsizetype equals = part.indexOf('=');
        if (equals < 0 || part.left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = part.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

} // namespace Webcal
