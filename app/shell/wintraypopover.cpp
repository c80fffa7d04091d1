#include "wintraypopover.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "filterrulerepository.h"
#include "nlparser.h"
#include "quickadd.h"
#include "quickadddialog.h"
#include "storefailure.h"
#include "storefailuretext.h"
#include "theme.h"
#include "traytime.h"
#include "upcomingoccurrences.h"
#include "viewrepository.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kRefreshMs = 30000;
constexpr int kWidth = 340;
constexpr int kScreenMargin = 8;
// The list's height limit without a screen, and its least limit with one.
constexpr int kMaxListHeight = 360;
constexpr int kMinListCap = 200;
const QLatin1String kFallbackColor("#4285F4");

// Secondary text: the style sheet colours labels by the property, the
// palette covers widgets without a style sheet.
void markMuted(QWidget *widget)
{
    widget->setProperty("muted", true);
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, Theme::textMuted());
    widget->setPalette(palette);
}

QPixmap dotPixmap(int size, const QRectF &circle, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(circle);
    return pixmap;
}

QLabel *namedLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

WinTrayPopover::WinTrayPopover(AppState *state, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_state(state)
{
    setObjectName(QStringLiteral("trayPopover"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setFixedWidth(kWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);

    m_headerLabel = namedLabel(QStringLiteral("headerLabel"), this);
    QFont headerFont = m_headerLabel->font();
    headerFont.setWeight(QFont::Bold);
    headerFont.setPointSizeF(QApplication::font().pointSizeF() + 2);
    m_headerLabel->setFont(headerFont);
    layout->addWidget(m_headerLabel);

    auto *groupRow = new QHBoxLayout;
    groupRow->setContentsMargins(0, 0, 0, 0);
    groupRow->setSpacing(6);
    auto *groupCaption = new QLabel(tr("Group"), this);
    markMuted(groupCaption);
    groupRow->addWidget(groupCaption);
    m_groupCombo = new QComboBox(this);
    m_groupCombo->setObjectName(QStringLiteral("groupCombo"));
    m_groupCombo->setFocusPolicy(Qt::NoFocus);
    groupRow->addWidget(m_groupCombo, 1);
    layout->addLayout(groupRow);
    connect(m_groupCombo, &QComboBox::activated, this, &WinTrayPopover::onGroupActivated);

    m_nextCard = new QFrame(this);
    m_nextCard->setObjectName(QStringLiteral("nextEventCard"));
    m_nextCard->setFrameShape(QFrame::StyledPanel);
    m_nextCard->setFrameShadow(QFrame::Plain);
    auto *cardLayout = new QHBoxLayout(m_nextCard);
    cardLayout->setContentsMargins(10, 8, 10, 8);
    cardLayout->setSpacing(10);
    m_dotLabel = namedLabel(QStringLiteral("dotLabel"), m_nextCard);
    m_dotLabel->setFixedSize(14, 14);
    cardLayout->addWidget(m_dotLabel, 0, Qt::AlignTop);
    auto *cardText = new QVBoxLayout;
    cardText->setContentsMargins(0, 0, 0, 0);
    cardText->setSpacing(2);
    m_titleLabel = namedLabel(QStringLiteral("titleLabel"), m_nextCard);
    QFont titleFont = m_titleLabel->font();
    titleFont.setWeight(QFont::Bold);
    m_titleLabel->setFont(titleFont);
    m_titleLabel->setWordWrap(true);
    cardText->addWidget(m_titleLabel);
    m_timeLabel = namedLabel(QStringLiteral("timeLabel"), m_nextCard);
    markMuted(m_timeLabel);
    cardText->addWidget(m_timeLabel);
    m_locationLabel = namedLabel(QStringLiteral("locationLabel"), m_nextCard);
    markMuted(m_locationLabel);
    m_locationLabel->setWordWrap(true);
    m_locationLabel->hide();
    cardText->addWidget(m_locationLabel);
    cardLayout->addLayout(cardText, 1);
    layout->addWidget(m_nextCard);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(m_list, 1);
    connect(m_list, &QListWidget::itemClicked, this, &WinTrayPopover::onItemClicked);

    m_quickAddEdit = new QLineEdit(this);
    m_quickAddEdit->setObjectName(QStringLiteral("quickAddEdit"));
    m_quickAddEdit->setPlaceholderText(tr("Add event \u2014 e.g. \"lunch Thursday 1pm\""));
    m_quickAddEdit->setClearButtonEnabled(true);
    layout->addWidget(m_quickAddEdit);
    connect(m_quickAddEdit, &QLineEdit::textChanged, this, &WinTrayPopover::updateQuickAddPreview);
    connect(m_quickAddEdit, &QLineEdit::returnPressed, this, &WinTrayPopover::commitQuickAdd);

    m_hintLabel = namedLabel(QStringLiteral("hintLabel"), this);
    m_hintLabel->setWordWrap(true);
    QFont hintFont = m_hintLabel->font();
    hintFont.setPointSizeF(std::max(hintFont.pointSizeF() - 1, 8.0));
    m_hintLabel->setFont(hintFont);
    markMuted(m_hintLabel);
    layout->addWidget(m_hintLabel);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto *openButton = new QPushButton(tr("Open Calendar"), this);
    openButton->setDefault(true);
    auto *syncButton = new QPushButton(tr("Sync Now"), this);
    m_settingsButton = new QToolButton(this);
    m_settingsButton->setObjectName(QStringLiteral("settingsButton"));
    m_settingsButton->setText(QStringLiteral("\u2699"));
    m_settingsButton->setToolTip(tr("Preferences"));
    m_settingsButton->setAutoRaise(true);
    m_settingsButton->setCursor(Qt::PointingHandCursor);
    QFont gearFont = m_settingsButton->font();
    gearFont.setPointSizeF(gearFont.pointSizeF() + 2);
    m_settingsButton->setFont(gearFont);
    buttons->addWidget(openButton);
    buttons->addWidget(syncButton);
    buttons->addStretch();
    buttons->addWidget(m_settingsButton);
    layout->addLayout(buttons);
    connect(openButton, &QPushButton::clicked, this, [this] {
        Q_EMIT openMainWindow();
        hide();
    });
    connect(syncButton, &QPushButton::clicked, this, [this] {
        Q_EMIT syncNowRequested();
        hide();
    });
    connect(m_settingsButton, &QToolButton::clicked, this, [this] {
        Q_EMIT openSettings();
        hide();
    });

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setInterval(kRefreshMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &WinTrayPopover::updateTimes);

    if (m_state) {
        if (m_state->events())
            connect(m_state->events(), &EventRepository::eventsChanged, this, &WinTrayPopover::refresh);
        if (m_state->calendars())
            connect(m_state->calendars(), &CalendarRepository::calendarsChanged, this, &WinTrayPopover::refresh);
        if (m_state->filterRules())
            connect(m_state->filterRules(), &FilterRuleRepository::filterRulesChanged, this, &WinTrayPopover::refresh);
        const auto regroup = [this] {
            populateGroups();
            refresh();
        };
        if (m_state->views())
            connect(m_state->views(), &ViewRepository::viewsChanged, this, regroup);
        connect(m_state, &AppState::activeViewChanged, this, regroup);
    }
    populateGroups();
}

void WinTrayPopover::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(systemNow);
}

void WinTrayPopover::positionNear(const QPoint &anchor)
{
    refresh();
    m_quickAddEdit->clear();
    m_hintLabel->clear();
    adjustSize();
    m_anchor = anchor;
    placeNearAnchor();
    show();
    raise();
    activateWindow();
    m_quickAddEdit->setFocus(Qt::OtherFocusReason);
}

void WinTrayPopover::placeNearAnchor()
{
    if (!m_anchor)
        return;
    QScreen *screen = QGuiApplication::screenAt(*m_anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    move(placement(*m_anchor, size(), avail));
}

QPoint WinTrayPopover::placement(const QPoint &anchor, const QSize &size, const QRect &avail)
{
    int x = anchor.x() - size.width() / 2;
    int y = anchor.y() - size.height() - kScreenMargin;
    if (!avail.isNull()) {
        x = std::min(x, avail.right() - kScreenMargin - size.width());
        x = std::max(x, avail.left() + kScreenMargin);
        y = std::min(y, avail.bottom() - kScreenMargin - size.height());
        y = std::max(y, avail.top() + kScreenMargin);
    }
    return QPoint(x, y);
}

void WinTrayPopover::refresh()
{
    const QDateTime now = m_clock();
    const QDate today = now.toLocalTime().date();
    m_listedDay = today;
    m_list->clear();

    const QList<Calendar> calendars = m_state && m_state->calendars() ? m_state->calendars()->getAll()
                                                                      : QList<Calendar>();
    if (calendars.isEmpty()) {
        m_nextEvent.reset();
        m_nextCard->hide();
        auto *item = new QListWidgetItem(tr("No calendars yet"));
        item->setFlags(Qt::NoItemFlags);
        m_list->addItem(item);
        // The header still shows the date and time.
        updateTimes();
        fitListToRows();
        return;
    }

    QHash<QString, QString> calendarColors;
    for (const Calendar &calendar : calendars)
        calendarColors.insert(calendar.id, calendar.color);

    const QList<Event> occurrences = upcomingOccurrences(m_state, now);
    if (occurrences.isEmpty()) {
        m_nextEvent.reset();
        m_dotLabel->setPixmap(QPixmap());
        m_titleLabel->setText(tr("No upcoming events"));
        m_timeLabel->setText(tr("Nothing scheduled in the next 24 hours."));
        m_locationLabel->clear();
        m_locationLabel->hide();
    } else {
        setNextEvent(occurrences.first(), calendarColors);
    }
    m_nextCard->show();

    QList<Event> todays;
    QList<Event> tomorrows;
    for (const Event &occurrence : occurrences) {
        if (TrayTime::occurrenceDay(occurrence.start_time, occurrence.is_all_day) <= today)
            todays.append(occurrence);
        else
            tomorrows.append(occurrence);
    }

    addSectionHeader(tr("Today"));
    for (const Event &occurrence : std::as_const(todays))
        addEventItem(occurrence, calendarColors, today);
    if (todays.isEmpty())
        addPlaceholder(tr("  No more events today"));

    addSectionHeader(tr("Tomorrow"));
    for (const Event &occurrence : std::as_const(tomorrows))
        addEventItem(occurrence, calendarColors, today);
    if (tomorrows.isEmpty())
        addPlaceholder(tr("  Nothing scheduled"));

    updateTimes();
    fitListToRows();
}

void WinTrayPopover::fitListToRows()
{
    // The popover grows with its rows instead of hiding tomorrow behind a
    // scroll bar; a very busy day scrolls past a third of the screen.
    // Row heights depend on the style sheet, which applies at polish time.
    ensurePolished();
    int height = 2 * m_list->frameWidth();
    for (int row = 0; row < m_list->count(); ++row)
        height += m_list->sizeHintForRow(row);
    const QScreen *screen = this->screen();
    const int cap = screen ? screen->availableGeometry().height() / 3 : kMaxListHeight;
    m_list->setFixedHeight(std::min(height, std::max(cap, kMinListCap)));
    if (isVisible())
        adjustSize();
}

void WinTrayPopover::setNextEvent(const Event &occurrence, const QHash<QString, QString> &calendarColors)
{
    m_nextEvent = occurrence;
    m_dotLabel->setPixmap(dotPixmap(14, QRectF(0, 0, 14, 14), colorOrDefault(eventColor(occurrence, calendarColors))));
    m_titleLabel->setText(occurrence.title.isEmpty() ? tr("Untitled") : occurrence.title);
    if (occurrence.location.isEmpty()) {
        m_locationLabel->clear();
        m_locationLabel->hide();
    } else {
        m_locationLabel->setText(occurrence.location);
        m_locationLabel->show();
    }
}

void WinTrayPopover::addSectionHeader(const QString &text)
{
    auto *item = new QListWidgetItem(text);
    QFont font = item->font();
    font.setWeight(QFont::Bold);
    item->setFont(font);
    item->setForeground(Theme::textMuted());
    item->setFlags(Qt::NoItemFlags);
    item->setData(SectionHeaderRole, true);
    m_list->addItem(item);
}

void WinTrayPopover::addPlaceholder(const QString &text)
{
    auto *item = new QListWidgetItem(text);
    item->setFlags(Qt::NoItemFlags);
    item->setForeground(Theme::textMuted());
    m_list->addItem(item);
}

void WinTrayPopover::addEventItem(const Event &occurrence, const QHash<QString, QString> &calendarColors,
                                  const QDate &today)
{
    const QDate day = TrayTime::occurrenceDay(occurrence.start_time, occurrence.is_all_day);
    QString time;
    if (occurrence.is_all_day)
        time = tr("All-day");
    else if (day < today)
        // Still running since an earlier day: a bare time would read as today's.
        time = tr("%1 %2").arg(TrayTime::dayLabel(day, today), TrayTime::clockText(occurrence.start_time));
    else
        time = TrayTime::clockText(occurrence.start_time);

    auto *item = new QListWidgetItem(tr("%1  %2").arg(time, occurrence.title));
    item->setIcon(QIcon(dotPixmap(12, QRectF(1, 1, 10, 10), colorOrDefault(eventColor(occurrence, calendarColors)))));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setData(DateRole, day);
    item->setData(EventIdRole, occurrence.id);
    m_list->addItem(item);
}

QString WinTrayPopover::eventColor(const Event &occurrence, const QHash<QString, QString> &calendarColors)
{
    if (!occurrence.color.isEmpty())
        return occurrence.color;
    return calendarColors.value(occurrence.calendar_id);
}

QColor WinTrayPopover::colorOrDefault(const QString &text)
{
    const QColor color(text);
    return color.isValid() ? color : QColor(kFallbackColor);
}

void WinTrayPopover::updateTimes()
{
    const QDateTime now = m_clock();
    const QDate today = now.toLocalTime().date();
    // Left open, the card would count down to an event that is over, and
    // the list call yesterday "Today": a new day or an ended event rebuilds.
    if (m_listedDay.isValid() && today != m_listedDay) {
        refresh();
        return;
    }
    if (m_nextEvent && !m_nextEvent->is_all_day
        && m_nextEvent->end_time.value_or(m_nextEvent->start_time) <= now) {
        refresh();
        return;
    }
    m_headerLabel->setText(today.toString(QStringLiteral("dddd, MMM d")) + QStringLiteral("  \u00b7  ")
                           + TrayTime::clockText(now));
    if (!m_nextEvent)
        return;

    const QDate day = TrayTime::occurrenceDay(m_nextEvent->start_time, m_nextEvent->is_all_day);
    const QString dayText = TrayTime::dayLabel(day, today);
    if (m_nextEvent->is_all_day) {
        m_timeLabel->setText(tr("%1, all day").arg(dayText));
        return;
    }
    QString text = tr("%1 at %2").arg(dayText, TrayTime::clockText(m_nextEvent->start_time));
    // A countdown for what starts today, and "now" for what is already
    // running since an earlier day.
    if (day <= today)
        text += QStringLiteral(" \u00b7 ") + relativeTimeText(m_nextEvent->start_time, now);
    m_timeLabel->setText(text);
}

QString WinTrayPopover::relativeTimeText(const QDateTime &start, const QDateTime &now)
{
    const qint64 secs = now.secsTo(start);
    if (secs <= 0)
        return tr("now");
    if (secs < 3600)
        return tr("in %1 min").arg(std::max<qint64>(secs / 60, 1));
    const qint64 hours = secs / 3600;
    const qint64 minutes = (secs - hours * 3600) / 60;
    if (minutes == 0)
        return tr("in %1h").arg(hours);
    return tr("in %1h %2m").arg(hours).arg(minutes);
}

void WinTrayPopover::populateGroups()
{
    const bool wasBlocked = m_groupCombo->blockSignals(true);
    m_groupCombo->clear();
    if (m_state && m_state->views()) {
        for (const CalendarView &group : m_state->views()->getAll()) {
            m_groupCombo->addItem(group.name.isEmpty() ? tr("(Unnamed)") : group.name, group.id);
        }
        const int active = m_groupCombo->findData(m_state->activeViewId(), Qt::UserRole,
                                                  Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (active >= 0)
            m_groupCombo->setCurrentIndex(active);
    }
    m_groupCombo->blockSignals(wasBlocked);
}

void WinTrayPopover::onGroupActivated(int index)
{
    if (index < 0 || !m_state)
        return;
    const QString id = m_groupCombo->itemData(index).toString();
    if (id.isEmpty() || id == m_state->activeViewId())
        return;
    m_state->setActiveViewId(id);
}

void WinTrayPopover::onItemClicked(QListWidgetItem *item)
{
    if (!item || item->data(SectionHeaderRole).toBool())
        return;
    const QString id = item->data(EventIdRole).toString();
    const QDate date = item->data(DateRole).toDate();
    if (id.isEmpty() || !date.isValid())
        return;
    Q_EMIT requestFocusOnEvent(id, date);
    hide();
}

void WinTrayPopover::updateQuickAddPreview(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        m_hintLabel->clear();
        return;
    }
    const NLParser::ParseResult parsed = NLParser::parse(text, m_clock());
    if (const QString problem = QuickAddDialog::problemText(parsed); !problem.isEmpty()) {
        // "feb 30": nothing could be saved, so say why instead of a blank date.
        m_hintLabel->setText(problem);
        return;
    }
    QString preview;
    if (parsed.allDay) {
        preview = parsed.start.toLocalTime().toString(QStringLiteral("ddd, MMM d")) + QStringLiteral("  \u2012  ")
            + tr("All-day");
    } else {
        preview = parsed.start.toLocalTime().toString(QStringLiteral("ddd, MMM d  h:mm AP"));
        if (parsed.end)
            preview += QStringLiteral(" \u2013 ") + TrayTime::clockText(*parsed.end);
    }
    if (!parsed.title.isEmpty())
        preview += QStringLiteral("  \u00b7  ") + parsed.title;
    m_hintLabel->setText(preview);
}

void WinTrayPopover::commitQuickAdd()
{
    const QString text = m_quickAddEdit->text().trimmed();
    if (text.isEmpty())
        return;
    if (!m_state || !m_state->calendars() || m_state->calendars()->getAll().isEmpty()) {
        Q_EMIT openMainWindow();
        hide();
        return;
    }
    if (const QString busy = StoreFailureText::importRunning(m_state); !busy.isEmpty()) {
        m_hintLabel->setText(busy);
        return;
    }
    StoreFailure::clear();
    if (QuickAdd::addFromText(m_state, text, QString(), m_clock()).isEmpty()) {
        const QString why = StoreFailureText::lastFailure();
        m_hintLabel->setText(why.isEmpty() ? tr("Couldn't save event") : why);
        return;
    }
    hide();
}

bool WinTrayPopover::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    return QFrame::event(event);
}

void WinTrayPopover::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    m_refreshTimer->start();
}

void WinTrayPopover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    m_refreshTimer->stop();
}

// A group switch, new events or the quick-add hint make the popover taller
// while it is shown; it grows toward the tray and would slide off the screen.
void WinTrayPopover::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (isVisible())
        placeNearAnchor();
}
