#include "icalendar.h"
#include "icalendar_p.h"
#include "timeutil.h"

#include <QRegularExpression>

namespace ICalendar {

using namespace Detail;

namespace {

bool isDateLine(const PropertyView &prop)
{
    const QStringView type = prop.param(QLatin1String("VALUE"));
    if (!type.isEmpty())
        return type.compare(QLatin1String("DATE"), Qt::CaseInsensitive) == 0;
    return prop.value.size() == 8 && !prop.value.contains(QLatin1Char('T'));
}

bool startsWithNoCase(QStringView line, QLatin1String prefix)
{
    return line.startsWith(prefix, Qt::CaseInsensitive);
}

// A timed line in a zone the system knows, or the text defines, keeps its zone: rewriting a
// repeating event's start as UTC would move every occurrence after the next
// daylight-saving change by an hour in every client.
QString zonedLine(QLatin1String name, const PropertyView &prop, const QDateTime &when, ZoneCache &zones)
{
    const QStringView tzid = prop.param(QLatin1String("TZID"));
    if (tzid.isEmpty())
        return QString();
    const ZoneCache::Entry &entry = zones.lookup(tzid);
    if (!entry.isKnown())
        return QString();
    const bool quote = tzid.contains(QLatin1Char(';')) || tzid.contains(QLatin1Char(':'))
        || tzid.contains(QLatin1Char(','));
    const QString param = quote ? QLatin1Char('"') + tzid.toString() + QLatin1Char('"') : tzid.toString();
    return name + QLatin1String(";TZID=") + param + QLatin1Char(':')
        + entry.wallClock(when).toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

} // namespace

QString rewriteEventTimes(const QString &text, const QDateTime &newStart, const QDateTime &newEnd)
{
    if (text.isEmpty() || !newStart.isValid())
        return text;

    const QString startUtc = TimeUtil::toIcalUtc(newStart);
    const QString endUtc = newEnd.isValid() ? TimeUtil::toIcalUtc(newEnd) : startUtc;
    const QString startDate = TimeUtil::toIcalDate(newStart.date());
    const QString endDate = TimeUtil::toIcalDate(
        allDayEndDate(newStart, newEnd.isValid() ? std::optional<QDateTime>(newEnd) : std::nullopt));
    auto startLine = [&](bool date) {
        return date ? QLatin1String("DTSTART;VALUE=DATE:") + startDate : QLatin1String("DTSTART:") + startUtc;
    };
    auto endLine = [&](bool date) {
        return date ? QLatin1String("DTEND;VALUE=DATE:") + endDate : QLatin1String("DTEND:") + endUtc;
    };

    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = text.split(lineBreak);
    QStringList out;
    out.reserve(lines.size() + 2);
    bool inside = false, done = false, entered = false;
    bool startWritten = false, endWritten = false, startIsDate = false;
    int depth = 0; // components nested in the event (VALARM ...)
    ZoneCache zones;
    zones.defineFrom(text);
    const QDateTime endWhen = newEnd.isValid() ? newEnd : newStart;
    auto isContinuation = [](const QString &l) {
        return !l.isEmpty() && (l.front() == QLatin1Char(' ') || l.front() == QLatin1Char('\t'));
    };
    for (qsizetype i = 0; i < lines.size();) {
        // A property with its continuation lines: decided on as one, copied as is.
        qsizetype next = i + 1;
        QString logical = lines.at(i);
        while (next < lines.size() && isContinuation(lines.at(next)))
            logical.append(QStringView(lines.at(next++)).mid(1));
        const auto copy = [&] {
            for (qsizetype k = i; k < next; ++k)
                out.append(lines.at(k));
        };
        const PropertyView prop = splitLine(logical);
        if (done || !inside) {
            copy();
            if (!done && startsWithNoCase(logical, QLatin1String("BEGIN:VEVENT")))
                inside = entered = true;
        } else if (depth == 0 && startsWithNoCase(logical, QLatin1String("END:VEVENT"))) {
            if (!startWritten)
                out.append(startLine(startIsDate));
            if (!endWritten)
                out.append(endLine(startIsDate));
            copy();
            done = true;
        } else if (prop.is(QLatin1String("BEGIN"))) {
            ++depth;
            copy();
        } else if (prop.is(QLatin1String("END")) && depth > 0) {
            --depth;
            copy();
        } else if (depth > 0) {
            copy();
        } else if (prop.is(QLatin1String("DTSTART"))) {
            // A second DTSTART would make the text invalid: only the first is rewritten.
            if (!startWritten) {
                startIsDate = isDateLine(prop);
                const QString zoned = startIsDate ? QString()
                                                  : zonedLine(QLatin1String("DTSTART"), prop, newStart, zones);
                out.append(zoned.isEmpty() ? startLine(startIsDate) : zoned);
                startWritten = true;
            }
        } else if (prop.is(QLatin1String("DTEND"))) {
            if (!endWritten) {
                const bool date = isDateLine(prop);
                const QString zoned = date ? QString() : zonedLine(QLatin1String("DTEND"), prop, endWhen, zones);
                out.append(zoned.isEmpty() ? endLine(date) : zoned);
                endWritten = true;
            }
        } else if (!prop.is(QLatin1String("DURATION"))) {
            copy();
        }
        i = next;
    }
    return entered ? out.join(kCrlf) : text;
}

} // namespace ICalendar

namespace ICalendar {

namespace {

bool isPropertyLine(const QString &line, QLatin1String name)
{
    return line.size() > name.size() && line.startsWith(name, Qt::CaseInsensitive)
        && (line.at(name.size()) == QLatin1Char(':') || line.at(name.size()) == QLatin1Char(';'));
}

} // namespace

QString taskProperty(const QString &text, QLatin1String name)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    bool inside = false;
    for (const QString &line : text.split(lineBreak)) {
        if (line.compare(QLatin1String("BEGIN:VTODO"), Qt::CaseInsensitive) == 0)
            inside = true;
        else if (line.compare(QLatin1String("END:VTODO"), Qt::CaseInsensitive) == 0)
            return {};
        else if (inside && isPropertyLine(line, name))
            return line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
    }
    return {};
}

QString withTaskProperty(const QString &text, QLatin1String name, const QString &value)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = text.split(lineBreak);
    QStringList out;
    out.reserve(lines.size() + 1);
    bool inside = false;
    bool done = false;
    for (const QString &line : lines) {
        if (!done && line.compare(QLatin1String("BEGIN:VTODO"), Qt::CaseInsensitive) == 0) {
            inside = true;
        } else if (inside && line.compare(QLatin1String("END:VTODO"), Qt::CaseInsensitive) == 0) {
            if (!value.isEmpty())
                out.append(name + QLatin1Char(':') + value);
            inside = false;
            done = true;
        } else if (inside && isPropertyLine(line, name)) {
            continue;
        }
        out.append(line);
    }
    return done ? out.join(QLatin1String("\r\n")) : text;
}

} // namespace ICalendar
