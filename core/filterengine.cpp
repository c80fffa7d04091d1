#include "filterengine.h"

#include "filterpatterns_p.h"
#include "localclock.h"
#include "recordnames.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QStringList stringList(const QJsonValue &value)
{
    QStringList out;
    if (!value.isArray())
        return out;
    const QJsonArray array = value.toArray();
    out.reserve(array.size());
    for (const QJsonValue &item : array)
        out.append(item.toString()); // a non-string element stays as ""
    return out;
}

bool boolValue(const QJsonValue &value)
{
    return value.isBool() && value.toBool();
}

struct CompiledTime
{
    explicit CompiledTime(const TimeCondition &c)
        : timeExact(c.timeExact)
        , rangeStart(c.rangeStart)
        , rangeEnd(c.rangeEnd)
        , daysConstrained(!c.daysOfWeek.isEmpty())
        , recurringOnly(c.recurringOnly)
    {
        for (const QString &name : c.daysOfWeek)
            dayMask |= 1u << FilterEngine::weekdayFromName(name); // unknown names set bit 0, never read
    }
    bool constrained() const
    {
        return daysConstrained || !timeExact.isEmpty() || !rangeStart.isEmpty() || !rangeEnd.isEmpty();
    }
    QString timeExact;
    QString rangeStart;
    QString rangeEnd;
    unsigned dayMask = 0;
    bool daysConstrained;
    bool recurringOnly;
};

using CompiledCondition = std::variant<CompiledPattern, CompiledTime, SpecificCondition, AllDayCondition>;

CompiledCondition compileCondition(const FilterCondition &condition)
{
    switch (condition.index()) {
    case 0: return CompiledPattern(std::get<PatternCondition>(condition));
    case 1: return CompiledTime(std::get<TimeCondition>(condition));
    case 2: return std::get<SpecificCondition>(condition);
    default: return std::get<AllDayCondition>(condition);
    }
}

// What several rules read of one occurrence, worked out on first use only.
class OccurrenceFacts
{
public:
    explicit OccurrenceFacts(const Event &event, PatternMemo *memo = nullptr, LocalClock *clock = nullptr,
                             const Occurrence *occurrence = nullptr)
        : event(event)
        , m_memo(memo)
        , m_clock(clock)
        , m_occurrence(occurrence)
    {
    }

    bool patternHit(const CompiledPattern &c, int slot)
    {
        if (slot < 0 || !m_memo)
            return c.matches(event);
        if (!m_patternBits)
            m_patternBits = m_memo->hits(event);
        return (*m_patternBits >> slot) & 1;
    }

    bool hasLocalStart() { return local().valid; }
    int localWeekday() { return local().weekday; }
    const QString &localTimeText() { return local().time; }

    const Event &event;

private:
    struct Local
    {
        bool valid = false;
        int weekday = 0;
        QString time;
    };

    const Local &local()
    {
        if (!m_local) {
            // An all-day value is a date, not an instant: its own day at
            // 00:00, wherever the machine is (its stored midnight UTC is
            // the day before west of UTC).
            constexpr qint64 msPerDay = 24 * 3600 * 1000;
            const QDateTime start = startTime();
            const std::optional<qint64> wallClock = event.is_all_day && start.isValid()
                ? std::optional<qint64>(QDate(1970, 1, 1).daysTo(start.date()) * msPerDay)
                : m_clock ? m_clock->wallClock(start)
                          : LocalClock::wallClockOnce(start);
            m_local = wallClock ? fromWallClock(*wallClock) : Local{};
        }
        return *m_local;
    }

    // A timed occurrence a series made counts by its instant alone.
    QDateTime startTime() const
    {
        if (!m_occurrence || !m_occurrence->isGenerated())
            return event.start_time;
        return event.is_all_day ? m_occurrence->start()
                                : QDateTime::fromMSecsSinceEpoch(m_occurrence->startMs(), Qt::UTC);
    }

    // Weekday and "HH:mm" by plain arithmetic: this runs once per occurrence.
    static Local fromWallClock(qint64 ms)
    {
        constexpr qint64 msPerDay = 24 * 3600 * 1000;
        qint64 days = ms / msPerDay;
        qint64 inDay = ms % msPerDay;
        if (inDay < 0) {
            inDay += msPerDay;
            --days;
        }
        const int weekday = int((days % 7 + 7 + 3) % 7) + 1; // 1970-01-01 was a Thursday
        const int hour = int(inDay / 3600000);
        const int minute = int(inDay / 60000 % 60);
        const char16_t text[] = {char16_t(u'0' + hour / 10), char16_t(u'0' + hour % 10), u':',
                                 char16_t(u'0' + minute / 10), char16_t(u'0' + minute % 10)};
        return Local{true, weekday, QString(reinterpret_cast<const QChar *>(text), 5)};
    }

    PatternMemo *m_memo;
    LocalClock *m_clock;
    const Occurrence *m_occurrence;
    std::optional<quint64> m_patternBits;
    std::optional<Local> m_local;
};

bool matchCompiledTime(OccurrenceFacts &facts, const CompiledTime &c)
{
    // A condition that constrains nothing matches nothing, recurringOnly or not.
    if (!c.constrained())
        return false;
    if (c.recurringOnly && facts.event.recurrence_rule.isEmpty())
        return false;
    if (!facts.hasLocalStart())
        return false;
    if (c.daysConstrained && !(c.dayMask & (1u << facts.localWeekday()) & ~1u))
        return false;
    // Plain text comparison: the editor writes zero-padded "HH:mm". A range
    // never wraps past midnight.
    const QString &time = facts.localTimeText();
    if (!c.timeExact.isEmpty() && time != c.timeExact)
        return false;
    if (!c.rangeStart.isEmpty() && time < c.rangeStart)
        return false;
    if (!c.rangeEnd.isEmpty() && time > c.rangeEnd)
        return false;
    return true;
}

bool matchSpecific(const Event &event, const FilterRule &rule)
{
    if (event.calendar_id != rule.event_calendar_id)
        return false;
    return event.uid == rule.event_uid
        || (!event.provider_event_id.isEmpty() && event.provider_event_id == rule.event_uid);
}

bool matchAllDay(const Event &event, const AllDayCondition &c)
{
    return event.is_all_day && (!c.recurringOnly || !event.recurrence_rule.isEmpty());
}

bool matchCompiled(OccurrenceFacts &facts, const FilterRule &rule, const CompiledCondition &condition,
                   int patternSlot = -1)
{
    switch (condition.index()) {
    case 0: return facts.patternHit(std::get<CompiledPattern>(condition), patternSlot);
    case 1: return matchCompiledTime(facts, std::get<CompiledTime>(condition));
    case 2: return matchSpecific(facts.event, rule);
    default: return matchAllDay(facts.event, std::get<AllDayCondition>(condition));
    }
}

struct CompiledFilterRule
{
    FilterRule rule;
    CompiledCondition condition;
    QSet<QString> calendarIds;
    int patternSlot = -1;
};

QList<CompiledFilterRule> compileRules(const QList<FilterRule> &rules)
{
    QList<CompiledFilterRule> compiled;
    compiled.reserve(rules.size());
    for (const FilterRule &rule : rules) {
        if (!rule.enabled || rule.deleted_at.has_value())
            continue;
        const std::optional<FilterCondition> condition = FilterEngine::parseConditions(rule.conditions);
        if (!condition)
            continue;
        compiled.append(CompiledFilterRule{rule, compileCondition(*condition),
                                           FilterEngine::parseCalendarIds(rule.calendar_ids), -1});
    }
    // Equal priorities keep the caller's order (the repository sorts them by name).
    std::stable_sort(compiled.begin(), compiled.end(), [](const CompiledFilterRule &a, const CompiledFilterRule &b) {
        return a.rule.priority < b.rule.priority;
    });
    return compiled;
}

// The rules of one call, in deciding order, with the memo their pattern
// rules share.
class RuleSet
{
public:
    explicit RuleSet(const QList<FilterRule> &rules)
        : m_rules(compileRules(rules))
    {
        for (qsizetype i = 0; i < m_rules.size(); ++i) {
            CompiledFilterRule &r = m_rules[i];
            if (auto *pattern = std::get_if<CompiledPattern>(&r.condition))
                r.patternSlot = m_memo.add(pattern);
            else if (i < 64 && std::holds_alternative<SpecificCondition>(r.condition))
                m_specificByUid[r.rule.event_uid] |= quint64(1) << i;
        }
    }
    Q_DISABLE_COPY_MOVE(RuleSet)

    bool isEmpty() const { return m_rules.isEmpty(); }

    // The first rule for the occurrence's calendar whose condition matches.
    const CompiledFilterRule *decide(const Event &event, const Occurrence *occurrence = nullptr)
    {
        if (m_rules.isEmpty())
            return nullptr;
        OccurrenceFacts facts(event, &m_memo, &m_clock, occurrence);
        const quint64 forCalendar = rulesForCalendar(event.calendar_id);
        std::optional<quint64> namedBy; // specific rules naming this event by uid
        for (qsizetype i = 0; i < m_rules.size(); ++i) {
            const CompiledFilterRule &r = m_rules.at(i);
            if (i < 64 ? !((forCalendar >> i) & 1) : !appliesTo(r, event.calendar_id))
                continue;
            if (i < 64 && std::holds_alternative<SpecificCondition>(r.condition)) {
                if (!namedBy)
                    namedBy = rulesNaming(event);
                if (((*namedBy >> i) & 1) && event.calendar_id == r.rule.event_calendar_id)
                    return &r;
                continue;
            }
            if (matchCompiled(facts, r.rule, r.condition, r.patternSlot))
                return &r;
        }
        return nullptr;
    }

private:
    static bool appliesTo(const CompiledFilterRule &r, const QString &calendarId)
    {
        return r.calendarIds.isEmpty() || r.calendarIds.contains(calendarId);
    }

    // The same test as matchSpecific's uid part, one hash lookup for all rules.
    quint64 rulesNaming(const Event &event) const
    {
        quint64 bits = m_specificByUid.value(event.uid);
        if (!event.provider_event_id.isEmpty())
            bits |= m_specificByUid.value(event.provider_event_id);
        return bits;
    }

    // One bit per rule (the first 64) that applies to the calendar, worked
    // out once per calendar and call.
    quint64 rulesForCalendar(const QString &calendarId)
    {
        const auto found = m_calendarRules.constFind(calendarId);
        if (found != m_calendarRules.cend())
            return *found;
        quint64 bits = 0;
        for (qsizetype i = 0; i < std::min<qsizetype>(m_rules.size(), 64); ++i) {
            if (appliesTo(m_rules.at(i), calendarId))
                bits |= quint64(1) << i;
        }
        m_calendarRules.insert(calendarId, bits);
        return bits;
    }

    QHash<QString, quint64> m_calendarRules;
    QHash<QString, quint64> m_specificByUid;
    LocalClock m_clock;
    QList<CompiledFilterRule> m_rules; // not touched after construction: the memo points into it
    PatternMemo m_memo;
};

const Event &eventOf(const Event &event)
{
    return event;
}

const Event &eventOf(const Occurrence &occurrence)
{
    return occurrence.event();
}

const Occurrence *occurrenceOf(const Event &)
{
    return nullptr;
}

const Occurrence *occurrenceOf(const Occurrence &occurrence)
{
    return &occurrence;
}

// The outcome of `rules` on `items`, the visible ones in `visible`, in
// input order.
template<typename Item, typename Outcome>
Outcome applyRules(const QList<Item> &items, const QList<FilterRule> &rules, QList<Item> Outcome::*visible)
{
    Outcome out;
    RuleSet ruleSet(rules);
    // Without a rule every item stays: the list is shared, not copied.
    if (ruleSet.isEmpty()) {
        out.*visible = items;
        return out;
    }
    (out.*visible).reserve(items.size());
    const QString hide = FilterAction::Hide;
    const QString dim = FilterAction::Dim;
    for (const Item &item : items) {
        const Event &event = eventOf(item);
        const CompiledFilterRule *rule = ruleSet.decide(event, occurrenceOf(item));
        if (rule && rule->rule.action == hide) {
            ++out.hiddenCount;
            out.suppressedReminderIds.insert(event.id);
            continue;
        }
        if (rule && rule->rule.action == dim) {
            out.dimmedIds.insert(event.id);
            if (rule->rule.suppress_reminders)
                out.suppressedReminderIds.insert(event.id);
        }
        (out.*visible).append(item);
    }
    return out;
}

} // namespace

namespace FilterEngine {

FilterOutcome apply(const QList<Event> &occurrences, QList<FilterRule> rules)
{
    return applyRules(occurrences, rules, &FilterOutcome::events);
}

OccurrenceFilterOutcome applyToOccurrences(const QList<Occurrence> &occurrences, QList<FilterRule> rules)
{
    return applyRules(occurrences, rules, &OccurrenceFilterOutcome::occurrences);
}

std::optional<FilterRule> matchingRule(const Event &event, QList<FilterRule> rules)
{
    RuleSet ruleSet(rules);
    if (const CompiledFilterRule *rule = ruleSet.decide(event))
        return rule->rule;
    return std::nullopt;
}

std::optional<FilterCondition> parseConditions(const QString &conditions)
{
    if (conditions.isEmpty())
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(conditions.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QString kind = o.value("runtimeType"_L1).toString();
    if (kind == FilterType::Pattern) {
        PatternCondition c;
        c.titleContains = stringList(o.value("titleContains"_L1));
        c.titleExact = stringList(o.value("titleExact"_L1));
        c.descriptionContains = stringList(o.value("descriptionContains"_L1));
        c.locationContains = stringList(o.value("locationContains"_L1));
        c.caseSensitive = boolValue(o.value("caseSensitive"_L1));
        return c;
    }
    if (kind == FilterType::Time) {
        TimeCondition c;
        c.timeExact = o.value("timeExact"_L1).toString();
        const QJsonValue range = o.value("timeRange"_L1);
        if (range.isObject()) {
            const QJsonObject r = range.toObject();
            c.rangeStart = r.value("start"_L1).toString();
            c.rangeEnd = r.value("end"_L1).toString();
        }
        c.daysOfWeek = stringList(o.value("daysOfWeek"_L1));
        c.recurringOnly = boolValue(o.value("recurringOnly"_L1));
        return c;
    }
    if (kind == FilterType::Specific)
        return SpecificCondition{};
    if (kind == "allDay"_L1) {
        AllDayCondition c;
        c.recurringOnly = boolValue(o.value("recurringOnly"_L1));
        return c;
    }
    return std::nullopt;
}

QSet<QString> parseCalendarIds(const QString &calendarIds)
{
    QSet<QString> ids;
    if (calendarIds.isEmpty())
        return ids;
    const QJsonDocument doc = QJsonDocument::fromJson(calendarIds.toUtf8());
    if (!doc.isArray())
        return ids;
    const QJsonArray array = doc.array();
    for (const QJsonValue &v : array) {
        const QString id = v.toString();
        if (!id.isEmpty())
            ids.insert(id);
    }
    return ids;
}

bool matches(const Event &event, const FilterRule &rule, const FilterCondition &condition)
{
    OccurrenceFacts facts(event);
    return matchCompiled(facts, rule, compileCondition(condition));
}

bool matchPattern(const Event &event, const PatternCondition &condition)
{
    OccurrenceFacts facts(event);
    return facts.patternHit(CompiledPattern(condition), -1);
}

bool matchTime(const Event &event, const TimeCondition &condition)
{
    OccurrenceFacts facts(event);
    return matchCompiledTime(facts, CompiledTime(condition));
}

int weekdayFromName(const QString &name)
{
    static const QLatin1String names[] = {"mon"_L1, "tue"_L1, "wed"_L1, "thu"_L1, "fri"_L1, "sat"_L1, "sun"_L1};
    const QString lower = name.toLower();
    for (int i = 0; i < 7; ++i) {
        if (lower == names[i])
            return i + 1;
    }
    return 0;
}

} // namespace FilterEngine
