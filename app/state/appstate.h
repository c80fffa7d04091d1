#pragma once

#include "authstate.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QLockFile>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class AccountRepository;
class CalendarRepository;
class Database;
class EventRepository;
class FilterRuleRepository;
class PreferencesRepository;
class SyncQueueRepository;
class TaskRepository;
class TemplateRepository;
class ThemeManager;
class UndoStack;
class ViewRepository;
namespace Invitations {
class Service;
}
namespace Quillmarten {
class ConfigSyncService;
class SyncClient;
} // namespace Quillmarten
namespace Sync {
class ConflictResolutionService;
}
namespace TolmAccount {
class Client;
}
namespace Weather {
class Service;
}

// One step of the views' navigation history.
struct ViewHistoryEntry
{
    QString viewMode;
    QDate date;
    int weekHorizon = 7;

    friend bool operator==(const ViewHistoryEntry &a, const ViewHistoryEntry &b)
    {
        return a.viewMode == b.viewMode && a.date == b.date && a.weekHorizon == b.weekHorizon;
    }
    friend bool operator!=(const ViewHistoryEntry &a, const ViewHistoryEntry &b) { return !(a == b); }
};

// The hub of the application: owns the database, every repository and every
// long-lived service (all QObject children, created by initialize() and
// handed out as plain pointers that stay owned here), and the view state
// that the main window, views, panels and tray share. Nothing is usable
// before initialize() returned true.
//
// The services below the application layer (sync, cloud, weather) are given
// this object as a plain QObject and find the repositories as its typed
// children; there is exactly one child of each repository class.
class AppState : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMinHourHeight = 56;
    static constexpr int kMaxHourHeight = 200;
    static constexpr int kMinWeekHorizon = 2;
    static constexpr int kMaxWeekHorizon = 21;

    // Sets the initial values; creates nothing.
    explicit AppState(QObject *parent = nullptr);

    // Opens and migrates databasePath(), builds every repository and service,
    // restores the sign-in, seeds the device calendar (when signed in: after
    // the cloud calendar list arrived), restores the view state and emits
    // databaseReady(). False when the database cannot be opened or migrated,
    // or when another process works on the same data folder; startFailure()
    // says which.
    bool initialize();

    enum class StartFailure {
        None,
        DatabaseUnusable,
        // The file was written by a newer program; it was left untouched.
        NewerSchema,
        // Another running program holds the data folder's lock.
        FolderInUse,
        // Another program holds the database file locked.
        DatabaseLocked,
        // The file is no database or its pages are damaged; left untouched.
        DatabaseDamaged,
    };
    // The theme belongs to the widgets, a layer above the state: a program
    // with windows installs how its ThemeManager is made (ThemeManager does
    // so when the application object starts), and initialize() makes it
    // after the repositories. Headless programs have none.
    using ThemeManagerFactory = ThemeManager *(*)(PreferencesRepository *preferences, QObject *parent);
    static void setThemeManagerFactory(ThemeManagerFactory factory);

    StartFailure startFailure() const { return m_startFailure; }
    // The database or its folder cannot be written: changes will not save.
    bool isReadOnly() const;

    Database *database() const { return m_database; }
    PreferencesRepository *preferences() const { return m_preferences; }
    AccountRepository *accounts() const { return m_accounts; }
    CalendarRepository *calendars() const { return m_calendars; }
    EventRepository *events() const { return m_events; }
    TaskRepository *tasks() const { return m_tasks; }
    ViewRepository *views() const { return m_views; }
    FilterRuleRepository *filterRules() const { return m_filterRules; }
    TemplateRepository *templates() const { return m_templates; }
    // Null in a program without windows: see setThemeManagerFactory().
    ThemeManager *themeManager() const { return m_themeManager; }
    UndoStack *undoStack() const { return m_undoStack; }
    Weather::Service *weather() const { return m_weather; }
    TolmAccount::Client *accountClient() const { return m_accountClient; }
    SyncQueueRepository *syncQueue() const { return m_syncQueue; }
    Sync::ConflictResolutionService *conflicts() const { return m_conflicts; }
    Quillmarten::ConfigSyncService *configSync() const { return m_configSync; }
    Invitations::Service *invitations() const { return m_invitations; }

    QString activeViewId() const { return m_activeViewId; }
    QString selectedEventId() const { return m_selectedEventId; }
    QDate currentDate() const { return m_currentDate; }
    QString viewMode() const { return m_viewMode; }
    int hourHeight() const { return m_hourHeight; }
    int weekHorizon() const { return m_weekHorizon; }
    // -1 until the current view reported.
    int filterHiddenCount() const { return m_filterHiddenCount; }
    // Oldest first.
    QList<ViewHistoryEntry> backStack() const { return m_backStack; }
    QList<ViewHistoryEntry> forwardStack() const { return m_forwardStack; }
    bool historySuppressed() const { return m_historySuppressed; }
    int syncBusyCount() const { return m_syncBusyCount; }
    bool syncBatchFailed() const { return m_syncBatchFailed; }
    bool lastSyncErrored() const { return m_lastSyncErrored; }
    QString lastSyncErrorMessage() const { return m_lastSyncErrorMessage; }
    QString lastSyncErrorCalendarId() const { return m_lastSyncErrorCalendarId; }

    // The setters of the persisted state expect initialize() to have
    // succeeded. Each emits its signal only on a real change.
    void setActiveViewId(const QString &id);
    void setSelectedEventId(const QString &id);
    // Invalid dates are ignored.
    void setCurrentDate(const QDate &date);
    // "agenda" and "list" become "week".
    void setViewMode(const QString &mode);
    // A mode and a date as one history step.
    void navigateTo(const QString &mode, const QDate &date);
    // Clamped to kMinHourHeight..kMaxHourHeight.
    void setHourHeight(int height);
    // Clamped to kMinWeekHorizon..kMaxWeekHorizon.
    void setWeekHorizon(int days);
    void setFilterHiddenCount(int count);
    void goBack();
    void goForward();

    // "comfortable" or "compact" per view surface ("day", "week", ...);
    // "comfortable" when nothing is stored.
    QString density(const QString &surface) const;
    bool isCompact(const QString &surface) const;
    // Anything but "compact" is stored as "comfortable".
    void setDensity(const QString &surface, const QString &density);

    // "ui/weekStartDay" 1..7, else the locale's rule. Never cached.
    Qt::DayOfWeek firstDayOfWeek() const;
    // Sunday in the Sunday-first territories of the system locale, else Monday.
    static Qt::DayOfWeek defaultFirstDayOfWeek();
    static Qt::DayOfWeek defaultFirstDayOfWeek(QLocale::Territory territory);

    // One calendar sync started / ended; the busy flag covers nested syncs,
    // and the error flag reports whether any sync of the busy period failed.
    // An endSync without a beginSync is ignored.
    void beginSync();
    void endSync(bool failed);
    void setLastSyncError(const QString &calendarId, const QString &message);

    // A file import of this program holds the database's write lock on a
    // connection of its own until it ends. Writers of the GUI thread wait
    // for it rather than run into the lock for the busy timeout and fail.
    // Nested imports count; an endImport without a beginImport is ignored.
    void beginImport();
    void endImport();
    bool isImportRunning() const { return m_importCount > 0; }

    // Calendars of CalDAV (and its presets), Google and Microsoft accounts.
    QSet<QString> providerCalendars() const;

    // Creates the device account "personal-local-account" and its calendar
    // "Personal" when either is missing, unless a calendar of a cloud
    // ("quillmarten") account exists.
    void seedLocalAccount();
    // The sign-in step: starts configuration sync and pulls the cloud
    // calendar list; when it arrived, seeds and emits syncNowRequested().
    // Runs once per sign-in.
    void onAuthenticated();

Q_SIGNALS:
    void databaseReady();
    // The pages checked after the start were found damaged: nothing more is
    // written, and startFailure() says so.
    void databaseDamaged();
    void activeViewChanged(const QString &id);
    void selectedEventChanged(const QString &id);
    void currentDateChanged(const QDate &date);
    void viewModeChanged(const QString &mode);
    void hourHeightChanged(int height);
    void weekHorizonChanged(int days);
    void filterHiddenCountChanged(int count);
    void densityChanged(const QString &surface, const QString &density);
    void firstDayOfWeekChanged(Qt::DayOfWeek day);
    void syncNowRequested();
    void syncBusyChanged(bool busy);
    void lastSyncErroredChanged(bool errored);
    void importRunningChanged(bool running);

private:
    void onPreferenceChanged(const QString &key);
    void onAuthStateChanged(TolmAccount::AuthState state);
    void onCalendarListPulled(Quillmarten::SyncClient *client);
    void restoreViewState();
    void recordHistory();
    ViewHistoryEntry present() const;
    void applyHistoryEntry(const ViewHistoryEntry &entry);
    void stepHistory(QList<ViewHistoryEntry> &from, QList<ViewHistoryEntry> &to);

    Database *m_database = nullptr;
    static bool isFolderWritable();

    // Held for the life of the state: one program per data folder.
    std::unique_ptr<QLockFile> m_folderLock;
    StartFailure m_startFailure = StartFailure::None;
    PreferencesRepository *m_preferences = nullptr;
    AccountRepository *m_accounts = nullptr;
    CalendarRepository *m_calendars = nullptr;
    EventRepository *m_events = nullptr;
    TaskRepository *m_tasks = nullptr;
    ViewRepository *m_views = nullptr;
    FilterRuleRepository *m_filterRules = nullptr;
    TemplateRepository *m_templates = nullptr;
    ThemeManager *m_themeManager = nullptr;
    static ThemeManagerFactory s_themeManagerFactory;
    UndoStack *m_undoStack = nullptr;
    Weather::Service *m_weather = nullptr;
    TolmAccount::Client *m_accountClient = nullptr;
    SyncQueueRepository *m_syncQueue = nullptr;
    Sync::ConflictResolutionService *m_conflicts = nullptr;
    Quillmarten::ConfigSyncService *m_configSync = nullptr;
    Invitations::Service *m_invitations = nullptr;

    QString m_activeViewId;
    QString m_selectedEventId;
    QDate m_currentDate;
    QString m_viewMode;
    int m_hourHeight = kMinHourHeight;
    int m_weekHorizon = 7;
    int m_filterHiddenCount = -1;
    QList<ViewHistoryEntry> m_backStack;
    QList<ViewHistoryEntry> m_forwardStack;
    bool m_historySuppressed = false;
    int m_syncBusyCount = 0;
    int m_importCount = 0;
    bool m_syncBatchFailed = false;
    bool m_lastSyncErrored = false;
    QString m_lastSyncErrorMessage;
    QString m_lastSyncErrorCalendarId;
    // The sign-in step ran for the present sign-in.
    bool m_signInHandled = false;
};
