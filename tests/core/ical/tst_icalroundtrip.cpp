#include "icalendar.h"
#include "icalfields.h"
#include "icalsamples.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

// Seeded random records of every shape the writers meet: whatever a record
// holds comes back from the reader unchanged, and an edit of read text keeps
// the lines and components another client wrote.
namespace {

constexpr int kCasesPerKind = 150;

class Generator
{
public:
    explicit Generator(quint32 seed)
        : m_random(seed)
    {
    }

    int below(int n) { return int(m_random.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }
    int oneOf(std::initializer_list<int> values) { return *(values.begin() + below(int(values.size()))); }
    QString oneOf(std::initializer_list<const char *> values)
    {
        return QString::fromUtf8(*(values.begin() + below(int(values.size()))));
    }

    // Escapes, parameter quoting, line breaks and non-Latin text; no CR, which
    // the writers turn into a line feed on purpose.
    QString text(bool maybeEmpty = true)
    {
        static const QStringList pieces = {u"Lunch"_s, u" "_s,  u","_s,       u";"_s,         u":"_s,
                                           u"\\"_s,    u"\n"_s, u"\""_s,      u"^"_s,         u"'"_s,
                                           u"\t"_s,    u"=x"_s, u"%1"_s,      u"\\n"_s,       u"Café"_s,
                                           u"会議"_s,  u"🎉"_s,  u"mailto:"_s, u"END:VEVENT"_s};
        QString out = QLatin1String(""); // records hold empty texts, never null ones
        for (int n = maybeEmpty ? below(5) : 1 + below(4); n > 0; --n)
            out += pieces.at(below(int(pieces.size())));
        return out;
    }

    QDate date() { return QDate(2000, 1, 1).addDays(below(15000)); }

    // A wall clock in `zone` (UTC when invalid), read as the reader reads it,
    // so that a clock the autumn change repeats is its first occurrence.
    QDateTime wallClock(const QTimeZone &zone)
    {
        const QTime time(below(24), oneOf({0, 15, 30, 45}), chance(20) ? below(60) : 0);
        return zone.isValid() ? TimeUtil::inZone(date(), time, zone) : TimeUtil::utc(date(), time);
    }

    QDateTime utcOrNone() { return chance(50) ? wallClock(QTimeZone()) : QDateTime(); }

    // A JSON array of dates, or of UTC and floating date-times.
    QString dateList(bool dates)
    {
        QJsonArray values;
        for (int n = below(4); n > 0; --n) {
            const QDateTime at = wallClock(QTimeZone());
            const QString value = dates ? TimeUtil::toIcalDate(at.date())
                : chance(70)            ? TimeUtil::toIcalUtc(at)
                                        : at.toString(u"yyyyMMdd'T'HHmmss"_s);
            if (!values.contains(value))
                values.append(value);
        }
        return values.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
    }

    Event event(const QString &kind)
    {
        Event e;
        e.uid = text(false);
        e.title = text();
        e.description = text();
        e.location = text();
        if (kind.startsWith("all-day"_L1)) {
            e.is_all_day = true;
            e.start_time = TimeUtil::utc(date());
            e.end_time = e.start_time.addDays(1 + below(5));
        } else {
            const QTimeZone zone = kind == "utc"_L1
                ? QTimeZone()
                : QTimeZone(oneOf({"Europe/Berlin", "America/New_York", "Australia/Sydney", "Asia/Kolkata"}).toUtf8());
            e.start_time = wallClock(zone);
            const QDateTime endWall = e.start_time.addSecs(60 * oneOf({0, 1, 30, 90, 1500}));
            e.end_time = zone.isValid()
                ? TimeUtil::inZone(endWall.toTimeZone(zone).date(), endWall.toTimeZone(zone).time(), zone)
                : endWall;
            if (zone.isValid())
                e.timezone = QString::fromLatin1(zone.id());
        }
        // An all-day series ends on a date: a UTC end goes out as the date it names.
        if (chance(50))
            e.recurrence_rule = oneOf({"FREQ=DAILY", "FREQ=WEEKLY;BYDAY=MO,WE;COUNT=5",
                                       e.is_all_day ? "FREQ=MONTHLY;BYDAY=-1FR;UNTIL=20300101"
                                                    : "FREQ=MONTHLY;BYDAY=-1FR;UNTIL=20300101T000000Z",
                                       "FREQ=YEARLY;INTERVAL=2"});
        e.exception_dates = dateList(e.is_all_day);
        e.recurrence_dates = chance(30) ? dateList(e.is_all_day) : QString();
        if (kind.endsWith("override"_L1)) {
            const QTimeZone zone = e.timezone == "UTC"_L1 ? QTimeZone() : QTimeZone(e.timezone.toUtf8());
            e.recurrence_id = e.is_all_day ? TimeUtil::toIcalDate(date()) : TimeUtil::toIcalUtc(wallClock(zone));
            e.master_event_uid = e.uid;
        }
        e.status = oneOf({"confirmed", "tentative", "cancelled"});
        e.sequence = below(5);
        if (chance(50))
            e.event_url = oneOf({"https://example.org/a?b=c;d,e:f", "https://example.org/x"});
        if (chance(50)) {
            e.organizer_email = oneOf({"org@example.org", "urn:uuid:1234", "a+b@example.org"});
            e.organizer_name = text();
        }
        for (int n = below(4); n > 0; --n) {
            e.attendees.append(IcalSamples::attendee(u"p%1@example.org"_s.arg(n), text(),
                                                     oneOf({"required", "optional", "chair", "non-participant"}),
                                                     oneOf({"needs-action", "accepted", "declined", "tentative"}),
                                                     oneOf({"", "individual", "room"}), chance(50)));
        }
        for (int n = below(4); n > 0; --n)
            e.reminders.append(
                IcalSamples::reminder(oneOf({0, 5, 15, 60, 1440, -10, 10080}), oneOf({"display", "email", "audio"})));
        e.created = utcOrNone();
        e.last_modified = utcOrNone();
        return e;
    }

    Task task()
    {
        Task t;
        t.uid = text(false);
        t.title = text();
        t.description = text();
        t.status = oneOf({"needs-action", "in-process", "completed", "cancelled"});
        t.priority = below(10);
        t.percent_complete = below(101);
        if (chance(60)) {
            t.due_is_date_only = chance(50);
            t.due_date = t.due_is_date_only ? TimeUtil::utc(date()) : wallClock(QTimeZone());
        }
        if (chance(40)) {
            t.start_is_date_only = chance(50);
            t.start_date = t.start_is_date_only ? TimeUtil::utc(date()) : wallClock(QTimeZone());
        }
        if (chance(30))
            t.completed_date = wallClock(QTimeZone());
        for (int n = below(3); n > 0; --n) {
            const QString category = text(false).trimmed();
            if (!category.isEmpty())
                t.categories.append(category);
        }
        t.parent_task_uid = chance(50) ? text(false) : QString();
        t.sort_order = chance(50) ? below(100) : 0;
        t.recurrence_rule = chance(30) ? u"FREQ=WEEKLY"_s : QString();
        t.repeat_mode = oneOf({"fromDueDate", "fromCompletionDate"});
        t.sequence = below(4);
        t.created = utcOrNone();
        t.last_modified = utcOrNone();
        return t;
    }

private:
    QRandomGenerator m_random;
};

// The fields the text carries; date lists as sets, since their order in the
// text is not kept.
QJsonObject fieldsOf(const Event &e)
{
    QJsonObject fields = IcalFields::eventFields(e);
    for (const QLatin1String key : {"exception_dates"_L1, "recurrence_dates"_L1}) {
        QStringList values;
        const QJsonArray array = fields.value(key).toArray();
        for (const QJsonValue &v : array)
            values.append(v.toString());
        values.sort();
        fields.insert(key, QJsonArray::fromStringList(values));
    }
    return fields;
}

QString differences(const QJsonObject &expected, const QJsonObject &actual, const QString &text)
{
    const QStringList diff = IcalFields::differences(expected, actual);
    return diff.isEmpty() ? QString() : diff.join(u'\n') + u"\nin:\n"_s + text;
}

// Lines and a component that no field maps, as another client writes them.
const QString kForeignProperty = u"X-OTHER-CLIENT;X-PARAM=\"a:b\":kept\r\n"_s;
const QString kForeignEventProperty = u"CATEGORIES:Work,Home\r\n"_s;
const QString kForeignAlarm = u"BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;VALUE=DATE-TIME:20300101T090000Z\r\n"
                              "DESCRIPTION:absolute\r\nEND:VALARM\r\n"_s;

// `lines` inserted before the line `endLine`.
QString withForeignLines(QString text, QLatin1String endLine, const QString &lines)
{
    return text.insert(text.indexOf(u"\r\n"_s + endLine + u"\r\n"_s) + 2, lines);
}

QString missingForeignLines(const QString &text, const QStringList &foreign)
{
    for (const QString &lines : foreign) {
        if (!text.contains(lines))
            return lines + u"is missing from:\n"_s + text;
    }
    return QString();
}

} // namespace

class TestIcalRoundTrip : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eventsReadBackEqual_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("timed in DST and half-hour zones") << u"zoned"_s << 1u;
        QTest::newRow("timed in UTC") << u"utc"_s << 2u;
        QTest::newRow("all-day") << u"all-day"_s << 3u;
        QTest::newRow("overrides") << u"override"_s << 4u;
        QTest::newRow("all-day overrides") << u"all-day override"_s << 6u;
    }
    void eventsReadBackEqual()
    {
        QFETCH(QString, kind);
        QFETCH(quint32, seed);
        Generator generate(seed);
        for (int i = 0; i < kCasesPerKind; ++i) {
            const Event record = generate.event(kind);
            const QString written = ICalendar::serializeEvent(record);
            const QStringList foreign = {kForeignProperty, kForeignEventProperty, kForeignAlarm};
            const QList<Event> read = ICalendar::parseEvents(
                withForeignLines(written, "END:VEVENT"_L1, foreign.join(QString())));
            QCOMPARE(read.size(), 1);
            QString diff = differences(fieldsOf(record), fieldsOf(read[0]), written);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));

            // An edit of read text: the new field values, the foreign lines kept.
            Event edited = generate.event(kind);
            edited.raw_icalendar = read[0].raw_icalendar;
            edited.uid = read[0].uid;
            edited.recurrence_id = read[0].recurrence_id;
            edited.master_event_uid = read[0].master_event_uid;
            const QString rewritten = ICalendar::serializeEvent(edited);
            const QList<Event> reread = ICalendar::parseEvents(rewritten);
            QCOMPARE(reread.size(), 1);
            diff = differences(fieldsOf(edited), fieldsOf(reread[0]), rewritten);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
            diff = missingForeignLines(rewritten, foreign);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    void tasksReadBackEqual()
    {
        Generator generate(5);
        for (int i = 0; i < kCasesPerKind; ++i) {
            const Task record = generate.task();
            const QString written = ICalendar::serializeTask(record);
            const QStringList foreign = {kForeignProperty, kForeignAlarm};
            const QList<Task> read = ICalendar::parseTasks(
                withForeignLines(written, "END:VTODO"_L1, foreign.join(QString())));
            QCOMPARE(read.size(), 1);
            QString diff = differences(IcalFields::taskFields(record), IcalFields::taskFields(read[0]), written);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));

            Task edited = generate.task();
            edited.raw_icalendar = read[0].raw_icalendar;
            edited.uid = read[0].uid;
            const QString rewritten = ICalendar::serializeTask(edited);
            const QList<Task> reread = ICalendar::parseTasks(rewritten);
            QCOMPARE(reread.size(), 1);
            diff = differences(IcalFields::taskFields(edited), IcalFields::taskFields(reread[0]), rewritten);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
            diff = missingForeignLines(rewritten, foreign);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }
};

QTEST_GUILESS_MAIN(TestIcalRoundTrip)
#include "tst_icalroundtrip.moc"
