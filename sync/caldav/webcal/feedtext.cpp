#include "feedtext.h"

namespace Webcal {

bool holdsCalendarData(const QByteArray &body)
{
    return body.contains("BEGIN:VCALENDAR") || body.toUpper().contains("BEGIN:VCALENDAR");
}

QString decodeFeed(const QByteArray &body)
{
    QByteArrayView bytes(body);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QByteArray joined;
    joined.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        // A line break followed by a space or tab continues the line.
        if (c == '\r' && i + 2 < bytes.size() && bytes.at(i + 1) == '\n'
            && (bytes.at(i + 2) == ' ' || bytes.at(i + 2) == '\t')) {
            i += 2;
            continue;
        }
        if (c == '\n' && i + 1 < bytes.size() && (bytes.at(i + 1) == ' ' || bytes.at(i + 1) == '\t')) {
            i += 1;
            continue;
        }
        joined.append(c);
    }
    return QString::fromUtf8(joined);
}

} // namespace Webcal
