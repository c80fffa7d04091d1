#include "icalendarbytes.h"

#include <QByteArray>
#include <QStringDecoder>

namespace ICalendar {

namespace {

// The five unassigned bytes keep their Latin-1 meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Names of encodings that browsers read as Windows-1252 (WHATWG), as feeds
// served with them are written.
bool isWindows1252(QByteArrayView name)
{
    static const char *const names[] = {"windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1",
                                        "latin1",       "l1",     "us-ascii", "ascii",      "iso_8859-1"};
    for (const char *n : names) {
        if (name.compare(n, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

qsizetype lineEnd(QByteArrayView bytes, qsizetype from)
{
    while (from < bytes.size() && bytes[from] != '\n' && bytes[from] != '\r')
        ++from;
    return from;
}

// The position after the line break at `at`.
qsizetype afterBreak(QByteArrayView bytes, qsizetype at)
{
    if (at < bytes.size() && bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
        return at + 2;
    return at + 1;
}

} // namespace

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

LineEncoding appendContentLine(QString &out, QByteArrayView line)
{
    if (isAscii(line)) {
        out.append(QLatin1String(line.data(), line.size()));
        return LineEncoding::Ascii;
    }
    // Stateless: a sequence cut off at the line's end is an error here.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (!utf8.hasError()) {
        out.append(text);
        return LineEncoding::Utf8;
    }
    appendWindows1252(out, line);
    return LineEncoding::Windows1252;
}

DecodedText decodeText(QByteArrayView bytes, QByteArrayView charset)
{
    DecodedText result;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
        charset = {};
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        result.text = utf16.decode(bytes.sliced(2));
        return result;
    }
    const QByteArrayView name = QByteArrayView(charset).trimmed();
    if (!name.isEmpty() && name.compare("utf-8", Qt::CaseInsensitive) != 0
        && name.compare("utf8", Qt::CaseInsensitive) != 0) {
        if (isWindows1252(name)) {
            appendWindows1252(result.text, bytes);
            return result;
        }
        QStringDecoder named(name.toByteArray().constData());
        if (named.isValid()) {
            result.text = named.decode(bytes);
            return result;
        }
    }
    result.text.reserve(bytes.size());
    LineTally tally;
    QByteArray joined;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = lineEnd(bytes, pos);
        qsizetype next = afterBreak(bytes, end);
        QByteArrayView line = bytes.sliced(pos, end - pos);
        // A break followed by a space or tab continues the line.
        if (next < bytes.size() && (bytes[next] == ' ' || bytes[next] == '\t')) {
            joined = line.toByteArray();
            while (next < bytes.size() && (bytes[next] == ' ' || bytes[next] == '\t')) {
                end = lineEnd(bytes, next + 1);
                joined.append(bytes.sliced(next + 1, end - next - 1));
                next = afterBreak(bytes, end);
            }
            line = joined;
        }
        tally.add(appendContentLine(result.text, line));
        result.text.append(QLatin1String("\r\n"));
        pos = next;
    }
    result.repaired = tally.repaired();
    return result;
}

} // namespace ICalendar
