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
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr int kEventIdRole = Qt::UserRole;
constexpr int kDayRole = Qt::UserRole + 1;
constexpr int kOccurrenceRole = Qt::UserRole + 2;

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
    FilterOutcome outcome;
    if (!calendarIds.isEmpty()) { // an empty list would mean every calendar
        const QDateTime from = m_weekStart.startOfDay();
        const QDateTime to = last.addDays(1).startOfDay();
        const QList<Event> rows = m_state->events()->getInRange(from, to, calendarIds);
        outcome = FilterEngine::apply(Recurrence::expandEvents(rows, from, to), m_state->filterRules()->getEnabled());
    }
    QHash<QString, QString> colours;
    const QList<Calendar> calendars = m_state->calendars()->getAll();
    for (const Calendar &calendar : calendars)
        colours.insert(calendar.id, calendar.color);

    // All-day rows first on each day, then by start.
    QMap<QDate, QList<Event>> byDay;
    for (const Event &event : std::as_const(outcome.events)) {
        const QList<QDate> days = daysOf(event, m_weekStart, last);
        for (const QDate &day : days)
            byDay[day].append(event);
    }

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
        for (const Event &event : std::as_const(*it)) {
            const QString title = event.title.isEmpty() ? tr("Untitled") : event.title;
            auto *item = new QListWidgetItem(timeText(event) + QStringLiteral("   ") + title, m_list);
            item->setIcon(Theme::colorDotIcon(event.color.isEmpty() ? colours.value(event.calendar_id) : event.color));
            item->setData(kEventIdRole, event.id);
            item->setData(kDayRole, it.key());
            item->setData(kOccurrenceRole, QVariant::fromValue(event));
            if (outcome.dimmedIds.contains(event.id))
                item->setForeground(Theme::textMuted());
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

void WeekAgenda::showDetails(QListWidgetItem *item)
{
    if (!item || !item->data(kOccurrenceRole).canConvert<Event>())
        return;
    auto *details = new EventDetailsPopover(m_state, item->data(kOccurrenceRole).value<Event>(), this);
    connect(details, &EventDetailsPopover::editRequested, this, &WeekAgenda::editRequested);
    const QRect row = m_list->visualItemRect(item);
    details->showNextTo(QRect(m_list->viewport()->mapToGlobal(row.topRight()), QSize(1, row.height())));
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
