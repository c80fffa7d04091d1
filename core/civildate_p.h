#pragma once

#include <QtGlobal>

// Proleptic Gregorian calendar arithmetic on plain day numbers (days since
// 1970-01-01). Recurrence expansion walks thousands of candidate days per
// view reload; QDate's accessors convert from the Julian day on every call,
// these do it once per day and never allocate.
namespace CivilDate {

struct Ymd
{
    int year = 1970;
    int month = 1;
    int day = 1;
};

constexpr qint64 secondsPerDay = 86400;

constexpr qint64 floorDiv(qint64 a, qint64 b)
{
    return (a >= 0 ? a : a - b + 1) / b;
}

constexpr qint64 floorMod(qint64 a, qint64 b)
{
    return a - floorDiv(a, b) * b;
}

constexpr bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int daysInMonth(int y, int m)
{
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : lengths[m - 1];
}

// A day QDate and the calendar take: years from 1 on.
constexpr bool isValid(int y, int m, int d)
{
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

constexpr int daysInYear(int y)
{
    return isLeapYear(y) ? 366 : 365;
}

// H. Hinnant's days_from_civil / civil_from_days.
constexpr qint64 daysFromCivil(int y, int m, int d)
{
    const qint64 yy = qint64(y) - (m <= 2 ? 1 : 0);
    const qint64 era = floorDiv(yy, 400);
    const qint64 yoe = yy - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr Ymd civilFromDays(qint64 z)
{
    z += 719468;
    const qint64 era = floorDiv(z, 146097);
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    return Ymd{int(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}

// ISO weekday, 1 = Monday ... 7 = Sunday; day 0 was a Thursday.
constexpr int weekday(qint64 days)
{
    return int(floorMod(days + 3, 7)) + 1;
}

} // namespace CivilDate
