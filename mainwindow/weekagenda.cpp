#include "weekagenda.h"

#include "agendatasklist.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "filtermenus.h"
#include "filterrulerepository.h"
#include "storeworker.h"
#include "theme.h"
#include "upcomingoccurrences.h"
#include "viewrepository.h"

#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>
#include <optional>

namespace {

constexpr int kEventIdRole = Qt::UserRole;
constexpr int kDayRole = Qt::UserRole + 1;
constexpr int kOccurrenceRole = Qt::UserRole + 2;
// Rows laid out at a time: more than a tall window shows.
constexpr int kLayoutBatch = 100;
// A week read in at most this many rows and occurrences (a busy week of a
// large store is about 13,000) is read within a frame; after a few changes
// it still is.
constexpr qsizetype kLightWork = 20000;
constexpr qint64 kFewChanges = 100;
// A week with at most this many rows of its own (an ordinary week of a
// large store has about 700) is read within a frame.
constexpr int kLightRows = 2000;
// Weeks remembered, far more than one pages through.
constexpr qsizetype kKnownWeeks = 64;

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
        loadNow(readRequest());
    else
        m_pendingLoad = true;
}

WeekAgenda::~WeekAgenda()
{
    // The worker's read ends before the repository it reads through goes.
    m_worker.reset();
}

void WeekAgenda::ensureLoaded() const
{
    // Asked for before its first turn, or while a read is under way, the
    // week is read at once.
    if (m_pendingLoad || m_readUnderWay)
        const_cast<WeekAgenda *>(this)->loadNow(readRequest());
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
    const WeekRows::Request request = readRequest();
    // A week listed before that was light then and has barely changed since
    // is read here at once: quicker than the round trip to the thread.
    const auto known = m_knownWeeks.constFind(request.weekStart);
    if (known != m_knownWeeks.constEnd() && known->calendarIds == request.calendarIds && known->work <= kLightWork) {
        const std::optional<qint64> changes = m_state->events()->changeCounter();
        if (changes && *changes >= known->changes && *changes - known->changes <= kFewChanges) {
            loadNow(request);
            return;
        }
    }
    // So is any week whose own rows are few (the count stops past them): the
    // series every week shares are kept by the store.
    if (!m_state->events()->startsMoreThan(request.weekStart.startOfDay(), request.weekStart.addDays(7).startOfDay(),
                                           kLightRows)) {
        loadNow(request);
        return;
    }
    const quint64 generation = ++m_generation;
    m_latestRead.store(generation);
    m_readUnderWay = true;
    if (!m_worker)
        m_worker = std::make_unique<StoreWorker>(m_state->database()->fileName(), QStringLiteral("week-list"));
    // A week of tens of thousands of rows takes longer than a frame to read:
    // the window's thread only lays out the lines. A read that a later one
    // superseded before it began is skipped, and its result, or a late one's,
    // is never shown.
    m_worker->post([this, request, generation](Database *database) {
        if (m_latestRead.load() != generation)
            return;
        std::optional<WeekRows> week;
        if (database) {
            if (!m_workerEvents)
                m_workerEvents = std::make_unique<EventRepository>(database);
            week = WeekRows::read(*m_workerEvents, request);
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, week = std::move(week)] {
            if (generation != m_generation)
                return;
            // Without a connection of its own the week is read here.
            showWeek(week ? *week : WeekRows::read(*m_state->events(), readRequest()));
            },
            Qt::QueuedConnection);
    });
}

void WeekAgenda::loadNow(const WeekRows::Request &request)
{
    m_pendingLoad = false;
    ++m_generation; // a read under way is not shown
    m_latestRead.store(m_generation);
    showWeek(WeekRows::read(*m_state->events(), request));
}

WeekRows::Request WeekAgenda::readRequest() const
{
    const QDate current = m_state->currentDate().isValid() ? m_state->currentDate() : QDate::currentDate();
    WeekRows::Request request;
    request.weekStart = current.addDays(-((current.dayOfWeek() - m_state->firstDayOfWeek() + 7) % 7));
    request.calendarIds = upcomingCalendarIds(m_state);
    if (!request.calendarIds.isEmpty())
        request.rules = m_state->filterRules()->getEnabled();
    return request;
}

void WeekAgenda::showWeek(const WeekRows &week)
{
    m_readUnderWay = false;
    if (week.changes) {
        if (m_knownWeeks.size() >= kKnownWeeks)
            m_knownWeeks.clear();
        m_knownWeeks.insert(week.weekStart, {week.calendarIds, week.work, *week.changes});
    }
    m_weekStart = week.weekStart;
    const QLocale locale;
    m_title->setText(tr("Week of %1").arg(locale.toString(m_weekStart, QLocale::LongFormat)));
    QHash<QString, QString> colours;
    const QList<Calendar> calendars = m_state->calendars()->getAll();
    for (const Calendar &calendar : calendars)
        colours.insert(calendar.id, calendar.color);
    QHash<QString, QIcon> icons; // one painted dot per colour

    m_reloading = true;
    m_list->clear();
    for (const WeekRows::Line &line : week.lines) {
        auto *item = new QListWidgetItem(line.text, m_list);
        switch (line.kind) {
        case WeekRows::Kind::Day: {
            item->setFlags(Qt::ItemIsEnabled);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            break;
        }
        case WeekRows::Kind::More:
            item->setFlags(Qt::ItemIsEnabled);
            item->setForeground(Theme::textMuted());
            break;
        case WeekRows::Kind::Occurrence: {
            const Event &event = line.occurrence;
            const QString colour = event.color.isEmpty() ? colours.value(event.calendar_id) : event.color;
            auto icon = icons.constFind(colour);
            if (icon == icons.constEnd())
                icon = icons.insert(colour, Theme::colorDotIcon(colour));
            item->setIcon(*icon);
            item->setData(kEventIdRole, event.id);
            item->setData(kDayRole, line.day);
            item->setData(kOccurrenceRole, QVariant::fromValue(event));
            if (line.dimmed)
                item->setForeground(Theme::textMuted());
            break;
        }
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
    Q_EMIT weekShown(m_weekStart);
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
