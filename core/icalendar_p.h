#pragma once

// Mechanics of the iCalendar text shared by the reader and the writers: line
// unfolding, quote-aware splitting, date values and durations. Views point
// into the caller's text; nothing here copies a line unless it was folded.

#include <QDateTime>
#include <QHash>
#include <QLatin1String>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimeZone>
#include <QVarLengthArray>

#include "icalendarbytes.h"
#include "zoneclock_p.h"

#include <functional>
#include <memory>
#include <optional>

namespace ICalendar::Detail {

inline const QLatin1String
    kCalendarHeader("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarten//Calendar Desktop//EN\r\n");
inline const QLatin1String kCalendarFooter("END:VCALENDAR\r\n");
inline const QLatin1String kCrlf("\r\n");

// `text` equals `upper` (upper-case ASCII) ignoring case. Read for nearly every
// line of large feeds: ASCII text is compared here, anything else by Qt's
// Unicode case folding.
inline bool equalsUpper(QStringView text, QLatin1String upper)
{
    if (text.size() != upper.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t e = char16_t(uchar(upper.data()[i]));
        if (c == e)
            continue;
        if (c >= 0x80)
            return text.compare(upper, Qt::CaseInsensitive) == 0;
        if (e < u'A' || e > u'Z' || c != e + 0x20)
            return false;
    }
    return true;
}

// Walks the unfolded lines of a text. Lines split at "\r?\n", empty ones kept;
// a following line starting with a space or tab continues the current one.
class LineReader
{
public:
    explicit LineReader(QStringView text)
        : m_text(text)
    {
    }
    // The view stays valid until the next call.
    bool next(QStringView *line);
    // Where the last line began in the text, and where the next one begins.
    qsizetype lineStart() const { return m_lineStart; }
    qsizetype position() const { return qMin(m_pos, m_text.size()); }
    // The last line is the text from lineStart() to position() less its
    // CR LF: it was not folded and ended in CR LF.
    bool lineIsVerbatim() const { return m_verbatim; }

private:
    QStringView piece(bool *crlf);

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_lineStart = 0;
    bool m_verbatim = false;
    QString m_folded;
};

// No byte of `bytes` is outside ASCII.
bool isAscii(QByteArrayView bytes);

// Walks the content lines of iCalendar bytes as LineReader walks
// withoutControls(decodeText(bytes).text), decoding a line at a time instead
// of the whole text: each line UTF-8 when valid, else Windows-1252 (counted
// in tally()). No byte-order mark or other encoding is read here.
class ByteLineReader
{
public:
    explicit ByteLineReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    // The view stays valid until the next call.
    bool next(QStringView *line);
    const LineTally &tally() const { return m_tally; }

    // From the line handed out last on, lines are kept after `header`, each
    // ended by CR LF, until takeKept(): an item's text is decoded once, into
    // the string it is stored in.
    void startKeeping(QLatin1String header);
    // The kept text with `insert` after its header and `footer` at its end.
    QString takeKept(const QString &insert, QLatin1String footer);
    void stopKeeping() { m_keeping = false; }

private:
    // The next line's bytes, in pieces when folded, and what they hold.
    bool nextRaw();
    void appendClean();
    bool continues() const;

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_pending = false; // the pieces are of the line after the one handed out
    bool m_done = false;
    QVarLengthArray<QByteArrayView, 8> m_pieces;
    bool m_high = false; // bytes of 0x80 and above
    bool m_control = false; // characters withoutControls drops
    QByteArray m_joined;
    QString m_scratch; // lines not kept
    QString m_kept;
    bool m_keeping = false;
    qsizetype m_headerSize = 0;
    qsizetype m_lineStart = 0; // of the last line, in m_kept or m_scratch
    qsizetype m_reserve = 2048; // what the next kept text starts with
    LineTally m_tally;
};

// `text` without the control characters a content line may not hold (all
// of U+0000-U+001F but tab, and U+007F), a lone CR taken as a line end.
// Shares `text` when there is nothing to change.
QString withoutControls(const QString &text);

struct ParamView
{
    QStringView name;
    QStringView value; // as written
};

struct PropertyView
{
    QStringView name; // as written; compare with is()
    QVarLengthArray<ParamView, 8> params; // attendees have five or six
    QStringView value;

    bool is(QLatin1String upperName) const { return equalsUpper(name, upperName); }
    bool hasParam(QLatin1String upperKey) const;
    // The last parameter of that name, one pair of surrounding quotes removed.
    QStringView param(QLatin1String upperKey) const;
};

// ";" and ":" inside double quotes do not separate.
PropertyView splitLine(QStringView line);

QStringView unquote(QStringView value);

struct OffsetSpans;

// Resolves TZID texts to zones once per parse run: IANA ids first, then
// Windows zone names (as Outlook writes them), then the VTIMEZONE components
// of the text being read, for names no zone database knows.
class ZoneCache
{
public:
    struct Entry
    {
        QString key; // the TZID as written
        QTimeZone zone; // invalid when unknown
        QString id; // the IANA id when resolved, else the text as written
        // A zone only the text defines: its rules and its VTIMEZONE block.
        std::shared_ptr<const ZoneClock> rules;
        QString definition;

        // Offsets met so far in `zone`, so that most wall clocks are read
        // without asking the zone database; shared by copies.
        std::shared_ptr<OffsetSpans> spans;

        bool isKnown() const { return zone.isValid() || rules; }
        // The instant of a wall clock (gaps and repeated times as
        // TimeUtil::inZone reads them): in the zone, or at its offset then.
        // `wallMs`: the wall clock as if it were UTC.
        QDateTime fromWallClock(QDate date, QTime time, qint64 wallMs) const;
        // `when` as the zone's wall clock (its date() and time()).
        QDateTime wallClock(const QDateTime &when) const;
    };
    // Learns the VTIMEZONE components of `text`; earlier lookups stay.
    void defineFrom(QStringView text);
    // The same, read only once a TZID the zone database lacks is looked up:
    // most texts name known zones only.
    void defineLater(std::function<QString()> text);
    const Entry &lookup(QStringView tzid);

private:
    Entry resolve(const QString &key) const;

    QHash<QString, std::shared_ptr<Entry>> m_zones;
    QHash<QString, QString> m_definitions; // TZID -> VTIMEZONE block
    std::function<QString()> m_later;
    // The last lookups, found again without a key made for the hash.
    static constexpr int kRecent = 4;
    const Entry *m_recent[kRecent] = {};
    int m_nextRecent = 0;
};

// Hands every VTIMEZONE block of `text` (BEGIN to END, CR LF line ends,
// unfolded) with its TZID to `visit`.
void forEachVTimezone(QStringView text, const std::function<void(const QString &tzid, const QString &block)> &visit);
// The VTIMEZONE block of `text` with that TZID; empty when there is none.
QString vtimezoneBlock(QStringView text, QStringView tzid);

struct DateValue
{
    QDateTime dateTime; // null when unreadable
    bool isDate = false;
    bool isUtc = false;
    bool isFloating = false; // no "Z" and no zone the system knows
};

// `tzid` unquoted; `zones` may be null (resolve without caching).
DateValue readDateValue(QStringView value, QStringView tzid, ZoneCache *zones);

// EXDATE/RDATE values in the forms the recurrence expansion reads: dates
// "yyyyMMdd", UTC and zoned values as "yyyyMMddTHHmmssZ", floating values (no
// zone, or one the system lacks) as "yyyyMMddTHHmmss"; beside them the same
// for an all-day series, where a zoned value names the date written. `seen`
// holds what `values` holds, so that 100,000 values are not compared with
// each other.
struct DateList
{
    QStringList values;
    QStringList allDayValues;
    QSet<QString> seen;

    void clear()
    {
        values.clear();
        allDayValues.clear();
        seen.clear();
    }
    QStringList forSeries(bool allDay) const
    {
        if (!allDay)
            return values;
        QStringList days = allDayValues;
        days.removeDuplicates();
        return days;
    }
};

// Adds the values of an EXDATE or RDATE line to `list`.
void collectDates(const PropertyView &prop, ZoneCache &zones, DateList *list);

// DURATION in seconds; `allowSign` accepts a leading "+" or "-" (TRIGGER).
// Without it a signed value gives 0. A month counts as 30 days.
std::optional<qint64> readDuration(QStringView value, bool allowSign);

// The minutes before the start of a TRIGGER relative to it (negative: after
// it), held within ±INT_MAX; none for absolute or end-related triggers. Alarms
// with such a trigger are reminders.
std::optional<int> reminderMinutes(const PropertyView &trigger);

QString unescape(QStringView text);
// A parameter value with its RFC 6868 escapes (^n, ^', ^^) resolved.
QString unescapeParam(QStringView text);
qsizetype indexOfUnescapedComma(QStringView text, qsizetype from);

// TEXT value escaping: backslash, ";", ",", and every line break (CR LF, LF or
// a lone CR) as "\n".
// Removes what RFC 5545 TEXT never holds: the control characters other than
// tab (line breaks of the content lines themselves stay).
void stripControlCharacters(QString &text);
QString escapeText(QStringView text);

// A parameter value ready to write: RFC 6868 "^" escapes for quotes and line
// breaks, double quotes around values holding ";", ":" or ",".
QString paramValue(QStringView text);

// The exclusive end date of an all-day span: the end's own date, the next day
// when the end has a time of day, and at least the day after the start.
QDate allDayEndDate(const QDateTime &start, const std::optional<QDateTime> &end);

// A VTIMEZONE for `zone` whose yearly rules follow the transitions of
// `referenceYear`; one STANDARD observance for zones without daylight saving.
QString vtimezone(const QTimeZone &zone, int referenceYear);

} // namespace ICalendar::Detail
