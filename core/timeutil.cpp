#include "timeutil.h"

#include "civildate_p.h"

namespace {

// RFC 5545 3.3.5: a wall clock that a DST gap skips is read with the offset
// before the gap (02:30 becomes 03:30), where QDateTime of Qt 6.4 gives an
// invalid value; one that occurs twice means its first occurrence, where
// QDateTime takes the later one.
qint64 wallClockToUtc(qint64 wallMs, const QTimeZone &zone)
{
    constexpr qint64 day = 86'400'000;
    const QDateTime dayBefore = QDateTime::fromMSecsSinceEpoch(wallMs - day, Qt::UTC);
    const int before = zone.offsetFromUtc(dayBefore);
    const int after = zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(wallMs + day, Qt::UTC));
    const qint64 withBefore = wallMs - before * 1000LL;
    if (before == after)
        return withBefore;
    const QTimeZone::OffsetData next = zone.nextTransition(dayBefore);
    if (!next.atUtc.isValid())
        return withBefore;
    const qint64 change = next.atUtc.toMSecsSinceEpoch();
    if (withBefore < change)
        return withBefore;
    const qint64 withAfter = wallMs - after * 1000LL;
    return withAfter >= change ? withAfter : withBefore;
}

} // namespace

namespace TimeUtil {

QTimeZone representation(const QDateTime &dt)
{
    switch (dt.timeSpec()) {
    case Qt::UTC: return QTimeZone::utc();
    case Qt::OffsetFromUTC: return QTimeZone(dt.offsetFromUtc());
    case Qt::TimeZone: return dt.timeZone();
    case Qt::LocalTime:
    default: return QTimeZone::systemTimeZone();
    }
}

QDateTime inZone(QDate date, QTime time, const QTimeZone &zone)
{
    const bool local = !zone.isValid();
    if (!local && zone == QTimeZone::utc())
        return QDateTime(date, time, Qt::UTC);
    if (!date.isValid() || !time.isValid())
        return local ? QDateTime(date, time, Qt::LocalTime) : QDateTime(date, time, zone);
    const qint64 ms = wallClockToUtc(QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch(),
                                     local ? QTimeZone::systemTimeZone() : zone);
    return local ? QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime) : QDateTime::fromMSecsSinceEpoch(ms, zone);
}

QDateTime utc(QDate date, QTime time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime placedStart(const QDateTime &start, bool dateOnly)
{
    return dateOnly ? start.date().startOfDay() : start;
}

QDateTime toSameRepresentation(const QDateTime &dt, const QDateTime &like)
{
    switch (like.timeSpec()) {
    case Qt::UTC: return dt.toUTC();
    case Qt::OffsetFromUTC: return dt.toOffsetFromUtc(like.offsetFromUtc());
    case Qt::TimeZone: return dt.toTimeZone(like.timeZone());
    case Qt::LocalTime:
    default: return dt.toLocalTime();
    }
}

QDateTime withWallClockIn(const QDateTime &dt, const QTimeZone &zone)
{
    return inZone(dt.date(), dt.time(), zone);
}

QDateTime inZoneOf(QDate date, QTime time, const QDateTime &like)
{
    switch (like.timeSpec()) {
    case Qt::UTC: return QDateTime(date, time, Qt::UTC);
    case Qt::OffsetFromUTC: return QDateTime(date, time, Qt::OffsetFromUTC, like.offsetFromUtc());
    case Qt::TimeZone: return inZone(date, time, like.timeZone());
    case Qt::LocalTime:
    default: return inZone(date, time, QTimeZone());
    }
}

QDateTime zoned(const QDateTime &dt)
{
    if (dt.timeSpec() != Qt::LocalTime || !dt.isValid())
        return dt;
    const QTimeZone system = QTimeZone::systemTimeZone();
    // A system zone Qt cannot name still has an offset at that instant.
    return system.isValid() ? dt.toTimeZone(system) : dt.toOffsetFromUtc(dt.offsetFromUtc());
}

QDateTime toZone(const QDateTime &dt, const QTimeZone &zone)
{
    if (!zone.isValid())
        return zoned(dt);
    return zone == QTimeZone::utc() ? dt.toUTC() : dt.toTimeZone(zone);
}

QString zoneName(const QDateTime &dt, const QString &named)
{
    const QString utcName = QStringLiteral("UTC");
    if (!named.isEmpty() && named != utcName)
        return named;
    QByteArray id;
    if (dt.timeSpec() == Qt::TimeZone)
        id = dt.timeZone().id();
    else if (dt.timeSpec() == Qt::LocalTime && QTimeZone::systemTimeZone().isValid())
        id = QTimeZone::systemTimeZoneId();
    return id.isEmpty() ? utcName : QString::fromUtf8(id);
}

bool isNamedZone(const QTimeZone &zone)
{
    return zone.isValid() && !zone.id().startsWith("UTC");
}

bool isUtc(const QDateTime &dt)
{
    return dt.timeSpec() == Qt::UTC || (dt.timeSpec() == Qt::OffsetFromUTC && dt.offsetFromUtc() == 0);
}

QString toIcalUtc(const QDateTime &dt)
{
    if (!dt.isValid())
        return QString();
    return dt.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString toIcalDate(QDate date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QDateTime fromIcalUtc(const QString &text)
{
    if (text.size() != 16 || !text.endsWith(QLatin1Char('Z')))
        return QDateTime();
    const QDate date = QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(text.mid(9, 6), QStringLiteral("HHmmss"));
    if (!date.isValid() || !time.isValid() || text.at(8) != QLatin1Char('T'))
        return QDateTime();
    return utc(date, time);
}

QString toStorage(const QDateTime &dt)
{
    if (!dt.isValid())
        return QString();
    return dt.toString(Qt::ISODate);
}

namespace {

// One code unit of any of the views a QAnyStringView holds.
constexpr char32_t unit(QChar c)
{
    return c.unicode();
}
constexpr char32_t unit(QLatin1Char c)
{
    return uchar(c.toLatin1());
}
constexpr char32_t unit(char c)
{
    return uchar(c);
}

template<typename View>
bool hasAt(View text, qsizetype at, char32_t c)
{
    return unit(text[at]) == c;
}

// The ASCII digits at [at, at + length) as a number; -1 when one is not a
// digit.
template<typename View>
int digitsAt(View text, qsizetype at, int length)
{
    int value = 0;
    for (qsizetype i = at; i < at + length; ++i) {
        const char32_t digit = unit(text[i]) - U'0';
        if (digit > 9)
            return -1;
        value = value * 10 + int(digit);
    }
    return value;
}

// "yyyy-MM-dd" at the start of the text; invalid when it is not there.
template<typename View>
QDate leadingDate(View text)
{
    if (text.size() < 10 || !hasAt(text, 4, U'-') || !hasAt(text, 7, U'-'))
        return QDate();
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 1 || month < 0 || day < 0)
        return QDate();
    return QDate(year, month, day);
}

// The forms toStorage writes ("yyyy-MM-ddTHH:mm:ss", optionally ".zzz", then
// "Z", "+hh:mm" or nothing) and SQLite's "yyyy-MM-dd HH:mm:ss", read without
// Qt's general ISO 8601 parser, which costs a few microseconds a value: too
// much for lists of thousands of rows. The values are built as the general
// reading builds them. An invalid result means "not one of these forms, or
// not a valid value": the caller then reads it the general way.
template<typename View>
QDateTime storedForm(View text)
{
    const qsizetype size = text.size();
    if (size < 19 || !hasAt(text, 13, U':') || !hasAt(text, 16, U':'))
        return QDateTime();
    if (!hasAt(text, 4, U'-') || !hasAt(text, 7, U'-'))
        return QDateTime();
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (!CivilDate::isValid(year, month, day) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0
        || second > 59)
        return QDateTime();
    // A value in UTC or at an offset is its instant: counted directly
    // rather than through a date and a time, as most stored values are read.
    // An offset of 0 is UTC, as QDateTime makes it.
    const auto atOffset = [&](int ms, int offset) {
        const qint64 seconds = CivilDate::daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second
            - offset;
        return offset == 0 ? QDateTime::fromMSecsSinceEpoch(seconds * 1000 + ms, Qt::UTC)
                           : QDateTime::fromMSecsSinceEpoch(seconds * 1000 + ms, Qt::OffsetFromUTC, offset);
    };
    // SQLite's datetime('now') writes UTC; read straight as UTC, never
    // through local time, which would move a value in a local DST gap.
    if (hasAt(text, 10, U' '))
        return size == 19 ? atOffset(0, 0) : QDateTime();
    if (!hasAt(text, 10, U'T'))
        return QDateTime();
    qsizetype at = 19;
    int ms = 0;
    if (size >= 23 && hasAt(text, 19, U'.')) {
        ms = digitsAt(text, 20, 3);
        if (ms < 0)
            return QDateTime();
        at = 23;
    }
    const qsizetype suffix = size - at;
    if (suffix == 1)
        return hasAt(text, at, U'Z') ? atOffset(ms, 0) : QDateTime();
    if (suffix == 0)
        return inZone(QDate(year, month, day), QTime(hour, minute, second, ms), QTimeZone());
    const bool east = hasAt(text, at, U'+');
    if (suffix != 6 || (!east && !hasAt(text, at, U'-')) || !hasAt(text, at + 3, U':'))
        return QDateTime();
    const int offsetHours = digitsAt(text, at + 1, 2);
    const int offsetMinutes = digitsAt(text, at + 4, 2);
    if (offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 || offsetMinutes > 59)
        return QDateTime();
    const int offset = (offsetHours * 60 + offsetMinutes) * 60;
    return atOffset(ms, east ? offset : -offset);
}

// Every other text, read through Qt::ISODate.
QDateTime fromStorageByQt(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    // SQLite's own "YYYY-MM-DD HH:MM:SS" is UTC; ISO wants the "T".
    if (t.size() == 19 && t.at(10) == QLatin1Char(' ')) {
        QString iso = t;
        iso[10] = QLatin1Char('T');
        return QDateTime::fromString(iso + QLatin1Char('Z'), Qt::ISODate);
    }
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (dt.isValid() && dt.timeSpec() != Qt::LocalTime)
        return dt;
    // No suffix: a local wall clock, read as inZone reads one. QDateTime would
    // take the later of a repeated one and give nothing for one in a gap (a
    // value written before the system zone changed).
    const QDateTime wall = QDateTime::fromString(t + QLatin1Char('Z'), Qt::ISODate);
    if (wall.isValid())
        return inZone(wall.date(), wall.time(), QTimeZone());
    const QDate d = QDate::fromString(t, Qt::ISODate);
    return d.isValid() ? inZone(d, QTime(0, 0), QTimeZone()) : QDateTime();
}

} // namespace

QDateTime fromStorage(QAnyStringView text)
{
    const QDateTime stored = text.visit([](auto view) { return storedForm(view); });
    return stored.isValid() ? stored : fromStorageByQt(text.toString());
}

QDate storedDate(QAnyStringView text)
{
    const QDate date = text.visit([](auto view) { return leadingDate(view); });
    return date.isValid() ? date : QDate::fromString(text.toString().left(10), Qt::ISODate);
}

} // namespace TimeUtil
