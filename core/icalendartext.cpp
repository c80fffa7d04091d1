#include "icalendar.h"
#include "icalendar_p.h"
#include "civildate_p.h"
#include "timeutil.h"

#include <algorithm>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ICalendar::Detail {

QStringView LineReader::piece(bool *crlf)
{
    const qsizetype start = m_pos;
    const qsizetype nl = m_text.indexOf(QLatin1Char('\n'), start);
    if (nl < 0) {
        m_pos = m_text.size() + 1;
        *crlf = false;
        return m_text.mid(start);
    }
    m_pos = nl + 1;
    qsizetype end = nl;
    *crlf = end > start && m_text.at(end - 1) == QLatin1Char('\r');
    if (*crlf)
        --end;
    return m_text.mid(start, end - start);
}

namespace {

// The first character of `data` at or after `from` that withoutControls may
// change: a control character other than tab and LF, CR included.
qsizetype firstControl(const char16_t *data, qsizetype from, qsizetype size)
{
#ifdef __SSE2__
    // Eight characters a step: a feed is megabytes of text with a control
    // character (its CR) every few dozen.
    const __m128i below = _mm_set1_epi16(0x1f);
    const __m128i del = _mm_set1_epi16(0x7f);
    const __m128i tab = _mm_set1_epi16(u'\t');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; from + 8 <= size; from += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + from));
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, below), _mm_setzero_si128());
        const __m128i allowed = _mm_or_si128(_mm_cmpeq_epi16(v, tab), _mm_cmpeq_epi16(v, lf));
        const __m128i control = _mm_or_si128(_mm_andnot_si128(allowed, low), _mm_cmpeq_epi16(v, del));
        if (_mm_movemask_epi8(control) != 0)
            break;
    }
#endif
    for (; from < size; ++from) {
        const char16_t c = data[from];
        if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0x7f)
            return from;
    }
    return size;
}

} // namespace

QString withoutControls(const QString &text)
{
    const auto forbidden = [](char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7f; };
    const qsizetype size = text.size();
    const QChar *data = text.constData();
    const char16_t *units = reinterpret_cast<const char16_t *>(data);
    qsizetype first = 0;
    for (; (first = firstControl(units, first, size)) < size; ++first) {
        const char16_t c = units[first];
        if (forbidden(c) || (c == u'\r' && (first + 1 == size || units[first + 1] != u'\n')))
            break;
    }
    if (first == size)
        return text;
    QString out;
    out.reserve(size);
    out.append(data, first);
    for (qsizetype i = first; i < size; ++i) {
        const char16_t c = data[i].unicode();
        if (forbidden(c))
            continue;
        if (c == u'\r' && (i + 1 == size || data[i + 1] != u'\n'))
            out.append(QLatin1Char('\n'));
        else
            out.append(data[i]);
    }
    return out;
}

bool LineReader::next(QStringView *line)
{
    if (m_pos > m_text.size())
        return false;
    m_lineStart = m_pos;
    bool crlf = false;
    QStringView current = piece(&crlf);
    bool folded = false;
    while (m_pos < m_text.size() && (m_text.at(m_pos) == QLatin1Char(' ') || m_text.at(m_pos) == QLatin1Char('\t'))) {
        if (!folded) {
            // Reused: a feed folds most of its long lines.
            m_folded.resize(0);
            m_folded.append(current);
            folded = true;
        }
        m_folded.append(piece(&crlf).mid(1));
    }
    m_verbatim = crlf && !folded;
    *line = folded ? QStringView(m_folded) : current;
    return true;
}

bool PropertyView::hasParam(QLatin1String upperKey) const
{
    for (const ParamView &p : params) {
        if (equalsUpper(p.name, upperKey))
            return true;
    }
    return false;
}

QStringView PropertyView::param(QLatin1String upperKey) const
{
    for (auto it = params.crbegin(); it != params.crend(); ++it) {
        if (equalsUpper(it->name, upperKey))
            return unquote(it->value);
    }
    return {};
}

QStringView unquote(QStringView value)
{
    if (value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'))
        return value.mid(1, value.size() - 2);
    return value;
}

PropertyView splitLine(QStringView line)
{
    PropertyView prop;
    bool quoted = false;
    qsizetype pieceStart = 0;
    qsizetype equals = -1; // the first "=" of the current piece
    bool haveName = false;
    auto closePiece = [&](qsizetype end) {
        if (!haveName) {
            prop.name = line.mid(pieceStart, end - pieceStart);
            haveName = true;
        } else if (equals > pieceStart) {
            prop.params.append({line.mid(pieceStart, equals - pieceStart), line.mid(equals + 1, end - equals - 1)});
        }
        pieceStart = end + 1;
        equals = -1;
    };
    const QChar *data = line.data();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = data[i].unicode();
        // Letters and most of what names and parameters hold come after
        // ";": one test for them.
        if (c > u';' && c != u'=')
            continue;
        if (c == u'=') {
            if (equals < 0)
                equals = i; // quoted or not, as a parameter's name ends
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u';') {
            closePiece(i);
        } else if (c == u':') {
            closePiece(i);
            prop.value = line.mid(i + 1);
            return prop;
        }
    }
    // No value separator: the whole line names the property.
    prop.name = line;
    prop.params.clear();
    return prop;
}

// Spans of UTC time over which a zone keeps one offset.
struct OffsetSpans
{
    struct Span
    {
        qint64 from; // ms since the epoch, inclusive
        qint64 to; // exclusive
        int offset; // seconds
    };
    QList<Span> spans;

    const Span *find(qint64 ms) const
    {
        for (const Span &s : spans) {
            if (s.from <= ms && ms < s.to)
                return &s;
        }
        return nullptr;
    }
};

const ZoneCache::Entry &ZoneCache::lookup(QStringView tzid)
{
    for (const Entry *recent : m_recent) {
        if (recent && recent->key == tzid)
            return *recent;
    }
    const QString key = tzid.toString();
    auto it = m_zones.find(key);
    if (it == m_zones.end()) {
        Entry entry = resolve(key);
        if (!entry.zone.isValid() && m_later) {
            defineFrom(std::exchange(m_later, {})());
            entry = resolve(key);
        }
        it = m_zones.insert(key, std::make_shared<Entry>(std::move(entry)));
    }
    const Entry *entry = it->get();
    m_recent[m_nextRecent] = entry;
    m_nextRecent = (m_nextRecent + 1) % kRecent;
    return *entry;
}

ZoneCache::Entry ZoneCache::resolve(const QString &key) const
{
    Entry entry;
    entry.key = key;
    entry.id = key;
    const QByteArray utf8 = key.toUtf8();
    QTimeZone zone(utf8);
    if (!zone.isValid()) {
        const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(utf8);
        if (!iana.isEmpty()) {
            zone = QTimeZone(iana);
            if (zone.isValid())
                entry.id = QString::fromLatin1(iana);
        }
    }
    entry.zone = zone;
    if (zone.isValid() && zone != QTimeZone::utc())
        entry.spans = std::make_shared<OffsetSpans>();
    if (!zone.isValid()) {
        const QString block = m_definitions.value(key);
        if (const std::optional<ZoneRules> rules = ZoneRules::fromVTimezone(block)) {
            entry.rules = std::make_shared<const ZoneClock>(ZoneClock::forRules(*rules));
            entry.definition = block;
        }
    }
    return entry;
}

void ZoneCache::defineFrom(QStringView text)
{
    forEachVTimezone(text, [this](const QString &tzid, const QString &block) {
        if (!m_definitions.contains(tzid))
            m_definitions.insert(tzid, block);
    });
}

void ZoneCache::defineLater(std::function<QString()> text)
{
    m_later = std::move(text);
}

namespace {

// The span of constant offset around `ms`, when the zone database gives one.
std::optional<OffsetSpans::Span> spanAround(const QTimeZone &zone, qint64 ms)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    const int offset = zone.offsetFromUtc(at);
    const QTimeZone::OffsetData before = zone.previousTransition(at);
    const QTimeZone::OffsetData after = zone.nextTransition(at);
    OffsetSpans::Span span{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), offset};
    if (before.atUtc.isValid())
        span.from = before.atUtc.toMSecsSinceEpoch();
    if (after.atUtc.isValid())
        span.to = after.atUtc.toMSecsSinceEpoch();
    // `ms` itself may be a transition that neither call names: then the
    // offsets at the two ends differ, and the span is not one.
    if (span.from >= span.to
        || (before.atUtc.isValid() && zone.offsetFromUtc(before.atUtc) != offset)
        || (after.atUtc.isValid() && zone.offsetFromUtc(after.atUtc.addMSecs(-1)) != offset))
        return std::nullopt;
    return span;
}

} // namespace

QDateTime ZoneCache::Entry::fromWallClock(QDate date, QTime time, qint64 wall) const
{
    if (rules) {
        const qint64 wallSeconds = QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
        const qint64 at = rules->toUtc(wallSeconds);
        return QDateTime::fromSecsSinceEpoch(at, Qt::OffsetFromUTC, int(rules->toLocal(at) - at));
    }
    if (!spans || !date.isValid() || !time.isValid())
        return TimeUtil::inZone(date, time, zone);
    // TimeUtil::inZone reads a wall clock by the offsets a day either side
    // of it; where both lie in one span of the zone, that span's offset it is.
    constexpr qint64 day = 86'400'000;
    const OffsetSpans::Span *span = spans->find(wall);
    if (!span) {
        // Bounded: a hostile text may name every year of a zone's rules.
        const std::optional<OffsetSpans::Span> found = spanAround(zone, wall);
        if (found && spans->spans.size() < 64) {
            spans->spans.append(*found);
            span = &spans->spans.last();
        }
    }
    if (span && span->from <= wall - day && wall + day < span->to)
        return QDateTime::fromMSecsSinceEpoch(wall - span->offset * 1000LL, zone);
    return TimeUtil::inZone(date, time, zone);
}

QDateTime ZoneCache::Entry::wallClock(const QDateTime &when) const
{
    if (!rules)
        return when.toTimeZone(zone);
    return QDateTime::fromSecsSinceEpoch(rules->toLocal(when.toSecsSinceEpoch()), Qt::UTC);
}

namespace {

// Reads `count` decimal digits at `pos`; -1 when any is not a digit.
int digits(QStringView s, qsizetype pos, int count)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = s.at(pos + i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// A calendar date of `s` (yyyyMMdd) as days since 1970-01-01; none when
// QDate would not take it.
std::optional<qint64> readDays(QStringView s)
{
    const int y = digits(s, 0, 4), m = digits(s, 4, 2), d = digits(s, 6, 2);
    if (!CivilDate::isValid(y, m, d))
        return std::nullopt;
    return CivilDate::daysFromCivil(y, m, d);
}

} // namespace

// Instants are made from milliseconds: the same values QDateTime(date, time,
// Qt::UTC) gives, without the calendar's checks for every value of a feed.
DateValue readDateValue(QStringView value, QStringView tzid, ZoneCache *zones)
{
    constexpr qint64 msPerDay = CivilDate::secondsPerDay * 1000;
    DateValue out;
    if (value.size() == 8 && !value.contains(QLatin1Char('T'))) {
        out.isDate = true;
        if (const std::optional<qint64> days = readDays(value))
            out.dateTime = QDateTime::fromMSecsSinceEpoch(*days * msPerDay, Qt::UTC);
        return out;
    }
    QStringView body = value;
    if (body.endsWith(QLatin1Char('Z'))) {
        out.isUtc = true;
        body.chop(1);
    }
    if (body.size() != 15 || body.at(8) != QLatin1Char('T'))
        return out;
    const std::optional<qint64> days = readDays(body);
    const int h = digits(body, 9, 2), mi = digits(body, 11, 2), sec = digits(body, 13, 2);
    if (!days || h < 0 || mi < 0 || sec < 0 || !QTime::isValid(h, mi, sec))
        return out;
    const qint64 wall = *days * msPerDay + (h * 3600 + mi * 60 + sec) * 1000LL;
    if (out.isUtc) {
        out.dateTime = QDateTime::fromMSecsSinceEpoch(wall, Qt::UTC);
        return out;
    }
    const QDate date = QDate::fromJulianDay(*days + 2440588);
    const QTime time(h, mi, sec);
    if (!tzid.isEmpty()) {
        ZoneCache local;
        const ZoneCache::Entry &zone = (zones ? zones : &local)->lookup(tzid);
        if (zone.isKnown()) {
            out.dateTime = zone.fromWallClock(date, time, wall);
            return out;
        }
    }
    // Floating: the system's wall clock, read like a zoned one (a value in a
    // DST gap moves forward instead of becoming invalid).
    out.isFloating = true;
    out.dateTime = TimeUtil::inZone(date, time, QTimeZone());
    return out;
}

std::optional<qint64> readDuration(QStringView value, bool allowSign)
{
    qint64 sign = 1;
    if (allowSign && !value.isEmpty() && (value.front() == QLatin1Char('-') || value.front() == QLatin1Char('+'))) {
        sign = value.front() == QLatin1Char('-') ? -1 : 1;
        value = value.mid(1);
    }
    if (value.isEmpty() || value.front() != QLatin1Char('P'))
        return std::nullopt;
    // Numbers and the sum are held below these, so that a value of thousands
    // of designators cannot overflow; nothing real comes near them.
    constexpr qint64 kMaxNumber = 1'000'000'000;
    constexpr qint64 kMaxTotal = 1'000'000'000'000; // some 30,000 years
    qint64 total = 0;
    qint64 number = 0;
    bool afterT = false;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            number = std::min(number * 10 + (c.unicode() - u'0'), kMaxNumber);
            continue;
        }
        if (c == QLatin1Char('T')) {
            afterT = true;
            continue;
        }
        switch (c.unicode()) {
        case u'W': total += number * 604800; break;
        case u'D': total += number * 86400; break;
        case u'M': total += number * (afterT ? 60 : 2592000); break;
        case u'H': total += afterT ? number * 3600 : 0; break;
        case u'S': total += afterT ? number : 0; break;
        default: break;
        }
        total = std::min(total, kMaxTotal);
        number = 0;
    }
    return sign * total;
}

std::optional<int> reminderMinutes(const PropertyView &trigger)
{
    const QStringView related = trigger.param(QLatin1String("RELATED"));
    const QStringView type = trigger.param(QLatin1String("VALUE"));
    if (!related.isEmpty() && !equalsUpper(related, QLatin1String("START")))
        return std::nullopt;
    if (!type.isEmpty() && !equalsUpper(type, QLatin1String("DURATION")))
        return std::nullopt;
    const std::optional<qint64> offset = readDuration(trigger.value.trimmed(), true);
    if (!offset)
        return std::nullopt;
    // Symmetric, so that callers may negate it.
    constexpr qint64 most = std::numeric_limits<int>::max();
    return int(std::clamp<qint64>(-*offset / 60, -most, most));
}

namespace {

// `text` with every `escape` + c whose `meaning(c)` is not null replaced by
// that meaning; an escape before anything else, or last, stays as written.
template<typename Meaning>
QString resolveEscapes(QStringView text, QChar escape, Meaning meaning)
{
    qsizetype at = text.indexOf(escape);
    if (at < 0)
        return text.toString();
    // Never longer than the text: written in place, then cut to size.
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    qsizetype copied = 0;
    const auto copy = [&](qsizetype end) {
        std::copy(text.data() + copied, text.data() + end, dst);
        dst += end - copied;
    };
    for (; at >= 0 && at + 1 < text.size(); at = text.indexOf(escape, at + 1)) {
        const QChar resolved = meaning(text.at(at + 1));
        if (resolved.isNull())
            continue;
        copy(at);
        *dst++ = resolved;
        copied = at + 2;
        ++at; // the escaped character is not an escape itself
    }
    copy(text.size());
    out.truncate(dst - out.constData());
    return out;
}

} // namespace

QString unescape(QStringView text)
{
    return resolveEscapes(text, QLatin1Char('\\'), [](QChar n) {
        if (n == QLatin1Char(',') || n == QLatin1Char(';') || n == QLatin1Char('\\'))
            return n;
        return n == QLatin1Char('n') || n == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : QChar();
    });
}

QString unescapeParam(QStringView text)
{
    return resolveEscapes(text, QLatin1Char('^'), [](QChar n) {
        if (n == QLatin1Char('n') || n == QLatin1Char('N'))
            return QChar(QLatin1Char('\n'));
        if (n == QLatin1Char('\''))
            return QChar(QLatin1Char('"'));
        return n == QLatin1Char('^') ? n : QChar();
    });
}

qsizetype indexOfUnescapedComma(QStringView text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        else if (text.at(i) == QLatin1Char(','))
            return i;
    }
    return -1;
}

void stripControlCharacters(QString &text)
{
    const auto forbidden = [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t' && u != u'\r' && u != u'\n') || u == 0x7f;
    };
    if (std::any_of(text.cbegin(), text.cend(), forbidden))
        text.removeIf(forbidden);
}

QString escapeText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\\': out.append(QLatin1String("\\\\")); break;
        case u';': out.append(QLatin1String("\\;")); break;
        case u',': out.append(QLatin1String("\\,")); break;
        case u'\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
            break;
        case u'\n': out.append(QLatin1String("\\n")); break;
        default: out.append(c); break;
        }
    }
    return out;
}

QString paramValue(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    bool needsQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'^': out.append(QLatin1String("^^")); break;
        case u'"': out.append(QLatin1String("^'")); break;
        case u'\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("^n"));
            break;
        case u'\n': out.append(QLatin1String("^n")); break;
        case u';':
        case u':':
        case u',':
            needsQuotes = true;
            out.append(c);
            break;
        default: out.append(c); break;
        }
    }
    if (needsQuotes) {
        out.prepend(QLatin1Char('"'));
        out.append(QLatin1Char('"'));
    }
    return out;
}

QDate allDayEndDate(const QDateTime &start, const std::optional<QDateTime> &end)
{
    const QDate first = start.date();
    QDate last;
    if (end && end->isValid()) {
        last = end->date();
        if (end->time() != QTime(0, 0))
            last = last.addDays(1);
    }
    if (!last.isValid() || last <= first)
        last = first.addDays(1);
    return last;
}

} // namespace ICalendar::Detail

namespace ICalendar {

using namespace Detail;

QStringList unfoldLines(const QString &text)
{
    QStringList lines;
    LineReader reader(text);
    QStringView line;
    while (reader.next(&line))
        lines.append(line.toString());
    return lines;
}

Property splitProperty(const QString &line)
{
    const PropertyView view = splitLine(line);
    Property prop;
    prop.name = view.name.toString().toUpper();
    for (const ParamView &p : view.params)
        prop.params.insert(p.name.toString().toUpper(), p.value.toString());
    prop.value = view.value.toString();
    return prop;
}

QString unescapeText(const QString &text)
{
    return unescape(text);
}

QDateTime parseDateTime(const QString &value, const QHash<QString, QString> &params, bool *isDate)
{
    const QString tzid = params.value(QStringLiteral("TZID"));
    const DateValue v = readDateValue(value, unquote(tzid), nullptr);
    if (isDate)
        *isDate = v.isDate;
    return v.dateTime;
}

} // namespace ICalendar
