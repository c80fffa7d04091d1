#include "zonerules.h"

#include "civildate_p.h"
#include "icalendar_p.h"
#include "recurrencerule.h"
#include "seriesexpander_p.h"

#include <algorithm>
#include <limits>

using namespace ICalendar::Detail;

namespace {

// "+hhmm" or "-hhmmss" in seconds.
std::optional<int> readOffset(QStringView text)
{
    text = text.trimmed();
    if ((text.size() != 5 && text.size() != 7)
        || (text.front() != QLatin1Char('+') && text.front() != QLatin1Char('-')))
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        int &part = parts[(i - 1) / 2];
        part = part * 10 + (c - u'0');
    }
    if (parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    const int seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return text.front() == QLatin1Char('-') ? -seconds : seconds;
}

// An observance's wall clock ("yyyyMMddTHHmmss", or a date) as seconds.
std::optional<qint64> readLocal(QStringView text)
{
    // Read as UTC on purpose: only the wall clock is wanted.
    const ZoneClock utc = ZoneClock::fixedOffset(0);
    const std::optional<qint64> ms = SeriesExpander::readDateValue(text, utc);
    if (!ms)
        return std::nullopt;
    return CivilDate::floorDiv(*ms, 1000);
}

} // namespace

std::optional<ZoneRules> ZoneRules::fromVTimezone(QStringView block)
{
    ZoneRules rules;
    LineReader reader(block);
    QStringView line;
    int depth = 0;
    Observance current;
    bool haveStart = false, haveFrom = false, haveTo = false;
    while (reader.next(&line)) {
        const PropertyView prop = splitLine(line);
        if (prop.is(QLatin1String("BEGIN"))) {
            if (++depth == 2) {
                current = Observance();
                haveStart = haveFrom = haveTo = false;
            }
            continue;
        }
        if (prop.is(QLatin1String("END"))) {
            if (depth == 2 && haveStart && haveFrom && haveTo)
                rules.m_observances.push_back(current);
            depth = std::max(0, depth - 1);
            continue;
        }
        if (depth == 1 && prop.is(QLatin1String("TZID"))) {
            rules.m_id = unescape(prop.value);
        } else if (depth == 2) {
            if (prop.is(QLatin1String("DTSTART"))) {
                if (const auto local = readLocal(prop.value)) {
                    current.startLocal = *local;
                    haveStart = true;
                }
            } else if (prop.is(QLatin1String("TZOFFSETFROM"))) {
                if (const auto offset = readOffset(prop.value)) {
                    current.offsetFrom = *offset;
                    haveFrom = true;
                }
            } else if (prop.is(QLatin1String("TZOFFSETTO"))) {
                if (const auto offset = readOffset(prop.value)) {
                    current.offsetTo = *offset;
                    haveTo = true;
                }
            } else if (prop.is(QLatin1String("RRULE"))) {
                current.rule = prop.value.toString();
            } else if (prop.is(QLatin1String("RDATE"))) {
                for (QStringView piece : prop.value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    if (const auto local = readLocal(piece))
                        current.datesLocal.push_back(*local);
                }
            }
        }
    }
    if (rules.m_id.isEmpty() || rules.m_observances.empty())
        return std::nullopt;
    // Before its first onset a zone keeps the offset that onset leaves.
    const auto first = std::min_element(rules.m_observances.begin(), rules.m_observances.end(),
                                        [](const Observance &a, const Observance &b) {
        return a.startLocal - a.offsetFrom < b.startLocal - b.offsetFrom;
    });
    rules.m_initialOffset = first->offsetFrom;
    return rules;
}

std::vector<ZoneRules::Onset> ZoneRules::onsetsUntil(qint64 toUtc) const
{
    // (instant, offset after), from every observance.
    std::vector<std::pair<qint64, int>> all;
    const qint64 toMs = toUtc >= std::numeric_limits<qint64>::max() / 1000 ? std::numeric_limits<qint64>::max()
                                                                           : toUtc * 1000 + 1;
    for (const Observance &o : m_observances) {
        const auto add = [&](qint64 local) {
            const qint64 at = local - o.offsetFrom;
            if (at <= toUtc)
                all.emplace_back(at, o.offsetTo);
        };
        add(o.startLocal);
        for (qint64 local : o.datesLocal)
            add(local);
        if (o.rule.isEmpty())
            continue;
        // The onsets' wall clock is in the offset before them.
        SeriesExpander expander(std::numeric_limits<qint64>::min(), toMs, false);
        std::vector<qint64> starts;
        expander.ruleStarts(Recurrence::parseRule(o.rule), ZoneClock::fixedOffset(o.offsetFrom), o.startLocal, 0, 0,
                            starts);
        for (qint64 ms : starts)
            all.emplace_back(CivilDate::floorDiv(ms, 1000), o.offsetTo);
    }
    std::sort(all.begin(), all.end());
    std::vector<Onset> onsets;
    int offset = m_initialOffset;
    for (const auto &[at, after] : all) {
        if (after == offset)
            continue;
        onsets.push_back({at, offset, after});
        offset = after;
    }
    return onsets;
}
