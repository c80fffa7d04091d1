// Not a test: prints the starts the expansion gives for rules read from
// standard input, for compare_rules.py. Each input line is
//     DTSTART <tab> RRULE <tab> END
// with DTSTART "yyyyMMdd" (an all-day series) or "yyyyMMddTHHmmss" (UTC) and
// END the window's end in the same form; each output line holds that
// series' starts, space-separated, in DTSTART's form.
#include "recurrence.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QDateTime read(const QString &text)
{
    const QDate day = QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = text.size() == 8 ? QTime(0, 0) : QTime::fromString(text.mid(9), QStringLiteral("HHmmss"));
    return QDateTime(day, time, Qt::UTC);
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
        Event series;
        series.uid = QStringLiteral("dump");
        series.is_all_day = allDay;
        series.start_time = read(fields[0]);
        series.end_time = series.start_time.addSecs(allDay ? 86400 : 1);
        series.recurrence_rule = fields[1];
        const QDateTime end = read(fields[2]);
        QStringList starts;
        const QString format = allDay ? QStringLiteral("yyyyMMdd") : QStringLiteral("yyyyMMdd'T'HHmmss");
        for (const Event &e : Recurrence::expandEvent(series, series.start_time.addDays(-1), end))
            starts.append(e.start_time.toUTC().toString(format));
        out << starts.join(QLatin1Char(' ')) << "\n";
    }
    return 0;
}
