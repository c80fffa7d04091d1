#include "filterengine.h"
#include "nlparser.h"
#include "timelinelayout.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

const QStringList titles = {u"Team standup"_s,    u"1:1 with Ann"_s,  u"Lunch"_s,          u"Dentist"_s,
                            u"Sprint planning"_s, u"Gym"_s,           u"Release review"_s, u"Customer call"_s,
                            u"Focus time"_s,      u"Board meeting"_s, u"Yoga"_s,           u"Coffee with Bo"_s};

// A month of occurrences as the expansion hands them over: 1,500 events over
// eight calendars (a fifth all-day, a third repeating, some with descriptions
// and locations), repeating ones copied into several occurrences. With
// `separateText` no two occurrences share string data, as if each had been
// read on its own.
QList<Event> occurrences(int count, bool separateText)
{
    QRandomGenerator rng(42);
    QList<Event> masters;
    const QDateTime base(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < 1500; ++i) {
        Event e;
        e.id = u"ev-%1"_s.arg(i);
        e.uid = e.id + u"@example.org"_s;
        e.calendar_id = u"cal-%1"_s.arg(rng.bounded(8));
        e.title = titles.at(rng.bounded(int(titles.size())));
        if (i % 3 == 0)
            e.description = u"Agenda: updates, blockers, next steps. Dial-in details follow (%1)."_s.arg(i);
        if (i % 4 == 0)
            e.location = u"Room %1, Building B"_s.arg(rng.bounded(40));
        e.start_time = base.addSecs(qint64(rng.bounded(30 * 24 * 4)) * 15 * 60);
        e.end_time = e.start_time.addSecs(3600);
        e.is_all_day = i % 5 == 0;
        if (i % 3 == 1)
            e.recurrence_rule = u"FREQ=WEEKLY;BYDAY=MO"_s;
        masters.append(e);
    }
    QList<Event> out;
    out.reserve(count);
    for (int i = 0; out.size() < count; ++i) {
        const Event &master = masters.at(i % masters.size());
        if (i >= masters.size() && master.recurrence_rule.isEmpty())
            continue;
        Event e = master;
        if (separateText) {
            e.title = QString(master.title.constData(), master.title.size());
            e.description = QString(master.description.constData(), master.description.size());
            e.location = QString(master.location.constData(), master.location.size());
        }
        e.start_time = master.start_time.addDays(7 * (i / masters.size()));
        e.end_time = e.start_time.addSecs(3600);
        out.append(e);
    }
    return out;
}

FilterRule rule(int i, const QString &conditions, const QString &calendars = u"[]"_s)
{
    FilterRule r;
    r.id = u"rule-%1"_s.arg(i);
    r.conditions = conditions;
    r.calendar_ids = calendars;
    r.action = i % 3 == 0 ? u"dim"_s : u"hide"_s;
    r.priority = 100 + i % 4;
    r.event_uid = u"ev-%1@example.org"_s.arg(i * 37);
    r.event_calendar_id = u"cal-%1"_s.arg(i % 8);
    return r;
}

// Thirty rules, mostly selective, so that most occurrences are tested
// against every rule: the costly path.
QList<FilterRule> rules()
{
    QList<FilterRule> out;
    for (int i = 0; i < 10; ++i) {
        out.append(rule(out.size(),
                        uR"({"runtimeType":"pattern","titleContains":["offsite %1","holiday"],)"
                        uR"("descriptionContains":["cancelled"],"locationContains":["room %1,"],"caseSensitive":%2})"_s
                            .arg(i + 7)
                            .arg(i % 2 ? u"true"_s : u"false"_s),
                        i % 3 ? u"[]"_s : u"[\"cal-1\",\"cal-2\",\"cal-3\"]"_s));
    }
    for (int i = 0; i < 8; ++i) {
        out.append(rule(
            out.size(),
            uR"({"runtimeType":"time","timeRange":{"start":"%1:00","end":"%1:30"},"daysOfWeek":["sat","sun"],"recurringOnly":%2})"_s
                .arg(6 + i, 2, 10, QLatin1Char('0'))
                .arg(i % 2 ? u"true"_s : u"false"_s)));
    }
    for (int i = 0; i < 7; ++i)
        out.append(rule(out.size(), uR"({"runtimeType":"specific"})"_s));
    for (int i = 0; i < 5; ++i) {
        out.append(rule(out.size(), uR"({"runtimeType":"allDay","recurringOnly":true})"_s, u"[\"cal-%1\"]"_s.arg(i)));
    }
    return out;
}

void BM_FilterApply(benchmark::State &state)
{
    const QList<Event> events = occurrences(5000, state.range(0) != 0);
    const QList<FilterRule> ruleList = rules();
    int hidden = 0;
    for (auto _ : state) {
        const FilterOutcome out = FilterEngine::apply(events, ruleList);
        hidden = out.hiddenCount;
        benchmark::DoNotOptimize(out.events.size());
    }
    state.counters["hidden"] = hidden;
    state.SetItemsProcessed(state.iterations() * events.size());
}
BENCHMARK(BM_FilterApply)->ArgName("separateText")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LayoutAllOverlapping(benchmark::State &state)
{
    // Every event starts before any of them ends: one cluster of 1,000 lanes.
    QList<Event> events;
    QRandomGenerator rng(7);
    const QDateTime morning(QDate(2026, 3, 2), QTime(8, 0));
    for (int i = 0; i < 1000; ++i) {
        Event e;
        e.id = u"ev-%1"_s.arg(i);
        e.title = titles.at(i % titles.size());
        e.start_time = morning.addSecs(rng.bounded(4 * 3600));
        e.end_time = morning.addSecs(5 * 3600 + rng.bounded(4 * 3600));
        events.append(e);
    }
    for (auto _ : state) {
        const QList<TimelineItem> items = layoutTimedEvents(events);
        benchmark::DoNotOptimize(items.constLast().columnCount);
    }
    state.SetItemsProcessed(state.iterations() * events.size());
}
BENCHMARK(BM_LayoutAllOverlapping)->Unit(benchmark::kMillisecond);

const QStringList phrases = {
    u"Team sync tomorrow at 3pm"_s,
    u"Lunch with colleagues tomorrow at 12:30 for 90 min"_s,
    u"Dentist next wednesday"_s,
    u"Call Ann at 9am"_s,
    u"Focus for 1.5h"_s,
    u"Review in 2 weeks"_s,
    u"Party jan 5"_s,
    u"Shift from 10pm to 2am"_s,
    u"Standup on monday at 9:15"_s,
    u"Workshop tomorrow for 2 hours"_s,
    u"Gym at 7"_s,
    u"Board meeting friday at noon"_s,
    u"Pay rent"_s,
    u"Flight to Berlin on march 14 at 6:40am"_s,
    u"Coffee with Bo in 3 days at 1530"_s,
    u"Plan the quarter next thu from 9 to 11am"_s,
    u"Yoga sat at 10am for 45 min"_s,
    u"Release review today at 4pm"_s,
    u"Call mum sunday"_s,
    u"Backup at midnight"_s,
};

// The previews parse the whole line again on every keystroke: each
// iteration types all twenty phrases, one character at a time.
void BM_ParsePerKeystroke(benchmark::State &state)
{
    QStringList prefixes;
    for (const QString &p : phrases) {
        for (int n = 1; n <= p.size(); ++n)
            prefixes.append(p.left(n));
    }
    const QDateTime now(QDate(2026, 10, 21), QTime(10, 7, 45));
    for (auto _ : state) {
        for (const QString &text : prefixes)
            benchmark::DoNotOptimize(NLParser::parse(text, now).start);
    }
    state.counters["keystrokes"] = double(prefixes.size());
    state.counters["per_keystroke"] = benchmark::Counter(double(prefixes.size()),
                                                         benchmark::Counter::kIsIterationInvariantRate
                                                             | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParsePerKeystroke)->Unit(benchmark::kMillisecond);

void BM_ParseTwentyPhrases(benchmark::State &state)
{
    const QDateTime now(QDate(2026, 10, 21), QTime(10, 7, 45));
    for (auto _ : state) {
        for (const QString &text : phrases)
            benchmark::DoNotOptimize(NLParser::parse(text, now).start);
    }
}
BENCHMARK(BM_ParseTwentyPhrases)->Unit(benchmark::kMicrosecond);

} // namespace
