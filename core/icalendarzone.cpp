#include "icalendar_p.h"
#include "timeutil.h"

// Other clients need a VTIMEZONE for every TZID they are sent. The system zone
// database has no rule text, so the yearly rule is recovered from the two
// transitions of one year ("last Sunday of March at 02:00").

namespace ICalendar::Detail {

namespace {

QString offsetText(int seconds)
{
    const QChar sign = seconds < 0 ? QLatin1Char('-') : QLatin1Char('+');
    seconds = std::abs(seconds);
    QString out = sign
        + QStringLiteral("%1%2")
              .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
              .arg((seconds % 3600) / 60, 2, 10, QLatin1Char('0'));
    if (seconds % 60)
        out += QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return out;
}

// The date of the `ordinal`-th (or last, for -1) `weekday` of `month` in `year`.
QDate nthWeekday(int year, int month, int weekday, int ordinal)
{
    if (ordinal < 0) {
        QDate d(year, month, QDate(year, month, 1).daysInMonth());
        return d.addDays(-((d.dayOfWeek() - weekday + 7) % 7));
    }
    const QDate first(year, month, 1);
    return first.addDays((weekday - first.dayOfWeek() + 7) % 7 + 7 * (ordinal - 1));
}

const char *const kDayCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

void observance(QString &out, bool daylight, int offsetFrom, int offsetTo, const QString &name, const QString &dtstart,
                const QString &rrule)
{
    const QLatin1String kind = daylight ? QLatin1String("DAYLIGHT") : QLatin1String("STANDARD");
    out += QLatin1String("BEGIN:") + kind + kCrlf;
    out += QLatin1String("TZOFFSETFROM:") + offsetText(offsetFrom) + kCrlf;
    out += QLatin1String("TZOFFSETTO:") + offsetText(offsetTo) + kCrlf;
    if (!name.isEmpty())
        out += QLatin1String("TZNAME:") + name + kCrlf;
    out += QLatin1String("DTSTART:") + dtstart + kCrlf;
    if (!rrule.isEmpty())
        out += QLatin1String("RRULE:") + rrule + kCrlf;
    out += QLatin1String("END:") + kind + kCrlf;
}

} // namespace

void forEachVTimezone(QStringView text, const std::function<void(const QString &, const QString &)> &visit)
{
    // Large feeds hold thousands of events and a few zones: only the zones'
    // stretches of the text are read line by line, each once (zones do not
    // nest, and a text that opens thousands before one end must not cost
    // their square).
    const QLatin1String begin("BEGIN:VTIMEZONE"), end("END:VTIMEZONE");
    qsizetype last = 0;
    for (qsizetype from = text.indexOf(begin, 0, Qt::CaseInsensitive); from >= 0;
         from = text.indexOf(begin, last + end.size(), Qt::CaseInsensitive)) {
        last = text.indexOf(end, from, Qt::CaseInsensitive);
        if (last < 0)
            return;
        LineReader reader(text.mid(from, last + end.size() - from));
        QStringView line;
        QString block, tzid;
        int depth = 0;
        while (reader.next(&line)) {
            const PropertyView prop = splitLine(line);
            block.append(line).append(kCrlf);
            if (prop.is(QLatin1String("BEGIN")))
                ++depth;
            else if (prop.is(QLatin1String("END")))
                --depth;
            else if (depth == 1 && prop.is(QLatin1String("TZID")))
                tzid = unescape(prop.value);
        }
        if (!tzid.isEmpty())
            visit(tzid, block);
    }
}

QString vtimezoneBlock(QStringView text, QStringView tzid)
{
    QString found;
    if (!text.contains(QLatin1String("VTIMEZONE"), Qt::CaseInsensitive))
        return found;
    forEachVTimezone(text, [&](const QString &id, const QString &block) {
        if (found.isEmpty() && id == tzid)
            found = block;
    });
    return found;
}

QString vtimezone(const QTimeZone &zone, int referenceYear)
{
    QString out = QLatin1String("BEGIN:VTIMEZONE\r\nTZID:") + QString::fromLatin1(zone.id()) + kCrlf;
    const QDateTime from = TimeUtil::utc(QDate(referenceYear, 1, 1));
    const QDateTime to = TimeUtil::utc(QDate(referenceYear + 1, 1, 1));
    const QTimeZone::OffsetDataList transitions = zone.transitions(from, to);
    if (transitions.size() == 2) {
        for (int i = 0; i < 2; ++i) {
            const QTimeZone::OffsetData &t = transitions.at(i);
            const int before = transitions.at(1 - i).offsetFromUtc;
            // The rule names the wall clock in force just before the change.
            const QDateTime wall = t.atUtc.addSecs(before);
            const QDate day = wall.date();
            const int ordinal = day.day() + 7 > day.daysInMonth() ? -1 : (day.day() - 1) / 7 + 1;
            const QDate start1970 = nthWeekday(1970, day.month(), day.dayOfWeek(), ordinal);
            const QString dtstart = start1970.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
                + wall.time().toString(QStringLiteral("HHmmss"));
            const QString rrule = QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYDAY=%2%3")
                                      .arg(day.month())
                                      .arg(ordinal)
                                      .arg(QLatin1String(kDayCodes[day.dayOfWeek() - 1]));
            observance(out, t.daylightTimeOffset > 0, before, t.offsetFromUtc, t.abbreviation, dtstart, rrule);
        }
    } else {
        const QDateTime mid = TimeUtil::utc(QDate(referenceYear, 7, 1));
        const int offset = zone.offsetFromUtc(mid);
        observance(out, false, offset, offset, zone.abbreviation(TimeUtil::utc(QDate(referenceYear, 1, 1))),
                   QStringLiteral("19700101T000000"), QString());
    }
    out += QLatin1String("END:VTIMEZONE\r\n");
    return out;
}

} // namespace ICalendar::Detail
