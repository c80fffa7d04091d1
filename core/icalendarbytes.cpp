#include "icalendarbytes.h"

#include "icalendar_p.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ICalendar {

namespace {

// The five unassigned bytes keep their Latin-1 meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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

// The position after the line break at `at`.
qsizetype afterBreak(QByteArrayView bytes, qsizetype at)
{
    if (at < bytes.size() && bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
        return at + 2;
    return at + 1;
}

// withoutControls drops these; a decoded line holds neither CR nor LF.
bool isControl(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7f;
}

// What a stretch of bytes holds besides ASCII text.
struct Marks
{
    bool high = false; // bytes of 0x80 and above
    bool control = false; // characters withoutControls drops
};

// The first CR or LF at or after `from`, noting what comes before it.
qsizetype scanLine(QByteArrayView bytes, qsizetype from, Marks &marks)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
#ifdef __SSE2__
    // Sixteen bytes a step: most lines are dozens of plain ASCII bytes.
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), tab = _mm_set1_epi8('\t');
    const __m128i below = _mm_set1_epi8(0x1f), del = _mm_set1_epi8(0x7f);
    for (; from + 16 <= size; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + from));
        const int breaks = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        const __m128i low = _mm_andnot_si128(_mm_cmpeq_epi8(v, tab),
                                             _mm_cmpeq_epi8(_mm_subs_epu8(v, below), _mm_setzero_si128()));
        const int controls = _mm_movemask_epi8(_mm_or_si128(low, _mm_cmpeq_epi8(v, del)));
        const int high = _mm_movemask_epi8(v);
        const int before = breaks ? (1 << qCountTrailingZeroBits(unsigned(breaks))) - 1 : 0xffff;
        marks.high |= (high & before) != 0;
        marks.control |= (controls & before & ~breaks) != 0;
        if (breaks)
            return from + qCountTrailingZeroBits(unsigned(breaks));
    }
#endif
    for (; from < size && data[from] != '\n' && data[from] != '\r'; ++from) {
        const auto b = static_cast<unsigned char>(data[from]);
        marks.high |= b >= 0x80;
        marks.control |= isControl(data[from]);
    }
    return from;
}

// The unfolded line at `pos` (a break followed by a space or tab continues
// it) as its pieces, what they hold noted in `marks`; the position after it.
qsizetype unfoldedLine(QByteArrayView bytes, qsizetype pos, QVarLengthArray<QByteArrayView, 8> &pieces, Marks &marks)
{
    pieces.clear();
    qsizetype end = scanLine(bytes, pos, marks);
    qsizetype next = afterBreak(bytes, end);
    pieces.append(bytes.sliced(pos, end - pos));
    while (next < bytes.size() && (bytes[next] == ' ' || bytes[next] == '\t')) {
        end = scanLine(bytes, next + 1, marks);
        pieces.append(bytes.sliced(next + 1, end - next - 1));
        next = afterBreak(bytes, end);
    }
    return next;
}

// The pieces as one line: the only one, or joined in `buffer`. Joined before
// decoding: a fold may split a character.
QByteArrayView joinedLine(const QVarLengthArray<QByteArrayView, 8> &pieces, QByteArray &buffer)
{
    if (pieces.size() == 1)
        return pieces.front();
    buffer.resize(0);
    for (const QByteArrayView piece : pieces)
        buffer.append(piece);
    return buffer;
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
    if (Detail::isAscii(line)) {
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
    QVarLengthArray<QByteArrayView, 8> pieces;
    Marks marks;
    QByteArray joined;
    for (qsizetype pos = 0; pos < bytes.size();) {
        pos = unfoldedLine(bytes, pos, pieces, marks);
        tally.add(appendContentLine(result.text, joinedLine(pieces, joined)));
        result.text.append(QLatin1String("\r\n"));
    }
    result.repaired = tally.repaired();
    return result;
}

} // namespace ICalendar

namespace ICalendar::Detail {

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The lines decodeText makes: breaks are CR LF, LF or a lone CR, and one
// followed by a space or tab continues the line.
bool ByteLineReader::nextRaw()
{
    const QByteArrayView bytes = m_bytes;
    if (m_pos >= bytes.size())
        return false;
    Marks marks;
    m_pos = unfoldedLine(bytes, m_pos, m_pieces, marks);
    m_high = marks.high;
    m_control = marks.control;
    return true;
}

void ByteLineReader::appendClean()
{
    QString &out = m_keeping ? m_kept : m_scratch;
    const qsizetype from = out.size();
    if (!m_high) {
        for (const QByteArrayView piece : m_pieces)
            out.append(QLatin1String(piece.data(), piece.size()));
    } else {
        m_tally.add(appendContentLine(out, joinedLine(m_pieces, m_joined)));
    }
    if (m_control) {
        QChar *data = out.data();
        qsizetype kept = from;
        for (qsizetype i = from; i < out.size(); ++i) {
            const char16_t u = data[i].unicode();
            if ((u >= 0x20 || u == u'\t') && u != 0x7f)
                data[kept++] = data[i];
        }
        out.resize(kept);
    }
}

// Once its control characters are gone, the line read last starts with a
// space or tab: LineReader takes it as a continuation.
bool ByteLineReader::continues() const
{
    for (const QByteArrayView piece : m_pieces) {
        for (const char c : piece) {
            if (!isControl(c))
                return c == ' ' || c == '\t';
        }
    }
    return false;
}

bool ByteLineReader::next(QStringView *line)
{
    if (m_done)
        return false;
    QString &out = m_keeping ? m_kept : m_scratch;
    if (m_keeping)
        out.append(QLatin1String("\r\n")); // the end of the line before
    else
        out.resize(0);
    m_lineStart = out.size();
    if (!m_pending && !nextRaw()) {
        // decodeText ends every line with CR LF: the text ends in an empty line.
        m_done = true;
        *line = QStringView(out).mid(m_lineStart);
        return true;
    }
    appendClean();
    while ((m_pending = nextRaw()) && continues()) {
        const qsizetype at = out.size();
        appendClean();
        out.remove(at, 1);
    }
    *line = QStringView(out).mid(m_lineStart);
    return true;
}

void ByteLineReader::startKeeping(QLatin1String header)
{
    const QString &from = m_keeping ? m_kept : m_scratch;
    QString kept;
    kept.reserve(std::max<qsizetype>(m_reserve, header.size() + from.size() - m_lineStart));
    kept.append(header).append(QStringView(from).mid(m_lineStart));
    m_kept = std::move(kept);
    m_headerSize = header.size();
    m_lineStart = m_headerSize;
    m_keeping = true;
}

QString ByteLineReader::takeKept(const QString &insert, QLatin1String footer)
{
    m_keeping = false;
    m_kept.append(QLatin1String("\r\n")).append(footer);
    if (!insert.isEmpty())
        m_kept.insert(m_headerSize, insert);
    // Room for an item twice the size of this one, within reason: most of a
    // feed's items are alike.
    m_reserve = std::clamp<qsizetype>(m_kept.size() * 2, 2048, 65536);
    m_kept.squeeze(); // shrinks in place
    return std::exchange(m_kept, QString());
}

} // namespace ICalendar::Detail
