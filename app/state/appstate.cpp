#include "appstate.h"

#include "account/client.h"
#include "accountconfig.h"
#include "accountrepository.h"
#include "apiclient.h"
#include "applog.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "configsyncservice.h"
#include "conflictresolutionservice.h"
#include "database.h"
#include "environment.h"
#include "eventrepository.h"
#include "filterrulerepository.h"
#include "invitationsservice.h"
#include "preferencesrepository.h"
#include "recordnames.h"
#include "syncclient.h"
#include "syncqueuerepository.h"
#include "taskrepository.h"
#include "templaterepository.h"
#include "undostack.h"
#include "viewrepository.h"
#include "weatherservice.h"

#include <QDebug>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const auto kActiveViewKey = u"ui/activeViewId"_s;
const auto kViewModeKey = u"ui/viewMode"_s;
const auto kViewDateKey = u"ui/viewDate"_s;
const auto kHourHeightKey = u"ui/timelineHourHeight"_s;
const auto kWeekHorizonKey = u"ui/weekHorizon"_s;
const auto kWeekStartKey = u"ui/weekStartDay"_s;
const auto kDensityPrefix = u"ui/density/"_s;
const auto kComfortable = u"comfortable"_s;
const auto kCompact = u"compact"_s;

const auto kLocalAccountId = u"personal-local-account"_s;
const auto kPersonalCalendarId = u"quillmarten-personal-default"_s;
const auto kCloudType = AccountType::Quillmarten;

QString storedMode(const QString &mode)
{
    return (mode == "agenda"_L1 || mode == "list"_L1) ? u"week"_s : mode;
}

// The settings column is NOT NULL: an unset text is stored as empty text.
QString storable(const QString &text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
}

} // namespace

AppState::ThemeManagerFactory AppState::s_themeManagerFactory = nullptr;

void AppState::setThemeManagerFactory(ThemeManagerFactory factory)
{
    s_themeManagerFactory = factory;
}

AppState::AppState(QObject *parent)
    : QObject(parent)
{
}

bool AppState::isReadOnly() const
{
    // SQLite reads a database in a read-only folder, but its next write needs
    // a journal beside it.
    return (m_database && m_database->isReadOnly()) || !isFolderWritable();
}

bool AppState::isFolderWritable()
{
    // Tried rather than read from the mode bits, which say nothing of a
    // read-only mount or of root.
    QTemporaryFile probe(dataDirectory() + u"/.write-test-XXXXXX"_s);
    return probe.open();
}

bool AppState::initialize()
{
    // A second program on the same files would fail its writes with
    // "database is locked" at random; it is stopped here instead. Only a
    // lock whose process is gone is stale, never an old one: the holder
    // runs for days.
    // In a folder that cannot be written no lock can be made or a stale one
    // removed, and no program can write there either: the start goes on, and
    // the user is told the calendar is read-only.
    m_folderLock = std::make_unique<QLockFile>(dataLockPath());
    m_folderLock->setStaleLockTime(0);
    if (!isFolderWritable()) {
        qCWarning(lcApp).noquote() << "[AppState] the data folder cannot be written:" << dataDirectory();
        m_folderLock.reset();
    } else if (!m_folderLock->tryLock(0)) {
        qint64 pid = 0;
        QString host;
        QString app;
        m_folderLock->getLockInfo(&pid, &host, &app);
        qCWarning(lcApp).noquote() << "[AppState] data folder in use by process" << pid << "on" << host << ":"
                                   << dataDirectory();
        m_folderLock.reset();
        m_startFailure = StartFailure::FolderInUse;
        return false;
    }
    // Made with the umask's mode; it names this process and host.
    if (m_folderLock)
        QFile::setPermissions(dataLockPath(), QFile::ReadOwner | QFile::WriteOwner);

    m_database = new Database(this);
    const QString path = databasePath();
    qCInfo(lcApp).noquote() << "Opening database at:" << path;
    if (!m_database->open(path) || !m_database->migrate()) {
        switch (m_database->openFailure()) {
        case Database::OpenFailure::NewerSchema: m_startFailure = StartFailure::NewerSchema; break;
        case Database::OpenFailure::Locked: m_startFailure = StartFailure::DatabaseLocked; break;
        case Database::OpenFailure::Damaged: m_startFailure = StartFailure::DatabaseDamaged; break;
        case Database::OpenFailure::None:
        case Database::OpenFailure::Unusable: m_startFailure = StartFailure::DatabaseUnusable; break;
        }
        return false;
    }

    connect(m_database, &Database::damaged, this, [this] {
        m_startFailure = StartFailure::DatabaseDamaged;
        Q_EMIT databaseDamaged();
    });

    m_preferences = new PreferencesRepository(m_database, this);
    connect(m_preferences, &PreferencesRepository::changed, this, &AppState::onPreferenceChanged);
    m_accounts = new AccountRepository(m_database, this);
    m_calendars = new CalendarRepository(m_database, this);
    m_events = new EventRepository(m_database, this);
    m_tasks = new TaskRepository(m_database, this);
    m_views = new ViewRepository(m_database, this);
    m_filterRules = new FilterRuleRepository(m_database, this);
    m_templates = new TemplateRepository(m_database, this);

    if (s_themeManagerFactory)
        m_themeManager = s_themeManagerFactory(m_preferences, this);

    m_undoStack = new UndoStack(this);
    m_weather = new Weather::Service(this, this);
    m_syncQueue = new SyncQueueRepository(m_database, this);
    m_conflicts = new Sync::ConflictResolutionService(this, this);
    m_invitations = new Invitations::Service(this, this);

    m_accountClient = new TolmAccount::Client(accountClientConfig(), this);
    m_accountClient->syncApiClient()->setBaseUrl(calendarSyncApiBaseUrl());
    m_configSync = new Quillmarten::ConfigSyncService(this, m_accountClient->syncApiClient(), this);
    connect(m_filterRules, &FilterRuleRepository::filterRulesChanged, m_configSync,
            &Quillmarten::ConfigSyncService::syncOnMutation);
    connect(m_accountClient, &TolmAccount::Client::authStateChanged, this, &AppState::onAuthStateChanged);

    // A restored sign-in is already reported through authStateChanged;
    // onAuthenticated runs once for it either way.
    m_accountClient->initialize();
    qCInfo(lcApp) << "[AppState] post-initialize isAuthenticated=" << m_accountClient->isAuthenticated();
    if (m_accountClient->isAuthenticated())
        onAuthenticated();
    else
        seedLocalAccount();

    restoreViewState();
    Q_EMIT databaseReady();
    return true;
}

void AppState::restoreViewState()
{
    const QString allCalendars = u"all-calendars"_s;
    const auto live = [this](const QString &id) {
        // A deleted group lingers as a tombstone until configuration sync has
        // pushed it; it must not come back as the active group.
        const std::optional<CalendarView> group = m_views->getById(id);
        return group && !group->deleted_at;
    };
    QString activeId = m_preferences->getString(kActiveViewKey, allCalendars);
    // A vanished group falls back to "All Calendars", as deleting it in the
    // window does; to the first group only when that one is gone too.
    if (!live(activeId))
        activeId = allCalendars;
    if (!live(activeId)) {
        const QList<CalendarView> groups = m_views->getAll();
        activeId = groups.isEmpty() ? QString() : groups.first().id;
    }
    m_activeViewId = activeId;
    m_currentDate = QDate::currentDate();
    m_viewMode = storedMode(m_preferences->getString(kViewModeKey, u"week"_s));
    m_hourHeight = std::clamp(m_preferences->getInt(kHourHeightKey, kMinHourHeight), kMinHourHeight, kMaxHourHeight);
    m_weekHorizon = std::clamp(m_preferences->getInt(kWeekHorizonKey, 7), kMinWeekHorizon, kMaxWeekHorizon);
}

// --- View state ---

void AppState::setActiveViewId(const QString &id)
{
    if (id == m_activeViewId)
        return;
    m_activeViewId = id;
    m_preferences->set(kActiveViewKey, storable(id));
    Q_EMIT activeViewChanged(id);
}

void AppState::setSelectedEventId(const QString &id)
{
    if (id == m_selectedEventId)
        return;
    m_selectedEventId = id;
    Q_EMIT selectedEventChanged(id);
}

void AppState::setCurrentDate(const QDate &date)
{
    if (!date.isValid() || date == m_currentDate)
        return;
    recordHistory();
    m_currentDate = date;
    m_preferences->set(kViewDateKey, date.toString(Qt::ISODate));
    Q_EMIT currentDateChanged(date);
}

void AppState::setViewMode(const QString &mode)
{
    const QString stored = storedMode(mode);
    if (stored == m_viewMode)
        return;
    recordHistory();
    m_viewMode = stored;
    m_preferences->set(kViewModeKey, storable(stored));
    Q_EMIT viewModeChanged(stored);
}

void AppState::navigateTo(const QString &mode, const QDate &date)
{
    const QString stored = storedMode(mode);
    const bool modeChanged = stored != m_viewMode;
    const bool dateChanged = date.isValid() && date != m_currentDate;
    if (!modeChanged && !dateChanged)
        return;
    recordHistory();
    m_historySuppressed = true;
    if (dateChanged)
        setCurrentDate(date);
    if (modeChanged)
        setViewMode(stored);
    m_historySuppressed = false;
}

void AppState::setHourHeight(int height)
{
    const int clamped = std::clamp(height, kMinHourHeight, kMaxHourHeight);
    if (clamped == m_hourHeight)
        return;
    m_hourHeight = clamped;
    m_preferences->setInt(kHourHeightKey, clamped);
    Q_EMIT hourHeightChanged(clamped);
}

void AppState::setWeekHorizon(int days)
{
    const int clamped = std::clamp(days, kMinWeekHorizon, kMaxWeekHorizon);
    if (clamped == m_weekHorizon)
        return;
    recordHistory();
    m_weekHorizon = clamped;
    m_preferences->setInt(kWeekHorizonKey, clamped);
    Q_EMIT weekHorizonChanged(clamped);
}

void AppState::setFilterHiddenCount(int count)
{
    if (count == m_filterHiddenCount)
        return;
    m_filterHiddenCount = count;
    Q_EMIT filterHiddenCountChanged(count);
}

// --- History ---

ViewHistoryEntry AppState::present() const
{
    return {m_viewMode, m_currentDate, m_weekHorizon};
}

void AppState::recordHistory()
{
    if (m_historySuppressed)
        return;
    m_backStack.append(present());
    m_forwardStack.clear();
}

void AppState::applyHistoryEntry(const ViewHistoryEntry &entry)
{
    m_historySuppressed = true;
    if (entry.viewMode != m_viewMode)
        setViewMode(entry.viewMode);
    if (entry.date.isValid() && entry.date != m_currentDate)
        setCurrentDate(entry.date);
    if (entry.weekHorizon != m_weekHorizon)
        setWeekHorizon(entry.weekHorizon);
    m_historySuppressed = false;
}

// Takes the newest entry of `from`, keeps the present in `to` and applies the
// entry: goBack and goForward are mirror images.
void AppState::stepHistory(QList<ViewHistoryEntry> &from, QList<ViewHistoryEntry> &to)
{
    if (from.isEmpty())
        return;
    const ViewHistoryEntry entry = from.takeLast();
    to.append(present());
    applyHistoryEntry(entry);
}

void AppState::goBack()
{
    stepHistory(m_backStack, m_forwardStack);
}

void AppState::goForward()
{
    stepHistory(m_forwardStack, m_backStack);
}

// --- Density and first day of week ---

QString AppState::density(const QString &surface) const
{
    return m_preferences ? m_preferences->getString(kDensityPrefix + surface, kComfortable) : kComfortable;
}

bool AppState::isCompact(const QString &surface) const
{
    return density(surface) == kCompact;
}

void AppState::setDensity(const QString &surface, const QString &density)
{
    if (!m_preferences)
        return;
    const QString value = density == kCompact ? kCompact : kComfortable;
    if (value == this->density(surface))
        return;
    m_preferences->set(kDensityPrefix + surface, value);
    Q_EMIT densityChanged(surface, value);
}

Qt::DayOfWeek AppState::firstDayOfWeek() const
{
    if (!m_preferences)
        return defaultFirstDayOfWeek();
    const int day = m_preferences->getInt(kWeekStartKey, 0);
    return day >= Qt::Monday && day <= Qt::Sunday ? Qt::DayOfWeek(day) : defaultFirstDayOfWeek();
}

Qt::DayOfWeek AppState::defaultFirstDayOfWeek()
{
    return defaultFirstDayOfWeek(QLocale::system().territory());
}

Qt::DayOfWeek AppState::defaultFirstDayOfWeek(QLocale::Territory territory)
{
    static const QSet<QLocale::Territory> sundayFirst = {QLocale::Algeria,
                                                         QLocale::Australia,
                                                         QLocale::Bahrain,
                                                         QLocale::Bangladesh,
                                                         QLocale::Belize,
                                                         QLocale::Brazil,
                                                         QLocale::Canada,
                                                         QLocale::China,
                                                         QLocale::Colombia,
                                                         QLocale::DominicanRepublic,
                                                         QLocale::Egypt,
                                                         QLocale::ElSalvador,
                                                         QLocale::Guatemala,
                                                         QLocale::Honduras,
                                                         QLocale::HongKong,
                                                         QLocale::India,
                                                         QLocale::Iraq,
                                                         QLocale::Israel,
                                                         QLocale::Japan,
                                                         QLocale::Jordan,
                                                         QLocale::Kuwait,
                                                         QLocale::Libya,
                                                         QLocale::Macao,
                                                         QLocale::Mexico,
                                                         QLocale::NewZealand,
                                                         QLocale::Nicaragua,
                                                         QLocale::Oman,
                                                         QLocale::Pakistan,
                                                         QLocale::Panama,
                                                         QLocale::Peru,
                                                         QLocale::Philippines,
                                                         QLocale::Qatar,
                                                         QLocale::SaudiArabia,
                                                         QLocale::SouthAfrica,
                                                         QLocale::SouthKorea,
                                                         QLocale::Syria,
                                                         QLocale::Taiwan,
                                                         QLocale::Thailand,
                                                         QLocale::UnitedArabEmirates,
                                                         QLocale::UnitedStates,
                                                         QLocale::Venezuela,
                                                         QLocale::Yemen};
    return sundayFirst.contains(territory) ? Qt::Sunday : Qt::Monday;
}

void AppState::onPreferenceChanged(const QString &key)
{
    if (key == kWeekStartKey)
        Q_EMIT firstDayOfWeekChanged(firstDayOfWeek());
}

// --- Sync activity ---

void AppState::beginSync()
{
    if (m_syncBusyCount++ == 0) {
        m_syncBatchFailed = false;
        Q_EMIT syncBusyChanged(true);
    }
}

void AppState::endSync(bool failed)
{
    if (m_syncBusyCount < 1)
        return;
    if (failed)
        m_syncBatchFailed = true;
    if (--m_syncBusyCount > 0)
        return;
    if (m_lastSyncErrored != m_syncBatchFailed) {
        m_lastSyncErrored = m_syncBatchFailed;
        Q_EMIT lastSyncErroredChanged(m_lastSyncErrored);
    }
    if (!m_lastSyncErrored) {
        m_lastSyncErrorMessage.clear();
        m_lastSyncErrorCalendarId.clear();
    }
    Q_EMIT syncBusyChanged(false);
}

void AppState::beginImport()
{
    if (m_importCount++ == 0)
        Q_EMIT importRunningChanged(true);
}

void AppState::endImport()
{
    if (m_importCount < 1)
        return;
    if (--m_importCount == 0)
        Q_EMIT importRunningChanged(false);
}

void AppState::setLastSyncError(const QString &calendarId, const QString &message)
{
    m_lastSyncErrorCalendarId = calendarId;
    m_lastSyncErrorMessage = message;
}

QSet<QString> AppState::providerCalendars() const
{
    QSet<QString> result;
    if (!m_accounts || !m_calendars)
        return result;
    static const QSet<QString> providerTypes = {AccountType::CalDav, AccountType::ICloud, AccountType::Zoho,
                                                AccountType::Google, AccountType::Microsoft};
    QSet<QString> providerAccounts;
    for (const Account &account : m_accounts->getAll()) {
        if (providerTypes.contains(account.type))
            providerAccounts.insert(account.id);
    }
    for (const Calendar &calendar : m_calendars->getAll()) {
        if (providerAccounts.contains(calendar.account_id))
            result.insert(calendar.id);
    }
    return result;
}

// --- Sign-in and seeding ---

void AppState::onAuthStateChanged(TolmAccount::AuthState state)
{
    qCInfo(lcApp) << "[AppState] authStateChanged →" << int(state);
    if (state == TolmAccount::AuthState::Authenticated) {
        onAuthenticated();
        return;
    }
    m_signInHandled = false;
    if (m_configSync)
        m_configSync->stopAutoSync();
}

void AppState::onAuthenticated()
{
    if (m_signInHandled || !m_configSync || !m_accountClient)
        return;
    m_signInHandled = true;
    qCInfo(lcApp) << "[AppState] onAuthenticated firing — kicking ConfigSync";
    m_configSync->startAutoSync();
    m_configSync->syncNow();

    auto *client = new Quillmarten::SyncClient(this, m_accountClient->syncApiClient(), this);
    connect(client, &Quillmarten::SyncClient::calendarListPulled, this,
            [this, client] { onCalendarListPulled(client); });
    client->pullCalendarList();
}

void AppState::onCalendarListPulled(Quillmarten::SyncClient *client)
{
    client->deleteLater();
    seedLocalAccount();
    Q_EMIT syncNowRequested();
}

void AppState::seedLocalAccount()
{
    if (!m_accounts || !m_calendars)
        return;
    const bool haveAccount = m_accounts->getById(kLocalAccountId).has_value();
    const bool haveCalendar = m_calendars->getById(kPersonalCalendarId).has_value();
    if (haveAccount && haveCalendar)
        return;

    QSet<QString> cloudAccounts;
    for (const Account &account : m_accounts->getAll()) {
        if (account.type == kCloudType)
            cloudAccounts.insert(account.id);
    }
    const QList<Calendar> all = m_calendars->getAll();
    const bool haveCloudCalendar = std::any_of(all.cbegin(), all.cend(), [&](const Calendar &calendar) {
        return cloudAccounts.contains(calendar.account_id);
    });
    if (haveCloudCalendar)
        return;

    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!haveAccount) {
        Account account;
        account.id = kLocalAccountId;
        account.name = u"On This Device"_s;
        account.type = kCloudType;
        account.sync_interval_minutes = 0;
        account.enabled = true;
        account.color = u"#4CAF50"_s;
        account.created_at = account.updated_at = now;
        if (!m_accounts->insert(account)) {
            qCWarning(lcApp) << "Failed to seed local account";
            return;
        }
    }
    if (!haveCalendar) {
        Calendar calendar;
        calendar.id = kPersonalCalendarId;
        calendar.account_id = kLocalAccountId;
        calendar.url = u"local://calendar/"_s + kPersonalCalendarId;
        calendar.name = u"Personal"_s;
        calendar.color = u"#4285F4"_s;
        calendar.timezone = u"UTC"_s;
        calendar.is_visible = true;
        calendar.is_read_only = false;
        calendar.is_default = true;
        calendar.canonical_key = canonicalCalendarKey(kCloudType, calendar.url).value_or(QString());
        calendar.created_at = calendar.updated_at = now;
        if (!m_calendars->insert(calendar))
            qCWarning(lcApp) << "Failed to seed Personal calendar";
    }
}
