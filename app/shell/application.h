#pragma once

#include "appstate.h"
#include "artifact.h"
#include "config.h"

#include <QApplication>
#include <QByteArray>
#include <QLocale>
#include <QStringList>

class MainWindow;
class NotificationService;
class QTranslator;
class SingleInstance;
class TrayManager;

// The program: identity, translations, icon and fonts from the constructor;
// the state, the main window, the tray, reminders and the update check from
// run(). The main window is a top-level window without parent, deleted when
// the event loop has ended and before the state it shows.
class Application : public QApplication
{
    Q_OBJECT
public:
    // The release manifest's base URL comes from this variable when it is
    // set and not empty (tests point it at a local server).
    static constexpr const char *kUpdateUrlVariable = "CALENDAR_UPDATE_BASE_URL";

    Application(int &argc, char **argv);
    ~Application() override;

    static QStringList supportedLanguages();
    // "ui/language" of the native settings; "system" (the default) picks the
    // system locale's language when it is supported, else English.
    static QString uiLanguage();
    static QString languageFor(const QString &setting, const QLocale &systemLocale);
    static TolmUpdate::Config updateConfig();

    // The listening instance and this launch's own command (one JSON line).
    void setSingleInstance(SingleInstance *singleInstance, const QByteArray &pendingCommand);

    // Builds everything and runs the event loop; 1 when the database cannot
    // be opened.
    int run();

    void startUpdateCheck();
    void showUpdateDialog(const TolmUpdate::Artifact &artifact);

    AppState *appState() const { return m_appState; }
    MainWindow *mainWindow() const { return m_mainWindow; }
    TrayManager *trayManager() const { return m_trayManager; }
    NotificationService *notificationService() const { return m_notificationService; }

private:
    // Deletes the window, the services and the state of a run.
    void endRun();
    void installTranslators();
    bool startsHidden() const;
    // The modal explanation of a start that cannot go on.
    static void showStartFailure(AppState::StartFailure failure);
    void warnReadOnly();
    void connectSingleInstance(bool startedHidden);
    // The tray icon and the reminder balloons, handed to the main window.
    void createTrayAndReminders();

    AppState *m_appState = nullptr;
    MainWindow *m_mainWindow = nullptr;
    TrayManager *m_trayManager = nullptr;
    NotificationService *m_notificationService = nullptr;
    SingleInstance *m_singleInstance = nullptr;
    QByteArray m_pendingCommand;
    QTranslator *m_qtTranslator = nullptr;
    QTranslator *m_appTranslator = nullptr;
};
