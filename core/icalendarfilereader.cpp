#include "icalendarfilereader.h"

#include "icalendar.h"
#include "icalendar_p.h"

#include <QIODevice>

namespace {

using namespace ICalendar::Detail;

constexpr qint64 kChunk = 256 * 1024;

// Windows-1252 at 0x80-0x9F; the rest of the byte range is Latin-1. The five
// unassigned bytes keep their Latin-1 meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendWindows1252(QString &out, QByteArrayView bytes)
{
    const qsizetype from = out.size();
    out.resize(from + bytes.size());
    char16_t *dst = reinterpret_cast<char16_t *>(out.data()) + from;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
    }
}

} // namespace

ICalendarFileReader::ICalendarFileReader(QIODevice *device)
    : m_device(device)
{
}

ICalendarFileReader::Encoding ICalendarFileReader::sniff()
{
    const QByteArray head = m_device->peek(3);
    if (head.startsWith("\xEF\xBB\xBF")) {
        m_device->skip(3);
        m_bytesRead = 3;
        return Encoding::Utf8;
    }
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        m_device->skip(2);
        m_bytesRead = 2;
        return head.at(0) == '\xFF' ? Encoding::Utf16LE : Encoding::Utf16BE;
    }
    // Without a mark: one pass to see whether every sequence is UTF-8, since
    // a Windows-1252 file may hold its first accented letter anywhere.
    if (m_device->isSequential())
        return Encoding::Utf8;
    QStringDecoder check(QStringConverter::Utf8);
    QString scratch;
    bool valid = true;
    while (valid) {
        const QByteArray chunk = m_device->read(kChunk);
        if (chunk.isEmpty())
            break;
        scratch.resize(check.requiredSpace(chunk.size()));
        check.appendToBuffer(scratch.data(), chunk);
        valid = !check.hasError();
    }
    // A sequence cut off by the end of the file counts as invalid, too.
    if (valid) {
        scratch.resize(check.requiredSpace(0));
        check.appendToBuffer(scratch.data(), QByteArrayView());
        valid = !check.hasError();
    }
    m_device->seek(0);
    return valid ? Encoding::Utf8 : Encoding::Windows1252;
}

void ICalendarFileReader::start()
{
    m_started = true;
    m_encoding = sniff();
    switch (m_encoding) {
    case Encoding::Utf8: m_decoder = QStringDecoder(QStringConverter::Utf8); break;
    case Encoding::Utf16LE: m_decoder = QStringDecoder(QStringConverter::Utf16LE); break;
    case Encoding::Utf16BE: m_decoder = QStringDecoder(QStringConverter::Utf16BE); break;
    case Encoding::Windows1252: break;
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
    // Drop what the lines handed out so far have used; they are views into
    // the buffer only until the next call.
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    if (m_encoding == Encoding::Windows1252)
        appendWindows1252(m_buffer, chunk);
    else
        m_buffer.append(m_decoder.decode(chunk));
    return true;
}

bool ICalendarFileReader::readLine(QStringView *line)
{
    // Where the search for the line's end goes on after a refill, so that a
    // long line is not searched again from its start with every chunk.
    qsizetype end = m_pos;
    for (;;) {
        const qsizetype size = m_buffer.size();
        const QChar *data = m_buffer.constData();
        while (end < size && data[end] != u'\n' && data[end] != u'\r')
            ++end;
        // A CR last in the buffer may be the first half of a CR LF.
        const bool complete = end < size && (data[end] == u'\n' || end + 1 < size);
        if (!complete) {
            const qsizetype consumed = m_pos;
            if (fill()) {
                end -= consumed; // fill() dropped what came before m_pos
                continue;
            }
            if (m_pos >= m_buffer.size())
                return false;
        }
        *line = QStringView(m_buffer).mid(m_pos, end - m_pos);
        qsizetype next = end;
        if (next < m_buffer.size())
            next += m_buffer.at(next) == u'\r' && next + 1 < m_buffer.size() && m_buffer.at(next + 1) == u'\n' ? 2 : 1;
        m_pos = next;
        return true;
    }
}

QList<Event> ICalendarFileReader::next(int batchSize)
{
    if (!m_started)
        start();
    QString batch;
    int items = 0;
    QStringView line;
    bool more = true;
    while (items < batchSize && (more = readLine(&line))) {
        const bool continuation = !line.isEmpty() && (line.front() == u' ' || line.front() == u'\t');
        if (!continuation && line == QLatin1String("BEGIN:VEVENT")) {
            if (m_inEvent)
                ++m_skipped.missingEnd;
            m_inEvent = true;
            m_item.clear();
        } else if (!m_inEvent) {
            if (!continuation && line == QLatin1String("BEGIN:VTIMEZONE"))
                m_inZone = true;
            else if (!continuation && !m_inZone && line == QLatin1String("BEGIN:VTODO"))
                ++m_tasks;
            if (m_inZone) {
                m_zones.append(line).append(kCrlf);
                m_inZone = continuation || line != QLatin1String("END:VTIMEZONE");
            }
            continue;
        } else if (!continuation && line == QLatin1String("END:VCALENDAR")) {
            ++m_skipped.missingEnd;
            m_inEvent = false;
            continue;
        }
        m_item.append(line).append(kCrlf);
        if (!continuation && line == QLatin1String("END:VEVENT")) {
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
    QList<Event> events = ICalendar::parseEvents(kCalendarHeader + m_zones + batch + kCalendarFooter);
    m_skipped.withoutUid += items - int(events.size());
    return events;
}
