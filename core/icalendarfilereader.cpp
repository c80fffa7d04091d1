#include "icalendarfilereader.h"

#include "icalendar.h"
#include "icalendar_p.h"

#include <QIODevice>
#include <QSet>

namespace {

using namespace ICalendar::Detail;

constexpr qint64 kChunk = 256 * 1024;

// The byte after a line break at `at` (CR LF, LF or a lone CR).
qsizetype afterBreak(const char *data, qsizetype size, qsizetype at)
{
    return at + (data[at] == '\r' && at + 1 < size && data[at + 1] == '\n' ? 2 : 1);
}

// What an override's key is read by, of a series' stored text (a calendar
// of its own): the zone only the file defines and the VEVENT's UID, start
// and rule, so that a file of many series is not held whole.
QByteArray seriesKeyText(QStringView raw)
{
    raw = raw.sliced(kCalendarHeader.size(), raw.size() - kCalendarHeader.size() - kCalendarFooter.size());
    const qsizetype event = raw.indexOf(QLatin1String("BEGIN:VEVENT\r\n"), 0, Qt::CaseInsensitive);
    if (event < 0)
        return raw.toUtf8();
    QString text = raw.left(event).toString();
    int depth = 0;
    for (QStringView line : raw.sliced(event).split(u"\r\n", Qt::SkipEmptyParts)) {
        const PropertyView prop = splitLine(line);
        if (prop.is(QLatin1String("END")))
            --depth;
        // The VEVENT's own BEGIN and END, and of its properties those.
        const bool kept = depth == 0
            || (depth == 1
                && (prop.is(QLatin1String("UID")) || prop.is(QLatin1String("DTSTART"))
                    || prop.is(QLatin1String("RRULE")) || prop.is(QLatin1String("RDATE"))));
        if (kept)
            text.append(line).append(QLatin1String("\r\n"));
        if (prop.is(QLatin1String("BEGIN")))
            ++depth;
    }
    return text.toUtf8();
}

} // namespace

ICalendarFileReader::ICalendarFileReader(QIODevice *device)
    : m_device(device)
{
}

void ICalendarFileReader::start()
{
    m_started = true;
    const QByteArray head = m_device->peek(3);
    if (head.startsWith("\xEF\xBB\xBF")) {
        m_device->skip(3);
        m_bytesRead = 3;
    } else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        m_device->skip(2);
        m_bytesRead = 2;
        m_utf16 = true;
        m_decoder = QStringDecoder(head.at(0) == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    }
}

bool ICalendarFileReader::fill()
{
    if (m_deviceDone)
        return false;
    const QByteArray chunk = m_device->read(kChunk);
    if (chunk.isEmpty()) {
        m_deviceDone = true;
        // read() gives -1 (an empty array) on an error as well as at the end.
        m_failed = !m_device->atEnd();
        return false;
    }
    m_bytesRead += chunk.size();
    // Drop what the lines handed out so far have used.
    m_bytes.remove(0, m_pos);
    m_pos = 0;
    // UTF-16 goes on as UTF-8, so that lines are found in bytes alike.
    if (m_utf16)
        m_bytes.append(QString(m_decoder.decode(chunk)).toUtf8());
    else
        m_bytes.append(chunk);
    return true;
}

bool ICalendarFileReader::readLine(QByteArrayView *line)
{
    // Where the search for the line's end goes on after a refill, so that a
    // long line is not searched again from its start with every chunk.
    qsizetype end = m_pos;
    for (;;) {
        const qsizetype size = m_bytes.size();
        const char *data = m_bytes.constData();
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        // The byte after the break tells whether the next line continues
        // this one; a CR last in the buffer may be the first half of CR LF.
        const qsizetype next = end < size ? afterBreak(data, size, end) : end;
        if ((next >= size || (data[end] == '\r' && end + 1 >= size)) && !m_deviceDone) {
            const qsizetype consumed = m_pos;
            if (fill()) {
                end -= consumed; // fill() dropped what came before m_pos
                continue;
            }
        }
        if (m_pos >= size)
            return false;
        if (next < size && (data[next] == ' ' || data[next] == '\t')) {
            end = next + 1;
            continue;
        }
        QByteArrayView bytes(data + m_pos, end - m_pos);
        if (bytes.contains('\n') || bytes.contains('\r')) {
            // Unfolded in bytes: a fold may split a multi-byte character.
            m_joined.clear();
            for (qsizetype i = 0; i < bytes.size(); ++i) {
                if (bytes[i] == '\r' || bytes[i] == '\n')
                    i = afterBreak(bytes.data(), bytes.size(), i); // at the space or tab
                else
                    m_joined.append(bytes[i]);
            }
            bytes = m_joined;
        }
        // Lines of plain ASCII, nearly all of them, are compared as bytes;
        // the others as the text they decode to.
        m_line.clear();
        m_lineDecoded = !ICalendar::Detail::isAscii(bytes);
        if (m_lineDecoded)
            m_tally.add(ICalendar::appendContentLine(m_line, bytes));
        *line = bytes;
        m_pos = std::min(next, size);
        return true;
    }
}

// Component names are case-insensitive: "begin:vevent" is an event too.
bool ICalendarFileReader::isLine(QByteArrayView line, QLatin1String expected) const
{
    if (m_lineDecoded)
        return QStringView(m_line).compare(expected, Qt::CaseInsensitive) == 0;
    return line.size() == expected.size()
        && line.compare(QByteArrayView(expected.data(), expected.size()), Qt::CaseInsensitive) == 0;
}

QList<Event> ICalendarFileReader::next(int batchSize)
{
    if (!m_started)
        start();
    QByteArray batch;
    int items = 0;
    QByteArrayView line;
    bool more = true;
    while (items < batchSize && (more = readLine(&line))) {
        const bool continuation = !line.isEmpty() && (line.front() == ' ' || line.front() == '\t');
        if (!continuation && isLine(line, QLatin1String("BEGIN:VEVENT"))) {
            if (m_inEvent)
                ++m_skipped.missingEnd;
            m_inEvent = true;
            m_item.clear();
        } else if (!m_inEvent) {
            if (!continuation
                && (isLine(line, QLatin1String("BEGIN:VCALENDAR")) || isLine(line, QLatin1String("END:VCALENDAR"))))
                m_calendarOpen = isLine(line, QLatin1String("BEGIN:VCALENDAR"));
            if (!continuation && isLine(line, QLatin1String("BEGIN:VTIMEZONE")))
                m_inZone = true;
            else if (!continuation && !m_inZone && isLine(line, QLatin1String("BEGIN:VTODO")))
                ++m_tasks;
            if (m_inZone) {
                m_zones.append(line).append("\r\n");
                m_inZone = continuation || !isLine(line, QLatin1String("END:VTIMEZONE"));
            }
            continue;
        } else if (!continuation && isLine(line, QLatin1String("END:VCALENDAR"))) {
            ++m_skipped.missingEnd;
            m_inEvent = false;
            m_calendarOpen = false;
            continue;
        }
        m_item.append(line).append("\r\n");
        if (!continuation && isLine(line, QLatin1String("END:VEVENT"))) {
            batch.append(m_item);
            ++items;
            m_inEvent = false;
        }
    }
    if (!more) {
        m_atEnd = true;
        if (m_inEvent)
            ++m_skipped.cutShort;
        m_inEvent = false;
        m_item.clear();
    }
    if (items == 0)
        return {};
    // The header and the zones make the batch read as the whole file would.
    // Its lines are unfolded already, each ended by CR LF: read as bytes,
    // they decode to the text they were read from.
    QByteArray text;
    text.reserve(kCalendarHeader.size() + m_zones.size() + batch.size() + kCalendarFooter.size());
    text.append(kCalendarHeader.data(), kCalendarHeader.size()).append(m_zones).append(batch);
    text.append(kCalendarFooter.data(), kCalendarFooter.size());
    QList<Event> events = ICalendar::parseEventBytes(text);
    m_skipped.withoutUid += items - int(events.size());
    // An override keys its occurrence by its series (a midnight of another
    // zone names a day of an all-day series): a series an earlier batch
    // held is read again ahead of the batch, and its event dropped again.
    const auto isSeries = [](const Event &e) {
        return e.recurrence_id.isEmpty() && (!e.recurrence_rule.isEmpty() || !e.recurrence_dates.isEmpty());
    };
    QSet<QString> here;
    for (const Event &e : std::as_const(events)) {
        if (isSeries(e))
            here.insert(e.uid);
    }
    QByteArray earlier;
    int earlierEvents = 0;
    for (const Event &e : std::as_const(events)) {
        const auto series = m_series.constFind(e.uid);
        if (e.recurrence_id.isEmpty() || here.contains(e.uid) || series == m_series.cend())
            continue;
        here.insert(e.uid);
        earlier += *series;
        ++earlierEvents;
    }
    for (const Event &e : std::as_const(events)) {
        const QString &raw = e.raw_icalendar;
        if (isSeries(e) && raw.startsWith(kCalendarHeader) && raw.endsWith(kCalendarFooter))
            m_series.insert(e.uid, seriesKeyText(raw));
    }
    if (earlierEvents > 0) {
        text.insert(kCalendarHeader.size() + m_zones.size(), earlier);
        QList<Event> again = ICalendar::parseEventBytes(text);
        // Only ever the batch's own events with better keys.
        if (again.size() == events.size() + earlierEvents)
            events = again.mid(earlierEvents);
    }
    return events;
}
