#include "timeutil.h"

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
    case Qt::UTC:
        return QTimeZone::utc();
    case Qt::OffsetFromUTC:
        return QTimeZone(dt.offsetFromUtc());
    case Qt::TimeZone:
        return dt.timeZone();
    case Qt::LocalTime:
    default:
        return QTimeZone::systemTimeZone();
    }
}

QDateTime inZone(QDate date, QTime time, const QTimeZone &zone)
{
    if (zone == QTimeZone::utc())
        return QDateTime(date, time, Qt::UTC);
    const bool local = !zone.isValid();
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

QDateTime toSameRepresentation(const QDateTime &dt, const QDateTime &like)
{
    switch (like.timeSpec()) {
    case Qt::UTC:
        return dt.toUTC();
    case Qt::OffsetFromUTC:
        return dt.toOffsetFromUtc(like.offsetFromUtc());
    case Qt::TimeZone:
        return dt.toTimeZone(like.timeZone());
    case Qt::LocalTime:
    default:
        return dt.toLocalTime();
    }
}

QDateTime withWallClockIn(const QDateTime &dt, const QTimeZone &zone)
{
    return inZone(dt.date(), dt.time(), zone);
}

QDateTime inZoneOf(QDate date, QTime time, const QDateTime &like)
{
    switch (like.timeSpec()) {
    case Qt::UTC:
        return QDateTime(date, time, Qt::UTC);
    case Qt::OffsetFromUTC:
        return QDateTime(date, time, Qt::OffsetFromUTC, like.offsetFromUtc());
    case Qt::TimeZone:
        return inZone(date, time, like.timeZone());
    case Qt::LocalTime:
    default:
        return inZone(date, time, QTimeZone());
    }
}

bool isUtc(const QDateTime &dt)
{
    return dt.timeSpec() == Qt::UTC
        || (dt.timeSpec() == Qt::OffsetFromUTC && dt.offsetFromUtc() == 0);
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

QDateTime fromStorage(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    // SQLite's own "YYYY-MM-DD HH:MM:SS" is UTC; ISO wants the "T".
    if (t.size() == 19 && t.at(10) == QLatin1Char(' ')) {
        QString iso = t;
        iso[10] = QLatin1Char('T');
        const QDateTime local = QDateTime::fromString(iso, Qt::ISODate);
        return local.isValid() ? utc(local.date(), local.time()) : QDateTime();
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

} // namespace TimeUtil
