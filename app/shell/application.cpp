#include "application.h"

#include "appresources.h"
#include "appstate.h"
#include "desktopintegration.h"
#include "environment.h"
#include "mainwindow.h"
#include "notificationservice.h"
#include "preferencesrepository.h"
#include "shelllog.h"
#include "singleinstance.h"
#include "theme.h"
#include "traymanager.h"
#include "update/client.h"
#include "updatedialog.h"

#include <QDebug>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

const QString kVersion = QStringLiteral(CALENDAR_VERSION);
constexpr int kUpdateCheckDelayMs = 1500;

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setOrganizationName(u"Quillmarten"_s);
    setOrganizationDomain(u"quillmarten.example"_s);
    setApplicationName(u"Calendar"_s);
    setApplicationVersion(kVersion);
    // Lets the desktop match windows to the installed entry and its icon.
    setDesktopFileName(u"com.quillmarten.calendar"_s);
    installTranslators();
    setWindowIcon(QIcon(AppResources::iconPath()));

    const AppResources::LoadedFonts fonts = AppResources::loadFonts();
    if (fonts.iconFamily.isEmpty())
        qCWarning(lcShell).noquote()
            << u"[Fonts] Failed to load Material Icons font — indicators will fall back to a missing-glyph box."_s;
    else
        Theme::setIconFontFamily(fonts.iconFamily);
    setFont(QFont(Theme::sansFamily(), 11));
}

Application::~Application()
{
    // All go while the application object still stands.
    endRun();
}

void Application::endRun()
{
    // The window and the services show the state: they go first.
    delete m_mainWindow;
    m_mainWindow = nullptr;
    delete m_notificationService;
    m_notificationService = nullptr;
    delete m_trayManager;
    m_trayManager = nullptr;
    delete m_appState;
    m_appState = nullptr;
}

QStringList Application::supportedLanguages()
{
    return {u"en"_s, u"es"_s, u"de"_s, u"fr"_s, u"ja"_s};
}

QString Application::uiLanguage()
{
    const QSettings settings;
    return languageFor(settings.value(u"ui/language"_s, u"system"_s).toString(), QLocale());
}

QString Application::languageFor(const QString &setting, const QLocale &systemLocale)
{
    if (setting != u"system"_s)
        return setting;
    const QString language = systemLocale.name().left(2);
    return supportedLanguages().contains(language) ? language : u"en"_s;
}

void Application::installTranslators()
{
    const QString language = uiLanguage();
    if (language != u"en"_s) {
        m_qtTranslator = new QTranslator(this);
        if (m_qtTranslator->load(QLocale(language), u"qtbase"_s, u"_"_s,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            installTranslator(m_qtTranslator);
        } else {
            delete m_qtTranslator;
            m_qtTranslator = nullptr;
        }
    }
    m_appTranslator = new QTranslator(this);
    if (m_appTranslator->load(AppResources::translationPath(language))) {
        installTranslator(m_appTranslator);
    } else {
        delete m_appTranslator;
        m_appTranslator = nullptr;
    }
}

TolmUpdate::Config Application::updateConfig()
{
    TolmUpdate::Config config;
    config.product = u"calendar"_s;
    config.channel = u"stable"_s;
    const QString overridden = qEnvironmentVariable(kUpdateUrlVariable);
    config.manifestBaseUrl = QUrl(overridden.isEmpty() ? u"https://releases.quillmarten.example/calendar/stable/"_s
                                                       : overridden);
    config.currentVersion = kVersion;
    return config;
}

void Application::setSingleInstance(SingleInstance *singleInstance, const QByteArray &pendingCommand)
{
    m_singleInstance = singleInstance;
    m_pendingCommand = pendingCommand;
}

int Application::run()
{
    // What an earlier run left (only a test runs twice) goes first.
    endRun();
    m_appState = new AppState(this);
    if (!m_appState->initialize()) {
        const AppState::StartFailure failure = m_appState->startFailure();
        // Nothing of a state that did not start is usable; it goes at once.
        delete m_appState;
        m_appState = nullptr;
        showStartFailure(failure);
        return 1;
    }

    // Said as a damaged file at start is, and the program ends: what the
    // window shows may be missing rows.
    connect(m_appState, &AppState::databaseDamaged, this, [this] {
        showStartFailure(AppState::StartFailure::DatabaseDamaged);
        QCoreApplication::exit(1);
    });
    m_mainWindow = new MainWindow(m_appState);
    registerIcsFileAssociation();
    const bool hidden = startsHidden();
    if (!hidden)
        m_mainWindow->show();
    connectSingleInstance(hidden);
    createTrayAndReminders();
    if (m_appState->isReadOnly())
        warnReadOnly();
    QTimer::singleShot(kUpdateCheckDelayMs, this, &Application::startUpdateCheck);

    const int code = exec();
    delete m_mainWindow;
    m_mainWindow = nullptr;
    return code;
}

void Application::showStartFailure(AppState::StartFailure failure)
{
    QString title = tr("Database Error");
    QString text;
    switch (failure) {
    case AppState::StartFailure::NewerSchema:
        text = tr("The calendar database was created by a newer version of this program and cannot be "
                  "opened by this one. It has not been changed.\n\nData directory: %1\n\nPlease use the "
                  "newer version.")
                   .arg(dataDirectory());
        break;
    case AppState::StartFailure::FolderInUse:
        title = tr("Calendar Already Running");
        text = tr("The calendar data folder is in use by another running calendar program.\n\nData "
                  "directory: %1\n\nThis one ends now.")
                   .arg(dataDirectory());
        break;
    case AppState::StartFailure::DatabaseLocked:
        text = tr("The calendar database is locked by another program.\n\nData directory: %1\n\nClose the "
                  "program that has it open and start again.")
                   .arg(dataDirectory());
        break;
    case AppState::StartFailure::DatabaseDamaged:
        text = tr("The calendar database is damaged and cannot be opened. It has not been changed.\n\nData "
                  "directory: %1\n\nRestore a copy of calendar.db, or move it away to start with an empty "
                  "calendar.")
                   .arg(dataDirectory());
        break;
    case AppState::StartFailure::None:
    case AppState::StartFailure::DatabaseUnusable:
        text = tr("Failed to initialize the database.\n\nData directory: %1\n\nPlease check file "
                  "permissions and try again.")
                   .arg(dataDirectory());
        break;
    }
    // Also said where a start without a screen or from a shell shows it.
    qCCritical(lcShell).noquote() << text;
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.exec();
}

void Application::warnReadOnly()
{
    qCWarning(lcShell).noquote() << "[Startup] the calendar database or its folder is read-only:" << dataDirectory();
    // Said once, without holding up the start.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Read-Only Calendar"),
                                tr("The calendar database is read-only: changes cannot be saved.\n\nData "
                                   "directory: %1")
                                    .arg(dataDirectory()),
                                QMessageBox::Ok, m_mainWindow);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool Application::startsHidden() const
{
    return m_appState->preferences()->getBool(u"ui/startMinimized"_s, false) || arguments().contains(u"--background"_s);
}

void Application::connectSingleInstance(bool startedHidden)
{
    if (!m_singleInstance)
        return;
    MainWindow *window = m_mainWindow;
    SingleInstance *single = m_singleInstance;
    connect(single, &SingleInstance::focusRequested, window, &MainWindow::focusWindow, Qt::QueuedConnection);
    connect(single, &SingleInstance::showTodayRequested, window, &MainWindow::showToday, Qt::QueuedConnection);
    connect(
        single, &SingleInstance::newEventRequested, window,
        [window] {
        window->focusWindow();
        window->openNewEventDialog();
        },
        Qt::QueuedConnection);
    connect(single, &SingleInstance::quickAddRequested, window, &MainWindow::quickAddFromCommand, Qt::QueuedConnection);
    connect(single, &SingleInstance::openIcsRequested, window, &MainWindow::importIcsFromCommand, Qt::QueuedConnection);

    // A plain launch asks for focus; a start in the tray (at login, or by
    // preference) must not show the window for it. Any other command of the
    // launch still runs.
    const bool plainFocus = m_pendingCommand == SingleInstance::buildCommand({applicationFilePath()});
    if (m_pendingCommand.isEmpty() || (startedHidden && plainFocus))
        return;
    const QByteArray command = m_pendingCommand;
    QTimer::singleShot(0, single, [single, command] { single->dispatchCommand(command); });
}

void Application::createTrayAndReminders()
{
    MainWindow *window = m_mainWindow;
    m_trayManager = new TrayManager(m_appState, window, this);
    connect(m_trayManager, &TrayManager::syncNowRequested, window, &MainWindow::syncNow);
    connect(m_trayManager, &TrayManager::showWindowRequested, window, &MainWindow::focusWindow);
    connect(m_trayManager, &TrayManager::quickAddRequested, window, &MainWindow::showQuickAdd);
    connect(m_trayManager, &TrayManager::focusOnEventRequested, window, &MainWindow::focusOnEvent);
    connect(m_trayManager, &TrayManager::preferencesRequested, window, &MainWindow::openPreferences);
    connect(m_trayManager, &TrayManager::quitRequested, window, &MainWindow::quitApplication);
    m_trayManager->setup();
    // Null without a system tray: the window then closes instead of hiding,
    // and reminders are acknowledged without a balloon.
    window->setTrayIcon(m_trayManager->trayIcon());

    m_notificationService = new NotificationService(m_appState, m_trayManager->trayIcon(), this);
    window->setNotificationService(m_notificationService);
    connect(m_notificationService, &NotificationService::reminderClicked, window, &MainWindow::focusOnEvent);
}

void Application::startUpdateCheck()
{
    auto *client = new TolmUpdate::Client(updateConfig(), this);
    QObject *dialogContext = m_mainWindow ? static_cast<QObject *>(m_mainWindow) : this;
    connect(client, &TolmUpdate::Client::updateAvailable, dialogContext,
            [this](const TolmUpdate::Artifact &artifact) { showUpdateDialog(artifact); });
    connect(client, &TolmUpdate::Client::checkFailed, this,
            [](const QString &message) { qCWarning(lcShell).noquote() << u"update check failed:"_s << message; });
    client->checkForUpdates();
}

void Application::showUpdateDialog(const TolmUpdate::Artifact &artifact)
{
    auto *dialog = new TolmUpdate::UpdateDialog(artifact, kVersion, u"Quillmarten Calendar"_s, m_mainWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
