#pragma once

#include "clock.h"
#include "wintraypopover.h"

#include <QColor>
#include <QDate>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

class AppState;
class QTimer;
class QWidget;

// The program's place in the notification area: the application icon with a
// dot while a sync runs (blue) or after the last sync failed (red), a tooltip
// naming the next event (refreshed every minute and on every change of the
// events), a context menu, and the popover that a click opens and closes.
//
// The main window is reached through the request signals, which the
// application connects; `window` is only the popover's parent and may be
// null. Without a system tray setup() builds nothing and trayIcon() stays
// null for good.
class TrayManager : public QObject
{
    Q_OBJECT
public:
    static const QColor kFailedColor;
    static const QColor kBusyColor;

    TrayManager(AppState *state, QWidget *window, QObject *parent = nullptr);
    ~TrayManager() override;

    void setup();

    // Null until setup(), and for good without a system tray. Owned.
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    QMenu *menu() const { return m_menu; }
    WinTrayPopover *popover() const { return m_popover; }

    // Replaces the system clock for the tooltip and the popover.
    void setClock(Clock clock);

    // `base` with a dot of `badge` in its bottom-right corner at 16, 24, 32
    // and 48 px; `base` itself for an invalid colour.
    static QIcon badgedIcon(const QIcon &base, const QColor &badge);
    // The application icon, badged red after a failed sync (also while the
    // next one runs), blue while a sync runs.
    static QIcon stateIcon(const AppState *state);
    // The tooltip for the state at `now`.
    static QString tooltipText(const AppState *state, const QDateTime &now);

public Q_SLOTS:
    void updateIcon();
    void updateTooltip();
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void quitFromTray();

Q_SIGNALS:
    void syncNowRequested();
    void showWindowRequested();
    // "&Quick Add…": the main window's quick-add window.
    void quickAddRequested();
    void focusOnEventRequested(const QString &eventId, const QDate &date);
    void preferencesRequested();
    // "&Quit" with a main window; without one the application quits directly.
    void quitRequested();

private:
    QPoint popoverAnchor() const;

    AppState *m_state = nullptr;
    QPointer<QWidget> m_window;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QTimer *m_tooltipTimer = nullptr;
    // The menu and the popover are widgets: parented to the window when there
    // is one, else owned (and deleted) by the manager.
    QPointer<QMenu> m_menu;
    QPointer<WinTrayPopover> m_popover;
    Clock m_clock = systemNow;
};
