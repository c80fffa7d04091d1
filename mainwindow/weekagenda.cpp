#include "weekagenda.h"

#include "timetext.h"

#include "agendatasklist.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filtermenus.h"
#include "filterrulerepository.h"
#include "localclock.h"
#include "occurrence.h"
#include "recurrence.h"
#include "theme.h"
#include "upcomingoccurrences.h"
#include "viewrepository.h"

#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMap>
#include <QMenu>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr int kEventIdRole = Qt::UserRole;
constexpr int kDayRole = Qt::UserRole + 1;
constexpr int kOccurrenceRole = Qt::UserRole + 2;
// More rows than anyone reads in a day's list; the rest are counted.
constexpr int kMaxRowsPerDay = 100;
constexpr qint64 kMsPerDay = 24 * 3600 * 1000;
// Rows laid out at a time: more than a tall window shows.
constexpr int kLayoutBatch = 100;
const QLatin1String kSubDaily[] = {QLatin1String("FREQ=HOURLY"), QLatin1String("FREQ=MINUTELY"),
                                   QLatin1String("FREQ=SECONDLY")};

struct MoreRows
{
    qint64 count = 0;
    bool atLeast = false; // counting stopped
};

bool atMidnight(qint64 wall)
{
    return (wall % kMsPerDay + kMsPerDay) % kMsPerDay == 0;
}

// Whether a rule repeats within the day. Series share a handful of rule
// strings, so the last verdict is kept for the same string.
class SubDailyRules
{
public:
    bool operator()(const QString &rule)
    {
        if (rule.isEmpty())
            return false;
        if (rule.constData() != m_last.constData() || rule.size() != m_last.size()) {
            m_last = rule;
            m_verdict = std::any_of(std::begin(kSubDaily), std::end(kSubDaily),
                                    [&rule](QLatin1String freq) { return rule.contains(freq, Qt::CaseInsensitive); });
        }
        return m_verdict;
    }

private:
    QString m_last;
    bool m_verdict = false;
};

// The first and last dates of a wall-clock span; an end at midnight does
// not reach into that day.
std::pair<QDate, QDate> wallDays(qint64 start, qint64 end)
{
    const auto dateOf = [](qint64 wall) {
        const qint64 days = wall / kMsPerDay - (wall % kMsPerDay < 0 ? 1 : 0);
        return QDate::fromJulianDay(QDate(1970, 1, 1).toJulianDay() + days);
    };
    const QDate from = dateOf(start);
    const QDate to = end > start && atMidnight(end) ? dateOf(end).addDays(-1) : dateOf(end);
    return std::pair(from, std::max(to, from));
}

// The first and last local dates a timed span covers.
std::optional<std::pair<QDate, QDate>> timedDays(const QDateTime &startTime, const std::optional<QDateTime> &endTime,
                                                 LocalClock &clock)
{
    const std::optional<qint64> start = clock.wallClock(startTime);
    const std::optional<qint64> end = endTime ? clock.wallClock(*endTime) : start;
    if (!start || !end)
        return std::nullopt;
    return wallDays(*start, *end);
}

// The days an occurrence covers within the week, first and last. All-day
// rows keep their stored dates (midnight UTC stands for the date, not for an
// instant). Read from the occurrence's instants: this runs for every
// occurrence of the week, shown or not.
std::optional<std::pair<QDate, QDate>> daysOf(const Occurrence &occurrence, LocalClock &clock, const QDate &first,
                                              const QDate &last)
{
    QDate from;
    QDate to; // inclusive
    const Event &event = occurrence.event();
    if (event.is_all_day) {
        from = occurrence.start().date();
        const std::optional<QDateTime> endTime = occurrence.end();
        const QDate end = endTime ? endTime->date() : from.addDays(1);
        to = end > from ? end.addDays(-1) : from;
    } else {
        // A row's unreadable start or end places it nowhere.
        if (!occurrence.isGenerated()
            && (!event.start_time.isValid() || (event.end_time && !event.end_time->isValid())))
            return std::nullopt;
        std::tie(from, to) = wallDays(clock.wallClockAt(occurrence.startMs()), clock.wallClockAt(occurrence.endMs()));
    }
    from = std::max(from, first);
    to = std::min(to, last);
    if (from > to)
        return std::nullopt;
    return std::pair(from, to);
}

// The short texts of local times, each made once a reload: rows start and
// end at a few times of day, and every text goes through the locale.
class ShortTimes
{
public:
    explicit ShortTimes(LocalClock &clock)
        : m_clock(clock)
    {
    }

    QString of(const QDateTime &dateTime)
    {
        const std::optional<qint64> wall = m_clock.wallClock(dateTime);
        if (!wall)
            return TimeText::shortTime(QTime());
        const int msOfDay = int((*wall % kMsPerDay + kMsPerDay) % kMsPerDay);
        auto text = m_texts.constFind(msOfDay);
        if (text == m_texts.constEnd())
            text = m_texts.insert(msOfDay, TimeText::shortTime(QTime::fromMSecsSinceStartOfDay(msOfDay)));
        return *text;
    }

private:
    LocalClock &m_clock;
    QHash<int, QString> m_texts;
};

// What a row shows before the title on `day`: a span within one day by its
// times; a longer one from its start on its first day, until its end on its
// last, and as going on all day in between.
QString timeText(const Event &event, const QDate &day, LocalClock &clock, ShortTimes &times)
{
    if (event.is_all_day)
        return WeekAgenda::tr("All day");
    const QString start = times.of(event.start_time);
    if (!event.end_time)
        return start;
    const QString end = times.of(*event.end_time);
    const auto span = timedDays(event.start_time, event.end_time, clock);
    if (!span || span->first == span->second)
        return WeekAgenda::tr("%1 – %2").arg(start, end);
    if (day <= span->first)
        return WeekAgenda::tr("From %1").arg(start);
    // Ending at midnight, the last day it covers is covered whole.
    if (day >= span->second && !atMidnight(clock.wallClock(*event.end_time).value_or(0)))
        return WeekAgenda::tr("Until %1").arg(end);
    return WeekAgenda::tr("Continues all day");
}

// A day's rows in one order, whatever order the rows were read in: all-day
// rows first, then by when each is seen that day (a span that began before
// the day from the day's start), its end, its title and its id.
struct RowKey
{
    bool timed;
    qint64 seenFromMs;
    qint64 endMs;
    const QString *title;
    const QString *id;
    qint64 startMs;
    qsizetype index;

    RowKey(const Occurrence &occurrence, qint64 dayStartMs, qsizetype at)
        : timed(!occurrence.event().is_all_day)
        , seenFromMs(timed ? std::max(occurrence.startMs(), dayStartMs) : 0)
        , endMs(occurrence.endMs())
        , title(&occurrence.event().title)
        , id(&occurrence.event().id)
        , startMs(occurrence.startMs())
        , index(at)
    {
    }

    bool operator<(const RowKey &other) const
    {
        if (timed != other.timed)
            return !timed;
        if (seenFromMs != other.seenFromMs)
            return seenFromMs < other.seenFromMs;
        if (endMs != other.endMs)
            return endMs < other.endMs;
        if (const int byTitle = title->compare(*other.title, Qt::CaseInsensitive))
            return byTitle < 0;
        if (const int exact = title->compare(*other.title))
            return exact < 0;
        if (*id != *other.id)
            return *id < *other.id;
        return std::tie(startMs, index) < std::tie(other.startMs, other.index);
    }
};

} // namespace

WeekAgenda::WeekAgenda(AppState *state, QWidget *parent, FirstLoad firstLoad)
    : QWidget(parent)
    , m_state(state)
    , m_title(new QLabel(this))
    , m_list(new QListWidget(this))
    , m_tasks(new AgendaTaskList(state, this))
{
    auto *layout = new QVBoxLayout(this);
    m_title->setObjectName(QStringLiteral("weekAgendaTitle"));
    layout->addWidget(m_title);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_tasks);
    m_list->setUniformItemSizes(false);
    // Each of a week's up to 700 rows is measured for the layout: those in
    // view are laid out before the list is drawn, the rest in the next turns.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(kLayoutBatch);

    connect(m_list, &QListWidget::currentItemChanged, this, &WeekAgenda::onCurrentItemChanged);
    connect(m_list, &QListWidget::itemClicked, this, &WeekAgenda::showDetails);
    connect(m_list, &QListWidget::itemActivated, this, &WeekAgenda::showDetails);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &WeekAgenda::showContextMenu);
    connect(state, &AppState::currentDateChanged, this, &WeekAgenda::reload);
    connect(state, &AppState::firstDayOfWeekChanged, this, &WeekAgenda::reload);
    connect(state, &AppState::activeViewChanged, this, &WeekAgenda::reload);
    connect(state, &AppState::selectedEventChanged, this, &WeekAgenda::selectEvent);
    connect(state->events(), &EventRepository::eventsChanged, this, &WeekAgenda::reload);
    connect(state->calendars(), &CalendarRepository::calendarsChanged, this, &WeekAgenda::reload);
    connect(state->filterRules(), &FilterRuleRepository::filterRulesChanged, this, &WeekAgenda::reload);
    connect(state->views(), &ViewRepository::viewsChanged, this, &WeekAgenda::reload);
    if (firstLoad == FirstLoad::Now)
        reload();
    else
        m_pendingLoad = true;
}

void WeekAgenda::ensureLoaded() const
{
    // Asked for before its first turn, the week is read at once.
    if (m_pendingLoad)
        const_cast<WeekAgenda *>(this)->reload();
}

void WeekAgenda::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The window is drawn first; the week follows in the next turn.
    if (m_pendingLoad && !m_loadQueued) {
        m_loadQueued = true;
        QTimer::singleShot(0, this, [this] {
            if (m_pendingLoad)
                reload();
        });
    }
}

void WeekAgenda::reload()
{
    m_pendingLoad = false;
    const QDate current = m_state->currentDate().isValid() ? m_state->currentDate() : QDate::currentDate();
    m_weekStart = current.addDays(-((current.dayOfWeek() - m_state->firstDayOfWeek() + 7) % 7));
    const QDate last = m_weekStart.addDays(6);
    const QLocale locale;
    m_title->setText(tr("Week of %1").arg(locale.toString(m_weekStart, QLocale::LongFormat)));

    const QStringList calendarIds = upcomingCalendarIds(m_state);
    // Rows and occurrences are placed light; a full record is made only for
    // a row the list shows.
    QList<Event> rows;
    QList<Event> seriesRows;
    QMap<QDate, QList<Occurrence>> byDay;
    QMap<QDate, MoreRows> moreByDay;
    QSet<QString> dimmedIds;
    LocalClock clock;
    ShortTimes times(clock);
    if (!calendarIds.isEmpty()) { // an empty list would mean every calendar
        const QList<FilterRule> rules = m_state->filterRules()->getEnabled();
        const QDateTime from = m_weekStart.startOfDay();
        const QDateTime to = last.addDays(1).startOfDay();
        rows = m_state->events()->getViewRowsInRange(from, to, calendarIds);
        const auto place = [&](const QList<Occurrence> &occurrences, const QDate &first, const QDate &lastDay) {
            OccurrenceFilterOutcome outcome = FilterEngine::applyToOccurrences(occurrences, rules);
            dimmedIds.unite(outcome.dimmedIds);
            for (const Occurrence &occurrence : std::as_const(outcome.occurrences)) {
                // The day's window holds a timed occurrence of a day's
                // expansion; all-day ones keep their stored dates.
                if (first == lastDay && !occurrence.event().is_all_day) {
                    byDay[first].append(occurrence);
                    continue;
                }
                const auto days = daysOf(occurrence, clock, first, lastDay);
                for (QDate day = days ? days->first : QDate(); days && day <= days->second; day = day.addDays(1))
                    byDay[day].append(occurrence);
            }
        };
        // The week at once, each series bounded by what seven days show,
        // unless a series repeats within the day and will pass that bound.
        SubDailyRules repeatsWithinDay;
        const bool subDaily = std::any_of(rows.cbegin(), rows.cend(),
                                          [&](const Event &row) { return repeatsWithinDay(row.recurrence_rule); });
        Recurrence::BoundedOccurrences week;
        if (!subDaily)
            week = Recurrence::expandOccurrencesBounded(rows, from, to, 7 * kMaxRowsPerDay);
        if (!subDaily && week.more == 0) {
            place(week.occurrences, m_weekStart, last);
        } else {
            // A series past that bound (one of every minute or second) is
            // taken a day at a time, so that each day shows its first rows
            // rather than the first day all of them.
            QList<Occurrence> oneOffs;
            for (const Event &row : std::as_const(rows)) {
                if (Recurrence::isSeriesRow(row))
                    seriesRows.append(row);
                else
                    oneOffs.append(Occurrence::ofRow(row));
            }
            place(oneOffs, m_weekStart, last);
            for (QDate day = m_weekStart; day <= last; day = day.addDays(1)) {
                const Recurrence::BoundedOccurrences expanded = Recurrence::expandOccurrencesBounded(
                    seriesRows, day.startOfDay(), day.addDays(1).startOfDay(), kMaxRowsPerDay);
                place(expanded.occurrences, day, day);
                moreByDay[day] = {expanded.more, expanded.moreIsLowerBound};
            }
        }
    }
    QHash<QString, QString> colours;
    const QList<Calendar> calendars = m_state->calendars()->getAll();
    for (const Calendar &calendar : calendars)
        colours.insert(calendar.id, calendar.color);
    QHash<QString, QIcon> icons; // one painted dot per colour

    m_reloading = true;
    m_list->clear();
    for (auto it = byDay.begin(); it != byDay.end(); ++it) {
        // Sorted first: the day's first rows are all it shows.
        const qint64 dayStartMs = it.key().startOfDay().toMSecsSinceEpoch();
        std::vector<RowKey> order;
        order.reserve(size_t(it->size()));
        for (qsizetype i = 0; i < it->size(); ++i)
            order.emplace_back(it->at(i), dayStartMs, i);
        // Only the rows shown need their order.
        const auto shown = order.begin() + std::min<qsizetype>(qsizetype(order.size()), kMaxRowsPerDay);
        std::partial_sort(order.begin(), shown, order.end());
        auto *header = new QListWidgetItem(locale.toString(it.key(), QLocale::LongFormat), m_list);
        header->setFlags(Qt::ItemIsEnabled);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        MoreRows more = moreByDay.value(it.key());
        if (order.size() > size_t(kMaxRowsPerDay)) {
            more.count += qint64(order.size()) - kMaxRowsPerDay;
            order.erase(order.begin() + kMaxRowsPerDay, order.end());
        }
        for (const RowKey &key : order) {
            const Event event = it->at(key.index).toEvent();
            const QString title = event.title.isEmpty() ? tr("Untitled") : event.title;
            auto *item = new QListWidgetItem(timeText(event, it.key(), clock, times) + QStringLiteral("   ") + title);
            const QString colour = event.color.isEmpty() ? colours.value(event.calendar_id) : event.color;
            auto icon = icons.constFind(colour);
            if (icon == icons.constEnd())
                icon = icons.insert(colour, Theme::colorDotIcon(colour));
            item->setIcon(*icon);
            item->setData(kEventIdRole, event.id);
            item->setData(kDayRole, it.key());
            item->setData(kOccurrenceRole, QVariant::fromValue(event));
            if (dimmedIds.contains(event.id))
                item->setForeground(Theme::textMuted());
            m_list->addItem(item);
        }
        if (more.count > 0) {
            const QString text = more.atLeast ? tr("At least %Ln more on this day", nullptr, int(more.count))
                                              : tr("%Ln more on this day", nullptr, int(more.count));
            auto *moreItem = new QListWidgetItem(text, m_list);
            moreItem->setFlags(Qt::ItemIsEnabled);
            moreItem->setForeground(Theme::textMuted());
        }
    }
    if (m_list->count() == 0) {
        auto *empty = new QListWidgetItem(tr("No events this week"), m_list);
        empty->setFlags(Qt::ItemIsEnabled);
        empty->setForeground(Theme::textMuted());
    }
    m_reloading = false;
    selectEvent(m_state->selectedEventId());
    m_tasks->showWeek(m_weekStart);
}

void WeekAgenda::selectEvent(const QString &eventId)
{
    if (eventId.isEmpty())
        return;
    const QDate day = m_state->currentDate();
    QListWidgetItem *match = nullptr;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        if (item->data(kEventIdRole).toString() != eventId)
            continue;
        // An event on several days: the row of the current date if listed.
        if (!match || item->data(kDayRole).toDate() == day)
            match = item;
    }
    if (!match)
        return;
    m_reloading = true;
    m_list->setCurrentItem(match);
    // A row past the rows laid out so far has no place to scroll to yet.
    if (!m_list->visualItemRect(match).isValid()) {
        m_list->setLayoutMode(QListView::SinglePass);
        m_list->doItemsLayout();
        m_list->setLayoutMode(QListView::Batched);
    }
    m_list->scrollToItem(match);
    m_reloading = false;
}

void WeekAgenda::onCurrentItemChanged(QListWidgetItem *item)
{
    if (m_reloading || !item)
        return;
    const QString id = item->data(kEventIdRole).toString();
    if (!id.isEmpty())
        m_state->setSelectedEventId(id);
}

Event WeekAgenda::fullRecord(const QListWidgetItem *item) const
{
    // The list holds light rows; the record with its text and children is
    // read when one is opened, at the occurrence's own times.
    const Event occurrence = item->data(kOccurrenceRole).value<Event>();
    std::optional<Event> full = m_state->events()->getById(occurrence.id);
    if (!full)
        return occurrence;
    full->start_time = occurrence.start_time;
    full->end_time = occurrence.end_time;
    full->recurrence_id = occurrence.recurrence_id;
    return *full;
}

void WeekAgenda::showDetails(QListWidgetItem *item)
{
    if (!item || !item->data(kOccurrenceRole).canConvert<Event>())
        return;
    auto *details = new EventDetailsPopover(m_state, fullRecord(item), this);
    connect(details, &EventDetailsPopover::editRequested, this, &WeekAgenda::editRequested);
    const QRect row = m_list->visualItemRect(item);
    details->showNextTo(QRect(m_list->viewport()->mapToGlobal(row.topRight()), QSize(1, row.height())));
}

QMenu *WeekAgenda::contextMenuFor(QListWidgetItem *item)
{
    if (!item || !item->data(kOccurrenceRole).canConvert<Event>())
        return nullptr;
    auto *menu = new QMenu(this);
    FilterMenus::addEventActions(menu, m_state, fullRecord(item), this);
    return menu;
}

void WeekAgenda::showContextMenu(const QPoint &pos)
{
    const std::unique_ptr<QMenu> menu(contextMenuFor(m_list->itemAt(pos)));
    if (menu)
        menu->exec(m_list->viewport()->mapToGlobal(pos));
}
