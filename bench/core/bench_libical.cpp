// libical on the calendar bench_core reads: icalparser on the whole text
// (MB/s) and icalrecur_iterator over 2025 for every repeating event
// (occurrences/s), the rule text read anew each time as ours is.
#include "benchcalendar.h"

#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <string>
#include <vector>

namespace {

struct Series
{
    icaltimetype dtstart;
    std::string rule;
};

const QByteArray &calendarText()
{
    static const QByteArray text = BenchCalendar::make();
    return text;
}

icaltimetype utcTime(const QDateTime &dt)
{
    return icaltime_from_timet_with_zone(time_t(dt.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
}

void parse(benchmark::State &state)
{
    const QByteArray &text = calendarText();
    int events = 0;
    for (auto _ : state) {
        icalcomponent *calendar = icalparser_parse_string(text.constData());
        events = icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT);
        icalcomponent_free(calendar);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * text.size());
    state.counters["events"] = double(events);
}

void iterateRules(benchmark::State &state)
{
    icalcomponent *calendar = icalparser_parse_string(calendarText().constData());
    std::vector<Series> series;
    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty *rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (!rrule)
            continue;
        const icalrecurrencetype recur = icalproperty_get_rrule(rrule);
        series.push_back(
            {icalcomponent_get_dtstart(event), icalrecurrencetype_as_string(const_cast<icalrecurrencetype *>(&recur))});
    }
    const icaltimetype from = utcTime(BenchCalendar::windowStart());
    const icaltimetype to = utcTime(BenchCalendar::windowEnd());

    qint64 occurrences = 0;
    for (auto _ : state) {
        occurrences = 0;
        for (const Series &s : series) {
            const icalrecurrencetype recur = icalrecurrencetype_from_string(s.rule.c_str());
            icalrecur_iterator *it = icalrecur_iterator_new(recur, s.dtstart);
            if (!it)
                continue;
            // The best libical offers: jump to the window when there is no COUNT.
            if (recur.count == 0)
                icalrecur_iterator_set_start(it,
                                             icaltime_convert_to_zone(from,
                                                                      const_cast<icaltimezone *>(s.dtstart.zone)));
            for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
                 next = icalrecur_iterator_next(it)) {
                if (icaltime_compare(next, to) >= 0)
                    break;
                if (icaltime_compare(next, from) >= 0)
                    ++occurrences;
            }
            icalrecur_iterator_free(it);
        }
    }
    icalcomponent_free(calendar);
    state.counters["series"] = double(series.size());
    state.counters["occurrences"] = double(occurrences);
    state.counters["occurrences/s"] = benchmark::Counter(double(occurrences),
                                                         benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(parse)->Unit(benchmark::kMillisecond);
BENCHMARK(iterateRules)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
