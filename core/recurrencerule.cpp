#include "recurrencerule.h"

#include "timeutil.h"

#include <QStringView>

namespace {

// Reads a comma list of integers within [min, max]; in signed lists, which
// count from either end, zero means nothing and is dropped too.
QList<int> readIntList(QStringView value, int min, int max)
{
    QList<int> out;
    for (QStringView piece : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = piece.trimmed().toInt(&ok);
        if (!ok || n < min || n > max)
            continue;
        if (min < 0 && n == 0)
            continue;
        out.append(n);
    }
    return out;
}

int readDigits(QStringView text, qsizetype from, qsizetype n, bool &ok)
{
    int value = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

namespace Recurrence {

int weekdayFromCode(QStringView code)
{
    static const char codes[7][3] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    if (code.size() != 2)
        return 0;
    for (int i = 0; i < 7; ++i) {
        if (code.at(0) == QLatin1Char(codes[i][0]) && code.at(1) == QLatin1Char(codes[i][1]))
            return i + 1;
    }
    return 0;
}

RecurrenceRule parseRule(const QString &text)
{
    RecurrenceRule rule;
    for (QStringView part : QStringView(text).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).toString().toUpper();
        const QStringView value = part.mid(eq + 1);
        if (key == QLatin1String("FREQ")) {
            rule.freq = value.toString().toUpper();
        } else if (key == QLatin1String("INTERVAL")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            rule.interval = ok && n >= 1 ? n : 1;
        } else if (key == QLatin1String("COUNT")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            rule.count = ok && n >= 0 ? n : 0;
        } else if (key == QLatin1String("UNTIL")) {
            const bool utc = value.endsWith(QLatin1Char('Z'));
            const QStringView wall = utc ? value.chopped(1) : value;
            bool ok = true;
            if (wall.size() == 15 && wall.at(8) == QLatin1Char('T')) {
                const QDate date(readDigits(wall, 0, 4, ok), readDigits(wall, 4, 2, ok), readDigits(wall, 6, 2, ok));
                const QTime time(readDigits(wall, 9, 2, ok), readDigits(wall, 11, 2, ok), readDigits(wall, 13, 2, ok));
                if (ok && date.isValid() && time.isValid()) {
                    rule.until = TimeUtil::utc(date, time);
                    rule.untilForm = utc ? RecurrenceRule::UntilForm::Utc : RecurrenceRule::UntilForm::Floating;
                }
            } else if (value.size() == 8) {
                const QDate date(readDigits(value, 0, 4, ok), readDigits(value, 4, 2, ok), readDigits(value, 6, 2, ok));
                if (ok && date.isValid()) {
                    rule.until = TimeUtil::utc(date);
                    rule.untilForm = RecurrenceRule::UntilForm::Date;
                }
            }
        } else if (key == QLatin1String("BYDAY")) {
            rule.byDay.clear();
            const QString upper = value.toString().toUpper();
            for (QStringView code : QStringView(upper).split(QLatin1Char(','), Qt::SkipEmptyParts))
                rule.byDay.append(code.trimmed().toString());
        } else if (key == QLatin1String("BYMONTHDAY")) {
            rule.byMonthDay = readIntList(value, -31, 31);
        } else if (key == QLatin1String("BYMONTH")) {
            rule.byMonth = readIntList(value, 1, 12);
        } else if (key == QLatin1String("BYYEARDAY")) {
            rule.byYearDay = readIntList(value, -366, 366);
        } else if (key == QLatin1String("BYWEEKNO")) {
            rule.byWeekNo = readIntList(value, -53, 53);
        } else if (key == QLatin1String("BYHOUR")) {
            rule.byHour = readIntList(value, 0, 23);
        } else if (key == QLatin1String("BYMINUTE")) {
            rule.byMinute = readIntList(value, 0, 59);
        } else if (key == QLatin1String("BYSECOND")) {
            // 60 names a leap second, which the clock here does not have.
            rule.bySecond = readIntList(value, 0, 59);
        } else if (key == QLatin1String("BYSETPOS")) {
            rule.bySetPos = readIntList(value, -366, 366);
        } else if (key == QLatin1String("WKST")) {
            const int day = weekdayFromCode(value.toString().toUpper());
            if (day != 0)
                rule.weekStart = day;
        }
    }
    return rule;
}

} // namespace Recurrence
