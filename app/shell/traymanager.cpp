#include "traymanager.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "filterrulerepository.h"
#include "traytime.h"
#include "upcomingoccurrences.h"
#include "wintraypopover.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kTooltipRefreshMs = 60000;

} // namespace

const QColor TrayManager::kFailedColor(229, 57, 53);
const QColor TrayManager::kBusyColor(66, 133, 244);

TrayManager::TrayManager(AppState *state, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_window(window)
{
}

TrayManager::~TrayManager()
{
    // Without a window nothing else owns them.
    if (m_menu && !m_menu->parent())
        delete m_menu;
    if (m_popover && !m_popover->parent())
        delete m_popover;
}

void TrayManager::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(systemNow);
    if (m_popover)
        m_popover->setClock(m_clock);
}

void TrayManager::setup()
{
    if (m_trayIcon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;

    m_trayIcon = new QSystemTrayIcon(this);
    updateIcon();
    updateTooltip();

    m_menu = new QMenu(m_window);
    m_menu->addAction(tr("&Show Calendar"), this, [this] {
        if (m_window)
            Q_EMIT showWindowRequested();
    });
    m_menu->addAction(tr("&Quick Add…"), this, &TrayManager::quickAddRequested);
    m_menu->addAction(tr("Sync &Now"), this, &TrayManager::syncNowRequested);
    m_menu->addSeparator();
    m_menu->addAction(tr("&Quit"), this, &TrayManager::quitFromTray);
    m_trayIcon->setContextMenu(m_menu);

    m_popover = new WinTrayPopover(m_state, m_window);
    m_popover->setClock(m_clock);
    connect(m_popover, &WinTrayPopover::openMainWindow, this, [this] {
        if (m_window)
            Q_EMIT showWindowRequested();
    });
    connect(m_popover, &WinTrayPopover::requestFocusOnEvent, this, [this](const QString &eventId, const QDate &date) {
        if (m_window)
            Q_EMIT focusOnEventRequested(eventId, date);
    });
    connect(m_popover, &WinTrayPopover::openSettings, this, [this] {
        if (m_window)
            Q_EMIT preferencesRequested();
    });
    connect(m_popover, &WinTrayPopover::syncNowRequested, this, &TrayManager::syncNowRequested);

    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &TrayManager::onActivated);
    m_trayIcon->setVisible(true);

    m_tooltipTimer = new QTimer(this);
    m_tooltipTimer->setInterval(kTooltipRefreshMs);
    connect(m_tooltipTimer, &QTimer::timeout, this, &TrayManager::updateTooltip);
    m_tooltipTimer->start();

    if (m_state && m_state->events())
        connect(m_state->events(), &EventRepository::eventsChanged, this, &TrayManager::updateTooltip);
    // Which events count changes with the calendars, the rules and the group,
    // as the popover's list does.
    if (m_state && m_state->calendars())
        connect(m_state->calendars(), &CalendarRepository::calendarsChanged, this, &TrayManager::updateTooltip);
    if (m_state && m_state->filterRules())
        connect(m_state->filterRules(), &FilterRuleRepository::filterRulesChanged, this, &TrayManager::updateTooltip);
    if (m_state) {
        connect(m_state, &AppState::activeViewChanged, this, &TrayManager::updateTooltip);
        connect(m_state, &AppState::syncBusyChanged, this, &TrayManager::updateIcon);
        connect(m_state, &AppState::lastSyncErroredChanged, this, [this] {
            updateIcon();
            updateTooltip();
        });
    }
}

QIcon TrayManager::badgedIcon(const QIcon &base, const QColor &badge)
{
    if (!badge.isValid())
        return base;
    QIcon icon;
    for (const int s : {16, 24, 32, 48}) {
        QPixmap pixmap = base.pixmap(QSize(s, s), QIcon::Normal, QIcon::Off);
        if (pixmap.isNull())
            continue;
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const int d = std::max(s * 38 / 100, 6);
        QPen pen(QColor(255, 255, 255, 230));
        pen.setWidthF(std::max(s / 24, 1));
        pen.setStyle(Qt::SolidLine);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::BevelJoin);
        painter.setPen(pen);
        painter.setBrush(badge);
        painter.drawEllipse(QRect(s - d, s - d, d - 1, d - 1));
        painter.end();
        icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    }
    return icon;
}

QIcon TrayManager::stateIcon(const AppState *state)
{
    const QIcon base(QStringLiteral(":/icons/app-icon.png"));
    if (state && state->lastSyncErrored())
        return badgedIcon(base, kFailedColor);
    if (state && state->syncBusyCount() > 0)
        return badgedIcon(base, kBusyColor);
    return base;
}

void TrayManager::updateIcon()
{
    if (m_trayIcon)
        m_trayIcon->setIcon(stateIcon(m_state));
}

QString TrayManager::tooltipText(const AppState *state, const QDateTime &now)
{
    if (state && state->lastSyncErrored()) {
        if (state->lastSyncErrorMessage().isEmpty())
            return tr("Quillmarten Calendar \u2014 Last sync failed");
        return tr("Quillmarten Calendar \u2014 Sync failed: %1").arg(state->lastSyncErrorMessage());
    }
    const std::optional<Event> next = state ? nextUpcomingOccurrence(state, now) : std::nullopt;
    if (!next)
        return tr("Quillmarten Calendar \u2014 No upcoming events");

    const QDate today = now.toLocalTime().date();
    const QDate day = TrayTime::occurrenceDay(next->start_time, next->is_all_day);
    const QString title = next->title.isEmpty() ? tr("Untitled") : next->title;
    const QString dayText = day.toString(QStringLiteral("ddd, MMM d"));
    if (next->is_all_day) {
        QString label = dayText;
        if (day == today)
            label = tr("today");
        else if (day == today.addDays(1))
            label = tr("tomorrow");
        return tr("Quillmarten Calendar \u2014 Next: %1 (%2, all day)").arg(title, label);
    }
    const QString time = TrayTime::clockText(next->start_time);
    QString label;
    if (day == today)
        label = tr("at %1").arg(time);
    else if (day == today.addDays(1))
        label = tr("tomorrow at %1").arg(time);
    else
        label = tr("%1 %2").arg(dayText, time);
    return tr("Quillmarten Calendar \u2014 Next: %1 %2").arg(title, label);
}

void TrayManager::updateTooltip()
{
    if (m_trayIcon)
        m_trayIcon->setToolTip(tooltipText(m_state, m_clock()));
}

void TrayManager::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick
        && reason != QSystemTrayIcon::MiddleClick)
        return;
    if (!m_popover)
        return;
    if (m_popover->isVisible()) {
        m_popover->hide();
        return;
    }
    m_popover->positionNear(popoverAnchor());
}

QPoint TrayManager::popoverAnchor() const
{
    const QRect geometry = m_trayIcon ? m_trayIcon->geometry() : QRect();
    return geometry.isEmpty() ? QCursor::pos() : geometry.center();
}

void TrayManager::quitFromTray()
{
    if (m_window)
        Q_EMIT quitRequested();
    else
        QCoreApplication::quit();
}
