#include "feedtext.h"

#include "icalendar.h"
#include "icalendarbytes.h"

#include <QList>

#include <algorithm>

namespace Webcal {

bool holdsCalendarData(const QByteArray &body)
{
    return body.contains("BEGIN:VCALENDAR") || body.toUpper().contains("BEGIN:VCALENDAR");
}

namespace {

bool isLine(QByteArrayView line, const char *text)
{
    const qsizetype size = qsizetype(qstrlen(text));
    return line.size() == size && qstrnicmp(line.data(), size, text, size) == 0;
}

bool isUtf8BeyondAscii(const QByteArray &body)
{
    const bool beyondAscii =
        std::any_of(body.cbegin(), body.cend(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return beyondAscii && body.isValidUtf8();
}

} // namespace

bool endsItsCalendar(const QByteArray &body)
{
    // From the end: the whole feed's last line is its END:VCALENDAR.
    const QByteArrayView text(body);
    qsizetype end = text.size();
    while (end > 0) {
        const qsizetype start = text.lastIndexOf('\n', end - 1) + 1;
        const QByteArrayView line = text.sliced(start, end - start).trimmed();
        if (isLine(line, "END:VCALENDAR"))
            return true;
        if (isLine(line, "BEGIN:VCALENDAR"))
            return false;
        end = start - 1;
    }
    return false;
}

QList<Event> parseFeedEvents(const QByteArray &body, const QByteArray &charset)
{
    const QByteArray name = charset.trimmed().toLower();
    // UTF-8 is read a line at a time: a large feed is not held twice more
    // as one converted text.
    if (name.isEmpty() || name == "utf-8" || name == "utf8" || isUtf8BeyondAscii(body))
        return ICalendar::parseEventBytes(body);
    const QString text = ICalendar::decodeText(body, charset).text;
    if (!text.contains(QLatin1String("BEGIN:VCALENDAR"), Qt::CaseInsensitive))
        return ICalendar::parseEventBytes(body);
    return ICalendar::parseEvents(text);
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
