#include "filterengine.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Event occurrence(const QString &id, const QString &title, const QString &calendar = u"cal"_s)
{
    Event e;
    e.id = id;
    e.uid = id + u"@uid"_s;
    e.calendar_id = calendar;
    e.title = title;
    e.start_time = QDateTime(QDate(2026, 3, 30), QTime(9, 0)).toUTC(); // a Monday, 09:00 local
    e.end_time = e.start_time.addSecs(3600);
    return e;
}

FilterRule rule(const QString &id, const QString &conditions, const QString &action = u"hide"_s, int priority = 100)
{
    FilterRule r;
    r.id = id;
    r.conditions = conditions;
    r.action = action;
    r.priority = priority;
    return r;
}

QString titleContains(const QString &word)
{
    return uR"({"runtimeType":"pattern","titleContains":["%1"]})"_s.arg(word);
}

QStringList ids(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.id);
    return out;
}

QStringList sorted(const QSet<QString> &set)
{
    QStringList out(set.cbegin(), set.cend());
    out.sort();
    return out;
}

Event at(QTime localTime, QDate date = QDate(2026, 3, 30))
{
    Event e = occurrence(u"t"_s, u"Timed"_s);
    e.start_time = QDateTime(date, localTime).toUTC();
    return e;
}

} // namespace

class TestFilterEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void apply_data()
    {
        QTest::addColumn<QList<Event>>("occurrences");
        QTest::addColumn<QList<FilterRule>>("rules");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QStringList>("dimmed");
        QTest::addColumn<int>("hiddenCount");
        QTest::addColumn<QStringList>("suppressed");

        const QList<Event> standupAndLunch = {occurrence(u"a"_s, u"Standup"_s), occurrence(u"b"_s, u"Lunch"_s)};
        const QStringList both = {u"a"_s, u"b"_s};

        FilterRule disabled = rule(u"r1"_s, titleContains(u"Standup"_s));
        disabled.enabled = false;
        FilterRule tombstoned = rule(u"r2"_s, titleContains(u"Standup"_s));
        tombstoned.deleted_at = QDateTime::currentDateTimeUtc();
        QTest::newRow("disabled and tombstoned rules are skipped")
            << standupAndLunch << QList<FilterRule>{disabled, tombstoned} << both << QStringList() << 0
            << QStringList();

        Event allDay = occurrence(u"d"_s, u"Holiday"_s);
        allDay.is_all_day = true;
        QTest::newRow("the type field's spelling all_day is no runtimeType; allDay is")
            << QList<Event>{allDay} << QList<FilterRule>{rule(u"r1"_s, uR"({"runtimeType":"all_day"})"_s, u"dim"_s)}
            << QStringList{u"d"_s} << QStringList() << 0 << QStringList();
        QTest::newRow("allDay rule hides an all-day occurrence")
            << QList<Event>{allDay, occurrence(u"b"_s, u"Lunch"_s)}
            << QList<FilterRule>{rule(u"r1"_s, uR"({"runtimeType":"allDay"})"_s)} << QStringList{u"b"_s}
            << QStringList() << 1 << QStringList{u"d"_s};

        QTest::newRow("lower priority number decides even when it only dims")
            << standupAndLunch
            << QList<FilterRule>{rule(u"hide"_s, titleContains(u"Standup"_s), u"hide"_s, 20),
                                 rule(u"dim"_s, titleContains(u"Standup"_s), u"dim"_s, 10)}
            << both << QStringList{u"a"_s} << 0 << QStringList();

        QList<FilterRule> many = {rule(u"first"_s, titleContains(u"Standup"_s), u"dim"_s)};
        for (int i = 0; i < 40; ++i)
            many.append(rule(QString::number(i), titleContains(u"Standup"_s), u"hide"_s));
        QTest::newRow("equal priority: the rule given first decides, among many")
            << standupAndLunch << many << both << QStringList{u"a"_s} << 0 << QStringList();

        // Past 64 rules the engine's per-call bit sets no longer cover them.
        QList<FilterRule> manyKinds;
        for (int i = 0; i < 70; ++i)
            manyKinds.append(rule(u"p%1"_s.arg(i), titleContains(u"nothing %1"_s.arg(i))));
        for (int i = 0; i < 70; ++i)
            manyKinds.append(rule(u"s%1"_s.arg(i), uR"({"runtimeType":"specific"})"_s));
        manyKinds[69].conditions = titleContains(u"lunch"_s);
        manyKinds[139].event_uid = u"a@uid"_s;
        manyKinds[139].event_calendar_id = u"cal"_s;
        QTest::newRow("rules beyond the 64th still decide")
            << standupAndLunch << manyKinds << QStringList() << QStringList() << 2 << both;

        QTest::newRow("another action shields from a later hide rule")
            << standupAndLunch
            << QList<FilterRule>{rule(u"keep"_s, titleContains(u"Standup"_s), u"show"_s, 1),
                                 rule(u"hide"_s, titleContains(u"Standup"_s), u"hide"_s, 2)}
            << both << QStringList() << 0 << QStringList();

        FilterRule otherCalendar = rule(u"other"_s, titleContains(u"Standup"_s), u"hide"_s, 1);
        otherCalendar.calendar_ids = uR"(["work"])"_s;
        QTest::newRow("rule for other calendars is skipped and the next one tried")
            << standupAndLunch
            << QList<FilterRule>{otherCalendar, rule(u"dim"_s, titleContains(u"Standup"_s), u"dim"_s, 2)} << both
            << QStringList{u"a"_s} << 0 << QStringList();
        FilterRule thisCalendar = otherCalendar;
        thisCalendar.calendar_ids = uR"(["work", "cal"])"_s;
        QTest::newRow("rule for this calendar applies")
            << standupAndLunch << QList<FilterRule>{thisCalendar} << QStringList{u"b"_s} << QStringList() << 1
            << QStringList{u"a"_s};

        FilterRule dimQuietly = rule(u"dq"_s, titleContains(u"Lunch"_s), u"dim"_s);
        dimQuietly.suppress_reminders = true;
        QTest::newRow("hidden always suppresses reminders, dimmed only on request")
            << QList<Event>{occurrence(u"a"_s, u"Standup"_s), occurrence(u"b"_s, u"Lunch"_s),
                            occurrence(u"c"_s, u"Review"_s)}
            << QList<FilterRule>{rule(u"h"_s, titleContains(u"Standup"_s)), dimQuietly,
                                 rule(u"d"_s, titleContains(u"Review"_s), u"dim"_s)}
            << QStringList{u"b"_s, u"c"_s} << QStringList{u"b"_s, u"c"_s} << 1 << QStringList{u"a"_s, u"b"_s};

        QTest::newRow("three hidden occurrences of one series count three times, one id")
            << QList<Event>{occurrence(u"s"_s, u"Standup"_s), occurrence(u"b"_s, u"Lunch"_s),
                            occurrence(u"s"_s, u"Standup"_s), occurrence(u"s"_s, u"Standup"_s)}
            << QList<FilterRule>{rule(u"h"_s, titleContains(u"standup"_s))} << QStringList{u"b"_s} << QStringList() << 3
            << QStringList{u"s"_s};

        QTest::newRow("unparseable conditions are ignored")
            << standupAndLunch
            << QList<FilterRule>{rule(u"1"_s, QString()), rule(u"2"_s, u"{nope"_s), rule(u"3"_s, u"[1]"_s),
                                 rule(u"4"_s, uR"({"runtimeType":"Pattern","titleContains":[""]})"_s)}
            << both << QStringList() << 0 << QStringList();
    }

    void apply()
    {
        QFETCH(QList<Event>, occurrences);
        QFETCH(QList<FilterRule>, rules);
        const FilterOutcome out = FilterEngine::apply(occurrences, rules);
        QTEST(ids(out.events), "visible");
        QTEST(sorted(out.dimmedIds), "dimmed");
        QTEST(out.hiddenCount, "hiddenCount");
        QTEST(sorted(out.suppressedReminderIds), "suppressed");
    }

    void matchingRuleIgnoresActionButNotState()
    {
        const Event standup = occurrence(u"a"_s, u"Standup"_s);
        FilterRule disabled = rule(u"off"_s, titleContains(u"Standup"_s), u"hide"_s, 1);
        disabled.enabled = false;
        const FilterRule dim = rule(u"dim"_s, titleContains(u"Standup"_s), u"dim"_s, 5);
        const FilterRule other = rule(u"other"_s, titleContains(u"Standup"_s), u"highlight"_s, 2);

        QCOMPARE(FilterEngine::matchingRule(standup, {disabled, dim}), std::optional<FilterRule>(dim));
        QCOMPARE(FilterEngine::matchingRule(standup, {disabled, dim, other}), std::optional<FilterRule>(other));
        QCOMPARE(FilterEngine::matchingRule(occurrence(u"b"_s, u"Lunch"_s), {dim, other}), std::nullopt);
    }

    void matchPattern_data()
    {
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("location");
        QTest::addColumn<bool>("matches");

        const QString pattern = uR"({"runtimeType":"pattern",%1})"_s;
        QTest::newRow("contains ignores case by default")
            << pattern.arg(uR"("titleContains":["STAND"])"_s) << u"Daily standup"_s << QString() << QString() << true;
        QTest::newRow("case-sensitive contains") << pattern.arg(uR"("titleContains":["STAND"],"caseSensitive":true)"_s)
                                                 << u"Daily standup"_s << QString() << QString() << false;
        QTest::newRow("ignoring case works beyond ASCII")
            << pattern.arg(uR"("titleContains":["ÜBUNG"])"_s) << u"Chorübung"_s << QString() << QString() << true;
        QTest::newRow("an accent typed whole matches a base letter and its mark")
            << pattern.arg(u"\"titleContains\":[\"caf\u00e9\"]"_s) << u"Cafe\u0301 talk"_s << QString() << QString()
            << true;
        QTest::newRow("a base letter and its mark match an accent typed whole, case-sensitive")
            << pattern.arg(u"\"titleExact\":[\"Cafe\u0301\"],\"caseSensitive\":true"_s) << u"Caf\u00e9"_s
            << QString() << QString() << true;
        QTest::newRow("exact title must be the whole title")
            << pattern.arg(uR"("titleExact":["standup"])"_s) << u"Daily standup"_s << QString() << QString() << false;
        QTest::newRow("empty title phrase matches everything")
            << pattern.arg(uR"("titleContains":[""])"_s) << u"Anything"_s << QString() << QString() << true;
        QTest::newRow("empty description phrase needs a description")
            << pattern.arg(uR"("descriptionContains":[""])"_s) << u"A"_s << QString() << QString() << false;
        QTest::newRow("location phrase") << pattern.arg(uR"("locationContains":["room 4"])"_s) << u"A"_s << QString()
                                         << u"Room 42"_s << true;
        QTest::newRow("no phrases never match")
            << pattern.arg(uR"("caseSensitive":false)"_s) << u"A"_s << u"d"_s << u"l"_s << false;
        QTest::newRow("a non-string element is an empty phrase")
            << pattern.arg(uR"("titleContains":[42])"_s) << u"A"_s << QString() << QString() << true;
    }

    void matchPattern()
    {
        QFETCH(QString, conditions);
        Event e = occurrence(u"a"_s, QString());
        QFETCH(QString, title);
        QFETCH(QString, description);
        QFETCH(QString, location);
        e.title = title;
        e.description = description;
        e.location = location;
        const std::optional<FilterCondition> c = FilterEngine::parseConditions(conditions);
        QVERIFY(c);
        QTEST(FilterEngine::matchPattern(e, std::get<PatternCondition>(*c)), "matches");
        QTEST(FilterEngine::apply({e}, {rule(u"r"_s, conditions)}).hiddenCount == 1, "matches");
    }

    void matchTime_data()
    {
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<Event>("event");
        QTest::addColumn<bool>("matches");

        const QString range = uR"({"runtimeType":"time","timeRange":{"start":"09:00","end":"17:00"}})"_s;
        QTest::newRow("range end is inclusive") << range << at(QTime(17, 0)) << true;
        QTest::newRow("one minute past the range") << range << at(QTime(17, 1)) << false;
        QTest::newRow("a range never wraps past midnight")
            << uR"({"runtimeType":"time","timeRange":{"start":"22:00","end":"06:00"}})"_s << at(QTime(23, 0)) << false;
        QTest::newRow("exact time compares the local start (stored in UTC)")
            << uR"({"runtimeType":"time","timeExact":"09:00"})"_s << at(QTime(9, 0)) << true;
        QTest::newRow("local time on a day after a DST change")
            << uR"({"runtimeType":"time","timeExact":"08:30"})"_s << at(QTime(8, 30), QDate(2026, 11, 2)) << true;
        QTest::newRow("three-letter day name in any case")
            << uR"({"runtimeType":"time","daysOfWeek":["Mon"]})"_s << at(QTime(9, 0)) << true;
        QTest::newRow("full day names are unknown but still constrain")
            << uR"({"runtimeType":"time","daysOfWeek":["monday"]})"_s << at(QTime(9, 0)) << false;
        QTest::newRow("recurring only skips a single event")
            << uR"({"runtimeType":"time","daysOfWeek":["mon"],"recurringOnly":true})"_s << at(QTime(9, 0)) << false;
        // Saturday 14 March 2026, all day, held at midnight UTC of its date.
        Event saturday = occurrence(u"h"_s, u"Holiday"_s);
        saturday.is_all_day = true;
        saturday.start_time = QDateTime(QDate(2026, 3, 14), QTime(0, 0), Qt::UTC);
        saturday.end_time = saturday.start_time.addDays(1);
        QTest::newRow("an all-day event falls on its own day in any zone")
            << uR"({"runtimeType":"time","daysOfWeek":["sat"]})"_s << saturday << true;
        QTest::newRow("an all-day event is not on the day before it")
            << uR"({"runtimeType":"time","daysOfWeek":["fri"]})"_s << saturday << false;
        QTest::newRow("an all-day event starts at 00:00")
            << uR"({"runtimeType":"time","timeRange":{"start":"00:00","end":"00:59"}})"_s << saturday << true;
        Event repeating = at(QTime(9, 0));
        repeating.recurrence_rule = u"FREQ=WEEKLY"_s;
        QTest::newRow("recurring only takes a repeating event")
            << uR"({"runtimeType":"time","daysOfWeek":["mon"],"recurringOnly":true})"_s << repeating << true;
    }

    void matchTime()
    {
        QFETCH(QString, conditions);
        QFETCH(Event, event);
        const std::optional<FilterCondition> c = FilterEngine::parseConditions(conditions);
        QVERIFY(c);
        QTEST(FilterEngine::matchTime(event, std::get<TimeCondition>(*c)), "matches");
        QTEST(FilterEngine::apply({event}, {rule(u"r"_s, conditions)}).hiddenCount == 1, "matches");
    }

    // apply() reads local times through a cache of the zone's offsets; it
    // must agree with Qt's own conversion around every change of offset,
    // whatever order the occurrences come in. Each occurrence has a calendar
    // of its own and one rule there expecting its local weekday and time;
    // more than 64 rules also take the unmemoised path.
    void localTimesAcrossDaylightSavingChanges_data()
    {
        QTest::addColumn<bool>("changesFirst");
        QTest::newRow("interleaved order") << false;
        QTest::newRow("instants of change first") << true;
    }

    void localTimesAcrossDaylightSavingChanges()
    {
        QFETCH(bool, changesFirst);
        const QList<QDateTime> changes = {QDateTime(QDate(2026, 3, 8), QTime(7, 0), Qt::UTC),
                                          QDateTime(QDate(2026, 3, 29), QTime(1, 0), Qt::UTC),
                                          QDateTime(QDate(2026, 10, 25), QTime(1, 0), Qt::UTC),
                                          QDateTime(QDate(2026, 11, 1), QTime(6, 0), Qt::UTC)};
        static const char *const days[] = {"", "mon", "tue", "wed", "thu", "fri", "sat", "sun"};
        QList<Event> occurrences;
        QList<FilterRule> rules;
        for (const QDateTime &change : changes) {
            for (int quarter = -12; quarter <= 12; ++quarter) {
                const QString id = QString::number(rules.size());
                Event e = occurrence(id, u"Shift"_s, u"cal-"_s + id);
                e.start_time = change.addSecs(quarter * 15 * 60 - (quarter % 2)); // on and just off the change
                if (changesFirst ? quarter == 0 : rules.size() % 2)
                    occurrences.prepend(e);
                else
                    occurrences.append(e);
                const QDateTime local = e.start_time.toLocalTime();
                FilterRule r = rule(id,
                                    uR"({"runtimeType":"time","timeExact":"%1","daysOfWeek":["%2"]})"_s.arg(
                                        local.toString(u"HH:mm"_s), QLatin1String(days[local.date().dayOfWeek()])),
                                    u"dim"_s);
                r.calendar_ids = uR"(["cal-%1"])"_s.arg(id);
                rules.append(r);
            }
        }
        const FilterOutcome out = FilterEngine::apply(occurrences, rules);
        QStringList missed;
        for (const Event &e : occurrences) {
            if (!out.dimmedIds.contains(e.id))
                missed.append(e.start_time.toString(Qt::ISODate));
        }
        QCOMPARE(missed, QStringList());
        QCOMPARE(out.events.size(), occurrences.size());
    }

    void specificRuleNamesOneEvent()
    {
        FilterRule r = rule(u"s"_s, uR"({"runtimeType":"specific"})"_s);
        r.event_uid = u"remote-7"_s;
        r.event_calendar_id = u"cal"_s;
        const FilterCondition c = SpecificCondition{};

        Event e = occurrence(u"a"_s, u"Standup"_s);
        QVERIFY(!FilterEngine::matches(e, r, c));
        e.provider_event_id = u"remote-7"_s;
        QVERIFY(FilterEngine::matches(e, r, c));
        e.calendar_id = u"other"_s;
        QVERIFY(!FilterEngine::matches(e, r, c));
        e.calendar_id = u"cal"_s;
        e.provider_event_id.clear();
        e.uid = u"remote-7"_s;
        QVERIFY(FilterEngine::matches(e, r, c));
    }
};

QTEST_GUILESS_MAIN(TestFilterEngine)
#include "tst_filterengine.moc"
