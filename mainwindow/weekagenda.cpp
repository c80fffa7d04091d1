#include "weekagenda.h"

#include "timetext.h"

#include "agendatasklist.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filtermenus.h"
#include "filterrulerepository.h"
#include "recurrence.h"
#include "theme.h"
#include "upcomingoccurrences.h"
#include "viewrepository.h"

#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMap>
#include <QMenu>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr int kEventIdRole = Qt::UserRole;
constexpr int kDayRole = Qt::UserRole + 1;
constexpr int kOccurrenceRole = Qt::UserRole + 2;
// More rows than anyone reads in a day's list; the rest are counted.
constexpr int kMaxRowsPerDay = 200;

struct MoreRows
{
    qint64 count = 0;
    bool atLeast = false; // counting stopped
};

// The days an occurrence covers within the week. All-day rows keep their
// stored dates (midnight UTC stands for the date, not for an instant).
QList<QDate> daysOf(const Event &event, const QDate &first, const QDate &last)
{
    QDate from;
    QDate to; // inclusive
    if (event.is_all_day) {
        from = event.start_time.date();
        const QDate end = event.end_time ? event.end_time->date() : from.addDays(1);
        to = end > from ? end.addDays(-1) : from;
    } else {
        const QDateTime start = event.start_time.toLocalTime();
        const QDateTime end = event.end_time ? event.end_time->toLocalTime() : start;
        from = start.date();
        // An event ending at midnight does not reach into that day.
        to = end > start && end.time() == QTime(0, 0) ? end.date().addDays(-1) : end.date();
        to = std::max(to, from);
    }
    QList<QDate> days;
    for (QDate d = std::max(from, first); d <= std::min(to, last); d = d.addDays(1))
        days.append(d);
    return days;
}

QString shortTime(const QDateTime &dateTime)
{
    return TimeText::shortTime(dateTime.toLocalTime().time());
}

QString timeText(const Event &event)
{
    if (event.is_all_day)
        return WeekAgenda::tr("All day");
    const QString start = shortTime(event.start_time);
    return event.end_time ? WeekAgenda::tr("%1 – %2").arg(start, shortTime(*event.end_time)) : start;
}

} // namespace

WeekAgenda::WeekAgenda(AppState *state, QWidget *parent)
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

    connect(m_list, &QListWidget::currentItemChanged, this, &WeekAgenda::onCurrentItemChanged);
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
    reload();
}

void WeekAgenda::reload()
{
    const QDate current = m_state->currentDate().isValid() ? m_state->currentDate() : QDate::currentDate();
    m_weekStart = current.addDays(-((current.dayOfWeek() - m_state->firstDayOfWeek() + 7) % 7));
    const QDate last = m_weekStart.addDays(6);
    const QLocale locale;
    m_title->setText(tr("Week of %1").arg(locale.toString(m_weekStart, QLocale::LongFormat)));

    const QStringList calendarIds = upcomingCalendarIds(m_state);
    QMap<QDate, QList<Event>> byDay;
    QMap<QDate, MoreRows> moreByDay;
    QSet<QString> dimmedIds;
    if (!calendarIds.isEmpty()) { // an empty list would mean every calendar
        const QList<FilterRule> rules = m_state->filterRules()->getEnabled();
        const QList<Event> rows = m_state->events()->getInRange(m_weekStart.startOfDay(), last.addDays(1).startOfDay(),
                                                                calendarIds);
        // One-offs once for the week; series a day at a time, so that a
        // series of every second costs what a day shows, on every day.
        QList<Event> oneOffs;
        QList<Event> series;
        for (const Event &row : rows)
            (Recurrence::isSeriesRow(row) ? series : oneOffs).append(row);
        FilterOutcome outcome = FilterEngine::apply(oneOffs, rules);
        dimmedIds.unite(outcome.dimmedIds);
        for (const Event &event : std::as_const(outcome.events)) {
            const QList<QDate> days = daysOf(event, m_weekStart, last);
            for (const QDate &day : days)
                byDay[day].append(event);
        }
        for (QDate day = m_weekStart; !series.isEmpty() && day <= last; day = day.addDays(1)) {
            const Recurrence::BoundedExpansion expanded = Recurrence::expandEventsBounded(series, day.startOfDay(),
                                                                                          day.addDays(1).startOfDay(),
                                                                                          kMaxRowsPerDay);
            outcome = FilterEngine::apply(expanded.occurrences, rules);
            dimmedIds.unite(outcome.dimmedIds);
            // A timed occurrence the day's window holds is the day's; an
            // all-day one keeps its stored dates.
            for (const Event &event : std::as_const(outcome.events)) {
                if (!event.is_all_day || !daysOf(event, day, day).isEmpty())
                    byDay[day].append(event);
            }
            moreByDay[day] = {expanded.more, expanded.moreIsLowerBound};
        }
    }
    QHash<QString, QString> colours;
    const QList<Calendar> calendars = m_state->calendars()->getAll();
    for (const Calendar &calendar : calendars)
        colours.insert(calendar.id, calendar.color);

    m_reloading = true;
    m_list->clear();
    for (auto it = byDay.begin(); it != byDay.end(); ++it) {
        std::stable_sort(it->begin(), it->end(), [](const Event &a, const Event &b) {
            if (a.is_all_day != b.is_all_day)
                return a.is_all_day;
            return a.start_time < b.start_time;
        });
        auto *header = new QListWidgetItem(locale.toString(it.key(), QLocale::LongFormat), m_list);
        header->setFlags(Qt::ItemIsEnabled);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        MoreRows more = moreByDay.value(it.key());
        if (it->size() > kMaxRowsPerDay) {
            more.count += it->size() - kMaxRowsPerDay;
            it->resize(kMaxRowsPerDay);
        }
        for (const Event &event : std::as_const(*it)) {
            const QString title = event.title.isEmpty() ? tr("Untitled") : event.title;
            auto *item = new QListWidgetItem(timeText(event) + QStringLiteral("   ") + title, m_list);
            item->setIcon(Theme::colorDotIcon(event.color.isEmpty() ? colours.value(event.calendar_id) : event.color));
            item->setData(kEventIdRole, event.id);
            item->setData(kDayRole, it.key());
            item->setData(kOccurrenceRole, QVariant::fromValue(event));
            if (dimmedIds.contains(event.id))
                item->setForeground(Theme::textMuted());
        }
        if (more.count > 0) {
            const QString text = more.atLeast ? tr("At least %n more on this day", nullptr, int(more.count))
                                              : tr("%n more on this day", nullptr, int(more.count));
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

QMenu *WeekAgenda::contextMenuFor(QListWidgetItem *item)
{
    if (!item || !item->data(kOccurrenceRole).canConvert<Event>())
        return nullptr;
    auto *menu = new QMenu(this);
    FilterMenus::addEventActions(menu, m_state, item->data(kOccurrenceRole).value<Event>(), this);
    return menu;
}

void WeekAgenda::showContextMenu(const QPoint &pos)
{
    const std::unique_ptr<QMenu> menu(contextMenuFor(m_list->itemAt(pos)));
    if (menu)
        menu->exec(m_list->viewport()->mapToGlobal(pos));
}
