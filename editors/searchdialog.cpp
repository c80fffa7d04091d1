#include "searchdialog.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "textsearch.h"
#include "theme.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kDebounceMs = 200;
constexpr int kSearchLimit = 300;
constexpr int kEventIdRole = Qt::UserRole;
constexpr int kOccurrenceRole = Qt::UserRole + 1;

} // namespace

SearchDialog::SearchDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_debounce(new QTimer(this))
{
    setWindowTitle(tr("Search"));
    resize(820, 560);
    m_debounce->setSingleShot(true);
    m_debounce->setInterval(kDebounceMs);
    connect(m_debounce, &QTimer::timeout, this, &SearchDialog::runSearch);
    // What a details card deleted or a sync changed leaves the list.
    if (m_state && m_state->events())
        connect(m_state->events(), &EventRepository::eventsChanged, m_debounce, qOverload<>(&QTimer::start));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);

    m_search = new QLineEdit(this);
    m_search->setObjectName(u"searchInput"_s);
    m_search->setPlaceholderText(tr("Search events by title, location, or notes…"));
    QFont larger = m_search->font();
    larger.setPointSizeF(larger.pointSizeF() + 2);
    m_search->setFont(larger);
    connect(m_search, &QLineEdit::textChanged, m_debounce, qOverload<>(&QTimer::start));
    layout->addWidget(m_search);

    auto *rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(tr("Range:"), this));
    m_range = new QComboBox(this);
    m_range->setObjectName(u"searchRange"_s);
    m_range->addItem(tr("All time"), AllTime);
    m_range->addItem(tr("Past 30 days"), Past30Days);
    m_range->addItem(tr("Past 90 days"), Past90Days);
    m_range->addItem(tr("Next 30 days"), Next30Days);
    m_range->addItem(tr("Next 12 months"), Next12Months);
    connect(m_range, &QComboBox::currentIndexChanged, m_debounce, qOverload<>(&QTimer::start));
    rangeRow->addWidget(m_range);
    rangeRow->addStretch();
    layout->addLayout(rangeRow);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);

    auto *left = new QFrame(splitter);
    left->setFrameShape(QFrame::StyledPanel);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(8, 8, 8, 8);
    auto *calendarsLabel = new QLabel(tr("Calendars"), left);
    QFont bold = calendarsLabel->font();
    bold.setWeight(QFont::Bold);
    calendarsLabel->setFont(bold);
    leftLayout->addWidget(calendarsLabel);
    m_calendars = new QListWidget(left);
    m_calendars->setObjectName(u"searchCalendars"_s);
    m_calendars->setSelectionMode(QAbstractItemView::NoSelection);
    leftLayout->addWidget(m_calendars, 1);
    if (m_state && m_state->calendars()) {
        for (const Calendar &calendar : m_state->calendars()->getAll()) {
            if (!calendar.is_visible)
                continue;
            auto *item = new QListWidgetItem(Theme::colorDotIcon(calendar.color), calendar.name, m_calendars);
            item->setData(kEventIdRole, calendar.id);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
            m_selectedCalendars.insert(calendar.id);
        }
    }
    connect(m_calendars, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        const QString id = item->data(kEventIdRole).toString();
        if (item->checkState() == Qt::Checked)
            m_selectedCalendars.insert(id);
        else
            m_selectedCalendars.remove(id);
        m_debounce->start();
    });

    auto *right = new QFrame(splitter);
    right->setFrameShape(QFrame::StyledPanel);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_results = new QListWidget(right);
    m_results->setObjectName(u"searchResults"_s);
    m_results->setAlternatingRowColors(true);
    m_results->setUniformItemSizes(false);
    rightLayout->addWidget(m_results);
    m_detailsDelay = new QTimer(this);
    m_detailsDelay->setSingleShot(true);
    m_detailsDelay->setInterval(QApplication::doubleClickInterval());
    connect(m_detailsDelay, &QTimer::timeout, this, [this] {
        for (int i = 0; i < m_results->count(); ++i) {
            if (m_results->item(i)->data(kEventIdRole).toString() == m_clickedEventId) {
                showResultDetails(m_results->item(i));
                return;
            }
        }
    });
    connect(m_results, &QListWidget::itemClicked, this, &SearchDialog::detailsSoon);
    connect(m_results, &QListWidget::itemActivated, this, &SearchDialog::activate);

    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 600});
    layout->addWidget(splitter, 1);

    m_status = new QLabel(tr("Type to search."), this);
    m_status->setObjectName(u"searchStatus"_s);
    m_status->setStyleSheet(u"color: %1;"_s.arg(Theme::textMuted().name()));
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    // Enter in the results activates a row; it must not also press Close.
    if (QPushButton *close = buttons->button(QDialogButtonBox::Close)) {
        close->setAutoDefault(false);
        close->setDefault(false);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_search->setFocus(Qt::OtherFocusReason);
}

QPair<QDateTime, QDateTime> SearchDialog::rangeBounds(int range, const QDateTime &now)
{
    switch (range) {
    case Past30Days: return {now.addDays(-30), now.addDays(7)};
    case Past90Days: return {now.addDays(-90), now.addDays(7)};
    case Next30Days: return {now, now.addDays(30)};
    case Next12Months: return {now, now.addDays(365)};
    default: return {now.addDays(-3650), now.addDays(3650)};
    }
}

QString SearchDialog::whenText(const Event &event)
{
    // All-day values are dates; through local time they would slip a day
    // west of UTC.
    if (event.is_all_day)
        return tr("%1 (all day)").arg(event.start_time.date().toString(u"ddd, MMM d, yyyy"_s));
    const QDateTime start = event.start_time.toLocalTime();
    const QString date = start.toString(u"ddd, MMM d, yyyy"_s);
    const QString from = start.toString(u"h:mm AP"_s);
    if (event.end_time)
        return tr("%1, %2 – %3").arg(date, from, event.end_time->toLocalTime().toString(u"h:mm AP"_s));
    return tr("%1, %2").arg(date, from);
}

void SearchDialog::runSearch()
{
    const QString text = m_search->text().trimmed();
    m_results->clear();
    if (text.isEmpty()) {
        m_status->setText(tr("Type to search."));
        return;
    }
    if (text.size() == 1) {
        m_status->setText(tr("Keep typing…"));
        return;
    }
    // Ranges are inclusive; the queries take half-open windows.
    const QDateTime now = QDateTime::currentDateTime();
    const auto [from, inclusiveTo] = rangeBounds(m_range->currentData().toInt(), now);
    const QDateTime to = inclusiveTo.addMSecs(1);
    QList<Event> found;
    if (!m_selectedCalendars.isEmpty()) { // an empty list would mean every calendar
        const QStringList calendarIds(m_selectedCalendars.cbegin(), m_selectedCalendars.cend());
        const QList<Event> rows = m_state->events()->searchInRange(text, from, to, calendarIds, now, kSearchLimit);
        found = TextSearch::occurrences(rows, TextSearch::Needle(text), from, to, now, kSearchLimit);
    }
    for (const Event &event : std::as_const(found))
        m_results->addItem(resultItem(event));
    const int count = m_results->count();
    m_status->setText(count > 0 ? tr("%n result(s).", nullptr, count) : tr("No matches in this range."));
}

QListWidgetItem *SearchDialog::resultItem(const Event &event) const
{
    QString name;
    QString color = u"#cccccc"_s;
    if (const std::optional<Calendar> calendar = m_state->calendars()->getById(event.calendar_id)) {
        name = calendar->name;
        color = calendar->color;
    }
    QString text = event.title.isEmpty() ? tr("(Untitled)") : event.title;
    text += u'\n' + whenText(event);
    if (!event.location.isEmpty())
        text += u"  \u00b7  "_s + event.location;
    if (!name.isEmpty())
        text += u'\n' + name;
    auto *item = new QListWidgetItem(Theme::colorDotIcon(color), text);
    item->setData(kEventIdRole, event.id);
    item->setData(kOccurrenceRole, QVariant::fromValue(event));
    // An invalid hint would be dropped, and a row narrower than its text
    // has its lines cut: the longest line with room for the icon and the
    // style's padding. At 64 px three lines of a large font lose the
    // calendar's name, so the row grows to fit them.
    const QFontMetrics metrics(m_results->font());
    const QStringList lines = text.split(u'\n');
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    const int height = qMax(64, int(lines.size()) * metrics.lineSpacing() + 24);
    item->setSizeHint(QSize(width + m_results->iconSize().width() + 48, height));
    return item;
}

void SearchDialog::showResultDetails(QListWidgetItem *item)
{
    if (!item)
        return;
    const std::optional<Event> row = m_state->events()->getById(item->data(kEventIdRole).toString());
    if (!row)
        return;
    // The occurrence listed, so that a scope chosen on the card reaches it.
    auto *details = new EventDetailsPopover(m_state, item->data(kOccurrenceRole).value<Event>(), this);
    // Its Edit would do nothing unanswered: the form, then the list again.
    connect(details, &EventDetailsPopover::editRequested, this, [this](const Event &chosen, RecurringEditScope scope) {
        EventFormDialog form(m_state, chosen, this);
        form.setScope(scope);
        form.exec();
        runSearch();
    });
    const QRect rect = m_results->visualItemRect(item);
    const QPoint topRight = m_results->viewport()->mapToGlobal(rect.topRight());
    details->showNextTo(QRect(topRight, QSize(1, rect.height())));
}

void SearchDialog::detailsSoon(QListWidgetItem *item)
{
    m_clickedEventId = item ? item->data(kEventIdRole).toString() : QString();
    m_detailsDelay->start();
}

void SearchDialog::activate(QListWidgetItem *item)
{
    m_detailsDelay->stop();
    const QString id = item ? item->data(kEventIdRole).toString() : QString();
    if (id.isEmpty())
        return;
    const Event occurrence = item->data(kOccurrenceRole).value<Event>();
    m_activatedDay = occurrence.is_all_day ? occurrence.start_time.date() : occurrence.start_time.toLocalTime().date();
    Q_EMIT eventActivated(id);
    accept();
}
