// The rule as text: what is read, what is written back, and the edits the
// editing operations make on it.
#include "recurrencerule.h"
#include "timeutil.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using RuleEdit = std::function<void(RecurrenceRule &)>;
Q_DECLARE_METATYPE(RuleEdit)

namespace {

QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return TimeUtil::utc(QDate(y, m, d), QTime(h, min, s));
}

// Reads each rule with the Python icalendar package and prints what it
// holds, one JSON object per rule, in the shape compared below.
const char kReferenceScript[] = R"(
import json, sys
try:
    from icalendar import vRecur
except ImportError as e:
    print(e, file=sys.stderr); sys.exit(3)
out = []
for text in json.load(sys.stdin):
    r = vRecur.from_ical(text)
    one = lambda k, d: r[k][0] if k in r else d
    until = one('UNTIL', None)
    if until is None: until = ''
    elif hasattr(until, 'hour'):
        until = until.strftime('%Y%m%dT%H%M%S') + ('Z' if until.tzinfo else '')
    else: until = until.strftime('%Y%m%d')
    out.append({'freq': one('FREQ', ''), 'interval': one('INTERVAL', 1), 'count': one('COUNT', 0), 'until': until,
                'byday': [str(d) for d in r.get('BYDAY', [])], 'bymonthday': r.get('BYMONTHDAY', []),
                'bymonth': r.get('BYMONTH', []), 'bysetpos': r.get('BYSETPOS', []), 'wkst': one('WKST', 'MO')})
print(json.dumps(out))
)";

} // namespace

class TestRecurrenceRuleText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writtenBackUnchanged_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::newRow("Plain: weekly on two days") << u"FREQ=WEEKLY;BYDAY=MO,WE"_s;
        QTest::newRow("Plain: parts in an order of their own") << u"COUNT=4;BYDAY=TU;FREQ=WEEKLY"_s;
        QTest::newRow("Plain: every part the value reads")
            << u"FREQ=YEARLY;INTERVAL=2;BYMONTH=3;BYDAY=-1SU;BYHOUR=9;BYMINUTE=30;BYSECOND=0;BYSETPOS=1;WKST=SU;UNTIL=20300101"_s;
        QTest::newRow("As written: lower case") << u"freq=daily;count=3;until=20260301t000000z"_s;
        QTest::newRow("As written: spaces around names and values") << u"FREQ = DAILY ; COUNT= 2"_s;
        QTest::newRow("As written: empty parts and a trailing separator") << u"FREQ=DAILY;;COUNT=3;"_s;
        QTest::newRow("As written: an explicit default") << u"FREQ=WEEKLY;INTERVAL=1;WKST=MO"_s;
        QTest::newRow("Unknown: X- and RFC 7529 parts in place")
            << u"RSCALE=GREGORIAN;FREQ=MONTHLY;X-NAME=a,b;BYMONTHDAY=31;SKIP=FORWARD"_s;
        QTest::newRow("Unknown: parts without a name or a value") << u"FREQ=DAILY;=3;BROKEN;COUNT="_s;
        QTest::newRow("Unread: values out of range") << u"FREQ=monthly;INTERVAL=0;COUNT=-2;BYMONTHDAY=0,32"_s;
        QTest::newRow("Empty rule") << QString();
    }

    void writtenBackUnchanged()
    {
        QFETCH(QString, rule);
        QCOMPARE(RecurrenceRule::fromText(rule).toText(), rule);

        // Fields given the values they already hold change nothing either.
        RecurrenceRule same = RecurrenceRule::fromText(rule);
        same.count = same.count;
        same.byDay = QStringList(same.byDay);
        same.shiftDays(QDate(2026, 3, 2), QDate(2026, 3, 2));
        QCOMPARE(same.toText(), rule);
    }

    void read_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("freq");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("count");
        QTest::addColumn<QDateTime>("until");
        QTest::addColumn<RecurrenceRule::UntilForm>("form");
        QTest::addColumn<QStringList>("byDay");
        QTest::addColumn<QStringList>("unread");

        using Form = RecurrenceRule::UntilForm;
        QTest::newRow("UNTIL: a UTC date-time is an instant")
            << u"FREQ=DAILY;UNTIL=20260316T085959Z"_s << u"DAILY"_s << 1 << 0 << utc(2026, 3, 16, 8, 59, 59)
            << Form::Utc << QStringList() << QStringList();
        QTest::newRow("UNTIL: a floating date-time keeps its form")
            << u"FREQ=DAILY;UNTIL=20260316T085959"_s << u"DAILY"_s << 1 << 0 << utc(2026, 3, 16, 8, 59, 59)
            << Form::Floating << QStringList() << QStringList();
        QTest::newRow("UNTIL: a date") << u"FREQ=DAILY;UNTIL=20260316"_s << u"DAILY"_s << 1 << 0 << utc(2026, 3, 16)
                                       << Form::Date << QStringList() << QStringList();
        QTest::newRow("Case and spaces: names and values in any case, trimmed")
            << u" freq = weekly ;Interval= 2; byday=mo , we ;until=20260316t085959z"_s << u"WEEKLY"_s << 2 << 0
            << utc(2026, 3, 16, 8, 59, 59) << Form::Utc << QStringList{u"MO"_s, u"WE"_s} << QStringList();
        QTest::newRow("Repeated names: the last one counts")
            << u"FREQ=DAILY;COUNT=2;COUNT=5"_s << u"DAILY"_s << 1 << 5 << QDateTime() << Form::Utc << QStringList()
            << QStringList();
        QTest::newRow("Rejected: values that do not read keep their defaults")
            << u"FREQ=DAILY;INTERVAL=x;COUNT=ten;UNTIL=soon;WKST=XX"_s << u"DAILY"_s << 1 << 0 << QDateTime()
            << Form::Utc << QStringList()
            << QStringList{u"INTERVAL=x"_s, u"COUNT=ten"_s, u"UNTIL=soon"_s, u"WKST=XX"_s};
        QTest::newRow("Rejected: out of range and impossible dates")
            << u"FREQ=SOMETIMES;INTERVAL=0;COUNT=-1;UNTIL=20260230;BYMONTH=2,13"_s << u"SOMETIMES"_s << 1 << 0
            << QDateTime() << Form::Utc << QStringList()
            << QStringList{u"FREQ=SOMETIMES"_s, u"INTERVAL=0"_s, u"COUNT=-1"_s, u"UNTIL=20260230"_s, u"BYMONTH=2,13"_s};
        QTest::newRow("Rejected: unknown names are not errors")
            << u"FREQ=DAILY;X-NAME=1;=3;BROKEN"_s << u"DAILY"_s << 1 << 0 << QDateTime() << Form::Utc << QStringList()
            << QStringList();
    }

    void read()
    {
        QFETCH(QString, rule);
        const RecurrenceRule parsed = RecurrenceRule::fromText(rule);
        QTEST(parsed.freq, "freq");
        QTEST(parsed.interval, "interval");
        QTEST(parsed.count, "count");
        QTEST(parsed.until, "until");
        QFETCH(QDateTime, until);
        if (until.isValid())
            QTEST(parsed.untilForm, "form");
        QTEST(parsed.byDay, "byDay");
        QTEST(parsed.unreadParts(), "unread");
    }

    void edited_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<RuleEdit>("edit");
        QTest::addColumn<QString>("expected");

        const RuleEdit count5 = [](RecurrenceRule &r) { r.count = 5; };
        const RuleEdit noCount = [](RecurrenceRule &r) { r.count = 0; };
        const RuleEdit interval2 = [](RecurrenceRule &r) { r.interval = 2; };
        const RuleEdit untilInstant = [](RecurrenceRule &r) { r.setUntilInstant(utc(2026, 3, 16, 8, 59, 59)); };
        const RuleEdit untilDate = [](RecurrenceRule &r) { r.setUntilDate(QDate(2026, 3, 16)); };
        const RuleEdit noUntil = [](RecurrenceRule &r) { r.clearUntil(); };
        const RuleEdit endBefore = [](RecurrenceRule &r) {
            r.count = 0;
            r.setUntilInstant(utc(2026, 3, 16, 8, 59, 59));
        };

        QTest::newRow("In place: a changed value where its part stood")
            << u"FREQ=DAILY;COUNT=3;X-A=1"_s << count5 << u"FREQ=DAILY;COUNT=5;X-A=1"_s;
        QTest::newRow("In place: the new part is upper-case, the others stay as written")
            << u"freq=monthly;until=20270101T000000Z;bymonthday=5"_s << untilInstant
            << u"freq=monthly;UNTIL=20260316T085959Z;bymonthday=5"_s;
        QTest::newRow("In place: repeated names become one part")
            << u"FREQ=DAILY;COUNT=2;X-A=1;COUNT=3"_s << count5 << u"FREQ=DAILY;COUNT=5;X-A=1"_s;
        QTest::newRow("In place: empty parts go once the rule is written anew")
            << u"FREQ=DAILY;;COUNT=3;"_s << count5 << u"FREQ=DAILY;COUNT=5"_s;
        QTest::newRow("Removed: a value set to its default")
            << u"freq=daily;count=3;x-a=1"_s << noCount << u"freq=daily;x-a=1"_s;
        QTest::newRow("Removed: UNTIL cleared")
            << u"FREQ=DAILY;UNTIL=20260316;BYDAY=MO"_s << noUntil << u"FREQ=DAILY;BYDAY=MO"_s;
        QTest::newRow("Added: between the parts around it in order")
            << u"FREQ=WEEKLY;BYDAY=MO;X-A=1;COUNT=2"_s << interval2
            << u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO;X-A=1;COUNT=2"_s;
        QTest::newRow("Added: at the end when nothing comes after it, whatever the order before")
            << u"X-A=1;BYDAY=MO;FREQ=WEEKLY"_s << untilDate << u"X-A=1;BYDAY=MO;FREQ=WEEKLY;UNTIL=20260316"_s;
        QTest::newRow("Added: UNTIL after the unknown parts that close the rule")
            << u"FREQ=DAILY;X-A=1"_s << untilDate << u"FREQ=DAILY;X-A=1;UNTIL=20260316"_s;
        QTest::newRow("Added: before the first part that comes after it")
            << u"X-A=1;COUNT=2"_s << interval2 << u"X-A=1;INTERVAL=2;COUNT=2"_s;
        QTest::newRow("Added: UNTIL goes last")
            << u"FREQ=DAILY;INTERVAL=2"_s << untilInstant << u"FREQ=DAILY;INTERVAL=2;UNTIL=20260316T085959Z"_s;
        QTest::newRow("Added: a rule of unknown parts only gets it at the end")
            << u"X-A=1"_s << count5 << u"X-A=1;COUNT=5"_s;
        QTest::newRow("Added: an empty rule gets the part alone")
            << QString() << untilInstant << u"UNTIL=20260316T085959Z"_s;
        QTest::newRow("Ended: COUNT gives way to UNTIL") << u"FREQ=WEEKLY;BYDAY=MO,WE;COUNT=10"_s << endBefore
                                                         << u"FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20260316T085959Z"_s;
        QTest::newRow("Unread: replaced once its field gets a value")
            << u"FREQ=DAILY;UNTIL=soon;X-A=1"_s << untilDate << u"FREQ=DAILY;UNTIL=20260316;X-A=1"_s;
        QTest::newRow("Unread: kept as written while its field stays empty")
            << u"FREQ=DAILY;COUNT=ten;UNTIL=20270101"_s << untilDate << u"FREQ=DAILY;COUNT=ten;UNTIL=20260316"_s;
    }

    void edited()
    {
        QFETCH(QString, rule);
        QFETCH(RuleEdit, edit);
        RecurrenceRule parsed = RecurrenceRule::fromText(rule);
        edit(parsed);
        QTEST(parsed.toText(), "expected");
    }

    void builtFromFields()
    {
        RecurrenceRule rule;
        rule.until = utc(2026, 12, 31);
        rule.untilForm = RecurrenceRule::UntilForm::Date;
        rule.byMonthDay = {15};
        rule.interval = 3;
        rule.freq = u"MONTHLY"_s;
        rule.weekStart = 7;
        rule.byMonth = {1, 7};
        QCOMPARE(rule.toText(), u"FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=15;BYMONTH=1,7;WKST=SU;UNTIL=20261231"_s);
    }

    void untilMoved_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("expected");
        // 08:00 UTC is 09:00 in Berlin.
        QTest::newRow("UTC stays UTC") << u"UNTIL=20260301T000000Z"_s << u"UNTIL=20260316T080000Z"_s;
        QTest::newRow("Floating: the wall clock in the series' zone")
            << u"UNTIL=20260301T000000"_s << u"UNTIL=20260316T090000"_s;
        QTest::newRow("Date: the instant's UTC date") << u"UNTIL=20260301"_s << u"UNTIL=20260316"_s;
    }

    void untilMoved()
    {
        QFETCH(QString, rule);
        RecurrenceRule parsed = RecurrenceRule::fromText(rule);
        parsed.moveUntil(utc(2026, 3, 16, 8), QTimeZone("Europe/Berlin"));
        QTEST(parsed.toText(), "expected");
    }

    void shiftedDays_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("expected");

        // March 2026 begins on a Sunday.
        QTest::newRow("Weekdays: move by the days") << u"FREQ=WEEKLY;BYDAY=MO,WE,SU"_s << QDate(2026, 3, 2)
                                                    << QDate(2026, 3, 3) << u"FREQ=WEEKLY;BYDAY=TU,TH,MO"_s;
        QTest::newRow("Weekdays: backwards over the week's start")
            << u"FREQ=WEEKLY;BYDAY=MO"_s << QDate(2026, 3, 2) << QDate(2026, 2, 28) << u"FREQ=WEEKLY;BYDAY=SA"_s;
        QTest::newRow("Weekday of the month: the second Tuesday becomes the third Thursday")
            << u"FREQ=MONTHLY;BYDAY=2TU"_s << QDate(2026, 3, 10) << QDate(2026, 3, 19) << u"FREQ=MONTHLY;BYDAY=3TH"_s;
        QTest::newRow("Weekday of the month: the last Tuesday stays counted from the end")
            << u"FREQ=MONTHLY;BYDAY=-1TU"_s << QDate(2026, 3, 31) << QDate(2026, 3, 23) << u"FREQ=MONTHLY;BYDAY=-2MO"_s;
        QTest::newRow("Weekday of the month: one that does not name the old day moves by the days")
            << u"FREQ=MONTHLY;BYDAY=1MO"_s << QDate(2026, 3, 10) << QDate(2026, 3, 11) << u"FREQ=MONTHLY;BYDAY=1TU"_s;
        QTest::newRow("Weekday of the year: numbered but not within a month")
            << u"FREQ=YEARLY;BYDAY=2TU"_s << QDate(2026, 3, 10) << QDate(2026, 3, 11) << u"FREQ=YEARLY;BYDAY=2WE"_s;
        QTest::newRow("Day of the month: the 31st of January becomes the 1st")
            << u"FREQ=MONTHLY;BYMONTHDAY=31"_s << QDate(2026, 1, 31) << QDate(2026, 2, 1)
            << u"FREQ=MONTHLY;BYMONTHDAY=1"_s;
        QTest::newRow("Day of the month: the last day stays counted from the end")
            << u"FREQ=MONTHLY;BYMONTHDAY=-1"_s << QDate(2026, 1, 31) << QDate(2026, 1, 29)
            << u"FREQ=MONTHLY;BYMONTHDAY=-3"_s;
        QTest::newRow("Day of the month: other days move by the days")
            << u"FREQ=MONTHLY;BYMONTHDAY=1,15"_s << QDate(2026, 3, 15) << QDate(2026, 3, 17)
            << u"FREQ=MONTHLY;BYMONTHDAY=3,17"_s;
        QTest::newRow("Month: November to December with its day")
            << u"FREQ=YEARLY;BYMONTH=11;BYMONTHDAY=30;X-A=1"_s << QDate(2026, 11, 30) << QDate(2026, 12, 1)
            << u"FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=1;X-A=1"_s;
        QTest::newRow("Unchanged: a rule without day parts keeps its text")
            << u"freq=daily;count=3"_s << QDate(2026, 3, 2) << QDate(2026, 3, 5) << u"freq=daily;count=3"_s;
    }

    void shiftedDays()
    {
        QFETCH(QString, rule);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        RecurrenceRule parsed = RecurrenceRule::fromText(rule);
        parsed.shiftDays(from, to);
        QTEST(parsed.toText(), "expected");
    }

    // What the rule reads compared with another reader of RRULE values.
    void readsLikeTheReference()
    {
        const QStringList rules = {
            u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR;COUNT=10"_s,
            u"FREQ=MONTHLY;BYDAY=-1FR;UNTIL=20261231T235959Z"_s,
            u"FREQ=YEARLY;BYMONTH=3,10;BYDAY=-1SU;WKST=SU"_s,
            u"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1;UNTIL=20270105"_s,
            u"FREQ=DAILY;UNTIL=20260316T085959"_s,
            u"freq=monthly;bymonthday=1,-1;interval=3"_s,
            u"FREQ=WEEKLY;X-NAME=kept;BYDAY=SA,SU"_s,
        };
        const QString python = u"/usr/bin/python3"_s;
        if (!QFile::exists(python))
            QSKIP("/usr/bin/python3 is missing");
        QProcess reference;
        reference.start(python, {u"-c"_s, QString::fromUtf8(kReferenceScript)});
        reference.write(QJsonDocument(QJsonArray::fromStringList(rules)).toJson());
        reference.closeWriteChannel();
        QVERIFY(reference.waitForFinished(60000));
        if (reference.exitCode() == 3)
            QSKIP("the icalendar package is missing");
        QVERIFY2(reference.exitCode() == 0, reference.readAllStandardError().constData());
        const QJsonArray expected = QJsonDocument::fromJson(reference.readAllStandardOutput()).array();
        QCOMPARE(expected.size(), rules.size());

        const auto ints = [](const QList<int> &values) {
            QJsonArray out;
            for (int v : values)
                out.append(v);
            return out;
        };
        static const char codes[7][3] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
        for (qsizetype i = 0; i < rules.size(); ++i) {
            const RecurrenceRule rule = RecurrenceRule::fromText(rules.at(i));
            QString until;
            if (rule.until.isValid()) {
                const QString wall = rule.until.toString(u"yyyyMMdd'T'HHmmss"_s);
                switch (rule.untilForm) {
                case RecurrenceRule::UntilForm::Date: until = wall.left(8); break;
                case RecurrenceRule::UntilForm::Floating: until = wall; break;
                case RecurrenceRule::UntilForm::Utc: until = wall + u'Z'; break;
                }
            }
            const QJsonObject ours{
                {u"freq"_s, rule.freq},
                {u"interval"_s, rule.interval},
                {u"count"_s, rule.count},
                {u"until"_s, until},
                {u"byday"_s, QJsonArray::fromStringList(rule.byDay)},
                {u"bymonthday"_s, ints(rule.byMonthDay)},
                {u"bymonth"_s, ints(rule.byMonth)},
                {u"bysetpos"_s, ints(rule.bySetPos)},
                {u"wkst"_s, QLatin1String(codes[rule.weekStart - 1])},
            };
            QCOMPARE(QJsonDocument(ours).toJson(QJsonDocument::Compact),
                     QJsonDocument(expected.at(i).toObject()).toJson(QJsonDocument::Compact));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecurrenceRuleText)
#include "tst_recurrenceruletext.moc"
