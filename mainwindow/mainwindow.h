#pragma once

#include "quickadddialog.h"
#include "recurringeditscope.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

struct Event;
class AppState;
class IcsImportJob;
class QProgressDialog;
class NotificationService;
class QAction;
class QLabel;
class QSystemTrayIcon;
class SyncCoordinator;
class WeekAgenda;
namespace IcsImport {
struct Result;
}

// The main window: menus through which every operation is reached, the
// week's agenda and the status bar. Sync runs belong to one coordinator per
// kind of account (CalDAV so far), owned here, which keeps their timers and
// AppState's busy count and reports to the status bar.
// Built without showing itself; Application decides whether to show it.
//
// The tray icon and the reminder service are handed in after construction;
// neither is owned, and either may be missing (no system tray, or not yet
// created), in which case what depends on it stays off.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(AppState *state, QWidget *parent = nullptr);
    ~MainWindow() override;

    // While this icon is visible and "ui/closeToTray" is on, closing the
    // window hides it.
    void setTrayIcon(QSystemTrayIcon *trayIcon);
    QSystemTrayIcon *trayIcon() const;
    // Enables "Send Test Notification"; the status bar says so while the
    // service can show no reminder.
    void setNotificationService(NotificationService *service);
    NotificationService *notificationService() const;

    WeekAgenda *agenda() const { return m_agenda; }
    SyncCoordinator *calDavSync() const { return m_calDavSync; }
    QAction *quickAddAction() const { return m_quickAddAction; }
    QAction *searchAction() const { return m_searchAction; }
    QuickAddDialog *quickAddDialog() const { return m_quickAdd; }
    QAction *importAction() const { return m_importAction; }
    QAction *undoAction() const { return m_undoAction; }
    QAction *loadSampleDataAction() const { return m_loadSampleAction; }
    QAction *clearSampleDataAction() const { return m_clearSampleAction; }
    QAction *testNotificationAction() const { return m_testNotificationAction; }

public Q_SLOTS:
    // Shows the window (normally when minimised), raises and activates it.
    void focusWindow();
    // Focuses the window on today's week.
    void showToday();
    // The task form for a new task; with no calendar, says so instead.
    void openNewTaskDialog();
    // With no calendar there is nothing to add to: says so. Otherwise the
    // event editor for a new event.
    void openNewEventDialog();
    // Adds an event from a phrase; the outcome goes to the status bar. No
    // phrase opens the quick-add window instead.
    void quickAddFromCommand(const QString &text);
    // The one quick-add window, made on first use and shown again, raised
    // and activated on every later request.
    void showQuickAdd();
    // The event templates, edited in place.
    void openTemplates();
    // Finds events by text; the chosen one is brought into view.
    void openSearch();
    // Imports the events of an .ics file into the default calendar, on a
    // thread of its own behind a progress dialog with Cancel; the summary
    // goes to the status bar, and to a message box when events were left
    // out or nothing could be stored. importFinished() follows it. It starts
    // once the sync runs under way have reported, and the program's own
    // writers wait for it (AppState::isImportRunning) until it has. Another
    // file handed over meanwhile is imported after it.
    void importIcsFromCommand(const QString &path);
    // A full sync of every enabled account.
    void syncNow();
    // Shows the window on `date` (when valid) with the event selected (when
    // the id is not empty), and the event's details (for a series, of its
    // occurrence on that date) centred on it; their Edit opens the form.
    void focusOnEvent(const QString &eventId, const QDate &date);
    void openPreferences();
    // Closes every window and ends the event loop; closing does not hide to
    // the tray any more.
    void quitApplication();

protected:
    void closeEvent(QCloseEvent *event) override;

Q_SIGNALS:
    // An import started by importIcsFromCommand has been reported.
    void importFinished();

private:
    void buildMenus();
    void openEventEditor(const Event &event, RecurringEditScope scope = RecurringEditScope::AllEvents);
    void chooseIcsFile();
    void undo();
    void loadSampleData();
    void clearSampleData();
    void sendTestNotification();
    void showStatus(const QString &message, int timeoutMs);
    void reportAdded(const QString &eventId);
    void reportImport(const QString &path, const IcsImport::Result &result);

    AppState *m_state;
    QPointer<QSystemTrayIcon> m_trayIcon;
    QPointer<NotificationService> m_notifications;
    QLabel *m_reminderWarning = nullptr;
    WeekAgenda *m_agenda = nullptr;
    SyncCoordinator *m_calDavSync = nullptr;
    bool m_quitting = false;

    QPointer<IcsImportJob> m_import;
    QPointer<QProgressDialog> m_importProgress;
    // Files handed over while an import ran, imported in turn after it.
    QStringList m_queuedImports;

    QAction *m_quickAddAction = nullptr;
    QAction *m_searchAction = nullptr;
    QPointer<QuickAddDialog> m_quickAdd;
    QAction *m_importAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_loadSampleAction = nullptr;
    QAction *m_clearSampleAction = nullptr;
    QAction *m_testNotificationAction = nullptr;
};
