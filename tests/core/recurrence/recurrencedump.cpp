// Not a test: prints the starts the expansion gives for rules read from
// standard input, for compare_rules.py. Each input line is
//     DTSTART <tab> RRULE <tab> END
// with DTSTART "yyyyMMdd" (an all-day series), "yyyyMMddTHHmmss" (UTC) or
// "Zone/Name:yyyyMMddTHHmmss" (a wall clock there) and END the window's end
// in the same form; each output line holds that series' starts,
// space-separated, in DTSTART's form.
#include "recurrence.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <QTextStream>

namespace {

QDateTime read(const QString &text, const QTimeZone &zone)
{
    const QString value = text.section(QLatin1Char(':'), -1);
    const QDate day = QDate::fromString(value.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = value.size() == 8 ? QTime(0, 0) : QTime::fromString(value.mid(9), QStringLiteral("HHmmss"));
    return QDateTime(day, time, zone);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3) {
            out << "\n";
            continue;
        }
        const bool allDay = fields[0].size() == 8;
        const QString zoneName = fields[0].contains(QLatin1Char(':')) ? fields[0].section(QLatin1Char(':'), 0, 0)
                                                                     : QStringLiteral("UTC");
        const QTimeZone zone = zoneName == QLatin1String("UTC") ? QTimeZone::utc() : QTimeZone(zoneName.toUtf8());
        Event series;
        series.uid = QStringLiteral("dump");
        series.is_all_day = allDay;
        series.timezone = zoneName;
        series.start_time = read(fields[0], zone);
        series.end_time = series.start_time.addSecs(allDay ? 86400 : 1);
        series.recurrence_rule = fields[1];
        const QDateTime end = read(fields[2], zone);
        QStringList starts;
        const QString format = allDay ? QStringLiteral("yyyyMMdd") : QStringLiteral("yyyyMMdd'T'HHmmss");
        for (const Event &e : Recurrence::expandEvent(series, series.start_time.addDays(-1), end))
            starts.append(e.start_time.toTimeZone(zone).toString(format));
        out << starts.join(QLatin1Char(' ')) << "\n";
    }
    return 0;
}
