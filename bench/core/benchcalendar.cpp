#include "benchcalendar.h"

#include <QStringList>

#include <random>

namespace {

const char *const kTimeZones = "BEGIN:VTIMEZONE\r\n"
                               "TZID:Europe/Berlin\r\n"
                               "BEGIN:DAYLIGHT\r\n"
                               "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\n"
                               "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
                               "END:DAYLIGHT\r\n"
                               "BEGIN:STANDARD\r\n"
                               "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\n"
                               "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
                               "END:STANDARD\r\n"
                               "END:VTIMEZONE\r\n"
                               "BEGIN:VTIMEZONE\r\n"
                               "TZID:America/New_York\r\n"
                               "BEGIN:DAYLIGHT\r\n"
                               "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\n"
                               "DTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
                               "END:DAYLIGHT\r\n"
                               "BEGIN:STANDARD\r\n"
                               "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\n"
                               "DTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
                               "END:STANDARD\r\n"
                               "END:VTIMEZONE\r\n"
                               "BEGIN:VTIMEZONE\r\n"
                               "TZID:Asia/Tokyo\r\n"
                               "BEGIN:STANDARD\r\n"
                               "TZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\nTZNAME:JST\r\n"
                               "DTSTART:19700101T000000\r\n"
                               "END:STANDARD\r\n"
                               "END:VTIMEZONE\r\n";

const char *const kZones[] = {"Europe/Berlin", "Europe/Berlin", "America/New_York", "Asia/Tokyo"};

const char *const kWords[] = {"agenda", "review",  "budget",    "quarterly", "roadmap",   "customer", "design",
                              "notes",  "dial-in", "follow-up", "draft",     "numbers",   "launch",   "sync",
                              "Zürich", "office",  "team",      "planning",  "questions", "slides"};

const char *const kPeople[] = {"Ann Lee",   "Bob Stone", "Chen Wei", "Dana Ruiz",
                               "Eli Cohen", "Fay Moss",  "Gus Park", "Hana Sato"};

// Line folding at 75 characters, continuation lines starting with a space.
void appendFolded(QByteArray &out, const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    qsizetype at = 0;
    qsizetype width = 75;
    while (bytes.size() - at > width) {
        qsizetype cut = at + width;
        while (cut > at && (quint8(bytes.at(cut)) & 0xC0) == 0x80)
            --cut; // never inside a UTF-8 sequence
        out.append(bytes.constData() + at, cut - at).append("\r\n ");
        at = cut;
        width = 74;
    }
    out.append(bytes.constData() + at, bytes.size() - at).append("\r\n");
}

QString stamp(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

} // namespace

namespace BenchCalendar {

QDateTime windowStart()
{
    return QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);
}

QDateTime windowEnd()
{
    return QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
}

QByteArray make(int events)
{
    std::mt19937 random(20250101);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    QByteArray out;
    out.reserve(qsizetype(events) * 1200);
    out.append("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Export//EN\r\nCALSCALE:GREGORIAN\r\n");
    out.append(kTimeZones);
    const QDate firstDay(2023, 1, 1);
    for (int n = 0; n < events; ++n) {
        const bool repeats = pick(10) < 3;
        const bool allDay = pick(10) == 0;
        const char *zone = kZones[pick(4)];
        // Series begin up to two years before the window; one-offs lie around it.
        const QDate day = repeats ? firstDay.addDays(pick(3 * 365)) : QDate(2024, 6, 1).addDays(pick(2 * 365));
        const QDateTime start(day, QTime(7 + pick(12), 15 * pick(4)));
        const QDateTime end = start.addSecs(60 * (30 + 15 * pick(8)));

        out.append("BEGIN:VEVENT\r\n");
        appendFolded(out, QStringLiteral("UID:%1-%2@bench.example.org").arg(n).arg(pick(1000000)));
        out.append("DTSTAMP:20240101T120000Z\r\nCREATED:20231201T080000Z\r\nLAST-MODIFIED:20231215T093000Z\r\n");
        QStringList words;
        for (int w = 0; w < 3; ++w)
            words.append(QString::fromUtf8(kWords[pick(20)]));
        appendFolded(out, QLatin1String("SUMMARY:") + words.join(QLatin1Char(' ')));
        QString description = QStringLiteral("DESCRIPTION:");
        const int sentences = 2 + pick(5);
        for (int s = 0; s < sentences; ++s) {
            description += QStringLiteral("Please read the %1 before the %2\\, and bring %3; see the %4.\\n")
                               .arg(QString::fromUtf8(kWords[pick(20)]), QString::fromUtf8(kWords[pick(20)]),
                                    QString::fromUtf8(kWords[pick(20)]), QString::fromUtf8(kWords[pick(20)]));
        }
        appendFolded(out, description);
        appendFolded(out,
                     QStringLiteral("LOCATION:Room %1\\, Building %2").arg(100 + pick(400)).arg(QChar(u'A' + pick(6))));
        if (allDay) {
            appendFolded(out, QStringLiteral("DTSTART;VALUE=DATE:%1").arg(day.toString(QStringLiteral("yyyyMMdd"))));
            appendFolded(
                out, QStringLiteral("DTEND;VALUE=DATE:%1").arg(day.addDays(1).toString(QStringLiteral("yyyyMMdd"))));
        } else {
            appendFolded(out, QStringLiteral("DTSTART;TZID=%1:%2").arg(QLatin1String(zone), stamp(start)));
            appendFolded(out, QStringLiteral("DTEND;TZID=%1:%2").arg(QLatin1String(zone), stamp(end)));
        }
        out.append(pick(8) == 0 ? "STATUS:TENTATIVE\r\n" : "STATUS:CONFIRMED\r\n");
        appendFolded(out, QStringLiteral("SEQUENCE:%1").arg(pick(4)));
        const int organizer = pick(8);
        appendFolded(out,
                     QStringLiteral("ORGANIZER;CN=\"%1\":mailto:%2@example.org")
                         .arg(QString::fromUtf8(kPeople[organizer]), QString::number(organizer)));
        const int attendees = 2 + pick(4);
        for (int a = 0; a < attendees; ++a) {
            const int who = pick(8);
            appendFolded(
                out,
                QStringLiteral(
                    "ATTENDEE;CUTYPE=INDIVIDUAL;ROLE=%1;PARTSTAT=%2;RSVP=TRUE;CN=\"%3\":mailto:p%4@example.org")
                    .arg(QLatin1String(pick(4) == 0 ? "OPT-PARTICIPANT" : "REQ-PARTICIPANT"),
                         QLatin1String(pick(3) == 0 ? "NEEDS-ACTION" : "ACCEPTED"), QString::fromUtf8(kPeople[who]))
                    .arg(who));
        }
        if (repeats) {
            static const char *const rules[] = {
                "FREQ=WEEKLY;BYDAY=MO,WE",
                "FREQ=WEEKLY;BYDAY=FR",
                "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU",
                "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR",
                "FREQ=DAILY;COUNT=30",
                "FREQ=MONTHLY;BYDAY=2TU",
                "FREQ=MONTHLY;BYDAY=-1FR",
                "FREQ=MONTHLY;BYMONTHDAY=15",
                "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
                "FREQ=YEARLY",
                "FREQ=WEEKLY;UNTIL=20250630T000000Z",
                "FREQ=DAILY;INTERVAL=3;UNTIL=20251001T000000Z",
            };
            appendFolded(out, QLatin1String("RRULE:") + QLatin1String(rules[pick(12)]));
            if (pick(4) == 0 && !allDay) {
                appendFolded(out,
                             QStringLiteral("EXDATE;TZID=%1:%2").arg(QLatin1String(zone), stamp(start.addDays(7))));
            }
        }
        if (pick(4) != 0) {
            out.append("BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\n");
            out.append(pick(2) == 0 ? "TRIGGER:-PT15M\r\n" : "TRIGGER;RELATED=START:-PT1H\r\n");
            out.append("END:VALARM\r\n");
        }
        out.append("END:VEVENT\r\n");
    }
    out.append("END:VCALENDAR\r\n");
    return out;
}

} // namespace BenchCalendar
