#include "mainwindow.h"
#include "timeutil.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "environment.h"
#include "eventdetailspopover.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "filtermenus.h"
#include "icsimportjob.h"
#include "managetemplatesdialog.h"
#include "notificationservice.h"
#include "preferencesdialog.h"
#include "preferencesrepository.h"
#include "quickadd.h"
#include "quickadddialog.h"
#include "recurrence.h"
#include "sampledata.h"
#include "searchdialog.h"
#include "storefailure.h"
#include "storefailuretext.h"
#include "synccoordinator.h"
#include "syncstatustext.h"
#include "taskformdialog.h"
#include "tokenstore.h"
#include "traytime.h"
#include "undostack.h"
#include "weekagenda.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

namespace {

SampleDataStores sampleStores(const AppState *state)
{
    return {state->database(), state->accounts(), state->calendars(), state->events(), state->tasks()};
}

QString storeFailureText(StoreFailure::Kind failure)
{
    switch (failure) {
    case StoreFailure::DiskFull: return MainWindow::tr("the disk is full.");
    case StoreFailure::ReadOnly: return MainWindow::tr("the calendar database is read-only.");
    case StoreFailure::Locked: return MainWindow::tr("the calendar database is locked by another program.");
    case StoreFailure::Io: return MainWindow::tr("the disk or the database file failed.");
    default: return MainWindow::tr("the calendar database could not be written.");
    }
}

} // namespace

MainWindow::MainWindow(AppState *state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_agenda(new WeekAgenda(state, this, WeekAgenda::FirstLoad::AfterShown))
    , m_calDavSync(new SyncCoordinator(state, TolmAccount::createTokenStore(appIdentifier()), this))
{
    setWindowTitle(tr("Quillmarten Calendar"));
    setCentralWidget(m_agenda);
    connect(m_agenda, &WeekAgenda::editRequested, this, &MainWindow::openEventEditor);
    statusBar();
    buildMenus();
    resize(900, 640);

    connect(state->undoStack(), &UndoStack::changed, this,
            [this] { m_undoAction->setEnabled(m_state->undoStack()->canUndo()); });
    connect(state->undoStack(), &UndoStack::undone, this,
            [this](const QString &label) { showStatus(tr("Undid: %1").arg(label), 4000); });
    connect(state->undoStack(), &UndoStack::undoFailed, this,
            [this](const QString &label) { showStatus(tr("Could not undo: %1").arg(label), 4000); });

    // The CalDAV accounts: a full sync 3 s from now, the interval tick and
    // the push after local changes.
    m_calDavSync->setFailureText(&SyncStatusText::failure);
    const auto showFailure = [this](const QString &, const SyncResult &result) {
        showStatus(SyncStatusText::failure(result), 4000);
    };
    connect(m_calDavSync, &SyncCoordinator::calendarSyncFailed, this, showFailure);
    connect(m_calDavSync, &SyncCoordinator::accountSyncFailed, this, showFailure);
    connect(m_calDavSync, &SyncCoordinator::calendarSynced, this,
            [this](const QString &, int eventCount, const QString &problem) {
        showStatus(SyncStatusText::synced(eventCount, problem), 4000);
    });
    connect(m_calDavSync, &SyncCoordinator::calendarsDiscovered, this,
            [this](const QString &, int added) { showStatus(SyncStatusText::discovered(added), 4000); });
    connect(m_calDavSync, &SyncCoordinator::passwordsKeptInFile, this,
            [this](const QString &path) { showStatus(SyncStatusText::passwordsKeptInFile(path), 4000); });
    connect(m_calDavSync, &SyncCoordinator::untrustedCertEncountered, this,
            [this](const QString &, const UntrustedCertInfo &info) {
        showStatus(tr("%1 presented a certificate that is not trusted; its calendars were not synced.").arg(info.host),
                   8000);
    });
    connect(state, &AppState::syncNowRequested, this, &MainWindow::syncNow);
    m_calDavSync->start();
}

MainWindow::~MainWindow()
{
    // The job, a child, cancels on its destruction and reports no more.
    if (m_import)
        m_state->endImport();
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *newEvent = file->addAction(tr("New &Event…"), this, &MainWindow::openNewEventDialog);
    file->addAction(tr("New &Task…"), this, &MainWindow::openNewTaskDialog)->setObjectName(QStringLiteral("newTask"));
    newEvent->setShortcut(QKeySequence::New);
    m_quickAddAction = file->addAction(tr("Quick &Add…"), this, &MainWindow::showQuickAdd);
    m_quickAddAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    m_importAction = file->addAction(tr("&Import .ics…"), this, &MainWindow::chooseIcsFile);
    m_importAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    file->addSeparator();
    QAction *preferences = file->addAction(tr("&Preferences…"), this, &MainWindow::openPreferences);
    preferences->setShortcut(QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"), this, &MainWindow::quitApplication);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = edit->addAction(tr("&Undo"), this, &MainWindow::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    // Reaches the stack from any window of the application.
    m_undoAction->setShortcutContext(Qt::ApplicationShortcut);
    m_undoAction->setEnabled(false);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *today = view->addAction(tr("&Today"), this, &MainWindow::showToday);
    today->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    view->addSeparator();
    FilterMenus::addMainWindowActions(view, m_state, this);

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    m_searchAction = tools->addAction(tr("&Search…"), this, &MainWindow::openSearch);
    m_searchAction->setShortcut(QKeySequence::Find);
    tools->addAction(tr("Manage &Templates…"), this, &MainWindow::openTemplates);

    QMenu *sync = menuBar()->addMenu(tr("&Sync"));
    QAction *syncNowAction = sync->addAction(tr("Sync &Now"), this, &MainWindow::syncNow);
    syncNowAction->setShortcut(QKeySequence::Refresh);

    m_testNotificationAction = new QAction(tr("Send Test &Notification"), this);
    m_testNotificationAction->setStatusTip(
        tr("Fire a sample reminder toast to verify your desktop notification setup."));
    m_testNotificationAction->setEnabled(false);
    connect(m_testNotificationAction, &QAction::triggered, this, &MainWindow::sendTestNotification);

    QMenu *developer = menuBar()->addMenu(tr("&Developer"));
    m_loadSampleAction = developer->addAction(tr("Load Sample &Data"), this, &MainWindow::loadSampleData);
    m_clearSampleAction = developer->addAction(tr("&Clear Sample Data"), this, &MainWindow::clearSampleData);
    developer->addSeparator();
    developer->addAction(m_testNotificationAction);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(m_testNotificationAction);
}

void MainWindow::setTrayIcon(QSystemTrayIcon *trayIcon)
{
    m_trayIcon = trayIcon;
}

QSystemTrayIcon *MainWindow::trayIcon() const
{
    return m_trayIcon;
}

void MainWindow::setNotificationService(NotificationService *service)
{
    if (m_notifications)
        disconnect(m_notifications, nullptr, this, nullptr);
    m_notifications = service;
    m_testNotificationAction->setEnabled(service != nullptr);
    if (!m_reminderWarning) {
        // Stays in the status bar, beside passing messages, while it holds.
        m_reminderWarning = new QLabel(
            tr("Reminders can't be shown: the desktop has no notification service and no tray."), this);
        m_reminderWarning->setObjectName(u"reminderWarning"_s);
        statusBar()->addPermanentWidget(m_reminderWarning);
    }
    const auto warn = [this](bool canShow) { m_reminderWarning->setVisible(!canShow); };
    warn(!service || service->canShowReminders());
    if (service)
        connect(service, &NotificationService::canShowRemindersChanged, this, warn);
}

NotificationService *MainWindow::notificationService() const
{
    return m_notifications;
}

void MainWindow::reportAdded(const QString &eventId)
{
    const std::optional<Event> event = m_state->events()->getById(eventId);
    showStatus(tr("Added: %1").arg(event ? event->title : QString()), 4000);
}

void MainWindow::showStatus(const QString &message, int timeoutMs)
{
    statusBar()->showMessage(message, timeoutMs);
}

// --- Operations reached from outside -----------------------------------------

void MainWindow::focusWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::showToday()
{
    focusWindow();
    m_state->setCurrentDate(QDate::currentDate());
}

void MainWindow::openNewEventDialog()
{
    if (m_state->calendars()->getAll().isEmpty()) {
        QMessageBox::information(this, tr("No calendars"), tr("There is no calendar to add an event to."));
        return;
    }
    EventFormDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::openEventEditor(const Event &event, RecurringEditScope scope)
{
    EventFormDialog dialog(m_state, event, this);
    dialog.setScope(scope);
    dialog.exec();
}

void MainWindow::quickAddFromCommand(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        showQuickAdd();
        return;
    }
    if (m_state->calendars()->getAll().isEmpty()) {
        showStatus(tr("Quick-add ignored: no calendars configured."), 4000);
        return;
    }
    if (const QString busy = StoreFailureText::importRunning(m_state); !busy.isEmpty()) {
        showStatus(busy, 4000);
        return;
    }
    StoreFailure::clear();
    const QString id = QuickAdd::addFromText(m_state, text, QString());
    if (id.isEmpty()) {
        QString why = StoreFailureText::lastFailure();
        // The phrase was read; the store turned the event down.
        if (why.isEmpty() && StoreFailure::last() != StoreFailure::None)
            why = tr("Quick-add couldn't save \"%1\".").arg(text);
        showStatus(why.isEmpty() ? tr("Quick-add couldn't parse: \"%1\"").arg(text) : why, 4000);
        return;
    }
    reportAdded(id);
}

void MainWindow::importIcsFromCommand(const QString &path)
{
    const QString calendarId = QuickAdd::resolveCalendarId(m_state, QString());
    if (calendarId.isEmpty()) {
        showStatus(tr("Import ignored: no calendars configured."), 4000);
        return;
    }
    if (m_import) {
        // A file manager hands several files over one launch each: another
        // file waits its turn; the same one again would add nothing.
        if (m_import->path() == path || m_queuedImports.contains(path)) {
            showStatus(tr("An import is already running."), 4000);
        } else {
            m_queuedImports.append(path);
            showStatus(tr("%1 will be imported after the current import.").arg(QFileInfo(path).fileName()), 4000);
        }
        return;
    }
    const QString name = QFileInfo(path).fileName();
    m_import = new IcsImportJob(m_state->database()->fileName(), path, calendarId, this);
    // Window-modal: the window keeps drawing and answering while nothing
    // else is written meanwhile; small files finish before it shows.
    auto *progress = new QProgressDialog(tr("Importing %1…").arg(name), QString(), 0, 1000, this);
    progress->setCancelButtonText(tr("Cancel"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(400);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setValue(0);
    m_importProgress = progress;
    connect(m_import, &IcsImportJob::progress, progress, &QProgressDialog::setValue);
    connect(progress, &QProgressDialog::canceled, m_import, &IcsImportJob::cancel);
    // Gone once its thread is idle, so that deleting it never waits.
    connect(m_import, &IcsImportJob::settled, m_import, &QObject::deleteLater);
    connect(m_import, &IcsImportJob::finished, this, [this](const IcsImport::Result &result) {
        // Copies: the job may go while the report's message box is up.
        const QString path = m_import->path();
        const QString calendarId = m_import->calendarId();
        m_import = nullptr;
        delete m_importProgress;
        m_state->endImport();
        if (result.outcome == IcsImport::Outcome::Stored)
            m_state->events()->scheduleChanged(calendarId);
        reportImport(path, result);
        Q_EMIT importFinished();
        if (!m_queuedImports.isEmpty())
            importIcsFromCommand(m_queuedImports.takeFirst());
    });
    // From here until it reports, reminders and sync wait for the import.
    m_state->beginImport();
    if (m_state->syncBusyCount() == 0) {
        m_import->start();
        return;
    }
    // A run under way writes when it reports: the import takes the database
    // after it, or at once when cancelled, and then stores nothing.
    connect(m_state, &AppState::syncBusyChanged, m_import, [job = m_import.data()](bool busy) {
        if (!busy)
            job->start();
    });
    connect(progress, &QProgressDialog::canceled, m_import, &IcsImportJob::start);
}

void MainWindow::reportImport(const QString &path, const IcsImport::Result &result)
{
    const QString name = QFileInfo(path).fileName();
    switch (result.outcome) {
    case IcsImport::Outcome::Unreadable:
        QMessageBox::warning(this, tr("Import failed"),
                             tr("Couldn't read \"%1\".").arg(QDir::toNativeSeparators(path)));
        return;
    case IcsImport::Outcome::Cancelled:
        showStatus(tr("Import of %1 cancelled; nothing was imported.").arg(name), 6000);
        return;
    case IcsImport::Outcome::StoreFailed:
        QMessageBox::warning(this, tr("Import failed"),
                             tr("Nothing was imported from %1: %2").arg(name, storeFailureText(result.failure)));
        return;
    case IcsImport::Outcome::Stored: break;
    }
    const int imported = result.added + result.updated;
    const int skipped = result.skipped();
    // Tasks are not taken from a file; the user learns how many were left.
    const auto withTasks = [&result](const QString &line) {
        return result.tasks == 0 ? line : tr("%1; %n task(s) not imported", nullptr, result.tasks).arg(line);
    };
    if (skipped == 0 && result.repairedValues == 0 && !result.cutShort) {
        if (imported == 0 && result.unchanged > 0)
            showStatus(withTasks(tr("Nothing new in %1: its %n event(s) are in the calendar already", nullptr,
                                    result.unchanged)
                                     .arg(name)),
                       4000);
        else if (imported == 0)
            showStatus(withTasks(tr("No events found in %1").arg(name)), 4000);
        else if (result.updated == 0)
            showStatus(withTasks(tr("Imported %n event(s) from %1", nullptr, imported).arg(name)), 4000);
        else
            showStatus(withTasks(tr("Imported %n event(s) from %1 (%2 updated)", nullptr, imported)
                                     .arg(name, QString::number(result.updated))),
                       4000);
        return;
    }
    QStringList lines{skipped > 0 ? tr("Imported %n event(s) from %1; %2 could not be stored", nullptr, imported)
                                        .arg(name, QString::number(skipped))
                                  : tr("Imported %n event(s) from %1", nullptr, imported).arg(name),
                      QString()};
    const auto count = [&lines](const QString &text, int n) {
        if (n > 0)
            lines.append(text.arg(n));
    };
    count(tr("New events: %1"), result.added);
    count(tr("Updated events: %1"), result.updated);
    count(tr("Already in the calendar as they are: %1"), result.unchanged);
    count(tr("Without END:VEVENT: %1"), result.unread.missingEnd);
    count(tr("Cut off where the file ends: %1"), result.unread.cutShort);
    count(tr("Without a readable start (DTSTART): %1"), result.withoutStart);
    count(tr("Without a UID: %1"), result.unread.withoutUid);
    count(tr("Refused by the calendar database: %1"), result.refused);
    count(tr("Tasks (VTODO), not imported: %1"), result.tasks);
    if (result.repairedValues > 0)
        lines.append(
            tr("%n value(s) were not valid UTF-8 and were read as Windows-1252", nullptr, result.repairedValues));
    if (result.cutShort)
        lines.append(tr("The file was cut short (it has no END:VCALENDAR); the events before the cut were imported."));
    showStatus(lines.constFirst(), 6000);
    QMessageBox::information(this, tr("Import finished"), lines.join(QLatin1Char('\n')));
}

void MainWindow::syncNow()
{
    m_calDavSync->syncNow();
}

void MainWindow::focusOnEvent(const QString &eventId, const QDate &date)
{
    if (date.isValid())
        m_state->setCurrentDate(date);
    if (!eventId.isEmpty())
        m_state->setSelectedEventId(eventId);
    focusWindow();
    if (eventId.isEmpty())
        return;
    std::optional<Event> event = m_state->events()->getById(eventId);
    if (!event || event->deleted_at)
        return;
    // A series (by its rule or its dates alone) is shown as its occurrence on
    // that date: the one that starts
    // on it (an all-day one by its own date; east of UTC the local day also
    // holds the end of the day before's), else one running into it.
    if ((!event->recurrence_rule.isEmpty() || !event->recurrence_dates.isEmpty()) && date.isValid()) {
        const QDateTime from = TimeUtil::inZone(date, QTime(0, 0), QTimeZone());
        const QDateTime to = from.addDays(1);
        const QList<Event> day = Recurrence::expandEvents(m_state->events()->getInRange(from, to, {event->calendar_id}),
                                                          from, to);
        std::optional<Event> running;
        for (const Event &occurrence : day) {
            if (occurrence.id != event->id && !(occurrence.isOverride() && occurrence.master_event_uid == event->uid))
                continue;
            if (TrayTime::occurrenceDay(occurrence.start_time, occurrence.is_all_day) == date) {
                running = occurrence;
                break;
            }
            if (!running)
                running = occurrence;
        }
        if (running)
            event = running;
    }
    auto *details = new EventDetailsPopover(m_state, *event, this);
    connect(details, &EventDetailsPopover::editRequested, this, &MainWindow::openEventEditor);
    details->showCentredOn(geometry());
}

void MainWindow::openPreferences()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::quitApplication()
{
    m_quitting = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool toTray = !m_quitting && m_trayIcon && m_trayIcon->isVisible()
        && m_state->preferences()->getBool(u"ui/closeToTray"_s, true);
    if (toTray) {
        hide();
        event->ignore();
        return;
    }
    event->accept();
}

// --- Menu actions ---------------------------------------------------------------

void MainWindow::showQuickAdd()
{
    if (!m_quickAdd) {
        m_quickAdd = new QuickAddDialog(m_state, this);
        connect(m_quickAdd, &QuickAddDialog::openMainWindow, this, &MainWindow::focusWindow);
    }
    m_quickAdd->show();
    m_quickAdd->raise();
    m_quickAdd->activateWindow();
}

void MainWindow::openTemplates()
{
    ManageTemplatesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::openSearch()
{
    SearchDialog dialog(m_state, this);
    QString chosen;
    connect(&dialog, &SearchDialog::eventActivated, this, [&chosen](const QString &eventId) { chosen = eventId; });
    dialog.exec();
    // Once the dialog is gone, so that the details come up over the window.
    if (chosen.isEmpty())
        return;
    focusOnEvent(chosen, dialog.activatedDay());
}

void MainWindow::chooseIcsFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Import .ics"), QString(),
                                                      tr("iCalendar files (*.ics);;All files (*)"));
    if (!path.isEmpty())
        importIcsFromCommand(path);
}

void MainWindow::undo()
{
    if (const QString busy = StoreFailureText::importRunning(m_state); !busy.isEmpty()) {
        showStatus(busy, 4000);
        return;
    }
    if (m_state->undoStack()->canUndo())
        m_state->undoStack()->undo();
}

void MainWindow::loadSampleData()
{
    const int added = ::loadSampleData(sampleStores(m_state));
    showStatus(tr("Loaded %n sample row(s).", nullptr, added), 4000);
}

void MainWindow::clearSampleData()
{
    const auto answer =
        QMessageBox::question(this, tr("Clear sample data?"),
                              tr("Remove the sample calendars, events, and tasks? Your real data is untouched."),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const int removed = removeSampleData(sampleStores(m_state));
    showStatus(tr("Removed %n sample row(s).", nullptr, removed), 4000);
}

void MainWindow::sendTestNotification()
{
    if (!m_notifications)
        return;
    m_notifications->showTestReminder();
    showStatus(tr("Test notification fired"), 3000);
}

void MainWindow::openNewTaskDialog()
{
    if (m_state->calendars()->getAll().isEmpty()) {
        QMessageBox::information(this, tr("No calendars"), tr("Create a calendar first."));
        return;
    }
    TaskFormDialog dialog(m_state, this);
    dialog.exec();
}
